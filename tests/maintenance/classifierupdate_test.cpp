// The classifier updates against a real database: the files' rows merged into their tables,
// the form types and professions withdrawn, the in-memory classifiers reloaded, the messages
// and the wait cursor, and the refusal of files that cannot be read.

#include "app/qtuserinteraction.h"
#include "app/tfprogres.h"
#include "data/datapacket.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "maintenance/classifierupdate.h"
#include "platform/platform.h"
#include "platform/progress.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using DataPacket::Format;
using DataPacket::Packet;

using DataPacket::makeField;

namespace {

QStringList range(int first, int count)
{
    QStringList out;
    for (int i = first; i < first + count; ++i)
        out << QString::number(i);
    return out;
}

class ClassifierUpdateTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        m_folder = Platform::programFolder();
        Platform::setProgramFolder(db->folder());
        for (RecordSet *s : {DM->k_prof, DM->k_tariff_ap, DM->k_tariff_ap_value})
            LoadClassifier(s);
        DM->declareFormTypes();
        DM->k_form_type->createDataSet();
        DM->cl_form_type->createDataSet();
    }
    void TearDown() override
    {
        Platform::setProgramFolder(m_folder);
        DataModuleTest::TearDown();
    }

    QString file(const QString &name) { return db->folder() + u'/' + name; }

    // A profession file holding the given codes and names.
    void professions(const std::vector<std::pair<int, QString>> &rows, Format format = Format::Xml,
                     const QString &name = QStringLiteral("k_prof.cds"))
    {
        Packet p;
        p.fields = {makeField("kp_id", FieldType::Integer), makeField("kp_name_ro", FieldType::String, 250)};
        for (const auto &[id, n] : rows)
            p.rows.push_back({id, n});
        DataPacket::write(file(name), p, format);
    }
    // Every profession of the table but those given, as the file of the authority would list them.
    std::vector<std::pair<int, QString>> tableProfessionsBut(std::initializer_list<int> left)
    {
        std::vector<std::pair<int, QString>> rows;
        for (const QString &line : column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id")) {
            const int id = line.section(u'|', 0, 0).toInt();
            if (std::find(left.begin(), left.end(), id) == left.end())
                rows.push_back({id, line.section(u'|', 1)});
        }
        return rows;
    }
    QString prof(int id)
    {
        return scalar(QStringLiteral("select kp_name_ro from k_prof where kp_id=%1").arg(id)).toString();
    }
    QStringList memory(RecordSet *set, const char *field)
    {
        QStringList out;
        const int i = set->fieldIndex(QString::fromLatin1(field));
        for (int r = 0; r < set->recordCount(); ++r)
            out << set->displayTextAt(r, i);
        return out;
    }
    // A declaration whose function is the profession, so that the database refuses to delete it,
    // and, when given, a monthly row of it whose function is another one.
    void professionInUse(int kp, int monthKp = 0)
    {
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
             "values(1,1,'12345678901','X','Y')");
        exec(QStringLiteral("insert into name_account (na_id,na_ap,na_year,na_position) values(1,1,2015,%1)").arg(kp));
        if (monthKp)
            exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_position) values(1,1,3,%1)")
                     .arg(monthKp));
    }

    ScriptedUserInteraction ui;
    QString m_folder;
};

TEST_F(ClassifierUpdateTest, TariffFilesAddACategoryChangeARateCarryingSomeColumnsAndDropFormTypesAbove3)
{
    Packet cats;
    cats.fields = {makeField("ktap_id", FieldType::Integer), makeField("ktap_name_ro", FieldType::String, 250)};
    cats.rows = {{199, QStringLiteral("categorie nouă")}, {101, QStringLiteral("  salariati ")}};
    DataPacket::write(file("K_TARIFF_AP.cds"), cats, Format::Xml); // found without regard to case

    Packet rates; // only the key and two of the columns
    rates.fields = {makeField("ktapv_id", FieldType::Integer), makeField("ktapv_ap_value", FieldType::Float),
                    makeField("ktapv_ap_max", FieldType::Float)};
    rates.rows = {{10101, 2.5, QVariant()}};
    DataPacket::write(file("k_tariff_ap_value.cds"), rates, Format::Binary);

    exec("insert into k_form_type values(4,'A PATRA')");
    exec("insert into k_form_type values(7,'A SAPTEA')");
    Packet forms;
    forms.fields = {makeField("kft_id", FieldType::SmallInt), makeField("kft_name_ro", FieldType::String, 20)};
    forms.rows = {{1, QStringLiteral("Primară")},
                  {2, QStringLiteral("Suplimentară")},
                  {3, QStringLiteral("De corectare")},
                  {5, QStringLiteral("speciala")}};
    DataPacket::write(file("k_form_type.cds"), forms, Format::Xml);

    ClassifierUpdate::updateTariffs();

    EXPECT_EQ(column("select ktap_name_ro from k_tariff_ap where ktap_id in (101,199) order by ktap_id"),
              (QStringList{"SALARIATI", QStringLiteral("CATEGORIE NOUă")}));
    // The columns the file does not carry keep their values; an empty value writes NULL.
    EXPECT_EQ(column("select ktapv_ktap||'|'||ktapv_ap_unit||'|'||case when ktapv_ap_max is null then 'null' else "
                     "'set' end from k_tariff_ap_value "
                     "where ktapv_id=10101"),
              QStringList{"101|P|null"});
    EXPECT_EQ(column("select ktapv_ap_value from k_tariff_ap_value where ktapv_id=10101"), QStringList{"2.5"});
    EXPECT_EQ(column("select ktapv_ea_value from k_tariff_ap_value where ktapv_id=10101"), QStringList{"30"});
    EXPECT_EQ(column("select ktapv_date_start from k_tariff_ap_value where ktapv_id=10101"), QStringList{"01.01.1998"});
    EXPECT_EQ(column("select kft_id||'|'||kft_name_ro from k_form_type order by kft_id"),
              (QStringList{QStringLiteral("1|PRIMARă"), QStringLiteral("2|SUPLIMENTARă"), "3|DE CORECTARE",
                           "5|SPECIALA"}));
    // Declarations are offered the primary form type; monthly rows show 1 and 3.
    EXPECT_EQ(memory(DM->k_form_type, "kft_id"), QStringList{"1"});
    EXPECT_EQ(memory(DM->cl_form_type, "kft_name_ro"), (QStringList{QStringLiteral("PRIMARă"), "DE CORECTARE"}));
    EXPECT_EQ(DM->cl_form_type->fieldDef(0).name.toLower(), "kft_id");
    EXPECT_TRUE(memory(DM->k_tariff_ap, "ktap_id").contains("199"));
    EXPECT_EQ(ui.notices, QStringList{"OK"});
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(ui.maxWaitDepth, 1);
    // The steps, and the rows of each file counted to their end.
    QStringList steps;
    for (const auto &step : ui.progress)
        steps << QStringLiteral("%1|%2|%3|%4")
                     .arg((QString(step.depth, u'>') + u' ' + step.name).trimmed())
                     .arg(step.done)
                     .arg(step.total)
                     .arg(step.mayStop);
    EXPECT_EQ(steps, (QStringList{"Actualizarea tarifelor|5|5|0", "> Rândurile fișierului K_TARIFF_AP.cds|2|2|1",
                                  "> Rândurile fișierului k_tariff_ap_value.cds|1|1|1",
                                  "> Rândurile fișierului k_form_type.cds|4|4|1"}));
    EXPECT_EQ(ui.progress.front().parts, (QStringList{"Citirea fișierelor", "Categoriile", "Tarifele",
                                                      "Tipurile de formulare", "Reîncărcarea clasificatoarelor"}));
}

TEST_F(ClassifierUpdateTest, StoppedBetweenTwoRowsAnUpdateKeepsWhatItMergedAndSaysHowFar)
{
    const int professionsBefore = scalar("select count(*) from k_prof").toInt();
    const struct {
        const char *what;
        std::function<void()> files;
        void (*update)();
        qint64 stopAt;
        QString message;
        std::function<void()> check;
    } cases[] = {
        {"the categories",
         [this] {
             Packet cats;
             cats.fields = {makeField("ktap_id", FieldType::Integer),
                            makeField("ktap_name_ro", FieldType::String, 250)};
             for (int id = 900; id < 940; ++id)
                 cats.rows.push_back({id, QStringLiteral("categoria %1").arg(id)});
             DataPacket::write(file("k_tariff_ap.cds"), cats, Format::Binary);
         },
         ClassifierUpdate::updateTariffs, 12,
         QStringLiteral("Actualizarea din fișierul \"k_tariff_ap.cds\" a fost anulată: 12 din 40 de rânduri au fost "
                        "actualizate."),
         [this] {
             EXPECT_EQ(column("select ktap_id from k_tariff_ap where ktap_id>=900 order by ktap_id"), range(900, 12));
             // The categories in memory are the table's again, not the rows of the file.
             EXPECT_FALSE(memory(DM->k_tariff_ap, "ktap_id").contains("939"));
         }},
        {"the professions merged",
         [this] {
             auto rows = tableProfessionsBut({});
             for (int id = 1; id <= 30; ++id)
                 rows.push_back({id, QStringLiteral("noua %1").arg(id)});
             professions(rows);
         },
         ClassifierUpdate::updateProfessions, 7,
         QStringLiteral("Actualizarea din fișierul \"k_prof.cds\" a fost anulată: 7 din %1 de rânduri au fost "
                        "actualizate.")
             .arg(Progress::number(professionsBefore + 30)),
         [&] {
             EXPECT_EQ(column("select kp_id from k_prof where kp_id<=30 order by kp_id"), range(1, 7));
             EXPECT_EQ(DM->k_prof->recordCount(), professionsBefore + 7);
         }},
        {"the professions withdrawn",
         [this] {
             professions(tableProfessionsBut({111201, 111202, 112001, 112002, 121101}));
         },
         ClassifierUpdate::updateProfessions, 2,
         QStringLiteral("Actualizarea profesiilor a fost anulată: 2 din 5 profesii care lipsesc din fișierul "
                        "\"k_prof.cds\" au fost retrase."),
         [this] {
             const QString withdrawn = "from k_prof where kp_id in (111201,111202,112001,112002,121101)";
             EXPECT_EQ(scalar("select count(*) " + withdrawn).toInt(), 3);
             EXPECT_EQ(scalar("select count(*) " + withdrawn + " and kp_name_ro starting with 'PROFESIE'").toInt(), 0);
             // The professions in memory are the table's again.
             EXPECT_EQ(DM->k_prof->recordCount(), scalar("select count(*) from k_prof").toInt());
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        for (const char *name : {"k_tariff_ap.cds", "k_prof.cds"})
            QFile::remove(file(name));
        ui.progress.clear();
        ui.notices.clear();
        c.files();
        ui.stopWhen = [&](const ScriptedUserInteraction::ProgressStep &s) { return s.done == c.stopAt; };
        try {
            c.update();
            ADD_FAILURE() << "the update was not stopped";
        } catch (const EE &e) {
            EXPECT_EQ(e.message(), c.message);
        }
        c.check();
        EXPECT_FALSE(ui.notices.contains("OK"));
        EXPECT_EQ(ui.waitDepth, 0);
        EXPECT_EQ(ui.openProgress(), 0);
        EXPECT_FALSE(DM->IBT2->active());
    }
}

TEST_F(ClassifierUpdateTest, AnulareInTheProgressWindowStopsTheUpdateAtARowBoundary)
{
    Packet cats;
    cats.fields = {makeField("ktap_id", FieldType::Integer), makeField("ktap_name_ro", FieldType::String, 250)};
    for (int id = 10000; id < 11000; ++id)
        cats.rows.push_back({id, QStringLiteral("categoria %1").arg(id)});
    DataPacket::write(file("k_tariff_ap.cds"), cats, Format::Binary);

    QtUserInteraction windows;
    windows.setProgressDelay(0); // the window at once: this update is not made to last
    setUserInteraction(&windows);
    struct Back {
        ScriptedUserInteraction *ui;
        ~Back() { setUserInteraction(ui); }
    } back{&ui};

    // Once the window shows some rows merged, the user clicks "Anulare"; a message box (the
    // update not stopped) is closed and kept, so that the test fails instead of waiting.
    QString shown;
    QStringList boxes;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes << box->text();
            box->reject();
            return;
        }
        auto *window = qobject_cast<TFProgres *>(modal);
        if (!window || !shown.isEmpty())
            return;
        const QString count = window->findChild<QLabel *>("stepCount")->text();
        if (count.section(u' ', 0, 0).toInt() < 5)
            return;
        shown = count;
        QTest::mouseClick(window->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    });
    user.start(5);
    QString message;
    try {
        ClassifierUpdate::updateTariffs();
    } catch (const EE &e) {
        message = e.message();
    }
    const int merged = shown.section(u' ', 0, 0).toInt();
    ASSERT_GE(merged, 5) << message.toStdString();
    EXPECT_LT(merged, 1000);
    EXPECT_EQ(shown, QStringLiteral("%1 din 1 000").arg(merged));
    // Stopped at the next row: the rows shown merged are those merged, and said so.
    EXPECT_EQ(message, QStringLiteral("Actualizarea din fișierul \"k_tariff_ap.cds\" a fost anulată: %1 din 1 000 de "
                                      "rânduri au fost actualizate.")
                           .arg(merged));
    EXPECT_EQ(scalar("select count(*) from k_tariff_ap where ktap_id>=10000").toInt(), merged);
    EXPECT_EQ(scalar("select max(ktap_id) from k_tariff_ap").toInt(), 10000 + merged - 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(u'|').toStdString();
}

TEST_F(ClassifierUpdateTest, WithoutFilesTheTariffUpdateStillDropsFormTypesAbove3AndSaysOK)
{
    exec("insert into k_form_type values(9,'X')");
    ClassifierUpdate::updateTariffs();
    EXPECT_EQ(column("select kft_id from k_form_type order by kft_id"), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(ui.notices, QStringList{"OK"});
}

TEST_F(ClassifierUpdateTest, ProfessionsMissingFromTheFileAreDeletedOrKeptUnderTheWithdrawnName)
{
    professionInUse(111201, 112001);
    const QString used = prof(111201);
    auto rows = tableProfessionsBut({111201, 111202, 112001});
    rows.push_back({999001, QStringLiteral("operator ţesut")});
    rows.front().second = QStringLiteral("nume schimbat");
    professions(rows);

    ClassifierUpdate::updateProfessions();

    EXPECT_EQ(ui.notices, (QStringList{"Actualizarea poate dura in jur de 10 min. !", "OK"}));
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(prof(111201), QStringLiteral("PROFESIE ANULATA ") + used);
    // Named by a monthly row alone, which the database does not tie to the profession.
    EXPECT_EQ(prof(112001), "PROFESIE ANULATA DIRECTOR GENERAL");
    EXPECT_TRUE(scalar("select count(*) from k_prof where kp_id=111202").toInt() == 0);
    EXPECT_EQ(prof(999001), QStringLiteral("OPERATOR ţESUT"));
    EXPECT_EQ(prof(rows.front().first), "NUME SCHIMBAT");
    EXPECT_EQ(DM->k_prof->recordCount(), int(rows.size()));
}

TEST_F(ClassifierUpdateTest, TheSameFileAppliedTwiceChangesNothingTheSecondTime)
{
    professionInUse(111201);
    auto rows = tableProfessionsBut({111201});
    rows.push_back({999002, QStringLiteral("nou")});
    professions(rows, Format::Binary);
    ClassifierUpdate::updateProfessions();
    const QStringList after = column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id");
    // Again in the same run, and again after a new connection has reloaded the professions.
    ClassifierUpdate::updateProfessions();
    EXPECT_EQ(column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id"), after);
    LoadClassifier(DM->k_prof);
    ClassifierUpdate::updateProfessions();
    EXPECT_EQ(column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id"), after);
    EXPECT_EQ(after.filter(QStringLiteral("111201|PROFESIE ANULATA ")).size(), 1);
    EXPECT_EQ(scalar("select count(*) from k_prof where kp_name_ro starting with 'PROFESIE ANULATA PROFESIE'").toInt(),
              0);
}

TEST_F(ClassifierUpdateTest, WithoutAProfessionFileNothingChanges)
{
    const QStringList before = column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id");
    ClassifierUpdate::updateProfessions();
    EXPECT_EQ(column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id"), before);
    EXPECT_EQ(ui.notices, (QStringList{"Actualizarea poate dura in jur de 10 min. !", "OK"}));
}

TEST_F(ClassifierUpdateTest, AFileCutInHalfIsRefusedByNameAndNothingIsMerged)
{
    auto rows = tableProfessionsBut({});
    for (auto &r : rows)
        r.second = QStringLiteral("SCHIMBAT");
    professions(rows, Format::Binary);
    QFile f(file("k_prof.cds"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    const QStringList before = column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id");
    try {
        ClassifierUpdate::updateProfessions();
        FAIL() << "the cut file was applied";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), DataPacket::cutShortMessage(file("k_prof.cds")));
    }
    EXPECT_EQ(column("select kp_id||'|'||kp_name_ro from k_prof order by kp_id"), before);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(ui.notices, QStringList{"Actualizarea poate dura in jur de 10 min. !"});
}

TEST_F(ClassifierUpdateTest, AFailureInTheMiddleKeepsTheRowsBeforeItAndSaysHowMany)
{
    Packet p;
    p.fields = {makeField("kp_id", FieldType::Integer), makeField("kp_name_ro", FieldType::String, 400)};
    exec("insert into k_prof values(999500,'VECHE')");
    // Rows are merged in the order of the key.
    p.rows = {{999600, QStringLiteral("patru")},
              {999500, QString(300, u'X')},
              {111201, QStringLiteral("unu")},
              {999003, QStringLiteral("doi")}};
    DataPacket::write(file("k_prof.cds"), p, Format::Xml);
    try {
        ApplyClassifierFile(DM->k_prof, 0);
        FAIL() << "the name longer than the column was written";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral(
            "\nActualizarea din fisierul \"k_prof.cds\" este partiala: 2 din 4 randuri au fost actualizate inainte de "
            "eroare. Repetati actualizarea.")))
            << e.message().toStdString();
    }
    EXPECT_EQ(prof(111201), "UNU");
    EXPECT_EQ(prof(999003), "DOI");
    EXPECT_EQ(prof(999500), "VECHE");
    EXPECT_EQ(scalar("select count(*) from k_prof where kp_id=999600").toInt(), 0);
    EXPECT_EQ(DM->IBT2->active(), true); // the failed statement's transaction, committed by the next write
}

TEST_F(ClassifierUpdateTest, AFileWithTheKeyAloneStopsAtAnInsertTheDatabaseRefuses)
{
    // A rate row needs its category and dates: the key alone cannot be inserted.
    Packet p;
    p.fields = {makeField("ktapv_id", FieldType::Integer)};
    p.rows = {{10101}, {999901}, {999902}};
    DataPacket::write(file("k_tariff_ap_value.cds"), p, Format::Binary);
    const int before = scalar("select count(*) from k_tariff_ap_value").toInt();
    try {
        ClassifierUpdate::updateTariffs();
        FAIL() << "the update ended as if the rows were merged";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("KTAPV_KTAP"), Qt::CaseInsensitive))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().endsWith(QStringLiteral(
            "\nActualizarea din fisierul \"k_tariff_ap_value.cds\" este partiala: 1 din 3 randuri au fost actualizate "
            "inainte de eroare. Repetati actualizarea.")))
            << e.message().toStdString();
    }
    EXPECT_EQ(scalar("select count(*) from k_tariff_ap_value").toInt(), before);
    EXPECT_EQ(ui.notices, QStringList{});
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ClassifierUpdateTest, AFileWithTheKeyAloneInsertsNewRowsAndLeavesOthers)
{
    Packet p;
    p.fields = {makeField("kp_id", FieldType::Integer)};
    p.rows = {{111201}, {999006}};
    DataPacket::write(file("k_prof.cds"), p, Format::Binary);
    const QString before = prof(111201);
    ApplyClassifierFile(DM->k_prof, 0);
    EXPECT_EQ(prof(111201), before);
    EXPECT_EQ(scalar("select count(*) from k_prof where kp_id=999006 and kp_name_ro is null").toInt(), 1);
    EXPECT_EQ(DM->k_prof->recordCount(), 2);
}

} // namespace
