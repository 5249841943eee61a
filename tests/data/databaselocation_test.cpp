// The database named in evidenta.ini: the forms a server database is written in, what an
// ill-formed or unreadable file says, and the file used when nothing names a server.

#include "data/databaselocation.h"
#include "data/ee.h"
#include "data/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The start of a file's bytes, for a failure's message.
std::string start(const QByteArray &bytes)
{
    return bytes.left(80).toStdString();
}

QString refusal(const QString &text)
{
    try {
        DatabaseLocation::parse(text);
    } catch (const EE &e) {
        return e.message();
    }
    return {};
}

QString illFormed(const QString &value)
{
    return "Fisierul evidenta.ini nu poate fi folosit: valoarea Cale=" + value
           + " din sectiunea [Baza de date] trebuie sa aiba forma server:cale sau server/port:cale "
             "(de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb).";
}

QString noServer(const QString &written, const QString &file = "evidenta.ini")
{
    return "Fisierul " + file + " nu poate fi folosit: valoarea Cale=" + written
           + " din sectiunea [Baza de date] numeste un fisier, fara server. Baza de date de pe un server se scrie "
             "server:cale sau server/port:cale (de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb sau "
             "srv:C:\\BD\\BDKOLM.GDB); fara cheia Cale programul deschide baza de date din dosarul sau.";
}

TEST(DatabaseLocation, ServerNamesWithAndWithoutAPort)
{
    const DatabaseLocation a = DatabaseLocation::parse("contabil:/var/lib/firebird/data/bdkolm.gdb");
    EXPECT_TRUE(a.onServer());
    EXPECT_EQ(a.host(), "contabil");
    EXPECT_EQ(a.port(), 0);
    EXPECT_EQ(a.path(), "/var/lib/firebird/data/bdkolm.gdb");
    EXPECT_EQ(a.server(), "contabil");
    EXPECT_EQ(a.connectionName(), "contabil:/var/lib/firebird/data/bdkolm.gdb");

    const DatabaseLocation b = DatabaseLocation::parse("  192.168.1.10/3051:/srv/bd/bdkolm.gdb  ");
    EXPECT_EQ(b.host(), "192.168.1.10");
    EXPECT_EQ(b.port(), 3051);
    EXPECT_EQ(b.server(), "192.168.1.10/3051");
    EXPECT_EQ(b.connectionName(), "192.168.1.10/3051:/srv/bd/bdkolm.gdb");

    // A Windows server keeps its drive in the path; an alias of the server's databases.conf
    // is a path too; an IPv6 address stands in brackets.
    EXPECT_EQ(DatabaseLocation::parse("srv-1.birou:C:/BD/BDKOLM.GDB").path(), "C:/BD/BDKOLM.GDB");
    EXPECT_EQ(DatabaseLocation::parse("srv:evidenta").path(), "evidenta");
    const DatabaseLocation v6 = DatabaseLocation::parse("[::1]/3050:/bd/x.gdb");
    EXPECT_EQ(v6.host(), "[::1]");
    EXPECT_EQ(v6.connectionName(), "[::1]/3050:/bd/x.gdb");
    // A one-letter server with a port is a server after all.
    EXPECT_EQ(DatabaseLocation::parse("c/3050:/x.gdb").host(), "c");
}

TEST(DatabaseLocation, WhatDoesNotNameAServerIsRefusedWithTheForm)
{
    for (const QString &value : {QString("server:"), QString("server:   "), QString(":/x.gdb"), QString("-srv:/x.gdb"),
                                 QString("my server:/x.gdb")})
        EXPECT_EQ(refusal(value), illFormed(value.trimmed())) << value.toStdString();
    // A file of this computer has no server to serve it.
    for (const QString &value : {QString("/var/lib/bdkolm.gdb"), QString("bdkolm.gdb"), QString("C:\\BD\\BDKOLM.GDB"),
                                 QString("c:bdkolm.gdb"), QString("D:")})
        EXPECT_EQ(refusal(value), noServer(value)) << value.toStdString();
    for (const QString &port : {QString("0"), QString("65536"), QString("gds_db"), QString(""), QString("+3050")})
        EXPECT_EQ(refusal("srv/" + port + ":/x.gdb"), "Fisierul evidenta.ini nu poate fi folosit: portul \"" + port
                                                          + "\" din Cale=srv/" + port
                                                          + ":/x.gdb trebuie sa fie un numar intre 1 si 65535.")
            << port.toStdString();
    EXPECT_EQ(DatabaseLocation::parse("srv/65535:/x.gdb").port(), 65535);
    EXPECT_EQ(DatabaseLocation::parse("srv/1:/x.gdb").port(), 1);
}

TEST(DatabaseLocation, NamesTheConnectionOpenedReadBack)
{
    EXPECT_FALSE(DatabaseLocation::ofConnectionName("/home/ana/evidenta/bdkolm.gdb").onServer());
    EXPECT_FALSE(DatabaseLocation::ofConnectionName("C:\\EVIDENTA\\BDKOLM.GDB").onServer());
    EXPECT_EQ(DatabaseLocation::ofConnectionName("C:\\EVIDENTA\\BDKOLM.GDB").connectionName(),
              "C:\\EVIDENTA\\BDKOLM.GDB");
    EXPECT_EQ(DatabaseLocation::ofConnectionName("127.0.0.1/3051:/bd/bdkolm.gdb").server(), "127.0.0.1/3051");
}

class SettingsFile : public ::testing::Test
{
protected:
    QString ini() const { return dir.filePath("evidenta.ini"); }
    void write(const QByteArray &text)
    {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    DatabaseLocation configured() { return DatabaseLocation::configured(ini(), "/prog/bdkolm.gdb"); }
    QTemporaryDir dir;
};

TEST_F(SettingsFile, WithoutTheFileOrTheKeyTheDatabaseFileIsUsed)
{
    EXPECT_FALSE(configured().onServer());
    EXPECT_EQ(configured().connectionName(), "/prog/bdkolm.gdb");
    write("[Altceva]\nCale=srv:/x.gdb\n");
    EXPECT_EQ(configured().connectionName(), "/prog/bdkolm.gdb");
    write("[Baza de date]\nCale=\n");
    EXPECT_EQ(configured().connectionName(), "/prog/bdkolm.gdb");
}

TEST_F(SettingsFile, TheServerIsReadAsTheUserWroteIt)
{
    write("; baza comuna a biroului\r\n[Baza de date]\r\nCale=192.168.1.10/3050:/srv/firebird/bdkolm.gdb\r\n");
    EXPECT_EQ(configured().connectionName(), "192.168.1.10/3050:/srv/firebird/bdkolm.gdb");
    write("[Baza de date]\nCale = \"srv:/bd/evidenta, birou/bdkolm.gdb\"\n");
    EXPECT_EQ(configured().path(), "/bd/evidenta, birou/bdkolm.gdb");
    write("[Baza de date]\nCale=srv:/bd/a,b.gdb\n");
    EXPECT_EQ(configured().path(), "/bd/a,b.gdb");
    write("[Baza de date]\nCale=\"srv:C:\\\\BD\\\\BDKOLM.GDB\"\n");
    EXPECT_EQ(configured().path(), "C:\\BD\\BDKOLM.GDB");
}

TEST_F(SettingsFile, AnIllFormedValueOrAnUnreadableFileSaysWhy)
{
    write("[Baza de date]\nCale=bdkolm.gdb\n");
    try {
        configured();
        FAIL() << "accepted";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), noServer("bdkolm.gdb", ini()));
    }
    QFile::remove(ini());
    ASSERT_TRUE(QDir(dir.path()).mkdir("evidenta.ini"));
    try {
        configured();
        FAIL() << "accepted";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Fisierul " + ini() + " nu poate fi citit.");
    }
}

QByteArray utf16(const QString &text)
{
    return QByteArray("\xFF\xFE")
           + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * qsizetype(sizeof(char16_t)));
}

// The value used is the value as it stands: backslashes are backslashes, quotes hold what they
// enclose, comments and line ends of every kind are left out.
TEST_F(SettingsFile, TheValueIsReadAsItStandsInTheFile)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"\xEF\xBB\xBF[Baza de date]\r\nCale=srv:/x.gdb\r\n", "srv:/x.gdb"},
        {"[Baza de date]\rCale=srv:/x.gdb\r", "srv:/x.gdb"},
        {"[Baza de date]\nCale=srv:C:\\BD\\BDKOLM.GDB\n", "srv:C:\\BD\\BDKOLM.GDB"},
        {"[Baza de date]\nCale=\"srv:C:\\BD\\a\\\"b.gdb\"\n", "srv:C:\\BD\\a\"b.gdb"},
        {"[baza de date]\ncale = srv:/x.gdb ; baza biroului\n", "srv:/x.gdb"},
        {"[Baza de date]\nCale=srv:/bd;2/x#1.gdb", "srv:/bd;2/x#1.gdb"},
        {"[Baza de date]  ; comuna\nCale=\"srv:/x.gdb\"   # a biroului\n", "srv:/x.gdb"},
        {"Cale=altceva\n[Altele]\nnu e cheie\nx=\"deschis\n[Baza de date]\n# nota\n\n\t Cale=srv:/x.gdb\n",
         "srv:/x.gdb"},
        {"[Baza de date]\nAlta=1\n[X]\nCale=y\n[Baza de date]\nCale=srv:/x.gdb", "srv:/x.gdb"},
        {utf16("[Baza de date]\r\nCale=srv:/bd/școală.gdb\r\n"), "srv:/bd/școală.gdb"},
        {"[Baza de date]\nCale=srv:/bd/școală.gdb\n", "srv:/bd/școală.gdb"},
        {"[Baza de date]\nCale=srv:/bd/\xBA"
         "coal\xE3.gdb\n",
         "srv:/bd/şcoală.gdb"}, // Windows-1250
        {"[Baza de date]\nCale=\"\"\n", "/prog/bdkolm.gdb"},
        {"[Baza de date]\nCale= ; nimic\n", "/prog/bdkolm.gdb"},
        {"", "/prog/bdkolm.gdb"},
    };
    for (const auto &[bytes, name] : cases) {
        write(bytes);
        try {
            EXPECT_EQ(configured().connectionName().toStdString(), name.toStdString()) << start(bytes);
        } catch (const EE &e) {
            ADD_FAILURE() << start(bytes) << ": " << e.what();
        }
    }
}

// A refusal names the file and shows what was read as it stands, cut when long and with the
// characters that cannot be printed escaped.
TEST_F(SettingsFile, WhatCannotBeUsedIsShownAsItStandsInTheFile)
{
    const QString head = "Fisierul %F nu poate fi folosit: ";
    const std::pair<QByteArray, QString> cases[] = {
        {"[Baza de date]\nCale=C:\\BD\\BDKOLM.GDB\n", noServer("C:\\BD\\BDKOLM.GDB", "%F")},
        {"[Baza de date]\nCale = \"C:\\\\BD\\\\BDKOLM.GDB\" ; local\n", noServer("\"C:\\\\BD\\\\BDKOLM.GDB\"", "%F")},
        {"[Baza de date]\nCale=" + QByteArray(1000, 'a'),
         noServer(QString(120, 'a') + " ... (scurtat, are 1000 caractere)", "%F")},
        {"[Baza de date]\nCale=srv:/x\a\xE2\x80\x8B.gdb\n",
         head
             + "valoarea Cale=srv:/x\\x07\\u200b.gdb din sectiunea [Baza de date] are caractere care nu se pot "
               "scrie intr-o cale (aratate aici ca \\x..)."},
        {"[Baza de date]\nCale=srv:/\xE3\x81.gdb\n",
         head
             + "valoarea Cale=srv:/ă\\x81.gdb din sectiunea [Baza de date] are caractere care nu se pot scrie intr-o "
               "cale (aratate aici ca \\x..)."},
        {"[Baza de date]\nCale = \"srv/x:/a.gdb\"\n",
         head + "portul \"x\" din Cale=\"srv/x:/a.gdb\" trebuie sa fie un numar intre 1 si 65535."},
        {QByteArray("[Baza de date]\nCale=srv:/x.gdb\n\0\0", 32),
         head + "nu este un fisier text (rindul 3 are un octet 0x00)."},
        {"\xEF\xBB\xBF[Baza de date]\nCale=srv:/\xFF.gdb\n", head + "nu este un fisier text."},
        {QByteArray("\xFF\xFE[\0B", 5), head + "nu este un fisier text."},
        {"[Baza de date]\nCale srv:/x.gdb\n",
         head + "rindul 2 din sectiunea [Baza de date], Cale srv:/x.gdb, nu are forma cheie=valoare."},
        {"[Baza de date]\n=srv:/x.gdb\n",
         head + "rindul 2 din sectiunea [Baza de date], =srv:/x.gdb, nu are forma cheie=valoare."},
        {"[Baza de date]\nCale=\"srv:/x.gdb\n", head + "pe rindul 2, Cale=\"srv:/x.gdb, ghilimelele nu se inchid."},
        {"[Baza de date]\nCale=\"srv:/x\" .gdb\n",
         head
             + "pe rindul 2, Cale=\"srv:/x\" .gdb, dupa ghilimelele de inchidere urmeaza alt text (o valoare cu "
               "ghilimele sta toata intre ele)."},
        {"[Baza de date]\nCale=srv:/x.gdb\ncale=srv:/y.gdb\n",
         head + "cheia Cale apare de doua ori in sectiunea [Baza de date], pe rindurile 2 si 3."},
        {"[Baza de date\nCale=srv:/x.gdb\n",
         head + "rindul 1, [Baza de date, nu este un nume de sectiune de forma [nume]."},
        {"[Baza de date]\nCale=srv:/x.gdb\n" + QByteArray(IniFile::kMaxSize, ';'),
         head + "are 65567 octeti, mai mult decit poate avea un fisier de setari (cel mult 65536)."},
    };
    for (const auto &[bytes, message] : cases) {
        write(bytes);
        try {
            configured();
            ADD_FAILURE() << "accepted: " << start(bytes);
        } catch (const EE &e) {
            EXPECT_EQ(e.message().toStdString(), QString(message).replace("%F", ini()).toStdString()) << start(bytes);
        }
    }
}

} // namespace
