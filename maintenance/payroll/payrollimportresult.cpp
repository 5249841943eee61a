#include "maintenance/payroll/payrollimportresult.h"

#include <QStringList>
#include <algorithm>

int PayrollImportResult::count(PayrollOutcome::Fate fate) const
{
    return int(
        std::count_if(outcomes.begin(), outcomes.end(), [fate](const PayrollOutcome &o) { return o.fate == fate; }));
}

std::vector<int> PayrollImportResult::writtenLines() const
{
    std::vector<int> lines;
    for (const PayrollOutcome &o : outcomes)
        if (o.written)
            lines.push_back(o.line);
    return lines;
}

QString PayrollImportResult::counts() const
{
    using Fate = PayrollOutcome::Fate;
    return QStringLiteral("Rînduri: %1; rînduri noi: %2; persoane noi: %3; există deja: %4; refuzate: %5")
        .arg(outcomes.size())
        .arg(count(Fate::NewRow))
        .arg(count(Fate::NewPerson))
        .arg(count(Fate::Present))
        .arg(refused());
}

QString PayrollImportResult::summary() const
{
    const std::vector<int> written = writtenLines();
    QStringList text;
    const QString writtenText = written.empty() ? QStringLiteral("Nu s-a scris niciun rînd.")
                                                : QStringLiteral("S-au scris rîndurile: %1.").arg(lineRanges(written));
    if (!stoppedBy.isEmpty()) {
        text << QStringLiteral("Importul s-a oprit la rîndul %1 din cauza erorii bazei de date:").arg(stoppedAt)
             << stoppedBy << writtenText;
    } else if (cancelledAt) {
        text << QStringLiteral("Importul a fost anulat înainte de rîndul %1.").arg(cancelledAt) << writtenText;
    } else {
        text << QStringLiteral("Importul s-a încheiat: rînduri scrise %1, dintre care cu persoane noi %2; "
                               "există deja %3; refuzate %4.")
                    .arg(written.size())
                    .arg(std::count_if(outcomes.begin(), outcomes.end(),
                                       [](const PayrollOutcome &o) {
                                           return o.written && o.fate == PayrollOutcome::Fate::NewPerson;
                                       }))
                    .arg(count(PayrollOutcome::Fate::Present))
                    .arg(refused());
    }
    for (const PayrollOutcome &o : outcomes)
        if (!o.notice.isEmpty())
            text << QStringLiteral("rîndul %1: %2").arg(o.line).arg(o.notice.trimmed());
    return text.join(u'\n');
}

QString lineRanges(const std::vector<int> &lines)
{
    QStringList parts;
    for (size_t i = 0; i < lines.size();) {
        size_t j = i;
        while (j + 1 < lines.size() && lines[j + 1] == lines[j] + 1)
            ++j;
        parts << (j == i ? QString::number(lines[i]) : QStringLiteral("%1-%2").arg(lines[i]).arg(lines[j]));
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}
