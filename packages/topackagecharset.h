#pragma once
// The receiving side reads only ASCII in place of five Romanian capitals, so the names in the
// electronic package are written with these letters mapped to ASCII signs.

#include <QByteArray>

// Windows-1250 bytes with Î Ă Â Ş Ţ replaced by } { | : " (lower-case letters stay), the input
// cut to 255 bytes first.
QByteArray ToPackageCharset(const QByteArray &text);
