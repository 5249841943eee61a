#pragma once
// Where the database lies: the file of the data folder, opened by the embedded engine, or a
// database on a Firebird server that several computers of an office share, named in the data
// folder's settings file "evidenta.ini" (section [Baza de date], key Cale).

#include <QString>

class IniFile;

class DatabaseLocation
{
public:
    // The settings file, its section and key.
    static QString settingsFileName() { return QStringLiteral("evidenta.ini"); }
    static QString sectionName() { return QStringLiteral("Baza de date"); }
    static QString keyName() { return QStringLiteral("Cale"); }
    // Beside Cale: the seconds a server's answer is waited for when connecting, and the seconds a
    // save or an operation waits for rows another copy of the program holds.
    static QString connectTimeoutKey() { return QStringLiteral("AsteptareConectare"); }
    static QString lockTimeoutKey() { return QStringLiteral("AsteptareBlocare"); }
    static constexpr int kDefaultConnectTimeout = 5;
    static constexpr int kDefaultLockTimeout = 5;
    static constexpr int kMaxTimeout = 600;

    // The local database file.
    static DatabaseLocation localFile(const QString &path);
    // A server database written "host:path" or "host/port:path". Raises EE with the reason
    // when the text does not name one; `source` names where the text was read and `written` is
    // the text as it stands there (the text itself when empty), for the message.
    static DatabaseLocation parse(const QString &text, const QString &source = settingsFileName(),
                                  const QString &written = {});
    // What the settings file `iniPath` names; `localPath` when the file, its key or its value
    // is missing. Raises EE when the file cannot be read or its value is not a server database.
    static DatabaseLocation configured(const QString &iniPath, const QString &localPath);
    // The same over the settings file's bytes, already read from `iniPath`.
    static DatabaseLocation fromSettings(const QByteArray &bytes, const QString &iniPath, const QString &localPath);
    // A name the connection opened, read back: a server when it has the shape of one (a
    // one-letter "host" is a drive), the local file otherwise. Never raises.
    static DatabaseLocation ofConnectionName(const QString &name);

    bool onServer() const { return !m_host.isEmpty(); }
    QString host() const { return m_host; }
    int port() const { return m_port; } // 0: the server's usual port
    QString path() const { return m_path; }
    // "host" or "host/port": the server as the user wrote it.
    QString server() const;
    // What the Firebird client opens: the file path, "host:path" or "host/port:path" (the
    // remote provider serves the last two).
    QString connectionName() const;
    // The waits of a server database, in seconds.
    int connectTimeout() const { return m_connectTimeout; }
    int lockTimeout() const { return m_lockTimeout; }

private:
    static DatabaseLocation fromSettings(const IniFile &ini, const QString &iniPath, const QString &localPath);

    QString m_host;
    int m_port = 0;
    QString m_path;
    int m_connectTimeout = kDefaultConnectTimeout;
    int m_lockTimeout = kDefaultLockTimeout;
};
