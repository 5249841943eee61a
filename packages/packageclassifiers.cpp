#include "packages/packageclassifiers.h"
#include "data/recordset.h"
#include "data/ibdatabase.h"
#include "data/tdm.h"

#include <QDateTime>

#include <cmath>

namespace {

qint64 code(const QVariant &v)
{
    return v.isNull() ? -1 : qint64(std::llround(v.toDouble()));
}

QDate dateOf(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate ? v.toDate() : v.toDateTime().date();
}

// Calls `take(row)` for every row of a loaded classifier that has the named fields.
template <typename F> void eachRow(RecordSet *set, std::initializer_list<const char *> names, F take)
{
    if (!set || !set->active())
        return;
    std::vector<int> fields;
    for (const char *n : names) {
        const int i = set->fieldIndex(QString::fromLatin1(n));
        if (i < 0)
            return;
        fields.push_back(i);
    }
    for (int r = 0; r < set->recordCount(); ++r) {
        std::vector<QVariant> values;
        for (int i : fields)
            values.push_back(set->valueAt(r, i));
        take(values);
    }
}

} // namespace

std::optional<PackageClassifiers> PackageClassifiers::fromDataModule()
{
    if (!DM || !DM->IDB->connected())
        return std::nullopt;
    for (RecordSet *s : {DM->k_id_doc_type, DM->k_prof, DM->k_tariff_ap_value})
        if (!s->active())
            return std::nullopt;
    PackageClassifiers c;
    eachRow(DM->k_id_doc_type, {"kidt_id"}, [&](const auto &v) { c.addDocumentType(code(v[0])); });
    eachRow(DM->k_prof, {"kp_id", "kp_name_ro"}, [&](const auto &v) {
        c.addFunction(code(v[0]), v[1].toString().trimmed().toUpper().contains(QLatin1String("PROFESIE ANULATA")));
    });
    eachRow(DM->k_tariff_ap, {"ktap_id"}, [&](const auto &v) { c.addCategory(code(v[0])); });
    eachRow(DM->k_tariff_ap_value,
            {"ktapv_ktap", "ktapv_date_start", "ktapv_date_stop", "ktapv_ap_unit", "ktapv_ap_value", "ktapv_ap_max",
             "ktapv_ea_unit", "ktapv_ea_value"},
            [&](const auto &v) {
                const qint64 category = code(v[0]);
                // k_tariff_ap may hold only the working year's categories; a category with a
                // rate row is known all the same.
                c.addCategory(category);
                const QDate start = dateOf(v[1]), stop = dateOf(v[2]);
                if (!start.isValid() || !stop.isValid())
                    return;
                Rate r;
                r.individualUnit = v[3].toString().trimmed();
                r.individualValue = v[4].toDouble();
                if (!v[5].isNull())
                    r.ceiling = v[5].toDouble();
                r.employerUnit = v[6].toString().trimmed();
                r.employerValue = v[7].toDouble();
                const int first = start.dayOfYear() == 1 ? start.year() : start.year() + 1;
                const int last = (stop.month() == 12 && stop.day() == 31) ? stop.year() : stop.year() - 1;
                c.addRate(category, first, last, r);
            });
    return c;
}

void PackageClassifiers::addRate(qint64 category, int firstYear, int lastYear, const Rate &rate)
{
    m_categories.insert(category);
    m_rates[category].append(Span{firstYear, lastYear, rate});
}

std::optional<PackageClassifiers::Rate> PackageClassifiers::rate(qint64 category, int year) const
{
    const auto it = m_rates.constFind(category);
    if (it == m_rates.cend())
        return std::nullopt;
    for (const Span &s : *it)
        if (s.firstYear <= year && year <= s.lastYear)
            return s.rate;
    return std::nullopt;
}
