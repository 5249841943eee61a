#pragma once
// Creates database files from the schema and classifier scripts built into the program:
// the delivered database, and, for tests and upgrades, one as an older release shipped it.

#include <QString>

namespace DatabaseMaker {

enum class Kind {
    Delivered, // schema and the classifier rows
    Older,     // as an older release shipped it: no t_pachet, no saldo_data.sd_kft_rf
    SchemaOnly,
    Predecessor, // the predecessor program's file: its econ_agent and assured_person tables
};

// Creates the file; raises DbError when it exists or cannot be made.
void create(const QString &path, Kind kind = Kind::Delivered);
// Runs every statement of a script on the database file, each in a transaction of its own.
void runScript(const QString &path, const QString &script);
QString builtInScript(const QString &name); // "schema.sql", "sample_classifiers.sql", ...

} // namespace DatabaseMaker
