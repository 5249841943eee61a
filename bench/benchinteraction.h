#pragma once
// What the benchmarks answer when an operation asks: No to every question, no folder and no
// file chosen, notices kept, errors also printed; and the peak memory of the run so far.

#include "platform/userinteraction.h"

#include <QStringList>

#include <cstdio>
#include <sys/resource.h>

class BenchInteraction : public UserInteraction
{
public:
    bool confirm(const QString &) override { return false; }
    void inform(const QString &text) override { notices << text; }
    void showError(const QString &text) override
    {
        notices << text;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    QString browseFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    void showReport(const Report &) override { }
    void beginWait() override { }
    void endWait() override { }

    QStringList notices;
};

// The largest resident size of the process so far, in MB.
inline long peakMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}
