#pragma once
// A save on a database that several copies of the program share on a server. It runs in one
// write transaction (IBT2, held so that DM->execWrite joins it instead of committing) that
// first locks the rows the saves of one kind take in turn (the agent's row for its persons and
// new declarations, the declaration's row for its monthly rows) and the row being changed,
// comparing that row with what this copy read: a row another user changed or deleted meanwhile
// is refused and read again into the record set, so that no save overwrites what it did not
// read and no check is overtaken between its reading and the write. On the database file of
// one user it does nothing: every statement runs as it always ran.

#include "data/writetransaction.h"
#include "platform/userinteraction.h"

#include <QString>
#include <optional>

class RecordSet;

class GuardedSave
{
public:
    // What the guarded work is: a save of what the user typed, whose refusal keeps the typing on
    // the screen, or a step of an operation, which is run again as a whole.
    enum class Purpose { Save, Operation };

    // On a server database: ends IBT2's earlier use, starts it and holds it, the wait cursor
    // shown until it ends, since its locks may wait for another copy. Inside another guarded
    // save it joins that one, which commits.
    explicit GuardedSave(Purpose purpose = Purpose::Save);
    // Rolls back unless commit() ran; while an exception unwinds, errors of the rollback are
    // dropped so that the first error stays the one reported.
    ~GuardedSave() noexcept(false);

    GuardedSave(const GuardedSave &) = delete;
    GuardedSave &operator=(const GuardedSave &) = delete;

    // Whether the database is shared on a server, where saves are guarded.
    static bool sharedDatabase();
    bool active() const { return m_owner; }

    // Locks the row of `table` whose `keyColumn` is `key` for the rest of the transaction,
    // waiting for another copy's lock of it for the connection's lock timeout at most (then
    // ConcurrencyError RecordBusy for a save, Busy naming `table` for an operation). False when there is no such row. Nothing is done
    // (true) when the save is not guarded or the key is empty.
    bool lock(const QString &table, const QString &keyColumn, const QString &key);
    // The agent's row, which the saves of its persons and new declarations lock in turn.
    void lockAgent(const QString &agentId);

    // Locks the current row of `set` in the table of its name and compares it with the row as
    // the set holds it unedited, field by field as the statements write them (key field `key`).
    // Another user's change raises ConcurrencyError RecordChanged, the set's row replaced by the
    // database's; a deletion RecordDeleted, the row taken out of the set; a row another open
    // transaction holds beyond the wait RecordBusy, the pending edit kept. Nothing is done for
    // a row being inserted, or when the save is not guarded.
    void lockRow(RecordSet &set, int key = 0);

    // Commits what the save wrote (a joined save leaves that to the one it joined).
    void commit();

private:
    bool m_owner = false;                    // this save started the transaction and ends it
    std::optional<WriteTransaction> m_write; // its transaction, until committed
    std::optional<WaitCursor> m_wait;        // while it may wait for rows another copy holds
    Purpose m_purpose;
};
