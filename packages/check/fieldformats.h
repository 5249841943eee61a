#pragma once
// The form of every field of the package: whole numbers, money, dates, months and working
// days, the periods of the monthly rows, the header against the archive's name, and the
// personal codes, names and identity documents of the declarations.

#include "packages/check/packagemember.h"
#include "packages/check/packagerules.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class CheckFindings;
class PackageName;

class FieldFormats : public PackageRules
{
public:
    FieldFormats(CheckFindings &findings, const PackageName &name) : m_findings(findings), m_name(name) { }

    void sdLine(const FileLine &l) override;
    void sdBegin(const SdDeclaration &) override;
    void sdRow(const FileLine &l, const SdDeclaration &d) override;
    void sdEnd(const SdDeclaration &d, const FileLine *total) override;
    void ipLine(const FileLine &l) override;
    void naLine(const FileLine &l) override;
    void tLine(const FileLine &l, int ipLines) override;

private:
    // Field `i` as a whole number, money or a date, reported when it is not one.
    std::optional<qint64> whole(PackageMember m, const FileLine &l, int i, const QString &what);
    void money(PackageMember m, const FileLine &l, int first, int count);
    std::optional<QDate> day(PackageMember m, const FileLine &l, int i, const QString &what, bool required);

    CheckFindings &m_findings;
    const PackageName &m_name;

    // The rows of the declaration being read: the last month, and the periods so far.
    struct Period {
        qint64 month, category;
        QDate from, until;
        int line;
    };
    int m_lastMonth = 0;
    std::vector<Period> m_periods;
};
