#pragma once
// Text read from someone else's file, made fit to stand in a message: what the file holds is
// shown as it stands, but a long text is cut (saying so) and characters that cannot be printed
// are shown as escapes, so that a message never carries a megabyte or raw control bytes.

#include <QString>

namespace MessageText {

// The text with every character that cannot be printed as \xHH (below 0x100), \uHHHH or
// \UHHHHHHHH, cut after `limit` characters with " ... (scurtat, are N caractere)" after it.
QString shown(const QString &text, qsizetype limit = 120);

} // namespace MessageText
