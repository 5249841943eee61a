#pragma once
// The amounts of the package and their totals: what a row's category allows, the total
// contribution of every line, each declaration's total line against its rows, each package of
// REV5_IP against its declarations, the header of REV5_T against the packages; and that the
// declarations and packages of the members match one another.
//
// The totals are added up as the writer adds them (PackageAmounts) and compared through its
// money format: a declaration's sums go into its package unrounded, so a package of large
// amounts may show a figure that the sum of its declarations' written totals does not. A
// written figure is taken at the value it was rounded from when it is that value rounded,
// so that a wrong figure is reported where it stands and not again in every total above it.

#include "packages/check/packagemember.h"
#include "packages/check/packagerules.h"
#include "packages/packageamounts.h"

#include <QHash>
#include <QSet>

class CheckFindings;
class PackageStructure;

class PackageSums : public PackageRules
{
public:
    PackageSums(CheckFindings &findings, const PackageStructure &structure)
        : m_findings(findings), m_structure(structure)
    { }

    void sdBegin(const SdDeclaration &) override;
    void sdRow(const FileLine &l, const SdDeclaration &d) override;
    void sdEnd(const SdDeclaration &d, const FileLine *total) override;
    void sdDone() override { m_sdRead = true; }
    void ipLine(const FileLine &l) override;
    void ipDone() override;
    void naLine(const FileLine &l) override;
    void naDone() override;
    void tLine(const FileLine &l, int ipLines) override;

private:
    // The five money fields of a line as written: the four amounts (0 where a field is not
    // money) and the total contribution.
    struct Written {
        PackageAmounts amounts;
        double total = 0;
        bool amountsUsable = true;
        bool totalUsable = false;
        bool usable() const { return amountsUsable && totalUsable; }
    };
    static Written written(const FileLine &l, int first);
    // Each written amount at the figure it was rounded from, when `sums` are known and the
    // written amount is that figure rounded; else as written.
    static PackageAmounts taken(const Written &w, const PackageAmounts *sums);
    // The written total contribution of a line against `expected` in the money format.
    void checkTotal(PackageMember m, const FileLine &l, int first, const Written &w, double expected);
    // Each written amount against the sums it should show.
    void checkAmounts(PackageMember m, const FileLine &l, int first, const Written &w, const PackageAmounts &sums,
                      const QString &against);
    // What the row's category allows of its amounts.
    void categoryRules(const FileLine &l, qint64 category, const PackageAmounts &a);

    CheckFindings &m_findings;
    const PackageStructure &m_structure;

    // The declaration being read: the sums of its rows.
    PackageAmounts m_rows;
    bool m_rowsUsable = true;

    // What REV5_SD says, per package number: its declarations and their sums.
    struct Package {
        int declarations = 0;
        PackageAmounts sums;
        int firstLine = 0;
    };
    QHash<qint64, Package> m_sdPackages;
    bool m_sdRead = false;

    // What REV5_IP says: its package numbers, and the header's sums of its packages.
    QSet<qint64> m_ipPackages;
    PackageAmounts m_ipSums;
    bool m_ipSumsUsable = true;
    bool m_ipUsable = false;
};
