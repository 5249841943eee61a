#pragma once
// What another copy of the program, working on the same database on a server, did to the rows
// this copy wanted: the engine's conflicts between transactions, and a record a save had read
// that another user changed or deleted before the save. Each is told in Romanian, naming what
// was in the way; the engine's codes are recognised here, in one place, so that none of their
// English texts reaches the user.

#include "data/dberror.h"

#include <cstdint>
#include <functional>
#include <optional>

class ConcurrencyError : public DbError
{
public:
    enum class Kind {
        Busy,          // rows another user's open transaction holds beyond the wait, or changed meanwhile
        Deadlock,      // two transactions each waiting for the other
        KeyTaken,      // a key another user stored meanwhile
        TargetGone,    // the row this one belongs to, deleted by another user meanwhile
        Referenced,    // rows another user added meanwhile that belong to the row being deleted
        RecordChanged, // a save: the record as it was read differs from the database's
        RecordDeleted, // a save: the record read is no longer in the database
        RecordBusy,    // a save: the record is held by another user's open transaction
    };

    ConcurrencyError(Kind kind, const QString &table, int waitSeconds, const QString &key = {},
                     const QString &engineText = {}, int sqlCode = 0, long gdsCode = 0);

    // The failure in `status` when another transaction caused it; nothing otherwise.
    // `statement` is the statement that failed (its table names what was in the way), empty
    // for a commit; `waitSeconds` how long a transaction waits for a row another one holds.
    static std::optional<ConcurrencyError> recognise(const intptr_t *status, const QString &engineText, int sqlCode,
                                                     const QString &statement, int waitSeconds);

    Kind kind() const { return m_kind; }
    // The table the failing statement wrote to or locked (lower case), empty when not known.
    const QString &table() const { return m_table; }
    const QString &engineText() const { return m_engineText; }
    // Running the statement again, once the other transaction has ended, may succeed.
    bool retryable() const { return m_kind == Kind::Busy || m_kind == Kind::Deadlock; }

    // Runs `attempt` again while another transaction's lock or change is in its way (a
    // retryable error), for `waitSeconds` at most; the last conflict is raised after that.
    // `onConflict` puts back what a failed attempt left before the next (or before the raise).
    static void retryWhileBusy(int waitSeconds, const std::function<void()> &attempt,
                               const std::function<void()> &onConflict = {});

    // The message of a kind, in Romanian.
    static QString describe(Kind kind, const QString &table, int waitSeconds, const QString &key = {});
    // What a table holds, as the user knows it ("declarațiile", "rîndurile lunare ...").
    static QString tableContents(const QString &table);
    // The table a statement writes to or locks: "update T", "delete from T", "insert into T",
    // "select ... from T ... with lock"; empty for any other.
    static QString tableOf(const QString &statement);

private:
    Kind m_kind;
    QString m_table;
    QString m_engineText;
};
