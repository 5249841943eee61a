#pragma once
// A Firebird server of the test run's own, for the tests of a database on a server: started on
// the loopback interface on a free port, with a configuration folder and a security database of
// its own (SYSDBA with a password of its own), as the current user, until the tests end.

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <sys/types.h>

class FirebirdServer
{
public:
    // The server of this test process, started on first use and stopped when the process
    // ends (the server also ends when the test process dies).
    static FirebirdServer &shared();

    // A server of the caller's own, for a test that stops it; nothing running on failure.
    static std::unique_ptr<FirebirdServer> startOwn();

    ~FirebirdServer();

    // Ends the server at once, as a computer that goes away; resume() starts it again on the
    // same port with the same configuration.
    void halt();
    bool resume();

    bool running() const { return m_pid > 0 && m_port > 0; }
    // Why the server is not running.
    QString error() const { return m_error; }
    int port() const { return m_port; }
    static QString user() { return QStringLiteral("SYSDBA"); }
    static QString password() { return QStringLiteral("Srv3r-test"); }
    // "127.0.0.1/port:path": the database file `path` as this server serves it.
    QString connectionName(const QString &path) const;

    // Runs isql-fb as a process of its own on the database `path` through this server, with
    // `sql` on its standard input; its standard output, or its error output after "isql: "
    // when it fails.
    QString isql(const QString &path, const QString &sql) const;

private:
    FirebirdServer() = default;
    bool start();
    // firebird.conf of the scratch folder: the system's, with our port, the loopback interface
    // and our security database.
    bool writeConfiguration(int port);
    // Starts the server and waits until it listens on `port`.
    bool launch(int port);
    void stop();
    bool fail(const QString &why);
    // FIREBIRD and FIREBIRD_LOCK naming the scratch folder.
    QProcessEnvironment environment() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_systemConf;
    pid_t m_pid = 0;
    int m_port = 0;
    QString m_error;
};
