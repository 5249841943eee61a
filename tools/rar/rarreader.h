#pragma once

#include "rarmember.h"

#include <QList>
#include <QString>

class QIODevice;

// Lists the members of an existing RAR 4 archive, so that adding files rewrites the archive
// with its earlier members; refuses what it could not carry over faithfully.
class RarReader
{
public:
    // Reads the blocks of `archive` (open for reading, at any position); `displayName` names
    // the archive in messages. Throws RarError for a damaged or unsupported archive.
    static QList<RarMember> readMembers(QIODevice &archive, const QString &displayName);
};
