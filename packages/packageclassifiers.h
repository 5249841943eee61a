#pragma once
// The codes and rates a package is checked against, taken once from the classifiers that the
// connection loads, so that the check itself needs no database and runs without one.

#include <QHash>
#include <QSet>
#include <QString>
#include <optional>

class PackageClassifiers
{
public:
    // The rate row of a category that applies to a whole year.
    struct Rate {
        QString individualUnit; // "P" percent, "L" yearly amount
        double individualValue = 0;
        std::optional<double> ceiling; // ktapv_ap_max
        QString employerUnit;
        double employerValue = 0;
    };

    // From the data module's k_id_doc_type, k_prof, k_tariff_ap and k_tariff_ap_value; none
    // when no database is open or its classifiers are not loaded.
    static std::optional<PackageClassifiers> fromDataModule();

    bool knowsDocumentType(qint64 code) const { return m_docTypes.contains(code); }
    bool knowsCategory(qint64 code) const { return m_categories.contains(code); }
    bool knowsFunction(qint64 code) const { return m_functions.contains(code); }
    // A profession marked "PROFESIE ANULATA" in its name may no longer be used.
    bool functionCancelled(qint64 code) const { return m_functions.value(code, false); }
    // The first rate row of the category valid from 1 January to 31 December of the year.
    std::optional<Rate> rate(qint64 category, int year) const;

    void addDocumentType(qint64 code) { m_docTypes.insert(code); }
    void addCategory(qint64 code) { m_categories.insert(code); }
    void addFunction(qint64 code, bool cancelled = false) { m_functions.insert(code, cancelled); }
    void addRate(qint64 category, int firstYear, int lastYear, const Rate &rate);

private:
    struct Span {
        int firstYear, lastYear; // whole years the row covers
        Rate rate;
    };
    QSet<qint64> m_docTypes, m_categories;
    QHash<qint64, bool> m_functions;
    QHash<qint64, QList<Span>> m_rates;
};
