#pragma once
// Splits an SQL script into statements the way the database's own script tool reads it:
// ";" ends a statement, "SET TERM" changes that terminator for procedure bodies, and
// comments and quoted text are respected.

#include <QString>
#include <QStringList>

namespace SqlScript {
QStringList split(const QString &script);
}
