#pragma once
// One payroll file being brought in for the current agent: the file read, its columns taken for
// what their titles say (or what the user took them for before), its lines read for the year,
// and what importing them does. The window and the command line both work through it.

#include "maintenance/payroll/payrollimport.h"
#include "maintenance/payroll/payrollcolumns.h"
#include "maintenance/payroll/payrollfile.h"

#include <QString>

class PayrollImportSession
{
public:
    // Reads the file (the first sheet of a spreadsheet). Raises EE with the reader's message
    // when it cannot be read.
    PayrollImportSession(const QString &path, int year);
    // A table read already.
    PayrollImportSession(PayrollTable table, int year);

    const PayrollTable &table() const { return m_table; }
    const PayrollMapping &mapping() const { return m_mapping; }
    int year() const { return m_options.year; }
    bool addPersons() const { return m_options.addPersons; }

    // Reads another sheet of the spreadsheet; its columns as the header says.
    void chooseSheet(const QString &sheet);
    // The column's field as the user chooses it, remembered for the agent; another column that
    // had the field is no longer imported.
    void setField(int column, PayrollField field);
    void setYear(int year) { m_options.year = year; }
    void setAddPersons(bool add) { m_options.addPersons = add; }

    // Why the columns cannot be imported as they are taken (no person, month or amount column),
    // empty when they can.
    QString mappingProblem() const;
    // The lines below the header read with the columns' fields; raises EE when the columns
    // cannot be imported.
    std::vector<PayrollLine> lines() const;

    // What importing the lines does, shown beforehand; then done.
    PayrollImportResult preview() const;
    PayrollImportResult import();

private:
    void recallMapping();

    PayrollTable m_table;
    PayrollMapping m_mapping;
    PayrollImport::Options m_options;
};
