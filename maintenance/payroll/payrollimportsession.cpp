#include "maintenance/payroll/payrollimportsession.h"
#include "data/ee.h"
#include "maintenance/payroll/payrollmappingmemory.h"

PayrollImportSession::PayrollImportSession(const QString &path, int year)
    : PayrollImportSession(PayrollFile::read(path), year)
{ }

PayrollImportSession::PayrollImportSession(PayrollTable table, int year) : m_table(std::move(table))
{
    m_options.year = year;
    recallMapping();
}

void PayrollImportSession::recallMapping()
{
    const PayrollRow header = m_table.rows.empty() ? PayrollRow() : m_table.rows.front();
    m_mapping = PayrollMappingMemory::recall(PayrollMappingMemory::currentAgent(), header);
}

void PayrollImportSession::chooseSheet(const QString &sheet)
{
    m_table = PayrollFile::read(m_table.path, sheet);
    recallMapping();
}

void PayrollImportSession::setField(int column, PayrollField field)
{
    if (column < 0 || size_t(column) >= m_mapping.size())
        return;
    if (field != PayrollField::Ignored)
        for (PayrollField &other : m_mapping)
            if (other == field)
                other = PayrollField::Ignored;
    m_mapping[size_t(column)] = field;
    if (!m_table.rows.empty())
        PayrollMappingMemory::remember(PayrollMappingMemory::currentAgent(), m_table.rows.front(), m_mapping);
}

QString PayrollImportSession::mappingProblem() const
{
    try {
        PayrollColumns::requireUsable(m_mapping);
    } catch (const EE &e) {
        return e.message();
    }
    return {};
}

std::vector<PayrollLine> PayrollImportSession::lines() const
{
    PayrollColumns::requireUsable(m_mapping);
    return PayrollLines::parse(m_table, m_mapping, m_options.year);
}

PayrollImportResult PayrollImportSession::preview() const
{
    return PayrollImport::preview(lines(), m_options);
}

PayrollImportResult PayrollImportSession::import()
{
    return PayrollImport::run(lines(), m_options);
}
