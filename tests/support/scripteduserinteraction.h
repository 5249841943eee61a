#pragma once
// Answers the program's questions from a script and records everything it was told.

#include "platform/userinteraction.h"
#include "reports/engine/report.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class ScriptedUserInteraction : public UserInteraction
{
public:
    ScriptedUserInteraction() { setUserInteraction(this); }
    ~ScriptedUserInteraction() override { setUserInteraction(nullptr); }

    std::deque<bool> answers;     // next answers to confirm(); No when empty
    QStringList questions, notices, errors;
    QString folder;               // what browseFolder() returns
    QString fileName;             // what openFileName() returns
    QStringList fileDialogs;      // caption, start folder and filter of each file dialog, joined by "|"
    QStringList reports;          // names of the reports shown
    QStringList printed;          // names of the reports sent to a printer
    std::function<void(const Report &)> onReport; // looks at a report while it is shown
    QStringList opened;           // files handed to the desktop's application
    bool canOpen = true;          // what openDocument() answers
    int waitDepth = 0, maxWaitDepth = 0;

    bool confirm(const QString &text) override
    {
        questions << text;
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void inform(const QString &text) override { notices << text; }
    void showError(const QString &text) override { errors << text; }
    QString browseFolder(const QString &, const QString &) override { return folder; }
    QString openFileName(const QString &caption, const QString &startFolder, const QString &filter) override
    {
        fileDialogs << caption + u'|' + startFolder + u'|' + filter;
        return fileName;
    }
    void showReport(const Report &report) override
    {
        reports << report.name();
        if (onReport)
            onReport(report);
    }
    void printReport(const Report &report) override
    {
        printed << report.name();
        if (onReport)
            onReport(report);
    }
    bool openDocument(const QString &path) override
    {
        opened << path;
        return canOpen;
    }
    void beginWait() override { maxWaitDepth = qMax(maxWaitDepth, ++waitDepth); }
    void endWait() override { --waitDepth; }

    // A step of long work as it was told: the last count, the parts named, whether it ended.
    struct ProgressStep {
        QString name;
        int depth = 0; // 0 for the outermost
        bool mayStop = false;
        qint64 total = 0, done = 0;
        QStringList parts; // in the order they began
        int updates = 0;
        bool ended = false;
    };
    std::vector<ProgressStep> progress; // in the order they began
    // Asked at every update of a step that may stop; once it answers true, the work is told
    // to stop.
    std::function<bool(const ProgressStep &)> stopWhen;
    bool stopAsked = false;

    // The steps named `name`.
    std::vector<ProgressStep> progressNamed(const QString &name) const
    {
        std::vector<ProgressStep> found;
        for (const ProgressStep &s : progress)
            if (s.name == name)
                found.push_back(s);
        return found;
    }
    int openProgress() const { return int(m_open.size()); }

    void progressBegin(const QString &name, qint64 total, bool mayStop) override
    {
        if (m_open.empty())
            stopAsked = false;
        progress.push_back({name, int(m_open.size()), mayStop, total, 0, {}, 0, false});
        m_open.push_back(progress.size() - 1);
    }
    void progressUpdate(qint64 done, qint64 total, const QString &part) override
    {
        ProgressStep &s = progress[m_open.back()];
        s.done = done;
        s.total = total;
        if (!part.isEmpty() && (s.parts.isEmpty() || s.parts.last() != part))
            s.parts << part;
        ++s.updates;
        if (s.mayStop && stopWhen && stopWhen(s))
            stopAsked = true;
    }
    bool progressCancelled() override { return stopAsked; }
    void progressEnd() override
    {
        progress[m_open.back()].ended = true;
        m_open.pop_back();
    }

private:
    std::vector<size_t> m_open;
};
