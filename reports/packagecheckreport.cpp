#include "reports/packagecheckreport.h"
#include "platform/clock.h"
#include "platform/userinteraction.h"
#include "reports/engine/report.h"
#include "reports/engine/reportsource.h"
#include "reports/listcolumns.h"

#include <QFileInfo>

namespace PackageCheckReport {

namespace {

const QStringList Fields = {QStringLiteral("membrul"), QStringLiteral("rindul"), QStringLiteral("cimpul"),
                            QStringLiteral("tipul"), QStringLiteral("mesajul")};

class FindingRows : public ReportSource
{
public:
    explicit FindingRows(std::vector<PackageFinding> findings) : m_findings(std::move(findings)) { }
    int rowCount() const override { return int(m_findings.size()); }
    int currentRow() const override { return m_row; }
    void goTo(int row) override { m_row = row; }
    QStringList fieldNames() const override { return Fields; }
    int fieldIndex(const QString &name) const override
    {
        for (int i = 0; i < Fields.size(); ++i)
            if (Fields[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QVariant value(int field) const override
    {
        if (m_row < 0 || m_row >= rowCount())
            return {};
        const PackageFinding &f = m_findings[size_t(m_row)];
        switch (field) {
        case 0:
            return f.member.isEmpty() ? QStringLiteral("arhiva") : f.member;
        case 1:
            return f.line > 0 ? QVariant(f.line) : QVariant(QString());
        case 2:
            return f.field > 0 ? QVariant(f.field) : QVariant(QString());
        case 3:
            return f.severity == PackageFinding::Error ? QStringLiteral("eroare") : QStringLiteral("avertisment");
        case 4:
            return f.message;
        }
        return {};
    }

private:
    std::vector<PackageFinding> m_findings;
    int m_row = -1;
};

} // namespace

std::unique_ptr<ReportSource> rows(const std::vector<PackageFinding> &findings)
{
    return std::make_unique<FindingRows>(findings);
}

void build(Report &report, ReportSource &rows, const QString &archive, const PackageCheck::Result &result)
{
    report.setName(QStringLiteral("Verificarea pachetului electronic"));
    report.setToday(Clock::today());
    report.setSource(QStringLiteral("constatari"), &rows);
    report.setMargins(QMarginsF(15, 10, 10, 10));
    report.setPrintWhenEmpty(true);

    ReportBand &title = report.title(24);
    title.label(0, 0, 185, 8, QStringLiteral("Verificarea pachetului electronic")).center().bold().size(13);
    title.label(0, 8, 185, 7, QFileInfo(archive).fileName()).center().size(11);
    title
        .label(0, 15, 185, 7,
               result.findings.empty()
                   ? QStringLiteral("Pachetul nu are greșeli.")
                   : QStringLiteral("Erori: %1, avertismente: %2").arg(result.errors()).arg(result.warnings()))
        .center()
        .size(10);

    ListColumns::layOut(report.columnHeader(8), report.detail(6),
                        {{20, "Fișierul", "membrul"},
                         {14, "Rîndul", "rindul"},
                         {14, "Cîmpul", "cimpul"},
                         {22, "Tipul", "tipul"},
                         {115, "Constatarea", "mesajul", true}});
    report.pageFooter(8)
        .expression(0, 2, 185, 6, QStringLiteral("'Pagina ' + PAGENUMBER + ' din ' + PAGECOUNT"))
        .right()
        .size(8);
}

void show(const QString &archive, const PackageCheck::Result &result)
{
    const std::unique_ptr<ReportSource> source = rows(result.findings);
    Report report;
    build(report, *source, archive, result);
    userInteraction().showReport(report);
}

} // namespace PackageCheckReport
