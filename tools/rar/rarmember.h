#pragma once

#include <QByteArray>
#include <QtGlobal>

// A member found in an existing archive, kept as its raw header block and the place of its
// data, so that rewriting the archive carries it over unchanged whatever method packed it.
struct RarMember
{
    QByteArray name;        // stored name bytes (Windows-1250), without any Unicode part
    QByteArray header;      // the whole file header block, HEAD_CRC included
    qint64 dataOffset = 0;  // where the packed data begins in the archive file
    qint64 dataSize = 0;    // packed size in bytes
};
