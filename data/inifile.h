#pragma once
// A small settings file of the Windows kind ([section], key=value), read by our own rules so
// that the value a message shows is the value that is used: text as it stands (a backslash is a
// backslash), double quotes around a value, comments after ";" or "#", a byte order mark and
// CR LF or LF line ends. A file that is not text, or far larger than a settings file can be, is
// refused with a Romanian message naming it.

#include <QByteArray>
#include <QString>
#include <vector>

class IniFile
{
public:
    // Larger than this, the file is no settings file.
    static constexpr qsizetype kMaxSize = 64 * 1024;

    struct Entry {
        QString section; // the section's name as written
        QString key;     // the key as written
        QString value;   // what the value means: quotes and their escapes taken off
        QString written; // the value as it stands in the file, without the comment after it
        int line = 0;    // from 1
    };

    // Reads the file. Raises EE when it cannot be read, is not text or is too large.
    static IniFile read(const QString &path);
    // The same over bytes already read; `fileName` names the file in the messages.
    static IniFile parse(const QByteArray &bytes, const QString &fileName);

    // The entry of `key` in `section` (names compared without regard to case), null when the
    // file has none. Raises EE, naming the file and the line, when that section holds a line that
    // is not key=value, the key twice or a value whose quotes do not close, and when the file
    // holds a line that begins like a section's name and is not one.
    const Entry *find(const QString &section, const QString &key) const;

private:
    enum class Problem { None, NotKeyValue, BadSection, OpenQuote, AfterQuote };
    struct Line {
        Entry entry;
        Problem problem = Problem::None;
        bool startsSection = false; // the line names the section of the lines that follow
        QString text;               // the whole line, trimmed, for the message
    };
    static Line parseLine(const QString &text, const QString &section, int number);
    QString refusal(const Line &line, const QString &section) const;

    QString m_fileName;
    std::vector<Line> m_lines;
};
