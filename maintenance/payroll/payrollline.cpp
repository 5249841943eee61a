#include "maintenance/payroll/payrollline.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrollvalue.h"

#include <algorithm>
#include <limits>

namespace {

using PayrollValue::AmountForm;

// The longest name the database keeps.
constexpr int kNameChars = 254;

// Reads one line of the table with the mapping; each problem found is added to `problems`.
class LineReader
{
public:
    LineReader(const PayrollTable &table, const PayrollMapping &mapping, size_t row, QStringList *problems)
        : m_table(table), m_mapping(mapping), m_row(table.rows[row]), m_line(table.lineNumbers[row]),
          m_problems(problems)
    { }

    // The cell of the first column taken for `field`; an empty cell when there is none.
    const PayrollCell &cell(PayrollField field) const
    {
        static const PayrollCell none;
        const size_t column = columnOf(field);
        return column < m_row.size() ? m_row[column] : none;
    }
    bool given(PayrollField field) const { return cell(field).kind != PayrollCell::Kind::Empty; }

    QString code(PayrollField field, int width) const
    {
        return given(field) ? PayrollValue::code(cell(field), width) : QString();
    }

    QString name(PayrollField field) const
    {
        const QString text = PayrollValue::shown(cell(field));
        if (text.size() > kNameChars)
            m_problems->append(PayrollMessages::textTooLong(PayrollColumns::caption(field), kNameChars));
        return text;
    }

    QDate date(PayrollField field) const
    {
        if (!given(field))
            return QDate();
        const QDate d = PayrollValue::date(cell(field));
        if (!d.isValid())
            m_problems->append(PayrollMessages::notADate(PayrollValue::shown(cell(field)), columnName(field)));
        return d;
    }

    std::optional<double> amount(PayrollField field) const
    {
        if (!given(field))
            return std::nullopt;
        double value = 0;
        const QString shown = PayrollValue::shown(cell(field));
        switch (PayrollValue::amount(cell(field), &value)) {
        case AmountForm::Number:
            return value;
        case AmountForm::Thousands:
            m_problems->append(PayrollMessages::thousandsSeparator(shown, m_line, columnName(field)));
            break;
        case AmountForm::Ambiguous:
            m_problems->append(PayrollMessages::thousandsOrDecimals(shown, m_line, columnName(field)));
            break;
        case AmountForm::NotANumber:
            m_problems->append(PayrollMessages::notANumber(shown));
            break;
        }
        return std::nullopt;
    }

    std::optional<int> codeNumber(PayrollField field) const
    {
        if (!given(field))
            return std::nullopt;
        const auto n = PayrollValue::whole(cell(field));
        if (!n || *n < 0 || *n > std::numeric_limits<int>::max()) {
            m_problems->append(
                PayrollMessages::notACode(PayrollColumns::caption(field), PayrollValue::shown(cell(field))));
            return std::nullopt;
        }
        return int(*n);
    }

    // Cells after the last column of the header: in a text file, a separator too many (a decimal
    // comma not quoted, a separator inside a name) that shifts the values into other columns.
    void checkWidth() const
    {
        if (m_table.separator.isNull() || m_table.rows.empty())
            return;
        const size_t header = m_table.rows.front().size();
        if (m_row.size() > header)
            m_problems->append(
                PayrollMessages::moreFieldsThanHeader(int(m_row.size()), int(header), m_table.separator == u','));
    }

    int line() const { return m_line; }

private:
    size_t columnOf(PayrollField field) const
    {
        for (size_t i = 0; i < m_mapping.size(); ++i) {
            if (m_mapping[i] == field)
                return i;
        }
        return size_t(-1);
    }

    // The column as the user knows it: its title in the file, or the field's caption.
    QString columnName(PayrollField field) const
    {
        const size_t column = columnOf(field);
        const PayrollRow &header = m_table.rows.front();
        const QString title = column < header.size() ? PayrollValue::shown(header[column]) : QString();
        return title.isEmpty() ? PayrollColumns::caption(field) : title;
    }

    const PayrollTable &m_table;
    const PayrollMapping &m_mapping;
    const PayrollRow &m_row;
    int m_line;
    QStringList *m_problems;
};

bool isEmpty(const PayrollRow &row)
{
    return std::all_of(row.begin(), row.end(), [](const PayrollCell &c) { return c.kind == PayrollCell::Kind::Empty; });
}

void readPerson(const LineReader &r, PayrollLine *l, QStringList *problems)
{
    l->cpas = r.code(PayrollField::Cpas, 11);
    l->idnp = r.code(PayrollField::Idnp, 13);
    if (l->cpas.isEmpty() && l->idnp.isEmpty())
        problems->append(PayrollMessages::noPerson());
    if (!l->cpas.isEmpty() && !PayrollValue::isDigits(l->cpas))
        problems->append(PayrollMessages::cpasNotDigits(l->cpas));
    else if (l->cpas.size() > 13)
        problems->append(PayrollMessages::cpasTooLong(l->cpas));
    if (!l->idnp.isEmpty() && !PayrollValue::isDigits(l->idnp))
        problems->append(PayrollMessages::idnpNotDigits(l->idnp));
    else if (!l->idnp.isEmpty() && l->idnp.size() != 13)
        problems->append(PayrollMessages::idnpLength(l->idnp));
    l->familyName = r.name(PayrollField::FamilyName);
    l->givenName = r.name(PayrollField::GivenName);
    l->patronymic = r.name(PayrollField::Patronymic);
    l->birthDate = r.date(PayrollField::BirthDate);
}

void readMonth(const LineReader &r, int year, PayrollLine *l, QStringList *problems)
{
    const PayrollCell &cell = r.cell(PayrollField::Month);
    const QString shown = PayrollValue::shown(cell);
    if (cell.kind == PayrollCell::Kind::Empty) {
        problems->append(PayrollMessages::noMonth());
    } else if (cell.kind == PayrollCell::Kind::Date) {
        if (cell.date.year() == year)
            l->month = cell.date.month();
        else
            problems->append(PayrollMessages::monthOfAnotherYear(shown, year));
    } else if (const auto n = PayrollValue::whole(cell)) {
        if (*n >= 1 && *n <= 12)
            l->month = int(*n);
        else
            problems->append(PayrollMessages::noSuchMonth(QString::number(*n), false));
    } else if (const int byName = PayrollValue::monthByName(shown); cell.kind == PayrollCell::Kind::Text && byName) {
        l->month = byName;
    } else {
        problems->append(PayrollMessages::noSuchMonth(shown, cell.kind == PayrollCell::Kind::Text));
    }

    l->from = r.date(PayrollField::From);
    l->to = r.date(PayrollField::To);
    const QDate first = l->month ? QDate(year, l->month, 1) : QDate();
    if (!r.given(PayrollField::From))
        l->from = first;
    if (!r.given(PayrollField::To))
        l->to = first.isValid() ? first.addMonths(1).addDays(-1) : QDate();

    if (r.given(PayrollField::Days)) {
        const auto days = PayrollValue::whole(r.cell(PayrollField::Days));
        if (days && (*days == 5 || *days == 6))
            l->days = int(*days);
        else
            problems->append(PayrollMessages::workingDays(PayrollValue::shown(r.cell(PayrollField::Days))));
    }
    if (r.given(PayrollField::FormType)) {
        const auto type = PayrollValue::whole(r.cell(PayrollField::FormType));
        if (type && (*type == 1 || *type == 3))
            l->formType = int(*type);
        else
            problems->append(PayrollMessages::formType(PayrollValue::shown(r.cell(PayrollField::FormType))));
    }
}

} // namespace

namespace PayrollLines {

std::vector<PayrollLine> parse(const PayrollTable &table, const PayrollMapping &mapping, int year)
{
    std::vector<PayrollLine> lines;
    for (size_t row = 1; row < table.rows.size() && row < table.lineNumbers.size(); ++row) {
        if (isEmpty(table.rows[row]))
            continue;
        QStringList problems;
        const LineReader r(table, mapping, row, &problems);
        PayrollLine l;
        l.line = r.line();
        r.checkWidth();
        readPerson(r, &l, &problems);
        readMonth(r, year, &l, &problems);
        l.payFund = r.amount(PayrollField::PayFund);
        l.sickPay = r.amount(PayrollField::SickPay);
        l.individual = r.amount(PayrollField::IndividualContribution);
        l.employer = r.amount(PayrollField::EmployerContribution);
        l.category = r.codeNumber(PayrollField::Category);
        l.function = r.codeNumber(PayrollField::Function);
        problems.removeDuplicates();
        l.refusal = problems.join(QStringLiteral("; "));
        lines.push_back(std::move(l));
    }
    return lines;
}

} // namespace PayrollLines
