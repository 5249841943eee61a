#pragma once
// One line of a package file written out by hand: every field followed by 0xB0, then CR LF.

#include <QByteArray>
#include <initializer_list>

inline QByteArray packageLine(std::initializer_list<QByteArray> fields)
{
    QByteArray out;
    for (const QByteArray &f : fields)
        out += f + '\xB0';
    return out + "\r\n";
}
