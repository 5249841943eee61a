#include "tests/reports/engine/reporttestsupport.h"

#include "reports/engine/reportlayouter.h"
#include "reports/engine/reportoutput.h"
#include "reports/engine/reporttableview.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ReportTestSupport;

namespace {

class ReportPdfTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication();
        ASSERT_TRUE(dir.isValid());
    }

    QStringList render(const Report &report, const QString &name)
    {
        const QString path = dir.filePath(name);
        QString error;
        EXPECT_TRUE(ReportOutput::exportPdf(report, path, &error)) << error.toStdString();
        return pdfPages(path);
    }

    QTemporaryDir dir;
};

// Numbers at the start of the lines of a page: the register's N/O column.
QList<int> lineNumbers(const QString &page)
{
    QList<int> numbers;
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d+)\\s+\\S"), QRegularExpression::MultilineOption);
    for (auto it = re.globalMatch(page); it.hasNext();)
        numbers << it.next().captured(1).toInt();
    return numbers;
}

TEST_F(ReportPdfTest, EmptyRegisterPrintsTitleAndColumnHeaderOnly)
{
    ReportTable rows = registerTable();
    Report report;
    buildRegister(report, rows, QStringLiteral("Agroind O'Neil"));
    const QStringList pages = render(report, "empty.pdf");

    ASSERT_EQ(pages.size(), 1);
    const QString page = pages[0];
    EXPECT_TRUE(page.contains(QStringLiteral("Registrul lucrătorilor")));
    EXPECT_TRUE(page.contains(QStringLiteral("'Agroind O''Neil'")));
    for (const char *title : {"N/O", "Nume, Prenume", "CPAS", "IDNP", "Seria", "paşap.", "Data naşterii"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(title))) << title;
    EXPECT_TRUE(page.contains(QStringLiteral("Pagina 1 din 1")));
    EXPECT_TRUE(lineNumbers(page).isEmpty()) << page.toStdString();
}

TEST_F(ReportPdfTest, LongRegisterRepeatsHeaderAndFooterAndKeepsNumbering)
{
    ReportTable rows = registerTable();
    addPerson(rows, QStringLiteral("Ştefănescu"), QStringLiteral("Ţurcanu"), QStringLiteral("Înşiră"),
              QStringLiteral("A1234567"), QStringLiteral("2001002003004"), QStringLiteral("AB"),
              QStringLiteral("0123456"), QDate(1970, 1, 2));
    addPerson(rows, QStringLiteral("  Ioniță  "), QString(), QStringLiteral("  "), QStringLiteral("B7654321"),
              QStringLiteral("2009008007006"), QStringLiteral("ăâîşţ"), QStringLiteral("42"), QDate(1985, 12, 31));
    for (int i = 3; i <= 200; ++i)
        addPerson(rows, QStringLiteral("Nume%1").arg(i), QStringLiteral("Prenume"), QStringLiteral("Tata"),
                  QStringLiteral("C%1").arg(i, 7, 10, QChar(u'0')), QStringLiteral("20000000%1").arg(i, 5, 10, QChar(u'0')),
                  QStringLiteral("AA"), QString::number(100000 + i), QDate(1990, 1, 1).addDays(i));
    Report report;
    buildRegister(report, rows, QStringLiteral("Întreprinderea"));
    const QStringList pages = render(report, "register.pdf");

    ASSERT_GE(pages.size(), 4);
    QList<int> numbers;
    for (int p = 0; p < pages.size(); ++p) {
        const QString &page = pages[p];
        EXPECT_TRUE(page.contains(QStringLiteral("Nume, Prenume")) && page.contains(QStringLiteral("Data naşterii")))
            << "column header missing on page " << p + 1;
        EXPECT_TRUE(page.contains(QStringLiteral("Pagina %1 din %2").arg(p + 1).arg(pages.size())))
            << "page footer missing on page " << p + 1;
        EXPECT_EQ(page.contains(QStringLiteral("Registrul lucrătorilor")), p == 0) << "title on page " << p + 1;
        numbers << lineNumbers(page);
    }
    QList<int> expected;
    for (int i = 1; i <= 200; ++i)
        expected << i;
    EXPECT_EQ(numbers, expected);

    const QString first = pages[0];
    EXPECT_TRUE(first.contains(QStringLiteral("Ştefănescu Ţurcanu Înşiră")));
    EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral("2\\s+Ioniță\\s+B7654321"))));
    EXPECT_TRUE(first.contains(QStringLiteral("ăâîşţ")));
    EXPECT_TRUE(first.contains(QStringLiteral("02.01.1970")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Nume200 Prenume Tata")));
}

// Persons grouped by department, each with its monthly amounts as sub-detail lines.
TEST_F(ReportPdfTest, SubDetailGroupAndSummarySums)
{
    ReportTable persons({QStringLiteral("na_id"), QStringLiteral("nume"), QStringLiteral("sectia")});
    persons.addRow({1, QStringLiteral("Ana"), QStringLiteral("A")});
    persons.addRow({2, QStringLiteral("Bogdan"), QStringLiteral("A")});
    persons.addRow({3, QStringLiteral("Costel"), QStringLiteral("B")});
    persons.addRow({4, QStringLiteral("Dan"), QStringLiteral("B")});
    ReportTable saldo({QStringLiteral("sd_na"), QStringLiteral("luna"), QStringLiteral("suma")});
    saldo.addRow({1, QStringLiteral("Ianuarie"), 100.5});
    saldo.addRow({3, QStringLiteral("Martie"), 3000000.0});
    saldo.addRow({1, QStringLiteral("Februarie"), 200});
    saldo.addRow({2, QStringLiteral("Ianuarie"), 1000});
    saldo.addRow({2, QStringLiteral("Aprilie"), 0.25});

    const QString money = QStringLiteral("### ### ### ##0.00");
    Report report;
    report.setSource(QStringLiteral("person"), &persons);
    report.title(10).label(0, 0, 190, 8, QStringLiteral("Contribuţii pe secţii")).bold();
    report.detail(7).expression(0, 0, 190, 7, QStringLiteral("'Persoana ' + COUNT + ': ' + nume"));
    ReportSubDetail &sub = report.subDetail(QStringLiteral("saldo"),
                                            ReportTableView::link(saldo, QStringLiteral("sd_na"), QStringLiteral("na_id")));
    ReportBand &line = sub.detail(6);
    line.expression(10, 0, 20, 6, QStringLiteral("'linia ' + COUNT"));
    line.field(30, 0, 40, 6, QStringLiteral("saldo.luna"));
    line.field(70, 0, 40, 6, QStringLiteral("suma")).right().format(money);
    line.expression(110, 0, 50, 6, QStringLiteral("SUM(suma)")).right().format(money); // running
    sub.footer(6).expression(10, 0, 100, 6, QStringLiteral("'total ' + person.nume + ' ' + SUM(suma)"));
    ReportBand &groupFooter = report.group(QStringLiteral("sectia")).footer(8);
    groupFooter.expression(0, 0, 90, 8, QStringLiteral("'Total secţia ' + sectia + ', persoane: ' + COUNT"));
    groupFooter.expression(90, 0, 60, 8, QStringLiteral("SUM(saldo.suma)")).right().format(money);
    ReportBand &summary = report.summary(8);
    summary.expression(0, 0, 90, 8, QStringLiteral("'Total general, persoane: ' + COUNT"));
    summary.expression(90, 0, 60, 8, QStringLiteral("SUM(saldo.suma)")).right().format(money);

    const QStringList pages = render(report, "groups.pdf");
    ASSERT_EQ(pages.size(), 1);
    QStringList lines;
    for (const QString &l : pages[0].split(u'\n'))
        if (!l.trimmed().isEmpty())
            lines << l.simplified();
    const QStringList expected = {
        QStringLiteral("Contribuţii pe secţii"),
        QStringLiteral("Persoana 1: Ana"),
        QStringLiteral("linia 1 Ianuarie 100.50 100.50"),
        QStringLiteral("linia 2 Februarie 200.00 300.50"),
        QStringLiteral("total Ana 300.5"),
        QStringLiteral("Persoana 2: Bogdan"),
        QStringLiteral("linia 1 Ianuarie 1 000.00 1 000.00"),
        QStringLiteral("linia 2 Aprilie 0.25 1 000.25"),
        QStringLiteral("total Bogdan 1000.25"),
        QStringLiteral("Total secţia A, persoane: 2 1 300.75"),
        QStringLiteral("Persoana 3: Costel"),
        QStringLiteral("linia 1 Martie 3 000 000.00 3 000 000.00"),
        QStringLiteral("total Costel 3000000"),
        QStringLiteral("Persoana 4: Dan"),
        QStringLiteral("Total secţia B, persoane: 2 3 000 000.00"),
        QStringLiteral("Total general, persoane: 4 3 001 300.75"),
    };
    EXPECT_EQ(lines, expected) << pages[0].toStdString();
}

// A form per row: each row on its own page, with the page footer speaking of that page's row
// and a tick mark driven by a field.
TEST_F(ReportPdfTest, NewPagePerRowKeepsFooterWithItsRow)
{
    ReportTable persons({QStringLiteral("nume"), QStringLiteral("na_ft1"), QStringLiteral("ap_idnp_dt")});
    persons.addRow({QStringLiteral("Ana"), QStringLiteral("X"), QDate(2001, 2, 3)});
    persons.addRow({QStringLiteral("Bogdan"), QString(), QDate(1999, 12, 30)});
    persons.addRow({QStringLiteral("Costel"), QStringLiteral("X"), QDate(1980, 5, 6)});
    Report report;
    report.setSource(QStringLiteral("person"), &persons);
    ReportBand &form = report.detail(40).newPagePerRow();
    form.label(0, 0, 60, 8, QStringLiteral("Formular")).bold();
    form.field(60, 0, 60, 8, QStringLiteral("nume"));
    form.tick(0, 10, 5, QStringLiteral("na_ft1"));
    form.label(6, 10, 30, 5, QStringLiteral("primar"));
    form.expression(0, 20, 80, 6, QStringLiteral("'Ziua ' + COPY(person.ap_idnp_dt,1,2) + ' anul ' + COPY(person.ap_idnp_dt,7,4)"));
    report.pageFooter(10).expression(0, 0, 120, 8, QStringLiteral("'Semnat: ' + nume + ', pagina ' + PAGENUMBER"));

    const ReportDocument doc = ReportOutput::layout(report);
    ASSERT_EQ(doc.pageCount(), 3);
    auto crosses = [&doc](int page) {
        int n = 0;
        for (const auto &item : doc.page(page))
            n += item.kind == ReportDocument::Item::Kind::Cross;
        return n;
    };
    EXPECT_EQ(crosses(0), 1);
    EXPECT_EQ(crosses(1), 0);
    EXPECT_EQ(crosses(2), 1);

    const QStringList pages = render(report, "forms.pdf");
    ASSERT_EQ(pages.size(), 3);
    const char *names[] = {"Ana", "Bogdan", "Costel"};
    const char *days[] = {"Ziua 03 anul 2001", "Ziua 30 anul 1999", "Ziua 06 anul 1980"};
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Semnat: %1, pagina %2").arg(QLatin1String(names[p])).arg(p + 1)))
            << pages[p].toStdString();
        EXPECT_TRUE(pages[p].contains(QLatin1String(days[p])));
    }
}

TEST_F(ReportPdfTest, WrappedTextStretchesItsBandAndRules)
{
    ReportTable rows({QStringLiteral("text")});
    rows.addRow({QStringLiteral("scurt")});
    rows.addRow({QStringLiteral("un text destul de lung ca să nu încapă pe un singur rând în coloana îngustă")});
    Report report;
    report.setSource(QStringLiteral("t"), &rows);
    ReportBand &d = report.detail(6).stretch();
    d.field(0, 0, 40, 6, QStringLiteral("text")).wrap().frame();
    d.hline(0, 6, 100);

    const ReportDocument doc = ReportOutput::layout(report);
    ASSERT_EQ(doc.pageCount(), 1);
    std::vector<QRectF> frames, lines;
    for (const auto &item : doc.page(0)) {
        if (item.kind == ReportDocument::Item::Kind::Frame)
            frames.push_back(item.rect);
        if (item.kind == ReportDocument::Item::Kind::Line)
            lines.push_back(item.rect);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_DOUBLE_EQ(frames[0].height(), 6);
    EXPECT_GT(frames[1].height(), 12);
    EXPECT_DOUBLE_EQ(frames[1].top(), frames[0].bottom());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[1].top(), frames[1].bottom()); // the rule under the line moved down

    const QStringList pages = render(report, "wrap.pdf");
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].simplified().contains(QStringLiteral("coloana")));
}

// A long-lived layout over a source whose fields are defined anew for every print.
TEST_F(ReportPdfTest, SourceRedefinedBetweenLayouts)
{
    ReportTable rows({QStringLiteral("a"), QStringLiteral("b")});
    rows.addRow({QStringLiteral("unu"), QStringLiteral("doi")});
    Report report;
    report.setSource(QStringLiteral("t"), &rows);
    report.detail(6).field(0, 0, 50, 6, QStringLiteral("b"));
    EXPECT_EQ(ReportOutput::layout(report).pageText(0), "doi");
    rows = ReportTable({QStringLiteral("b"), QStringLiteral("a")});
    rows.addRow({QStringLiteral("trei"), QStringLiteral("patru")});
    EXPECT_EQ(ReportOutput::layout(report).pageText(0), "trei");
}

TEST_F(ReportPdfTest, EmptySourceWithoutPrintWhenEmptyGivesNoPage)
{
    ReportTable rows = registerTable();
    Report report;
    buildRegister(report, rows, QStringLiteral("X"));
    report.setPrintWhenEmpty(false);
    EXPECT_EQ(ReportOutput::layout(report).pageCount(), 0);
}

// DATE prints the date the report was given, never the computer's calendar.
TEST_F(ReportPdfTest, DatePrintsTheReportsDate)
{
    Report report;
    report.setPrintWhenEmpty(true);
    report.title(8).expression(0, 0, 80, 8, QStringLiteral("'Data: ' + DATE"));
    EXPECT_EQ(ReportOutput::layout(report).pageText(0), "Data: ");
    report.setToday(QDate(2041, 2, 3));
    EXPECT_EQ(ReportOutput::layout(report).pageText(0), "Data: 03.02.2041");
    const QStringList pages = render(report, "date.pdf");
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("Data: 03.02.2041"))) << pages[0].toStdString();
}

} // namespace
