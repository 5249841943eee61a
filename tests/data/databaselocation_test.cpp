// The database named in evidenta.ini: the forms a server database is written in, what an
// ill-formed or unreadable file says, and the file used when nothing names a server.

#include "data/databaselocation.h"
#include "data/ee.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

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
    for (const QString &value :
         {QString("/var/lib/bdkolm.gdb"), QString("bdkolm.gdb"), QString("C:\\BD\\BDKOLM.GDB"), QString("server:"),
          QString("server:   "), QString(":/x.gdb"), QString("-srv:/x.gdb"), QString("my server:/x.gdb")})
        EXPECT_EQ(refusal(value), illFormed(value.trimmed())) << value.toStdString();
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
        EXPECT_EQ(e.message(), "Fisierul " + ini()
                                   + " nu poate fi folosit: valoarea Cale=bdkolm.gdb din sectiunea [Baza de date] "
                                     "trebuie sa aiba forma server:cale sau server/port:cale "
                                     "(de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb).");
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

} // namespace
