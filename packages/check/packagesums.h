#pragma once
// The amounts of the package and their totals: what a row's category allows, the total
// contribution of every line, each declaration's total line against its rows, each package of
// REV5_IP against its declarations, the header of REV5_T against the packages; and that the
// declarations and packages of the members match one another.

#include "packages/check/packagemember.h"
#include "packages/check/packagerules.h"

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

    // The four money amounts of a line in cents: pay fund, benefit, individual and
    // employer's contribution.
    struct Amounts {
        qint64 v[4] = {0, 0, 0, 0};
        Amounts &operator+=(const Amounts &o)
        {
            for (int i = 0; i < 4; ++i)
                v[i] += o.v[i];
            return *this;
        }
    };

private:
    // The four amounts from field `first` on, the total contribution after them checked
    // against the last two; false when one of the five is not money.
    bool amounts(PackageMember m, const FileLine &l, int first, Amounts *a);
    // What the row's category allows of its amounts.
    void categoryRules(const FileLine &l, qint64 category, const Amounts &a);
    // A declaration counted in its package with the given sums.
    void count(const SdDeclaration &d, const Amounts &sums, int line);

    CheckFindings &m_findings;
    const PackageStructure &m_structure;

    // The declaration being read: the sums of its rows.
    Amounts m_rows;
    bool m_rowsUsable = true;

    // What REV5_SD says, per package number: its declarations and their sums.
    struct Package {
        int declarations = 0;
        Amounts sums;
        int firstLine = 0;
    };
    QHash<qint64, Package> m_sdPackages;
    bool m_sdRead = false;

    // What REV5_IP says: its package numbers and sums.
    QSet<qint64> m_ipPackages;
    Amounts m_ipSums;
    bool m_ipSumsUsable = true;
    bool m_ipUsable = false;
};
