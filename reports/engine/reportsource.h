#pragma once
// The rows a report walks through. The engine sees only this interface, so record sets, query
// results and the in-memory tables of the tests all print the same way.

#include <QString>
#include <QStringList>
#include <QVariant>

class ReportSource
{
public:
    virtual ~ReportSource() = default;

    virtual int rowCount() const = 0;
    // The current row, or -1 when the source stands on no row.
    virtual int currentRow() const = 0;
    // Moves to `row`; a row outside 0..rowCount()-1 leaves the source at its end (eof()).
    virtual void goTo(int row) = 0;

    virtual QStringList fieldNames() const = 0;
    // Case-insensitive; -1 when there is no such field. Field positions never change while a
    // report is laid out.
    virtual int fieldIndex(const QString &name) const = 0;
    // The value of a field on the current row; an invalid QVariant at the end of the rows.
    virtual QVariant value(int field) const = 0;

    void first() { goTo(0); }
    void next() { goTo(currentRow() + 1); }
    bool eof() const { const int r = currentRow(); return r < 0 || r >= rowCount(); }
    QVariant value(const QString &name) const
    {
        const int i = fieldIndex(name);
        return i < 0 ? QVariant() : value(i);
    }
};
