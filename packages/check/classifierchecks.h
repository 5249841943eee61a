#pragma once
// The codes of the package against the classifiers of the program's database: document types,
// functions and categories must be known, and the contributions of a row are compared with
// the rate of its category and year (a warning: the computing program may round otherwise).
// Without classifiers these rules are left out.

#include "packages/check/packagerules.h"
#include "packages/packageamounts.h"

#include <QDate>

class CheckFindings;
class PackageName;
class PackageClassifiers;

class ClassifierChecks : public PackageRules
{
public:
    ClassifierChecks(CheckFindings &findings, const PackageName &name, const PackageClassifiers *classifiers)
        : m_findings(findings), m_name(name), m_classifiers(classifiers)
    { }

    void sdRow(const FileLine &l, const SdDeclaration &d) override;
    void naLine(const FileLine &l) override;

private:
    // The contributions of a row against its category's rate.
    void rates(const FileLine &l, qint64 category, int month, const QDate &from, const PackageAmounts &a);

    CheckFindings &m_findings;
    const PackageName &m_name;
    const PackageClassifiers *m_classifiers;
};
