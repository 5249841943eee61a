// Payroll files made here as the payroll programs write them, brought in through the import's
// session: read, their columns taken as the agent's files were taken before, imported into the
// rows of the database, and their refused lines exported as they stood in the file.

#include "maintenance/payroll/payrollimportsession.h"
#include "maintenance/payroll/payrollmappingmemory.h"
#include "platform/platform.h"
#include "reports/engine/report.h"
#include "reports/engine/reportsource.h"
#include "reports/payrollrefusals.h"
#include "reports/xlsxsheet.h"
#include "tests/maintenance/payrollimportfixture.h"
#include "tests/support/payrollfiles.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

namespace {

class PayrollSessionTest : public PayrollImportFixture
{
protected:
    void SetUp() override
    {
        PayrollImportFixture::SetUp();
        Platform::setDataFolder(data.path());
    }
    void TearDown() override
    {
        Platform::setDataFolder({});
        PayrollImportFixture::TearDown();
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        QFile f(files.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QString workbook(const QString &name, const std::vector<std::vector<QVariant>> &rows)
    {
        const QString path = files.filePath(name);
        XlsxSheet sheet(path);
        for (size_t r = 0; r < rows.size(); ++r)
            sheet.writeRow(int(r) + 1, rows[r]);
        sheet.save();
        return path;
    }
    QStringList stored(int month)
    {
        return table(QStringLiteral("select a.ap_cpas,s.sd_month,s.sd_paym_fond,s.sd_ill,s.sd_ap_category,s.sd_sum_add "
                                    "from saldo_data s join name_account n on s.sd_na=n.na_id join assured_person a "
                                    "on n.na_ap=a.ap_id where s.sd_month=%1 order by a.ap_cpas")
                         .arg(month));
    }

    QTemporaryDir files, data;
};

TEST_F(PayrollSessionTest, AFileOfEachKindIsImportedAsItsLinesSay)
{
    const QString csv = file("salarii.csv", "\xEF\xBB\xBF"
                                            "CPAS;Luna;Salariu;Concediu medical\r\n"
                                            "12345678901;1;1234,56;\r\n"
                                            "12345678902;ianuarie;500;\r\n"
                                            "99999999999;1;100;\r\n"
                                            "12345678901;2;;300\r\n");
    const QString xlsx = workbook("salarii.xlsx", {{"CPAS", "Luna", "Salariu", "Concediu medical"},
                                                   {"12345678901", 3.0, 1000.0, QVariant()},
                                                   {"12345678902", "martie", 700.5, QVariant()},
                                                   {"99999999999", 3.0, 100.0, QVariant()},
                                                   {"12345678901", 4.0, QVariant(), 300.0}});
    for (const auto &[path, first] : {std::pair{csv, 1}, std::pair{xlsx, 3}}) {
        SCOPED_TRACE(path.toStdString());
        PayrollImportSession session(path, 2010);
        const QStringList expected = {"2: rînd nou", "3: rînd nou",
                                      "4: Persoana cu CPAS 99999999999 nu este înregistrată", "5: rînd nou"};
        EXPECT_EQ(fates(session.preview()), expected);
        EXPECT_EQ(fates(session.import()), expected);
        EXPECT_EQ(fates(session.import()),
                  (QStringList{"2: există deja", "3: există deja", expected[2], "5: există deja"}));
    }
    // A workbook of the office suite, its second sheet chosen.
    auto sheet = [](const char *name, int month) {
        const QString text = QStringLiteral("<table:table-cell office:value-type=\"string\"><text:p>%1</text:p>"
                                            "</table:table-cell>");
        const QString number = QStringLiteral("<table:table-cell office:value-type=\"float\" office:value=\"%1\"/>");
        return QStringLiteral("<table:table table:name=\"%1\"><table:table-row>%2%3%4</table:table-row>"
                              "<table:table-row>%5%6%7</table:table-row></table:table>")
            .arg(QString::fromUtf8(name), text.arg("CPAS"), text.arg("Luna"), text.arg("Salariu"),
                 text.arg("12345678901"), number.arg(month), number.arg(800));
    };
    const QString ods = files.filePath("salarii.ods");
    PayrollFiles::writeOds(ods, sheet("Mai", 5) + sheet("Iunie", 6));
    PayrollImportSession workbook(ods, 2010);
    EXPECT_EQ(workbook.table().sheets, (QStringList{"Mai", "Iunie"}));
    workbook.chooseSheet("Iunie");
    EXPECT_EQ(fates(workbook.import()), QStringList{"2: rînd nou"});
    EXPECT_EQ(stored(5), QStringList{});
    EXPECT_EQ(stored(6), QStringList{"12345678901|6|800|0|101|48"});

    // IONESCU ANA's declaration of the year, made by the first file, carries her category 105.
    EXPECT_EQ(stored(1), (QStringList{"12345678901|1|1234.56|0|101|74.07", "12345678902|1|500|0|105|30"}));
    EXPECT_EQ(stored(2), QStringList{"12345678901|2|300|300|101|0"});
    EXPECT_EQ(stored(3), (QStringList{"12345678901|3|1000|0|101|60", "12345678902|3|700.5|0|105|42.03"}));
    EXPECT_EQ(stored(4), QStringList{"12345678901|4|300|300|101|0"});
}

TEST_F(PayrollSessionTest, TheColumnsChosenAreRememberedForTheAgentWhateverTheirOrder)
{
    PayrollImportSession first(file("a.csv", "CPAS;Luna;Suma\n12345678901;1;1000\n"), 2010);
    EXPECT_EQ(first.mapping(), (PayrollMapping{PayrollField::Cpas, PayrollField::Month, PayrollField::Ignored}));
    EXPECT_FALSE(first.mappingProblem().isEmpty());
    first.setField(2, PayrollField::PayFund);
    EXPECT_EQ(first.mappingProblem(), "");
    EXPECT_EQ(fates(first.preview()), QStringList{"2: rînd nou"});
    // A field has one column: choosing it for another takes it from the first.
    first.setField(0, PayrollField::PayFund);
    EXPECT_EQ(first.mapping(), (PayrollMapping{PayrollField::PayFund, PayrollField::Month, PayrollField::Ignored}));
    first.setField(0, PayrollField::Cpas);
    first.setField(2, PayrollField::PayFund);

    const QString second = file("b.csv", "suma;Luna;CPAS\n1000;1;12345678901\n");
    EXPECT_EQ(PayrollImportSession(second, 2010).mapping(),
              (PayrollMapping{PayrollField::PayFund, PayrollField::Month, PayrollField::Cpas}));
    EXPECT_EQ(QSettings(data.filePath("salarii.ini"), QSettings::IniFormat).value("agent_1234567/coloane/size").toInt(),
              3);
    // Another agent's files are taken as their titles say.
    load(DM->econ_agent, "select * from econ_agent where ea_id=2");
    EXPECT_EQ(PayrollImportSession(second, 2010).mapping(),
              (PayrollMapping{PayrollField::Ignored, PayrollField::Month, PayrollField::Cpas}));
}

TEST_F(PayrollSessionTest, TheRefusedLinesGoOutAsTheyStoodInTheFileWithTheirReason)
{
    PayrollImportSession session(file("iunie.csv", "CPAS;Luna;Salariu;Categoria;Nota\n"
                                                   "12345678901;6;1000;;fără\n"
                                                   "99999999999;6;2500,5;;\"a; \"\"b\"\"\"\n"
                                                   "12345678901;6;100;102;x\n"),
                                 2010);
    const PayrollImportResult shown = session.preview();
    ASSERT_EQ(fates(shown), (QStringList{"2: rînd nou", "3: Persoana cu CPAS 99999999999 nu este înregistrată",
                                         "4: Nu este tarif pentru aceasta categorie in acest an"}));
    const QString path = PayrollRefusals::exportCsv(session.table(), shown,
                                                    QDateTime(QDate(2024, 5, 15), QTime(9, 30)));
    EXPECT_EQ(path, data.filePath("Export/Rînduri refuzate iunie 2024-05-15 09.30.00.csv"));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("\xEF\xBB\xBF"
                                            "CPAS;Luna;Salariu;Categoria;Nota;Motivul\r\n"
                                            "99999999999;6;2500,5;;\"a; \"\"b\"\"\";"
                                            "Persoana cu CPAS 99999999999 nu este înregistrată\r\n"
                                            "12345678901;6;100;102;x;Nu este tarif pentru aceasta categorie in acest an"
                                            "\r\n"));

    ui.onReport = [](const Report &report) {
        ReportSource *rows = report.source();
        ASSERT_EQ(rows->rowCount(), 2);
        rows->goTo(1);
        EXPECT_EQ(rows->value("rindul").toInt(), 4);
        EXPECT_EQ(rows->value("persoana").toString(), "POPESCU ION");
        EXPECT_EQ(rows->value("motivul").toString(), "Nu este tarif pentru aceasta categorie in acest an");
    };
    PayrollRefusals::show(session.table().path, 2010, shown);
    EXPECT_EQ(ui.reports, QStringList{"Rîndurile refuzate la importul salariilor"});
}

} // namespace
