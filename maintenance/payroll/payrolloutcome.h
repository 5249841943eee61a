#pragma once
// What the import does with one line of a payroll file: the person it belongs to, the month and
// amounts it gives, and its fate, shown before anything is written and reported afterwards.

#include <QString>
#include <optional>

struct PayrollOutcome {
    enum class Fate {
        NewRow,    // "rînd nou": a monthly row of a registered person
        NewPerson, // "persoană nouă": the person is added with the row
        Present,   // "există deja": the row is stored already; nothing is added
        Refused,   // the message says why
    };

    int line = 0; // the line in the file
    QString cpas, idnp;
    QString person; // the person's name, as registered or as the line gives it; empty when not known
    int month = 0;
    std::optional<double> payFund, sickPay;
    Fate fate = Fate::Refused;
    QString message; // the refusal
    QString notice;  // what the save rule said while writing the row (the over-ceiling warning)
    bool written = false;

    // "rînd nou", "persoană nouă", "există deja", or the refusal's message.
    QString fateText() const
    {
        switch (fate) {
        case Fate::NewRow:
            return QStringLiteral("rînd nou");
        case Fate::NewPerson:
            return QStringLiteral("persoană nouă");
        case Fate::Present:
            return QStringLiteral("există deja");
        case Fate::Refused:
            break;
        }
        return message;
    }
};
