#include "data/databaselocation.h"
#include "data/ee.h"
#include "data/inifile.h"
#include "data/messagetext.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// host (a name, an IPv4 address or an IPv6 address in brackets), an optional "/port", a colon
// and the path or alias on the server.
const QRegularExpression &serverPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9][A-Za-z0-9._-]*)(?:/([^:]*))?:(.*)$)"));
    return re;
}

// A file of this computer: a path without a colon, or one that begins with a drive letter.
const QRegularExpression &filePattern()
{
    static const QRegularExpression re(QStringLiteral(R"(^([^:]*|[A-Za-z]:.*)$)"));
    return re;
}

QString unusable(const QString &source, const QString &written)
{
    return QStringLiteral("Fisierul %1 nu poate fi folosit: valoarea Cale=%2 din sectiunea [Baza de date] ")
        .arg(source, MessageText::shown(written));
}

QString theForm()
{
    return QStringLiteral("trebuie sa aiba forma server:cale sau server/port:cale "
                          "(de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb).");
}

bool printable(const QString &text)
{
    return MessageText::shown(text, text.size()) == text;
}

// A wait in seconds given beside Cale; `fallback` when the key is absent or empty.
int seconds(const IniFile &ini, const QString &key, int fallback, const QString &iniPath)
{
    const IniFile::Entry *entry = ini.find(DatabaseLocation::sectionName(), key);
    if (!entry || entry->value.trimmed().isEmpty())
        return fallback;
    bool number = false;
    const int value = entry->value.trimmed().toInt(&number);
    if (!number || value < 1 || value > DatabaseLocation::kMaxTimeout || entry->value.contains(u'+'))
        throw EE(QStringLiteral("Fisierul %1 nu poate fi folosit: valoarea %2=%3 din sectiunea [Baza de date] "
                                "trebuie sa fie un numar de secunde intre 1 si %4.")
                     .arg(iniPath, key, MessageText::shown(entry->written))
                     .arg(DatabaseLocation::kMaxTimeout));
    return value;
}

} // namespace

DatabaseLocation DatabaseLocation::localFile(const QString &path)
{
    DatabaseLocation l;
    l.m_path = path;
    return l;
}

DatabaseLocation DatabaseLocation::parse(const QString &text, const QString &source, const QString &written)
{
    const QString value = text.trimmed();
    const QString shown = written.isEmpty() ? value : written;
    if (!printable(value))
        throw EE(unusable(source, shown)
                 + QStringLiteral("are caractere care nu se pot scrie intr-o cale (aratate aici ca \\x..)."));
    // "C:\bd\bdkolm.gdb" or "/var/lib/bdkolm.gdb": a file, and no server to serve it.
    if (filePattern().match(value).hasMatch())
        throw EE(unusable(source, shown)
                 + QStringLiteral("numeste un fisier, fara server. Baza de date de pe un server se scrie server:cale "
                                  "sau server/port:cale (de exemplu 192.168.1.10/3050:/var/lib/firebird/data/"
                                  "bdkolm.gdb sau srv:C:\\BD\\BDKOLM.GDB); fara cheia Cale programul deschide "
                                  "baza de date din dosarul sau."));
    const QRegularExpressionMatch m = serverPattern().match(value);
    if (!m.hasMatch())
        throw EE(unusable(source, shown) + theForm());
    DatabaseLocation l;
    l.m_host = m.captured(1);
    l.m_path = m.captured(3).trimmed();
    if (l.m_path.isEmpty())
        throw EE(unusable(source, shown) + theForm());
    if (m.hasCaptured(2)) {
        bool number = false;
        const int port = m.captured(2).toInt(&number);
        if (!number || port < 1 || port > 65535 || m.captured(2).contains(u'+'))
            throw EE(QStringLiteral("Fisierul %1 nu poate fi folosit: portul \"%2\" din Cale=%3 trebuie sa fie "
                                    "un numar intre 1 si 65535.")
                         .arg(source, MessageText::shown(m.captured(2)), MessageText::shown(shown)));
        l.m_port = port;
    }
    return l;
}

DatabaseLocation DatabaseLocation::configured(const QString &iniPath, const QString &localPath)
{
    const QFileInfo ini(iniPath);
    if (!ini.exists())
        return localFile(localPath);
    if (!ini.isFile())
        throw EE(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(iniPath));
    return fromSettings(IniFile::read(iniPath), iniPath, localPath);
}

DatabaseLocation DatabaseLocation::fromSettings(const QByteArray &bytes, const QString &iniPath,
                                                const QString &localPath)
{
    return fromSettings(IniFile::parse(bytes, iniPath), iniPath, localPath);
}

DatabaseLocation DatabaseLocation::fromSettings(const IniFile &ini, const QString &iniPath, const QString &localPath)
{
    const IniFile::Entry *entry = ini.find(sectionName(), keyName());
    if (!entry || entry->value.trimmed().isEmpty())
        return localFile(localPath);
    DatabaseLocation l = parse(entry->value, iniPath, entry->written);
    l.m_connectTimeout = seconds(ini, connectTimeoutKey(), kDefaultConnectTimeout, iniPath);
    l.m_lockTimeout = seconds(ini, lockTimeoutKey(), kDefaultLockTimeout, iniPath);
    return l;
}

DatabaseLocation DatabaseLocation::ofConnectionName(const QString &name)
{
    try {
        return parse(name);
    } catch (const EE &) {
        return localFile(name);
    }
}

QString DatabaseLocation::server() const
{
    return m_port ? m_host + u'/' + QString::number(m_port) : m_host;
}

QString DatabaseLocation::connectionName() const
{
    return onServer() ? server() + u':' + m_path : m_path;
}
