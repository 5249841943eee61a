#pragma once
// A database file the engine cannot open or use, told in the user's words: which file, and
// what is wrong with it. The engine's failures that concern the file itself are recognised here,
// in one place, so that none of their English texts reaches the user.

#include "data/dberror.h"

#include <cstdint>
#include <optional>

class DatabaseFileError : public DbError
{
public:
    enum class Problem {
        Missing,      // no file of that name
        Empty,        // a file of 0 bytes
        CutShort,     // shorter than its pages say: its end is lost
        NotADatabase, // its first page is no database header (random bytes, another kind of file)
        Folder,       // a folder stands where the file should
        NoPermission, // the user running the program may not read or write it
        Unreadable,   // the system failed to read or write it (a disk fault)
        OtherVersion, // made by an engine of another on-disk structure
    };

    DatabaseFileError(Problem problem, const QString &path, const QString &engineText, int sqlCode, int osError = 0);

    // The failure in `status` (the engine's status vector) when it is one of the problems above;
    // nothing otherwise. `engineText` and `sqlCode` are the engine's own, kept for the record.
    static std::optional<DatabaseFileError> recognise(const intptr_t *status, const QString &engineText, int sqlCode);

    Problem problem() const { return m_problem; }
    // The file as the engine named it.
    const QString &path() const { return m_path; }
    const QString &engineText() const { return m_engineText; }
    // The file's content is lost or unusable where it stands: an archived copy put in its place
    // mends it. A file the user may not write, or of another engine, is not replaced.
    bool replaceable() const;

    // What is wrong with the file, in Romanian, naming it; for a permission, which one is
    // missing and how to give it.
    static QString describe(Problem problem, const QString &path, int osError = 0);

private:
    Problem m_problem;
    QString m_path;
    QString m_engineText;
};
