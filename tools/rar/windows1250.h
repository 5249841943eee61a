#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Member names travel in the Windows-1250 code page, through the program's own table;
// a character the code page cannot hold is refused.
class Windows1250
{
public:
    // The name in Windows-1250 bytes, or nothing when a character has no place in the code page.
    static std::optional<QByteArray> encode(const QString &text);
    static QString decode(const QByteArray &bytes);
};
