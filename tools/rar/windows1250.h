#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Member names travel in the Windows-1250 code page; Qt's own converters do not all know it,
// so the archiver carries the table itself and refuses characters the code page cannot hold.
class Windows1250
{
public:
    // The name in Windows-1250 bytes, or nothing when a character has no place in the code page.
    static std::optional<QByteArray> encode(const QString &text);
    static QString decode(const QByteArray &bytes);
};
