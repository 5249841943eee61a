#pragma once
// Conversion between Qt's Unicode text and the Windows-1250 bytes that the database and the
// electronic package hold. Kept in one place so that every boundary converts the same way.

#include <QByteArray>
#include <QString>

namespace Win1250 {

// Bytes to text. Every byte maps to a character, so raw bytes read back unchanged.
QString decode(const QByteArray &bytes);
QString decode(const char *data, int size);

// Text to bytes. Returns false (and leaves `out` partial) at the first character the code page
// cannot hold; `badChar` then receives that character. The Romanian letters with comma below
// (ș ț Ș Ț) are written as their cedilla forms, which is how this code page spells them.
bool encode(const QString &text, QByteArray *out, QString *badChar = nullptr);

// Like encode(), but raises EE with a Romanian message naming the character.
QByteArray encodeOrThrow(const QString &text);

bool canEncode(const QString &text);

} // namespace Win1250
