#include "data/inifile.h"
#include "data/ee.h"
#include "data/messagetext.h"
#include "data/win1250.h"

#include <QFile>
#include <QStringDecoder>

namespace {

QString unusable(const QString &fileName)
{
    return QStringLiteral("Fisierul %1 nu poate fi folosit: ").arg(fileName);
}

[[noreturn]] void refuseNotText(const QString &fileName, int line = 0)
{
    throw EE(unusable(fileName)
             + (line ? QStringLiteral("nu este un fisier text (rindul %1 are un octet 0x00).").arg(line)
                     : QStringLiteral("nu este un fisier text.")));
}

// UTF-8 or UTF-16 as the byte order mark says; without one UTF-8, else the program's 8-bit code
// page, in which any byte is a character. A NUL (or text the mark's encoding cannot read) makes
// the file binary.
QString decodeText(const QByteArray &bytes, const QString &fileName)
{
    auto strict = [&](QStringConverter::Encoding encoding, qsizetype skip) {
        QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
        const QByteArrayView encoded = QByteArrayView(bytes).sliced(skip);
        QString text = decoder(encoded);
        if (decoder.hasError() || (encoding != QStringConverter::Utf8 && encoded.size() % 2))
            refuseNotText(fileName);
        return text;
    };
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = strict(QStringConverter::Utf8, 3);
    else if (bytes.startsWith("\xFF\xFE"))
        text = strict(QStringConverter::Utf16LE, 2);
    else if (bytes.startsWith("\xFE\xFF"))
        text = strict(QStringConverter::Utf16BE, 2);
    else {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = utf8(bytes);
        if (utf8.hasError())
            text = Win1250::decode(bytes);
    }
    if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
        refuseNotText(fileName, int(QStringView(text).left(nul).count(u'\n')) + 1);
    return text;
}

bool isComment(QStringView text)
{
    return text.startsWith(u';') || text.startsWith(u'#');
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile IniFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EE(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(path));
    // A device or a growing file is read no further than a settings file can be.
    const QByteArray bytes = file.read(kMaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EE(QStringLiteral("Fisierul %1 nu poate fi citit.").arg(path));
    if (bytes.size() > kMaxSize)
        throw EE(unusable(path)
                 + QStringLiteral("are %1 octeti, mai mult decit poate avea un fisier de setari (cel mult %2).")
                       .arg(file.size() > kMaxSize ? file.size() : bytes.size())
                       .arg(kMaxSize));
    return parse(bytes, path);
}

IniFile IniFile::parse(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > kMaxSize)
        throw EE(unusable(fileName)
                 + QStringLiteral("are %1 octeti, mai mult decit poate avea un fisier de setari (cel mult %2).")
                       .arg(bytes.size())
                       .arg(kMaxSize));
    const QString text = decodeText(bytes, fileName);
    IniFile ini;
    ini.m_fileName = fileName;
    QString section; // none before the first section's name
    int number = 0;
    for (qsizetype start = 0;;) {
        // A line ends at LF, CR LF or a lone CR.
        qsizetype end = start;
        while (end < text.size() && text.at(end) != u'\n' && text.at(end) != u'\r')
            ++end;
        Line line = parseLine(text.mid(start, end - start), section, ++number);
        if (line.startsSection)
            section = line.entry.section;
        else if (line.problem != Problem::None || !line.entry.key.isEmpty())
            ini.m_lines.push_back(std::move(line));
        if (end >= text.size())
            break;
        start = end + (text.at(end) == u'\r' && end + 1 < text.size() && text.at(end + 1) == u'\n' ? 2 : 1);
    }
    return ini;
}

IniFile::Line IniFile::parseLine(const QString &raw, const QString &section, int number)
{
    Line l;
    l.text = raw.trimmed();
    l.entry.line = number;
    l.entry.section = section;
    const QString &t = l.text;
    if (t.isEmpty() || isComment(t))
        return l;
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        const QString after = close < 0 ? QString() : t.mid(close + 1).trimmed();
        if (close < 0 || !(after.isEmpty() || isComment(after))) {
            l.problem = Problem::BadSection;
        } else {
            l.startsSection = true;
            l.entry.section = t.mid(1, close - 1).trimmed();
        }
        return l;
    }
    const qsizetype eq = t.indexOf(u'=');
    const QString key = eq > 0 ? t.left(eq).trimmed() : QString();
    if (key.isEmpty()) {
        l.problem = Problem::NotKeyValue;
        return l;
    }
    l.entry.key = key;
    const QString rest = t.mid(eq + 1).trimmed();
    if (rest.startsWith(u'"')) {
        // In quotes \\ and \" stand for a backslash and a quote; any other backslash is itself.
        qsizetype i = 1;
        qsizetype close = -1;
        QString value;
        while (i < rest.size()) {
            const QChar c = rest.at(i);
            if (c == u'\\' && i + 1 < rest.size() && (rest.at(i + 1) == u'\\' || rest.at(i + 1) == u'"')) {
                value += rest.at(i + 1);
                i += 2;
            } else if (c == u'"') {
                close = i;
                break;
            } else {
                value += c;
                ++i;
            }
        }
        l.entry.written = rest;
        if (close < 0) {
            l.problem = Problem::OpenQuote;
            return l;
        }
        const QString after = rest.mid(close + 1).trimmed();
        if (!after.isEmpty() && !isComment(after)) {
            l.problem = Problem::AfterQuote;
            return l;
        }
        l.entry.written = rest.left(close + 1);
        l.entry.value = value;
        return l;
    }
    // Unquoted, the value is the text as it stands, up to a comment: a ";" or "#" that begins
    // the value or follows a blank (so that "C:\bd;2\x.gdb" keeps its ";").
    qsizetype comment = rest.size();
    for (qsizetype i = 0; i < rest.size(); ++i)
        if ((rest.at(i) == u';' || rest.at(i) == u'#') && (i == 0 || rest.at(i - 1).isSpace())) {
            comment = i;
            break;
        }
    l.entry.written = rest.left(comment).trimmed();
    l.entry.value = l.entry.written;
    return l;
}

const IniFile::Entry *IniFile::find(const QString &section, const QString &key) const
{
    const Line *found = nullptr;
    for (const Line &l : m_lines) {
        if (l.problem == Problem::BadSection)
            throw EE(refusal(l, section));
        if (!sameName(l.entry.section, section))
            continue;
        if (l.problem == Problem::NotKeyValue)
            throw EE(refusal(l, section));
        if (!sameName(l.entry.key, key))
            continue;
        if (l.problem != Problem::None)
            throw EE(refusal(l, section));
        if (found)
            throw EE(unusable(m_fileName)
                     + QStringLiteral("cheia %1 apare de doua ori in sectiunea [%2], pe rindurile %3 si %4.")
                           .arg(MessageText::shown(key), MessageText::shown(section))
                           .arg(found->entry.line)
                           .arg(l.entry.line));
        found = &l;
    }
    return found ? &found->entry : nullptr;
}

QString IniFile::refusal(const Line &l, const QString &section) const
{
    const QString head = unusable(m_fileName);
    const QString setting = MessageText::shown(l.entry.key + u'=' + l.entry.written);
    switch (l.problem) {
    case Problem::BadSection:
        return head
               + QStringLiteral("rindul %1, %2, nu este un nume de sectiune de forma [nume].")
                     .arg(l.entry.line)
                     .arg(MessageText::shown(l.text));
    case Problem::NotKeyValue:
        return head
               + QStringLiteral("rindul %1 din sectiunea [%2], %3, nu are forma cheie=valoare.")
                     .arg(l.entry.line)
                     .arg(MessageText::shown(section), MessageText::shown(l.text));
    case Problem::OpenQuote:
        return head + QStringLiteral("pe rindul %1, %2, ghilimelele nu se inchid.").arg(l.entry.line).arg(setting);
    case Problem::AfterQuote:
        return head
               + QStringLiteral("pe rindul %1, %2, dupa ghilimelele de inchidere urmeaza alt text "
                                "(o valoare cu ghilimele sta toata intre ele).")
                     .arg(l.entry.line)
                     .arg(setting);
    case Problem::None:
        break;
    }
    return head;
}
