#include "platform/consoleinteraction.h"
#include "platform/progress.h"

#include <QTextStream>

ConsoleInteraction::ConsoleInteraction(QTextStream &err, bool steps)
    : m_err(err), m_previous(&userInteraction()), m_steps(steps)
{
    setUserInteraction(this);
}

ConsoleInteraction::~ConsoleInteraction()
{
    setUserInteraction(m_previous);
}

void ConsoleInteraction::inform(const QString &text)
{
    m_err << text << Qt::endl;
}

void ConsoleInteraction::showError(const QString &text)
{
    m_err << text << Qt::endl;
}

void ConsoleInteraction::line(int deeper, const QString &text)
{
    if (m_steps)
        m_err << QString(2 * (int(m_open.size()) + deeper), u' ') << text << Qt::endl;
}

void ConsoleInteraction::progressBegin(const QString &name, qint64 total, bool)
{
    line(0, name);
    m_open.push_back({total, 0, QString(), false});
}

void ConsoleInteraction::progressUpdate(qint64 done, qint64 total, const QString &part)
{
    Step &s = m_open.back();
    s.done = done;
    s.total = total;
    if (part.isEmpty()) {
        s.counted = true;
    } else if (part != s.part) {
        s.part = part;
        line(0, part + QStringLiteral(" (") + Progress::ofText(done, total) + u')');
    }
}

void ConsoleInteraction::progressEnd()
{
    const Step s = m_open.back();
    m_open.pop_back();
    if (s.counted && s.total > 0)
        line(1, Progress::ofText(s.done, s.total));
}
