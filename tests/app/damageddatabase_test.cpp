// A database file cut short, filled with random bytes, emptied, replaced by a folder or made
// read-only: the connection dialog and the command line say in Romanian what is wrong with the
// file and what the user can do, never in the engine's words; the newest archive takes the
// place of a lost file, which is kept under a dated name.

#include "app/tfconect.h"
#include "app/tfmain.h"
#include "data/databaselocation.h"
#include "data/ee.h"
#include "data/ibdatabase.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "maintenance/databasearchive.h"
#include "maintenance/databaserestore.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

namespace {

struct Damage {
    const char *name;
    std::function<void(const QString &path)> apply;
    const char *told;    // what the user reads about the file
    bool archiveOffered; // the newest archive is named as the remedy
};

void PrintTo(const Damage &d, std::ostream *os)
{
    *os << d.name;
}

const QString kEnglish[] = {"I/O error", "not a valid database", "no permission", "File size", "directory"};

const Damage kDamages[] = {
    {"CutShort", [](const QString &p) { QFile(p).resize(100000); },
     "este deteriorat: este mai scurt decât trebuie (100000 octeți), sfârșitul lui s-a pierdut.", true},
    {"RandomBytes",
     [](const QString &p) {
         QFile f(p);
         QByteArray bytes(int(f.size()), '\0');
         QRandomGenerator random(28);
         for (char &c : bytes)
             c = char(random.bounded(256));
         f.open(QIODevice::WriteOnly);
         f.write(bytes);
     },
     "nu este o bază de date: conținutul lui este deteriorat sau a fost înlocuit cu alt fișier.", true},
    {"Empty", [](const QString &p) { QFile(p).resize(0); }, "este gol (0 octeți): datele lui s-au pierdut.", true},
    {"Folder",
     [](const QString &p) {
         QFile::remove(p);
         QDir().mkpath(p);
     },
     "se află un dosar cu același nume.", true},
    {"ReadOnly",
     [](const QString &p) { QFile::setPermissions(p, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther); },
     "nu poate fi modificat: lipsește dreptul de scriere asupra lui", false},
};

// The data folder of the test: its database with one agent, archived on 9 July 2031 at 10:15
// by the program's own archiver, then damaged.
class DatabaseWithArchive : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        Platform::setProgramFolder(db->folder());
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), db->folder() + "/rar"));
        exec("insert into econ_agent values(1,'1234567','1','SRL DIN ARHIVĂ','B','C',91,'D','0')");
        DatabaseArchive::makeManualArchive(db->path(), QDate(2031, 7, 9));
        QFile archive(db->folder() + "/ARHIVA/bdkolm_20310709.rar");
        ASSERT_TRUE(archive.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            archive.setFileTime(QDateTime(QDate(2031, 7, 9), QTime(10, 15)), QFileDevice::FileModificationTime));
        archive.close();
        exec("delete from econ_agent"); // what the file holds afterwards is not in the archive
        DM->IDB->close();
    }
    void TearDown() override
    {
        QFile::setPermissions(db->path(), QFile::ReadOwner | QFile::WriteOwner);
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    // "&Conectare", then OK in the dialog.
    void connectInTheWindow(TFMain &w)
    {
        QTimer::singleShot(0, [] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<TFConect *>(top); d && d->isVisible())
                    d->findChild<QPushButton *>("BOK")->click();
        });
        w.findChild<QAction *>("Conectare1")->trigger();
    }
    static QString english(const QString &text)
    {
        for (const QString &e : kEnglish)
            if (text.contains(e, Qt::CaseInsensitive))
                return e;
        return {};
    }
    QString agentName()
    {
        ReadScope read(DM->IBQ1, "select ea_full_name from econ_agent");
        return read.found() ? read.value(0).toString() : QString();
    }
    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList dataFolderEntries() const
    {
        return QDir(db->folder()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

    ScriptedUserInteraction ui;
};

class DamagedDatabase : public DatabaseWithArchive, public ::testing::WithParamInterface<Damage>
{
};

const QString kArchive = QStringLiteral("„bdkolm_20310709.rar”, din 09.07.2031 10:15");
const QString kMenuEntry = QStringLiteral("„Restabilire din arhivă” din meniul „Tirvola”");

TEST_P(DamagedDatabase, TheConnectionDialogSaysWhatIsWrongAndOffersTheArchive)
{
    const Damage &damage = GetParam();
    damage.apply(db->path());
    const QStringList before = dataFolderEntries();
    TFMain w;
    connectInTheWindow(w);

    ASSERT_EQ(ui.errors.size(), 1);
    const QString error = ui.errors[0];
    EXPECT_TRUE(error.contains("„" + QDir::toNativeSeparators(db->path()) + "” " + QString::fromUtf8(damage.told)))
        << error.toStdString();
    EXPECT_EQ(english(error), QString()) << error.toStdString();
    if (damage.archiveOffered) {
        ASSERT_EQ(ui.questions.size(), 1);
        EXPECT_TRUE(ui.questions[0].contains("Restabiliți acum baza de date din arhiva " + kArchive + "?"))
            << ui.questions[0].toStdString();
        EXPECT_TRUE(error.contains(kArchive + ", cu " + kMenuEntry)) << error.toStdString();
    } else {
        EXPECT_TRUE(ui.questions.isEmpty());
        EXPECT_TRUE(error.contains("(drepturile fișierului: r--r--r--")) << error.toStdString();
    }
    // Answered No: nothing moved, nothing connected.
    EXPECT_EQ(dataFolderEntries(), before);
    EXPECT_FALSE(DM->IDB->connected());
    EXPECT_TRUE(w.findChild<QAction *>("Conectare1")->isEnabled());
    EXPECT_TRUE(w.findChild<QAction *>("Restabiliredinarhiva1")->isEnabled());
}

TEST_P(DamagedDatabase, TheCommandLineSaysWhatIsWrongAndHowToRestore)
{
    const Damage &damage = GetParam();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), db->folder() + "/evidenta"));
    damage.apply(db->path());
    QProcess program;
    program.start(db->folder() + "/evidenta", {"--pachet-electronic", "2016", "L01"});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 1);
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(err.contains("„" + db->path() + "” " + QString::fromUtf8(damage.told))) << err.toStdString();
    EXPECT_EQ(english(err), QString()) << err.toStdString();
    EXPECT_EQ(err.contains(kArchive + ", cu " + kMenuEntry + " al programului"), damage.archiveOffered)
        << err.toStdString();
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDatabase, ::testing::ValuesIn(kDamages),
                         [](const ::testing::TestParamInfo<Damage> &p) { return std::string(p.param.name); });

TEST_F(DatabaseWithArchive, YesPutsTheArchiveInPlaceKeepsTheDamagedFileAndConnects)
{
    QFile(db->path()).resize(100000);
    const QByteArray damagedBytes = bytesOf(db->path());
    ui.answers = {true};
    TFMain w;
    connectInTheWindow(w);

    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    ASSERT_TRUE(DM->IDB->connected());
    EXPECT_FALSE(w.findChild<QAction *>("Conectare1")->isEnabled());
    EXPECT_EQ(agentName(), QStringLiteral("SRL DIN ARHIVĂ"));

    const QStringList kept = QDir(db->folder()).entryList({"bdkolm_inlocuit_*"}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(QRegularExpression("^bdkolm_inlocuit_20240515_\\d{6}\\.gdb$").match(kept[0]).hasMatch())
        << kept[0].toStdString();
    EXPECT_EQ(bytesOf(db->folder() + "/" + kept[0]), damagedBytes);
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_TRUE(ui.questions[0].endsWith("Fișierul de acum se păstrează sub numele „" + kept[0] + "”."))
        << ui.questions[0].toStdString();
    EXPECT_TRUE(ui.notices.contains("Baza de date a fost restabilită din arhiva " + kArchive
                                    + ". Fișierul de dinainte se păstrează ca „"
                                    + QDir::toNativeSeparators(db->folder() + "/" + kept[0]) + "”."))
        << ui.notices.join('|').toStdString();
}

TEST_F(DatabaseWithArchive, TheMenuEntryKeepsAFolderAndNeverOverwritesAKeptFile)
{
    QFile::remove(db->path());
    QDir().mkpath(db->path() + "/inside");
    const QDateTime moment(QDate(2024, 5, 15), QTime(9, 30, 5));
    // A file already has the name the folder would get: it is left alone.
    QFile earlier(db->folder() + "/bdkolm_inlocuit_20240515_093005.gdb");
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();

    ui.answers = {true};
    DatabaseRestore::restoreFromMenu(DatabaseLocation::localFile(db->path()), moment);

    EXPECT_TRUE(QFileInfo(db->folder() + "/bdkolm_inlocuit_20240515_093005_2.gdb/inside").isDir());
    EXPECT_EQ(bytesOf(earlier.fileName()), "earlier");
    ASSERT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(ui.questions[0], "Baza de date „" + QDir::toNativeSeparators(db->path())
                                   + "” se înlocuiește cu copia din "
                                     "arhiva "
                                   + kArchive
                                   + ". Fișierul de acum se păstrează sub numele "
                                     "„bdkolm_inlocuit_20240515_093005_2.gdb”. Continuați?");
    EXPECT_EQ(DatabaseArchive::fileState(db->path()), DatabaseArchive::FileState::Ordinary);
    DM->IDB->open();
    EXPECT_EQ(agentName(), QStringLiteral("SRL DIN ARHIVĂ"));
}

TEST_F(DatabaseWithArchive, AnArchiveCutShortOrChangedLeavesTheDamagedFileInPlaceOrIsWhole)
{
    QFile(db->path()).resize(100000);
    const QByteArray damaged = bytesOf(db->path());
    const QString archivePath = db->folder() + "/ARHIVA/bdkolm_20310709.rar";
    const QByteArray archive = bytesOf(archivePath);

    // Archives cut at points spread over the file, with bytes changed, and of other content.
    std::vector<QByteArray> variants;
    for (int i = 0; i < 16; ++i)
        variants.push_back(archive.left(qsizetype(archive.size() * i / 16)));
    QRandomGenerator random(7);
    for (int i = 0; i < 16; ++i) {
        QByteArray changed = archive;
        changed[qsizetype(i < 8 ? random.bounded(200) : random.bounded(int(archive.size())))] ^= char(
            1 + random.bounded(255));
        variants.push_back(changed);
    }
    variants.push_back(damaged);
    const QDateTime moment(QDate(2024, 5, 15), QTime(9, 30));
    for (size_t v = 0; v < variants.size(); ++v) {
        SCOPED_TRACE(v);
        QFile out(archivePath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(variants[v]);
        out.close();
        QString kept;
        try {
            kept = DatabaseRestore::restore(db->path(), DatabaseRestore::newestArchive(db->folder() + "/ARHIVA"),
                                            moment);
        } catch (const EE &e) {
            EXPECT_TRUE(e.message().contains("„bdkolm_20310709.rar”")) << e.message().toStdString();
            EXPECT_EQ(bytesOf(db->path()), damaged);
            EXPECT_TRUE(QDir(db->folder()).entryList({"bdkolm_inlocuit_*"}).isEmpty());
            continue;
        }
        // A change the archive's checks let through left the database whole.
        EXPECT_EQ(bytesOf(kept), damaged);
        EXPECT_EQ(DatabaseArchive::fileState(db->path()), DatabaseArchive::FileState::Ordinary);
        ASSERT_TRUE(QFile::remove(db->path()));
        ASSERT_TRUE(QFile::rename(kept, db->path()));
    }
}

} // namespace
