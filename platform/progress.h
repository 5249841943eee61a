#pragma once
// Long work tells the user how far it got, so that progress can be told from a hang: a step
// with its name and its count, nested in the step that runs it, shown by the user interaction
// in force (a window after half a second, lines on a console, a record in tests). The step
// ends on every way out; one that may stop between rows asks cancelled() at each boundary.

#include <QString>

class UserInteraction;

class Progress
{
public:
    enum Stopping {
        Runs,    // runs to its end once begun
        MayStop, // may stop cleanly between two units: the user is offered "Anulare"
    };

    // A step of `total` units (0 when not known beforehand).
    explicit Progress(const QString &name, qint64 total = 0, Stopping stopping = Runs);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // `done` units of the total are done.
    void step(qint64 done);
    // Part `number` of the total begins, named `part` (a step that goes in named parts).
    void step(qint64 number, const QString &part);
    // One more unit done.
    void advance() { step(m_done + 1); }
    // The total, once it is known or when it grows.
    void setTotal(qint64 total);

    // The user asked the work to stop, and this step may stop: asked at a unit's boundary.
    bool cancelled() const;

    qint64 done() const { return m_done; }
    qint64 total() const { return m_total; }

    // "4 000": a count as the user reads it, digits grouped by three with blanks.
    static QString number(qint64 n);
    // "120 din 4 000".
    static QString ofText(qint64 done, qint64 total);
    // "120 din 4 000 de rânduri": the noun as Romanian puts it after the total (`one` after 1,
    // "de" before `many` from 20 on, as in "20 de rânduri", "101 rânduri", "1 000 de rânduri").
    static QString ofText(qint64 done, qint64 total, const QString &one, const QString &many);

private:
    UserInteraction &m_ui;
    QString m_part;
    qint64 m_done = 0;
    qint64 m_total;
    bool m_mayStop;
};
