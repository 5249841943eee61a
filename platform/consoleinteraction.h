#pragma once
// What an operation run from the command line meets when it would ask or tell the user:
// notices and errors go to standard error, questions are answered No, there is no folder or
// file to choose and no report to show. Installed for its lifetime. With `steps`, each step
// of long work is a line on standard error as it begins, indented under the step that runs it,
// and a counted step says how far it got when it ends.

#include "platform/userinteraction.h"

#include <vector>

class QTextStream;

class ConsoleInteraction : public UserInteraction
{
public:
    explicit ConsoleInteraction(QTextStream &err, bool steps = false);
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

    void progressBegin(const QString &name, qint64 total, bool mayStop) override;
    void progressUpdate(qint64 done, qint64 total, const QString &part) override;
    void progressEnd() override;

private:
    struct Step {
        qint64 total = 0, done = 0;
        QString part;
        bool counted = false;
    };
    // A line `deeper` levels below the lines of the innermost open step.
    void line(int deeper, const QString &text);

    QTextStream &m_err;
    UserInteraction *m_previous;
    bool m_steps;
    std::vector<Step> m_open;
};
