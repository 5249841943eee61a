// Payroll files as the payroll programs write them, read back into cells and lines: text files
// in each encoding and separator, .xlsx and .ods workbooks with their cells typed, the columns
// told from the header, the form of every value, and the refusal of files that cannot be read
// or go beyond what a payroll export holds.

#include "data/ee.h"
#include "maintenance/payroll/payrollcolumns.h"
#include "maintenance/payroll/payrollfile.h"
#include "maintenance/payroll/payrollline.h"
#include "reports/xlsxsheet.h"
#include "tests/support/payrollfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// Texts as texts in the failures.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

using Kind = PayrollCell::Kind;
using F = PayrollField;

namespace {

const QByteArray Bom = "\xEF\xBB\xBF";

class PayrollFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString file(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path(name);
    }
    // The message of the refusal, or "" when the file was read.
    static QString refusal(const std::function<void()> &read)
    {
        try {
            read();
        } catch (const EE &e) {
            return e.message();
        }
        return QString();
    }
    static std::vector<PayrollLine> lines(const PayrollTable &t, int year = 2024)
    {
        const PayrollMapping mapping = PayrollColumns::recognise(t.rows.front());
        PayrollColumns::requireUsable(mapping);
        return PayrollLines::parse(t, mapping, year);
    }
    static QString cellText(const PayrollTable &t, size_t row, size_t column)
    {
        return column < t.rows[row].size() ? t.rows[row][column].text : QString();
    }

    QTemporaryDir m_dir;
};

// Makes the zip archive at `path` declare `size` unpacked bytes for its part `name`, in the
// central directory and in the part's own header.
void declareSize(const QString &path, const QByteArray &name, quint32 size)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray zip = f.readAll();
    auto put = [&](qsizetype at) {
        for (int k = 0; k < 4; ++k)
            zip[at + k] = char((size >> (8 * k)) & 0xFF);
    };
    auto get = [&](qsizetype at, int n) {
        quint32 v = 0;
        for (int k = n - 1; k >= 0; --k)
            v = (v << 8) | quint8(zip[at + k]);
        return qsizetype(v);
    };
    for (qsizetype i = zip.indexOf("PK\x01\x02"); i >= 0; i = zip.indexOf("PK\x01\x02", i + 4)) {
        if (zip.mid(i + 46, get(i + 28, 2)) == name) {
            put(i + 24);
            put(get(i + 42, 4) + 22);
        }
    }
    f.seek(0);
    f.write(zip);
}

// A workbook written part by part, as the programs that are not spreadsheet programs write it.
struct HandMadeXlsx {
    QString sharedStrings; // the <si> elements
    QString numberFormats; // the <numFmt> elements
    QString cellFormats;   // the <xf> elements of cellXfs
    bool calendar1904 = false;
    std::vector<std::pair<QString, QString>> sheets; // name, the whole worksheet part

    void write(const QString &path) const
    {
        QString workbook, rels, types;
        for (size_t i = 0; i < sheets.size(); ++i) {
            const QString n = QString::number(i + 1);
            workbook += QStringLiteral("<sheet name=\"%1\" sheetId=\"%2\" r:id=\"rId%2\"/>").arg(sheets[i].first, n);
            rels += QStringLiteral("<Relationship Id=\"rId%1\" Type=\"http://schemas.openxmlformats.org/"
                                   "officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet%1.xml\"/>")
                        .arg(n);
        }
        const QString ns = QStringLiteral("xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"");
        std::vector<PayrollFiles::Member> parts = {
            {QStringLiteral("[Content_Types].xml"),
             "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
            {QStringLiteral("_rels/.rels"),
             "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
             "relationships\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
             "2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
            {QStringLiteral("xl/workbook.xml"),
             QStringLiteral("<?xml version=\"1.0\"?><workbook %1 xmlns:r=\"http://schemas.openxmlformats.org/"
                            "officeDocument/2006/relationships\"><workbookPr%2/><sheets>%3</sheets></workbook>")
                 .arg(ns, calendar1904 ? QStringLiteral(" date1904=\"1\"") : QString(), workbook)
                 .toUtf8()},
            {QStringLiteral("xl/_rels/workbook.xml.rels"),
             QStringLiteral("<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/"
                            "2006/relationships\">%1<Relationship Id=\"rS\" Type=\"http://schemas.openxmlformats.org/"
                            "officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                            "<Relationship Id=\"rT\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                            "relationships/styles\" Target=\"/xl/styles.xml\"/></Relationships>")
                 .arg(rels)
                 .toUtf8()},
            {QStringLiteral("xl/sharedStrings.xml"),
             QStringLiteral("<?xml version=\"1.0\"?><sst %1>%2</sst>").arg(ns, sharedStrings).toUtf8()},
            {QStringLiteral("xl/styles.xml"), QStringLiteral("<?xml version=\"1.0\"?><styleSheet %1><numFmts>%2"
                                                             "</numFmts><cellStyleXfs><xf numFmtId=\"14\"/>"
                                                             "</cellStyleXfs><cellXfs>%3</cellXfs></styleSheet>")
                                                  .arg(ns, numberFormats, cellFormats)
                                                  .toUtf8()},
        };
        for (size_t i = 0; i < sheets.size(); ++i)
            parts.push_back({QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1), sheets[i].second.toUtf8()});
        PayrollFiles::writeZip(path, parts);
    }
};

TEST_F(PayrollFileTest, TextFilesAreReadInEachEncodingAndSeparator)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *encoding;
        char16_t separator;
        QString family; // the name on the first line under the header
    };
    // "Ştefănescu" and "Mărcuţă" in Windows-1250, "Иванов" in Windows-1251, and Windows-1250
    // bytes that happen to be well-formed UTF-8 ("MĂŞTI" reads as "MêTI" there).
    const Case cases[] = {
        {"bom.csv", Bom + "CPAS;Nume;Luna;Salariu\r\n12345678901;Ștefănescu;3;1234,56\r\n", "UTF-8", u';',
         QStringLiteral("Ștefănescu")},
        {"utf8.txt", "CPAS\tNume\tLuna\tSalariu\n12345678901\tȚurcanu\t3\t1234.56\n", "UTF-8", u'\t',
         QStringLiteral("Țurcanu")},
        {"ascii.csv", "CPAS,Nume,Luna,Salariu\n12345678901,Rusu,3,\"1234,56\"\n", "UTF-8", u',',
         QStringLiteral("Rusu")},
        {"cp1250.csv", "CPAS,Nume,Luna,Salariu\n12345678901,\xAAtef\xE3nescu,3,\"1234,56\"\n", "Windows-1250", u',',
         QStringLiteral("Ştefănescu")},
        {"cp1250.txt", "CPAS\tNume\tLuna\tSalariu\n12345678901\tM\xE3rcu\xFE\xE3\t3\t1234,56\n", "Windows-1250", u'\t',
         QStringLiteral("Mărcuţă")},
        {"seemsutf8.csv", "CPAS;Nume;Luna;Salariu\n12345678901;M\xC3\xAATI;3;100\n", "Windows-1250", u';',
         QStringLiteral("MĂŞTI")},
        {"cp1251.csv", "CPAS;Nume;Luna;Salariu\n12345678901;\xC8\xE2\xE0\xED\xEE\xE2;3;100\n", "Windows-1251", u';',
         QStringLiteral("Иванов")},
        {"cp1251.txt", "CPAS\tNume\tLuna\tSalariu\n12345678901\t\xD0\xF3\xF1\xF3 \xB9 5\t3\t100\n", "Windows-1251",
         u'\t', QStringLiteral("Русу № 5")},
        {"cyrillic.csv", "CPAS;Nume;Luna;Salariu\n12345678901;Иванов;3;100\n", "UTF-8", u';', QStringLiteral("Иванов")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const PayrollTable t = PayrollFile::read(file(QString::fromLatin1(c.name), c.bytes));
        EXPECT_EQ(t.encoding, QString::fromLatin1(c.encoding));
        EXPECT_EQ(t.separator, QChar(c.separator));
        ASSERT_EQ(t.rows.size(), 2u);
        EXPECT_EQ(t.lineNumbers, (std::vector<int>{1, 2}));
        EXPECT_EQ(cellText(t, 1, 1), c.family);
        const auto l = lines(t);
        ASSERT_EQ(l.size(), 1u);
        EXPECT_EQ(l[0].refusal, QString());
        EXPECT_EQ(l[0].cpas, QStringLiteral("12345678901"));
    }
}

TEST_F(PayrollFileTest, QuotedFieldsKeepSeparatorsQuotesAndLineEnds)
{
    // A title and an empty line above the header, a name with a separator, a quote and a line
    // end inside its quotes, blanks around the quotes, CR alone as a line end.
    const QByteArray bytes = "Salarii martie 2024;;\r\n"
                             "\r\n"
                             "CPAS;Nume;Luna;Salariu\r\n"
                             "11111111111;\"Popa; \"\"Ion\"\"\r\nfiul\";3;100\r\n"
                             "22222222222; \"Rusu\" ;3;200\r"
                             ";;;\r\n"
                             "33333333333;Ene;3;300";
    const PayrollTable t = PayrollFile::read(file(QStringLiteral("quoted.csv"), bytes));
    EXPECT_EQ(t.separator, QChar(u';'));
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_EQ(t.lineNumbers, (std::vector<int>{3, 4, 6, 8}));
    EXPECT_EQ(cellText(t, 0, 3), QStringLiteral("Salariu"));
    EXPECT_EQ(cellText(t, 1, 1), QStringLiteral("Popa; \"Ion\"\nfiul"));
    EXPECT_EQ(cellText(t, 2, 1), QStringLiteral("Rusu"));
    EXPECT_EQ(cellText(t, 3, 3), QStringLiteral("300"));
    const auto l = lines(t);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[2].line, 8);
    EXPECT_EQ(l[2].payFund, 300.0);
}

TEST_F(PayrollFileTest, FilesThatCannotBeReadAreRefusedByName)
{
    struct Case {
        const char *name;
        std::optional<QByteArray> bytes; // none: no such file
        QString message;
    };
    const QByteArray header = "CPAS;Luna;Salariu\n";
    const Case cases[] = {
        {"lipsa.csv", std::nullopt, QStringLiteral("Fișierul „lipsa.csv” nu există")},
        {"gol.csv", QByteArray(), QStringLiteral("Fișierul „gol.csv” este gol")},
        {"blank.txt", " \r\n;;\r\n\t\n", QStringLiteral("Fișierul „blank.txt” este gol")},
        {"antet.csv", header, QStringLiteral("Fișierul „antet.csv” are numai antetul, fără rînduri de salarii")},
        {"salarii.xls", header + "1;2;3\n",
         QStringLiteral("Fișierul „salarii.xls” nu este de tipul .csv, .txt, .xlsx sau .ods")},
        {"unicode.txt",
         QByteArray("\xFF\xFE"
                    "C\0P\0",
                    6),
         QStringLiteral("Fișierul „unicode.txt” este scris în codificarea UTF-16; salvați-l ca text UTF-8 sau "
                        "Windows-1250")},
        {"binar.csv", QByteArray("CPAS\0;", 6), QStringLiteral("Fișierul „binar.csv” nu este un fișier text")},
        {"bom.csv", Bom + header + "1;3;\xE3\n",
         QStringLiteral("Fișierul „bom.csv” începe ca un text UTF-8, dar rîndul 2 nu este text UTF-8")},
        {"ghilimele.csv", header + "1;3;100\n2;\"3;200\n3;3;300\n",
         QStringLiteral("Fișierul „ghilimele.csv” are ghilimele deschise în rîndul 3 care nu se mai închid")},
        {"vechi.xlsx", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 and more",
         QStringLiteral("Fișierul „vechi.xlsx” este un registru .xls vechi sau unul protejat cu parolă; salvați-l "
                        "ca .xlsx fără parolă")},
        {"text.ods", header + "1;3;100\n",
         QStringLiteral("Fișierul „text.ods” nu este un registru de calcul .xlsx sau .ods")},
        {"ciot.xlsx", "PK\x03\x04 cut short",
         QStringLiteral("Fișierul „ciot.xlsx” nu este un registru de calcul .xlsx sau .ods")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = c.bytes ? file(QString::fromLatin1(c.name), *c.bytes) : path(QString::fromLatin1(c.name));
        EXPECT_EQ(refusal([&] { PayrollFile::read(p); }), c.message);
    }

    // Archives that are no workbook, or whose parts are damaged.
    PayrollFiles::writeZip(path("altceva.ods"), {{QStringLiteral("readme.txt"), "nimic"}});
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("altceva.ods")); }),
              QStringLiteral("Fișierul „altceva.ods” nu este un registru de calcul .xlsx sau .ods"));
    HandMadeXlsx broken;
    broken.sheets = {{QStringLiteral("Salarii"), QStringLiteral("<worksheet><sheetData><row><c></row></sheetData>")}};
    broken.write(path("stricat.xlsx"));
    EXPECT_TRUE(refusal([&] { PayrollFile::read(path("stricat.xlsx")); })
                    .startsWith(QStringLiteral("Fișierul „stricat.xlsx” este deteriorat (partea "
                                               "„xl/worksheets/sheet1.xml”: ")));
    PayrollFiles::writeOds(path("foi.ods"), QStringLiteral("<table:table table:name=\"Salarii\"/>"));
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("foi.ods"), QStringLiteral("Martie")); }),
              QStringLiteral("Fișierul „foi.ods” nu are foaia „Martie”"));
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("foi.ods")); }), QStringLiteral("Fișierul „foi.ods” este gol"));
}

TEST_F(PayrollFileTest, FilesBeyondWhatAPayrollExportHoldsAreRefused)
{
    const QByteArray header = "CPAS;Luna;Salariu\n";
    QByteArray manyLines = header;
    for (int i = 0; i < 200000; ++i)
        manyLines += "1;3;100\n";
    const QByteArray wide = header + "1;3;100" + QByteArray(300, ';') + "x\n";
    const QByteArray longCell = header + "1;3;" + QByteArray(1001, '9') + "\n";
    // An unclosed quote runs to the end of the file, and stops at the bound of a cell.
    const QByteArray runaway = header + "1;\"3;" + QByteArray(2000, 'x') + "\n";
    struct Case {
        const char *name;
        QByteArray bytes;
        QString message;
    };
    const Case cases[] = {
        {"multe.csv", manyLines, QStringLiteral("Fișierul „multe.csv” are peste 200 000 de rînduri")},
        {"lat.csv", wide, QStringLiteral("Fișierul „lat.csv” are în rîndul 2 date dincolo de coloana 256")},
        {"lung.csv", longCell,
         QStringLiteral("Fișierul „lung.csv” are în rîndul 2, coloana 3 un text de peste 1 000 de caractere")},
        {"fuga.csv", runaway,
         QStringLiteral("Fișierul „fuga.csv” are în rîndul 2, coloana 2 un text de peste 1 000 de caractere")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(refusal([&] { PayrollFile::read(file(QString::fromLatin1(c.name), c.bytes)); }), c.message);
    }

    // A row written once and repeated a million times, and a cell repeated across the sheet.
    PayrollFiles::writeOds(path("repetat.ods"),
                           QStringLiteral(
                               "<table:table table:name=\"S\"><table:table-row table:number-rows-repeated="
                               "\"1000000\"><table:table-cell office:value-type=\"float\" office:value=\"1\"/>"
                               "</table:table-row></table:table>"));
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("repetat.ods")); }),
              QStringLiteral("Fișierul „repetat.ods” are peste 200 000 de rînduri"));
    PayrollFiles::writeOds(path("lat.ods"), QStringLiteral("<table:table table:name=\"S\"><table:table-row>"
                                                           "<table:table-cell table:number-columns-repeated=\"16384\" "
                                                           "office:value-type=\"string\"><text:p>x</text:p>"
                                                           "</table:table-cell></table:table-row></table:table>"));
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("lat.ods")); }),
              QStringLiteral("Fișierul „lat.ods” are în rîndul 1 date dincolo de coloana 256"));
    // A part larger than any sheet is refused by the size the archive declares, before it is
    // unpacked; one that unpacks to more than declared is damaged, and unpacks no further.
    const std::vector<PayrollFiles::Member> parts = {{QStringLiteral("mimetype"),
                                                      "application/vnd.oasis.opendocument.spreadsheet"},
                                                     {QStringLiteral("content.xml"), "<a>", 2 << 20}};
    PayrollFiles::writeZip(path("mare.ods"), parts);
    declareSize(path("mare.ods"), "content.xml", 300u << 20);
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("mare.ods")); }),
              QStringLiteral("Fișierul „mare.ods” este deteriorat sau prea mare: partea „content.xml” are, "
                             "despachetată, peste 256 MB"));
    PayrollFiles::writeZip(path("minte.ods"), parts);
    declareSize(path("minte.ods"), "content.xml", 1000);
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("minte.ods")); }),
              QStringLiteral("Fișierul „minte.ods” este deteriorat (partea „content.xml” are mai mult decît spune "
                             "arhiva)"));
}

TEST_F(PayrollFileTest, HeadersAreRecognisedWithoutRegardToCaseBlanksOrDiacritics)
{
    const QStringList titles = {"cpas",
                                " I D N P ",
                                "NUME",
                                "Prenumele",
                                "Patronimic",
                                "Data nasterii",
                                "LUNA",
                                "De la",
                                "Până la",
                                "zile",
                                "Salariu",
                                "Concediu medical",
                                "CATEGORIA",
                                "Functia",
                                "Tip formular",
                                "Contributia individuala",
                                "Contribuția angajatorului",
                                "Observații",
                                "Cpas",
                                "Fond de remunerare"};
    PayrollRow header;
    for (const QString &t : titles)
        header.push_back(PayrollCell{Kind::Text, t, 0, QDate()});
    header.push_back(PayrollCell{Kind::Number, QStringLiteral("1"), 1, QDate()});
    const PayrollMapping expected = {F::Cpas,
                                     F::Idnp,
                                     F::FamilyName,
                                     F::GivenName,
                                     F::Patronymic,
                                     F::BirthDate,
                                     F::Month,
                                     F::From,
                                     F::To,
                                     F::Days,
                                     F::PayFund,
                                     F::SickPay,
                                     F::Category,
                                     F::Function,
                                     F::FormType,
                                     F::IndividualContribution,
                                     F::EmployerContribution,
                                     F::Ignored,
                                     F::Ignored,
                                     F::Ignored,
                                     F::Ignored};
    EXPECT_EQ(PayrollColumns::recognise(header), expected);
    EXPECT_EQ(PayrollColumns::all().size(), 18u);
    EXPECT_EQ(PayrollColumns::all().front(), F::Ignored);
    EXPECT_EQ(PayrollColumns::caption(F::Ignored), QStringLiteral("Nu se importă"));
    EXPECT_EQ(PayrollColumns::caption(F::To), QStringLiteral("Pînă la"));
    EXPECT_EQ(PayrollColumns::caption(F::PayFund), QStringLiteral("Fond de remunerare"));

    struct Case {
        PayrollMapping mapping;
        QString message;
    };
    const Case refused[] = {
        {{F::FamilyName, F::Month, F::PayFund}, QStringLiteral("Antetul fișierului nu are o coloană CPAS sau IDNP")},
        {{F::Idnp, F::SickPay}, QStringLiteral("Antetul fișierului nu are coloana Luna")},
        {{F::Cpas, F::Month, F::IndividualContribution},
         QStringLiteral("Antetul fișierului nu are o coloană de sume (Fond de remunerare sau Concediu medical)")},
        {{F::Ignored, F::Ignored},
         QStringLiteral("Antetul fișierului nu are o coloană CPAS sau IDNP\nAntetul fișierului nu are coloana Luna\n"
                        "Antetul fișierului nu are o coloană de sume (Fond de remunerare sau Concediu medical)")},
        {{F::Cpas, F::Month, F::PayFund, F::Ignored, F::PayFund},
         QStringLiteral("„Fond de remunerare” este ales pentru două coloane (3 și 5)")},
        {{F::Cpas, F::Month, F::SickPay}, QString()},
    };
    for (const Case &c : refused)
        EXPECT_EQ(refusal([&] { PayrollColumns::requireUsable(c.mapping); }), c.message);
}

TEST_F(PayrollFileTest, EachValueOfALineIsReadForItsForm)
{
    struct Case {
        QByteArray line; // under the header below
        QString refusal;
        std::function<void(const PayrollLine &)> check;
    };
    const auto none = [](const PayrollLine &) {};
    const QDate march1(2024, 3, 1), march31(2024, 3, 31);
    // Lines 2 on of the file, in this order; the line numbers in the texts follow from it.
    const Case cases[] = {
        {"12345678901;;Popa;15.03.1980;3;;;;1234,56;;;;;;", QString(),
         [&](const PayrollLine &l) {
             EXPECT_EQ(l.familyName, QStringLiteral("Popa"));
             EXPECT_EQ(l.birthDate, QDate(1980, 3, 15));
             EXPECT_EQ(l.month, 3);
             EXPECT_EQ(l.from, march1);
             EXPECT_EQ(l.to, march31);
             EXPECT_EQ(l.days, 5);
             EXPECT_EQ(l.formType, 1);
             EXPECT_EQ(l.payFund, 1234.56);
             EXPECT_FALSE(l.sickPay || l.category || l.function || l.individual || l.employer);
         }},
        {";0971234567890;;;Februarie;2024-02-05;20/2/2024;6;1234.5;0;105;2411;3;48,00;184", QString(),
         [&](const PayrollLine &l) {
             EXPECT_EQ(l.cpas, QString());
             EXPECT_EQ(l.idnp, QStringLiteral("0971234567890"));
             EXPECT_EQ(l.month, 2);
             EXPECT_EQ(l.from, QDate(2024, 2, 5));
             EXPECT_EQ(l.to, QDate(2024, 2, 20));
             EXPECT_EQ(l.days, 6);
             EXPECT_EQ(l.payFund, 1234.5);
             EXPECT_EQ(l.sickPay, 0.0);
             EXPECT_EQ(l.category, 105);
             EXPECT_EQ(l.function, 2411);
             EXPECT_EQ(l.formType, 3);
             EXPECT_EQ(l.individual, 48.0);
             EXPECT_EQ(l.employer, 184.0);
         }},
        {"1;;;;  DECEMBRIE ;;31.12.2024 00:00;;-5;;;;;;", QString(),
         [](const PayrollLine &l) {
             EXPECT_EQ(l.month, 12);
             EXPECT_EQ(l.to, QDate(2024, 12, 31));
             EXPECT_EQ(l.payFund, -5.0); // a negative amount is the save rule's to refuse
         }},
        {"1;;;;13;;;;100;;;;;;", QStringLiteral("Luna 13 nu există"), none},
        {"1;;;;0;;;;100;;;;;;", QStringLiteral("Luna 0 nu există"), none},
        {"1;;;;marti;;;;100;;;;;;", QStringLiteral("Luna 'marti' nu există"), none},
        {"1;;;;;;;;100;;;;;;", QStringLiteral("Lipsește luna"), none},
        {"1;;;;3;;;;1.234,56;;;;;;",
         QStringLiteral("Suma '1.234,56' are separator de mii (rîndul 16, coloana Salariu)"), none},
        {"1;;;;3;;;;1 234,56;;;;;;",
         QStringLiteral("Suma '1 234,56' are separator de mii (rîndul 18, coloana Salariu)"), none},
        {"1;;;;3;;;;1,234.56;;;;;;",
         QStringLiteral("Suma '1,234.56' are separator de mii (rîndul 20, coloana Salariu)"), none},
        {"1;;;;3;;;;1.234;;;;;;",
         QStringLiteral("Suma '1.234' poate avea separator de mii sau trei zecimale (rîndul 22, coloana Salariu)"),
         none},
        {"1;;;;3;;;;1.234,5x;;;;;;", QStringLiteral("Suma '1.234,5x' nu este un număr"), none},
        {"1;;;;3;;;;100;100 lei;;;;;", QStringLiteral("Suma '100 lei' nu este un număr"), none},
        {"1;;;;3;31.02.2024;;;100;;;;;;",
         QStringLiteral("Data '31.02.2024' nu este o dată în forma zz.ll.aaaa (coloana De la)"), none},
        {"1;;;01-03-1980;3;;;;100;;;;;;",
         QStringLiteral("Data '01-03-1980' nu este o dată în forma zz.ll.aaaa (coloana Data nașterii)"), none},
        {"1;;;;3;;;7;100;;;;;;", QStringLiteral("Zilele lucrătoare pe săptămînă trebuie să fie 5 sau 6, nu '7'"), none},
        {"1;;;;3;;;;100;;1O1;;;;", QStringLiteral("Categoria '1O1' nu este un cod numeric"), none},
        {"1;;;;3;;;;100;;;-2;;;", QStringLiteral("Funcția '-2' nu este un cod numeric"), none},
        {"1;;;;3;;;;100;;;;2;;", QStringLiteral("Tipul formularului '2' nu există (1 primară, 3 de corectare)"), none},
        {"123-456;;;;3;;;;100;;;;;;", QStringLiteral("CPAS '123-456' trebuie să fie numai din cifre"), none},
        {"12345678901234;;;;3;;;;100;;;;;;", QStringLiteral("CPAS '12345678901234' are mai mult de 13 cifre"), none},
        {";200000000000;;;3;;;;100;;;;;;", QStringLiteral("IDNP '200000000000' trebuie să aibă 13 cifre"), none},
        {";20000000000a1;;;3;;;;100;;;;;;", QStringLiteral("IDNP '20000000000a1' trebuie să fie numai din cifre"),
         none},
        {";;Total;;;;;;123456;;;;;;", QStringLiteral("Rîndul nu are nici CPAS, nici IDNP; Lipsește luna"), none},
        {"1;;" + QByteArray(255, 'A') + ";;3;;;;100;;;;;;", QStringLiteral("Nume are peste 254 de caractere"), none},
        {"1;;;;3;;;;100;;;;;;;x", QStringLiteral("Rîndul are 16 cîmpuri, antetul numai 15"), none},
    };
    QByteArray bytes = "CPAS;IDNP;Nume;Data nașterii;Luna;De la;Pînă la;Zile;Salariu;Concediu medical;Categoria;"
                       "Funcția;Tip formular;Contribuția individuală;Contribuția angajatorului\n";
    for (const Case &c : cases)
        bytes += c.line + "\n;;;;;;;\n"; // a line of separators only, left out, after each
    const auto read = lines(PayrollFile::read(file(QStringLiteral("valori.csv"), bytes)));
    ASSERT_EQ(read.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].line.toStdString());
        EXPECT_EQ(read[i].line, int(2 * i) + 2);
        EXPECT_EQ(read[i].refusal, cases[i].refusal);
        cases[i].check(read[i]);
    }

    // With the comma as separator, a decimal comma shifts the columns unless it is quoted.
    const auto comma = lines(
        PayrollFile::read(file(QStringLiteral("virgula.csv"), "CPAS,Luna,Salariu\n1,3,\"1234,56\"\n1,3,1234,56\n")));
    ASSERT_EQ(comma.size(), 2u);
    EXPECT_EQ(comma[0].payFund, 1234.56);
    EXPECT_EQ(comma[1].refusal,
              QStringLiteral("Rîndul are 4 cîmpuri, antetul numai 3; cînd virgula desparte cîmpurile, o sumă cu "
                             "virgulă zecimală se scrie între ghilimele"));
}

TEST_F(PayrollFileTest, XlsxCellsAreReadAsTheyAreTyped)
{
    // Written by the program's own spreadsheet writer: numbers, texts, dates.
    {
        XlsxSheet sheet(path("salarii.xlsx"));
        sheet.setTextColumn(2);
        const auto t = [](const char *s) { return QVariant(QString::fromUtf8(s)); };
        sheet.writeRow(1, {t("CPAS"), t("IDNP"), t("Nume"), t("Data nașterii"), t("Luna"), t("De la"), t("Salariu"),
                           t("Concediu medical"), t("Categoria")});
        sheet.writeRow(2, {1234567890.0, t("0971234567890"), t("Ștefan"), QDate(1980, 3, 15), 3.0, QDate(2024, 3, 4),
                           1234.56, t("12,5"), 101.0});
        sheet.writeRow(4, {98765432101.0, QVariant(), t("Rusu"), QVariant(), t("aprilie"), QVariant(), 7.0});
        sheet.save();
    }
    const PayrollTable t = PayrollFile::read(path("salarii.xlsx"));
    EXPECT_EQ(t.sheets, QStringList{QStringLiteral("Sheet1")});
    EXPECT_EQ(t.sheet, QStringLiteral("Sheet1"));
    EXPECT_EQ(t.lineNumbers, (std::vector<int>{1, 2, 4}));
    const PayrollRow &r = t.rows[1];
    const std::vector<Kind> kinds = {Kind::Number, Kind::Text,   Kind::Text, Kind::Date,  Kind::Number,
                                     Kind::Date,   Kind::Number, Kind::Text, Kind::Number};
    ASSERT_EQ(r.size(), kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(r[i].kind, kinds[i]) << i;
    EXPECT_EQ(r[3].date, QDate(1980, 3, 15));
    EXPECT_EQ(r[6].number, 1234.56);
    const auto l = lines(t);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].refusal, QString());
    EXPECT_EQ(l[0].cpas, QStringLiteral("01234567890")); // the zero a number cell cannot keep
    EXPECT_EQ(l[0].idnp, QStringLiteral("0971234567890"));
    EXPECT_EQ(l[0].familyName, QStringLiteral("Ștefan"));
    EXPECT_EQ(l[0].birthDate, QDate(1980, 3, 15));
    EXPECT_EQ(l[0].from, QDate(2024, 3, 4));
    EXPECT_EQ(l[0].to, QDate(2024, 3, 31));
    EXPECT_EQ(l[0].sickPay, 12.5);
    EXPECT_EQ(l[0].category, 101);
    EXPECT_EQ(l[1].line, 4);
    EXPECT_EQ(l[1].cpas, QStringLiteral("98765432101"));
    EXPECT_EQ(l[1].month, 4);

    // Written by hand as other programs write it: the 1904 calendar, prefixed elements, inline
    // texts, rich and phonetic runs, formulas with and without their result, errors, booleans,
    // a first sheet with nothing in it.
    HandMadeXlsx book;
    book.calendar1904 = true;
    book.sharedStrings = QStringLiteral("<si><t>CPAS</t></si><si><r><t>Lu</t></r><r><rPr><b/></rPr><t>na</t></r>"
                                        "<rPh><t>ruby</t></rPh></si><si><t>Salariu</t></si><si><t>A_x000D_B</t></si>");
    book.numberFormats = QStringLiteral("<numFmt numFmtId=\"164\" formatCode=\"[$-418]dd/mm/yyyy;@\"/>"
                                        "<numFmt numFmtId=\"165\" formatCode=\"#,##0.00 &quot;lei&quot;\"/>"
                                        "<numFmt numFmtId=\"166\" formatCode=\"[h]:mm\"/>");
    book.cellFormats = QStringLiteral("<xf numFmtId=\"0\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
                                      "<xf numFmtId=\"14\"/><xf numFmtId=\"166\"/>");
    const QString ns = QStringLiteral("xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"");
    book.sheets = {
        {QStringLiteral("Gol"), QStringLiteral("<x:worksheet %1><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" s=\"2\"/>"
                                               "</x:row></x:sheetData></x:worksheet>")
                                    .arg(ns)},
        {QStringLiteral("Salarii"),
         QStringLiteral(
             "<x:worksheet %1><x:sheetData>"
             "<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c><x:c r=\"B1\" t=\"s\"><x:v>1</x:v></x:c>"
             "<x:c r=\"C1\" t=\"s\"><x:v>2</x:v></x:c><x:c r=\"D1\" t=\"inlineStr\"><x:is><x:t>De la</x:t>"
             "</x:is></x:c><x:c r=\"E1\" t=\"inlineStr\"><x:is><x:t>Concediu medical</x:t></x:is></x:c>"
             "<x:c r=\"F1\" t=\"s\"><x:v>3</x:v></x:c></x:row>"
             "<x:row r=\"3\"><x:c r=\"A3\"><x:v>12345678901</x:v></x:c><x:c r=\"B3\" s=\"3\"><x:v>44986</x:v>"
             "</x:c><x:c r=\"C3\" s=\"2\"><x:f>1000+234.5</x:f><x:v>1234.5</x:v></x:c><x:c r=\"D3\" s=\"1\">"
             "<x:v>44986.75</x:v></x:c><x:c r=\"E3\" s=\"4\"><x:v>0.5</x:v></x:c></x:row>"
             "<x:row><x:c><x:v>1</x:v></x:c><x:c t=\"d\"><x:v>2024-05-01T00:00:00</x:v></x:c>"
             "<x:c t=\"e\"><x:v>#N/A</x:v></x:c><x:c><x:f>C3*2</x:f></x:c><x:c t=\"b\"><x:v>1</x:v></x:c>"
             "</x:row></x:sheetData></x:worksheet>")
             .arg(ns)},
    };
    book.write(path("manual.xlsx"));
    const PayrollTable m = PayrollFile::read(path("manual.xlsx"));
    EXPECT_EQ(m.sheets, (QStringList{QStringLiteral("Gol"), QStringLiteral("Salarii")}));
    EXPECT_EQ(m.sheet, QStringLiteral("Salarii"));
    EXPECT_EQ(m.lineNumbers, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(cellText(m, 0, 1), QStringLiteral("Luna"));
    EXPECT_EQ(cellText(m, 0, 5), QStringLiteral("A\rB"));
    // 44986 days after 1 January 1904 is 2 March 2027; in the 1900 calendar, 1 March 2023.
    EXPECT_EQ(m.rows[1][1].kind, Kind::Date);
    EXPECT_EQ(m.rows[1][1].date, QDate(2027, 3, 2));
    EXPECT_EQ(m.rows[1][3].date, QDate(2027, 3, 2));
    EXPECT_EQ(m.rows[1][4].kind, Kind::Number); // a duration is no date
    EXPECT_EQ(m.rows[2][1].date, QDate(2024, 5, 1));
    EXPECT_EQ(cellText(m, 2, 2), QStringLiteral("#N/A"));
    EXPECT_EQ(cellText(m, 2, 3), QStringLiteral("=C3*2"));
    EXPECT_EQ(cellText(m, 2, 4), QStringLiteral("TRUE"));
    const auto ml = lines(m, 2027);
    ASSERT_EQ(ml.size(), 2u);
    EXPECT_EQ(ml[0].month, 3);
    EXPECT_EQ(ml[0].payFund, 1234.5);
    EXPECT_EQ(ml[0].sickPay, 0.5);
    EXPECT_EQ(ml[1].cpas, QStringLiteral("00000000001"));
    EXPECT_EQ(ml[1].refusal, QStringLiteral("Luna '01.05.2024' nu este din anul 2027; Data '=C3*2' nu este o dată în "
                                            "forma zz.ll.aaaa (coloana De la); Suma '#N/A' nu este un număr; Suma "
                                            "'TRUE' nu este un număr"));
    EXPECT_EQ(refusal([&] { PayrollFile::read(path("manual.xlsx"), QStringLiteral("Gol")); }),
              QStringLiteral("Foaia „Gol” a fișierului „manual.xlsx” este goală"));
}

TEST_F(PayrollFileTest, OdsCellsAreReadAsTheyAreTyped)
{
    auto text = [](const char *s) {
        return QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>")
            .arg(QString::fromUtf8(s));
    };
    const QString header = QStringLiteral("<table:table-row>%1%2%3%4%5%6</table:table-row>")
                               .arg(text("CPAS"), text("Nume"), text("Luna"), text("De la"), text("Salariu"),
                                    text("Concediu medical"));
    const QString tables
        = QStringLiteral(
              "<table:table table:name=\"Foaia1\"><table:table-row><table:table-cell/></table:table-row>"
              "</table:table><table:table table:name=\"Salarii\"><table:table-column/>%1"
              "<table:table-row table:number-rows-repeated=\"2\">"
              "<table:table-cell office:value-type=\"float\" office:value=\"1234567890\"><text:p>1234567890"
              "</text:p></table:table-cell>"
              "<table:table-cell office:value-type=\"string\"><text:p>Ion <text:s text:c=\"2\"/>Popa</text:p>"
              "<text:p>fiul</text:p><office:annotation><text:p>notă</text:p></office:annotation>"
              "</table:table-cell>"
              "<table:table-cell office:value-type=\"float\" office:value=\"3\"/>"
              "<table:table-cell office:value-type=\"date\" office:date-value=\"2024-03-05T00:00:00\">"
              "<text:p>05.03.24</text:p></table:table-cell>"
              "<table:table-cell office:value-type=\"currency\" office:currency=\"MDL\" office:value=\"1234.56\">"
              "<text:p>1 234,56 MDL</text:p></table:table-cell>"
              "<table:covered-table-cell/>"
              "<table:table-cell table:number-columns-repeated=\"1018\"/></table:table-row>"
              "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell "
              "table:number-columns-repeated=\"1024\"/></table:table-row>"
              "<table:table-row><table:table-cell table:number-columns-repeated=\"2\" office:value-type="
              "\"percentage\" office:value=\"0.5\"><text:p>50%</text:p></table:table-cell>"
              "<table:table-cell office:value-type=\"string\" office:string-value=\"mai\"/></table:table-row>"
              "<table:table-row table:number-rows-repeated=\"1048570\"><table:table-cell "
              "table:number-columns-repeated=\"1024\"/></table:table-row></table:table>")
              .arg(header);
    PayrollFiles::writeOds(path("salarii.ods"), tables);
    const PayrollTable t = PayrollFile::read(path("salarii.ods"));
    EXPECT_EQ(t.sheets, (QStringList{QStringLiteral("Foaia1"), QStringLiteral("Salarii")}));
    EXPECT_EQ(t.sheet, QStringLiteral("Salarii"));
    EXPECT_EQ(t.lineNumbers, (std::vector<int>{1, 2, 3, 7}));
    EXPECT_TRUE(t.encoding.isEmpty());
    const PayrollRow &r = t.rows[1];
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].kind, Kind::Number);
    EXPECT_EQ(r[1].text, QStringLiteral("Ion   Popa\nfiul"));
    EXPECT_EQ(r[3].kind, Kind::Date);
    EXPECT_EQ(r[3].date, QDate(2024, 3, 5));
    EXPECT_EQ(r[4].kind, Kind::Number);
    EXPECT_EQ(r[4].number, 1234.56);
    EXPECT_EQ(r[4].text, QStringLiteral("1 234,56 MDL"));
    EXPECT_EQ(t.rows[3][0].number, 0.5);
    EXPECT_EQ(t.rows[3][1].number, 0.5);
    EXPECT_EQ(t.rows[3][2].text, QStringLiteral("mai"));
    const auto l = lines(t);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0].cpas, QStringLiteral("01234567890"));
    EXPECT_EQ(l[1].line, 3);
    EXPECT_EQ(l[1].from, QDate(2024, 3, 5));
    EXPECT_EQ(l[1].payFund, 1234.56);
    EXPECT_EQ(l[2].month, 5);
    EXPECT_EQ(l[2].refusal, QStringLiteral("CPAS '0.5' trebuie să fie numai din cifre"));
}

} // namespace
