#include "packages/check/packagename.h"
#include "packages/check/checkfindings.h"

#include <QRegularExpression>

PackageName::PackageName(const QString &fileName, CheckFindings &findings)
{
    const PackageMember archive = PackageMember::Archive;
    static const QRegularExpression form(QStringLiteral(
                                             "^REV5_([0-9]{7})_00([13])01_([0-9]{4})([TL])([0-9]{2})\\.RAR$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(fileName);
    if (!m.hasMatch()) {
        findings.add(archive, 0, 0, [&] {
            return QStringLiteral("numele arhivei „%1” nu are forma REV5_<codul agentului>_00<tipul>01_<anul>"
                                  "<perioada>.RAR; anul, perioada și tipul formularului nu pot fi verificate")
                .arg(fileName);
        });
        return;
    }
    m_agent = m.captured(1);
    m_formType = m.captured(2).toInt();
    m_year = m.captured(3).toInt();
    const QChar letter = m.captured(4).at(0).toUpper();
    m_digits = m.captured(5);
    m_period = letter + m_digits;
    const int n = m_digits.toInt();
    const int y = m_year;
    // The periods a year offers: the whole year always; quarters in 2013 and 2014; months
    // from 2015. A correction package exists only for a month from 2015.
    bool periodOk;
    if (letter == u'T' && n == 0)
        periodOk = true;
    else if (letter == u'T')
        periodOk = (y == 2013 || y == 2014) && n >= 1 && n <= 4;
    else
        periodOk = y >= 2015 && n >= 1 && n <= 12;
    if (!periodOk) {
        findings.add(archive, 0, 0, [&] {
            return QStringLiteral("perioada %1 din numele arhivei nu este o perioadă a anului %2").arg(m_period).arg(y);
        });
        return;
    }
    if (m_formType == 3 && (y < 2015 || n == 0 || letter == u'T'))
        findings.add(archive, 0, 0, [&] {
            return y < 2015 ? QStringLiteral("pentru anul %1 nu se formează pachete de corectare").arg(y)
                            : QStringLiteral("declarația anuală poate fi numai primară");
        });
    if (letter == u'T' && n > 0) {
        m_firstMonth = 3 * n - 2;
        m_lastMonth = 3 * n;
    } else if (letter == u'L') {
        m_firstMonth = m_lastMonth = n;
    }
    m_valid = true;
}
