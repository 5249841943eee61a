#pragma once
// Answers the program's questions from a script and records everything it was told.

#include "platform/userinteraction.h"
#include "reports/engine/report.h"

#include <QStringList>
#include <deque>
#include <functional>

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
};
