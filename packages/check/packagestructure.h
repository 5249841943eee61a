#pragma once
// The structure and encoding of an electronic package: the four members and nothing else,
// each line Windows-1250 text ended by CR LF with the 0xB0 separator after every field and the
// member's number of fields, the declarations of REV5_SD each followed by its total line, and
// no declaration or package given twice. The lines that pass are handed to the other rule
// families. A package with more declarations or packages than one can have (PackageBounds)
// is refused with an EE, as too large to be read.

#include "packages/check/fileline.h"
#include "packages/check/packagemember.h"
#include "packages/check/packagerules.h"
#include "packages/packagecheck.h"

#include <QHash>
#include <QSet>

#include <optional>
#include <vector>

class CheckFindings;

class PackageStructure
{
public:
    // Where REV5_SD names a declaration first.
    struct SdEntry {
        qint64 package;
        int line;
    };

    explicit PackageStructure(CheckFindings &findings) : m_findings(findings) { }

    // Checks the member list and reads the members, telling `rules` of their lines. The
    // members named in `unread` are in the archive but could not be read.
    void run(const PackageCheck::Members &members, const QSet<QString> &unread,
             const std::vector<PackageRules *> &rules);

    // The declarations of REV5_SD (na_id) with their package number and first line.
    const QHash<qint64, SdEntry> &sdDeclarations() const { return m_sdDeclarations; }
    // The declarations of REV5_NA with their line.
    const QHash<qint64, int> &naDeclarations() const { return m_naDeclarations; }

private:
    // Calls `use` for each line of the member with `fieldCount` fields, reporting the rest.
    template <typename Use> void forEachLine(PackageMember member, const QByteArray &data, int fieldCount, Use &&use);

    void readSd(const QByteArray &data);
    void endDeclaration(const FileLine *total);
    void readIp(const QByteArray &data);
    void readNa(const QByteArray &data);
    void readT(const QByteArray &data, int ipLines);

    CheckFindings &m_findings;
    std::vector<PackageRules *> m_rules;
    QHash<qint64, SdEntry> m_sdDeclarations;
    QHash<qint64, int> m_naDeclarations;
    std::optional<SdDeclaration> m_open; // the declaration of REV5_SD being read
    int m_openRows = 0;                  // its monthly rows
    int m_sdCount = 0;                   // the declarations of REV5_SD so far
};
