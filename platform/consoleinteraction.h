#pragma once
// What an operation run from the command line meets when it would ask or tell the user:
// notices and errors go to standard error, questions are answered No, there is no folder or
// file to choose and no report to show. Installed for its lifetime.

#include "platform/userinteraction.h"

class QTextStream;

class ConsoleInteraction : public UserInteraction
{
public:
    explicit ConsoleInteraction(QTextStream &err);
    ~ConsoleInteraction() override;
    ConsoleInteraction(const ConsoleInteraction &) = delete;
    ConsoleInteraction &operator=(const ConsoleInteraction &) = delete;

    bool confirm(const QString &) override { return false; }
    void inform(const QString &text) override;
    void showError(const QString &text) override;
    QString browseFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    void showReport(const Report &) override { }
    void beginWait() override { }
    void endWait() override { }

private:
    QTextStream &m_err;
    UserInteraction *m_previous;
};
