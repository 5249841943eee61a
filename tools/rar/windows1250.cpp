#include "windows1250.h"
#include "data/win1250.h"

// The archiver shares the program's code page table.

std::optional<QByteArray> Windows1250::encode(const QString &text)
{
    QByteArray out;
    if (!Win1250::encode(text, &out))
        return std::nullopt;
    return out;
}

QString Windows1250::decode(const QByteArray &bytes)
{
    return Win1250::decode(bytes);
}
