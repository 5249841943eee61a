#pragma once
// The data layer's helpers over the single data module: copying rows into record sets,
// loading classifiers, building statements from the current row, running external programs,
// rounding money and posting what the user left in edit.

#include <QString>
#include <QStringList>

class IbQuery;
class RecordSet;

// Copies every row of the source into the target, by position. Mode 1 names the target's
// fields COLUMN1, COLUMN2...; mode 2 gives them the source's names; mode 3 keeps the target's
// declared fields. A query source is committed and closed afterwards. Returns 0.
int CopyToMemTable(IbQuery *source, RecordSet *target, int mode);
int CopyToMemTable(RecordSet *source, RecordSet *target, int mode);

// Gives the set the query's columns as fields (64-bit whole numbers as floating values) and
// the query's rows from the current one, in one bulk copy; text is upper-cased on request. The
// query stays open; the set ends on its first row.
void LoadQueryRows(IbQuery *q, RecordSet *set, bool upperCaseText = false);

// Reloads a classifier record set from the table of its name (see the statements below).
int LoadClassifier(RecordSet *set, const QString &extra = QString());
// The statement LoadClassifier runs for a set and a working year.
QString ClassifierStatement(const QString &setName, const QString &workingYear, const QString &extra);

// The SQL literal of field i of the current row: NULL for blank text, strings trimmed, ASCII
// letters upper-cased and quoted with inner quotes doubled, numbers with a point, dates quoted.
QString SqlLiteral(RecordSet *set, int i);

// "Insert into ..." (mode 1) or "update ... where key=..." (any other mode) of the current row.
QString BuildInsertOrUpdate(RecordSet *set, int k, int mode);

// Runs a program and waits: 0 when it ended with exit code 0, 1 when it could not start or
// failed. The program and each argument are passed as they are, blanks included.
int RunAndWait(const QString &program, const QStringList &arguments, const QString &workingFolder = QString());
// The same for a whole command line; parts in double quotes may hold blanks.
int RunAndWait(const QString &commandLine);

double Round2(double x);
QString ReplaceAll(const QString &text, const QString &oldPart, const QString &newPart);

// Posts assured_person, name_account and saldo_data, in that order, where they are in edit.
void PostPendingEdits();
