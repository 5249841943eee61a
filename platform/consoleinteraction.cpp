#include "platform/consoleinteraction.h"

#include <QTextStream>

ConsoleInteraction::ConsoleInteraction(QTextStream &err) : m_err(err), m_previous(&userInteraction())
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
