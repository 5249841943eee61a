#include "platform/progress.h"
#include "platform/userinteraction.h"

Progress::Progress(const QString &name, qint64 total, Stopping stopping)
    : m_ui(userInteraction()), m_total(total), m_mayStop(stopping == MayStop)
{
    m_ui.progressBegin(name, total, m_mayStop);
}

Progress::~Progress()
{
    m_ui.progressEnd();
}

void Progress::step(qint64 done)
{
    m_done = done;
    m_ui.progressUpdate(m_done, m_total, m_part);
}

void Progress::step(qint64 number, const QString &part)
{
    m_part = part;
    step(number);
}

void Progress::setTotal(qint64 total)
{
    m_total = total;
    m_ui.progressUpdate(m_done, m_total, m_part);
}

bool Progress::cancelled() const
{
    return m_mayStop && m_ui.progressCancelled();
}

QString Progress::number(qint64 n)
{
    const QString digits = QString::number(n < 0 ? -n : n);
    QString grouped;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += u' ';
        grouped += digits[i];
    }
    return n < 0 ? u'-' + grouped : grouped;
}

QString Progress::ofText(qint64 done, qint64 total)
{
    return number(done) + QStringLiteral(" din ") + number(total);
}

QString Progress::ofText(qint64 done, qint64 total, const QString &one, const QString &many)
{
    const qint64 lastTwo = (total < 0 ? -total : total) % 100;
    QString noun = many;
    if (total == 1)
        noun = one;
    else if (lastTwo >= 20 || (lastTwo == 0 && total != 0))
        noun = QStringLiteral("de ") + many;
    return ofText(done, total) + u' ' + noun;
}
