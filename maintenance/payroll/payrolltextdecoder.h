#pragma once
// The text of a CSV or TXT file from a payroll program, which writes UTF-8 (with or without its
// byte order mark), Windows-1250 or, in older offices, Windows-1251, and never says which: the
// encoding is told from the bytes themselves, the way a reader would tell it from the letters.

#include <QByteArray>
#include <QString>

class PayrollTextDecoder
{
public:
    struct Text {
        QString text;
        QString encoding; // "UTF-8", "Windows-1250" or "Windows-1251"
    };

    // The file's text and its encoding. Raises EE (naming `file`) for a file that is not text:
    // UTF-16, a null byte, or a UTF-8 byte order mark followed by bytes that are not UTF-8.
    //
    // Without a byte order mark, each decoding that fits the bytes (UTF-8 only when every byte
    // sequence is valid UTF-8, Windows-1250 and Windows-1251 always) is given a count of the
    // characters that a payroll file would not hold there: a Romanian letter with a diacritic
    // (ă â î ș ț ş ţ) in a word without a plain Latin letter, a Cyrillic letter in a word with
    // one, any other letter or sign outside ASCII except the usual punctuation (quotes, dashes,
    // «», №, °, €, the non-breaking blank). The decoding with the fewest wins; on a tie UTF-8,
    // then Windows-1250 (the program's own code page), then Windows-1251.
    static Text decode(const QByteArray &bytes, const QString &file);

    // The Windows-1251 (Cyrillic) code page; bytes it leaves undefined give the C1 control of
    // the same value.
    static QString decodeWindows1251(const QByteArray &bytes);
    // The characters of `text` a payroll file would not hold, as described above.
    static qsizetype implausibleCharacters(const QString &text);
};
