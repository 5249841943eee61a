#pragma once
// The rate row a monthly row's contributions come from, read by its identifier into the
// scratch set cds1; the save rule reads it and so will the recalculation of a declaration.

#include <QString>

class RateRow
{
public:
    // Runs "select * from k_tariff_ap_value  where ktapv_id=<id>" on IBQ1 into cds1 (mode 2)
    // and takes the first row's values. No row: found() is false.
    static RateRow read(const QString &tariffId);

    bool found() const { return m_found; }
    // Units: "P" a percentage of the base, "L" a yearly amount (individual rate only).
    const QString &individualUnit() const { return m_apUnit; }
    double individualValue() const { return m_apValue; }
    const QString &employerUnit() const { return m_eaUnit; }
    double employerValue() const { return m_eaValue; }
    // The percentage computation runs only for an employer's rate in percent.
    bool percentage() const { return m_found && m_eaUnit == QLatin1String("P"); }
    // The monthly ceiling of the individual contribution counts only when set and above 1.
    bool ceilingSet() const { return m_ceilingSet; }
    double ceiling() const { return m_ceiling; }

private:
    bool m_found = false;
    QString m_apUnit, m_eaUnit;
    double m_apValue = 0, m_eaValue = 0, m_ceiling = 0;
    bool m_ceilingSet = false;
};
