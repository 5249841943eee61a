#include "data/databaselocation.h"
#include "data/ee.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

namespace {

// host (a name, an IPv4 address or an IPv6 address in brackets), an optional "/port", a colon
// and the path or alias on the server.
const QRegularExpression &serverPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9][A-Za-z0-9._-]*)(?:/([^:]*))?:(.*)$)"));
    return re;
}

QString illFormed(const QString &text, const QString &source)
{
    return QStringLiteral("Fisierul %1 nu poate fi folosit: valoarea Cale=%2 din sectiunea [Baza de date] "
                          "trebuie sa aiba forma server:cale sau server/port:cale "
                          "(de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb).")
        .arg(source, text);
}

} // namespace

DatabaseLocation DatabaseLocation::localFile(const QString &path)
{
    DatabaseLocation l;
    l.m_path = path;
    return l;
}

DatabaseLocation DatabaseLocation::parse(const QString &text, const QString &source)
{
    const QString value = text.trimmed();
    const QRegularExpressionMatch m = serverPattern().match(value);
    // A one-letter host without a port is a drive ("C:\bd\bdkolm.gdb"), not a server.
    if (!m.hasMatch() || (m.captured(1).size() == 1 && !m.hasCaptured(2)))
        throw EE(illFormed(value, source));
    DatabaseLocation l;
    l.m_host = m.captured(1);
    l.m_path = m.captured(3).trimmed();
    if (l.m_path.isEmpty())
        throw EE(illFormed(value, source));
    if (m.hasCaptured(2)) {
        bool number = false;
        const int port = m.captured(2).toInt(&number);
        if (!number || port < 1 || port > 65535 || m.captured(2).contains(u'+'))
            throw EE(QStringLiteral("Fisierul %1 nu poate fi folosit: portul \"%2\" din Cale=%3 trebuie sa fie "
                                    "un numar intre 1 si 65535.")
                         .arg(source, m.captured(2), value));
        l.m_port = port;
    }
    return l;
}

DatabaseLocation DatabaseLocation::configured(const QString &iniPath, const QString &localPath)
{
    const QFileInfo ini(iniPath);
    if (!ini.exists())
        return localFile(localPath);
    if (!ini.isFile() || !ini.isReadable())
        throw EE(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(iniPath));
    QSettings settings(iniPath, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        throw EE(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(iniPath));
    const QVariant raw = settings.value(sectionName() + u'/' + keyName());
    // A value with commas comes back as a list; the commas belong to the path.
    const QString value = raw.typeId() == QMetaType::QStringList ? raw.toStringList().join(u',') : raw.toString();
    if (value.trimmed().isEmpty())
        return localFile(localPath);
    return parse(value, iniPath);
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
