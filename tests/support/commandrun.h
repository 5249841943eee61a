#pragma once
// Runs the program's command line in the test process and keeps what it printed.

#include "app/commandline.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct CommandRun {
    // The exit status; `out` and `err` hold what this run printed.
    int operator()(const QStringList &args)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int rc = CommandLine::run(args, o, e);
        o.flush();
        e.flush();
        return rc;
    }
    QString out, err;
};
