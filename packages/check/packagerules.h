#pragma once
// A family of the package's rules. The structure reads each member and tells every family
// of each line that has the member's number of fields, REV5_SD first (its declarations and
// packages are what the other members are matched with), then REV5_IP, REV5_NA and REV5_T.
// Each family keeps what it needs and reports into the findings.

#include "packages/check/fileline.h"
#include "packages/check/sddeclaration.h"

class PackageRules
{
public:
    virtual ~PackageRules() = default;

    // Every line of REV5_SD, monthly row or total line (field 3 "13").
    virtual void sdLine(const FileLine &) { }
    // A declaration's first row.
    virtual void sdBegin(const SdDeclaration &) { }
    // A monthly row of the declaration.
    virtual void sdRow(const FileLine &, const SdDeclaration &) { }
    // The end of a declaration: its total line, or null when the total line is missing.
    virtual void sdEnd(const SdDeclaration &, const FileLine *) { }
    // REV5_SD has been read (it is in the archive).
    virtual void sdDone() { }

    virtual void ipLine(const FileLine &) { }
    virtual void ipDone() { }

    virtual void naLine(const FileLine &) { }
    virtual void naDone() { }

    // The one line of REV5_T that is read; `ipLines` is the number of lines of REV5_IP, -1
    // when the archive has no REV5_IP.
    virtual void tLine(const FileLine &, int) { }
};
