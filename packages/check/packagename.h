#pragma once
// What the archive's name says of the package: the agent, the form type, the year and the
// period, which the header and the months of the rows must repeat. A name without that form
// is reported, and those rules are then left out.

#include <QString>

class CheckFindings;

class PackageName
{
public:
    // Reads the file name, reporting a name that is no package's or a period the year lacks.
    PackageName(const QString &fileName, CheckFindings &findings);

    bool valid() const { return m_valid; }
    const QString &agent() const { return m_agent; }
    int formType() const { return m_formType; }
    int year() const { return m_year; }
    const QString &period() const { return m_period; } // "T00", "L03"
    const QString &digits() const { return m_digits; } // "00", "03"
    int firstMonth() const { return m_firstMonth; }
    int lastMonth() const { return m_lastMonth; }

private:
    bool m_valid = false;
    QString m_agent;
    int m_formType = 0;
    int m_year = 0;
    QString m_period;
    QString m_digits;
    int m_firstMonth = 1, m_lastMonth = 12;
};
