#include "maintenance/payroll/payrollods.h"
#include "data/ee.h"
#include "data/formats.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrolltablebuilder.h"
#include "maintenance/payroll/payrollxml.h"
#include "maintenance/payroll/payrollzip.h"

#include <charconv>
#include <cmath>

namespace {

constexpr size_t kMaxTextBytes = size_t(PayrollLimits::kCellChars + 1) * 4;

// A repeat count: at least 1; a count no sheet has is cut to one that still passes every bound.
std::int64_t repeat(std::string_view s)
{
    std::int64_t n = 1;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), n);
    if (res.ec != std::errc() || n < 1)
        return 1;
    return qMin<std::int64_t>(n, std::int64_t(1) << 40);
}

class ContentReader : public PayrollXml::Handler
{
public:
    ContentReader(PayrollTableBuilder &builder, const QString &file, const QString &sheet)
        : m_builder(builder), m_file(file), m_wanted(sheet)
    { }

    const QStringList &sheets() const { return m_sheets; }
    // The sheet whose cells the builder holds; empty when none was taken.
    const QString &chosen() const { return m_chosen; }

    void start(std::string_view name, const PayrollXml::Attributes &a) override
    {
        if (m_inCell) {
            startInCell(name, a);
        } else if (name == "table") {
            startTable(a);
        } else if (!m_collecting) {
        } else if (name == "table-row") {
            m_rowRepeat = repeat(a.value("number-rows-repeated"));
            m_column = 0;
            m_rowCells.clear();
        } else if (name == "table-cell" || name == "covered-table-cell") {
            m_inCell = true;
            m_cellRepeat = repeat(a.value("number-columns-repeated"));
            m_type = a.value("value-type");
            m_value = a.value("value");
            m_dateValue = a.value("date-value");
            m_stringValue = a.value("string-value");
            m_hasStringValue = a.has("string-value");
            m_shown.clear();
            m_paragraphs = 0;
            m_depth = 0;
        }
    }

    void end(std::string_view name) override
    {
        if (m_inCell) {
            if (m_depth > 0) {
                endInCell(name);
                return;
            }
            m_inCell = false;
            endCell();
        } else if (name == "table-row" && m_collecting) {
            endRow();
        } else if (name == "table" && m_collecting) {
            m_collecting = false;
            if (!m_wanted.isEmpty() || !m_builder.isEmpty())
                m_chosen = m_sheets.last();
        }
    }

    void text(std::string_view t) override
    {
        if (m_inParagraph && m_annotation == 0)
            add(t);
    }

private:
    void startTable(const PayrollXml::Attributes &a)
    {
        if (m_sheets.size() >= PayrollLimits::kMembers)
            throw EE(PayrollMessages::damaged(m_file, QStringLiteral("prea multe foi")));
        m_sheets.append(PayrollXml::text(a.value("name")));
        // The sheet named, or, without a name, each sheet until one has something in it.
        m_collecting = m_chosen.isEmpty() && (m_wanted.isEmpty() || m_sheets.last() == m_wanted);
        if (m_collecting)
            m_builder.clear();
        m_row = 0;
    }

    void startInCell(std::string_view name, const PayrollXml::Attributes &a)
    {
        ++m_depth;
        if (name == "annotation") {
            ++m_annotation;
        } else if (m_annotation > 0) {
        } else if (name == "p" || name == "h") {
            if (m_paragraphs++ > 0)
                add("\n");
            m_inParagraph = true;
        } else if (name == "s" && m_inParagraph) {
            const std::int64_t blanks = qMin<std::int64_t>(repeat(a.value("c")), std::int64_t(kMaxTextBytes));
            add(std::string(size_t(blanks), ' '));
        } else if (name == "tab" && m_inParagraph) {
            add("\t");
        } else if (name == "line-break" && m_inParagraph) {
            add("\n");
        }
    }

    void endInCell(std::string_view name)
    {
        --m_depth;
        if (name == "annotation")
            --m_annotation;
        else if ((name == "p" || name == "h") && m_annotation == 0)
            m_inParagraph = false;
    }

    void add(std::string_view t)
    {
        if (m_shown.size() < kMaxTextBytes)
            m_shown.append(t.substr(0, kMaxTextBytes - m_shown.size()));
    }

    PayrollCell cell() const
    {
        PayrollCell c;
        const QString shown = PayrollXml::text(m_shown);
        if (m_type == "float" || m_type == "percentage" || m_type == "currency") {
            double v = 0;
            const auto res = std::from_chars(m_value.data(), m_value.data() + m_value.size(), v);
            if (res.ec == std::errc() && res.ptr == m_value.data() + m_value.size() && std::isfinite(v)) {
                c.kind = PayrollCell::Kind::Number;
                c.number = v;
                c.text = shown.isEmpty() ? Formats::floatText(v) : shown;
                return c;
            }
        } else if (m_type == "date") {
            const std::string_view day = std::string_view(m_dateValue).substr(0, 10);
            const QDate d = m_dateValue.size() >= 10 && (m_dateValue.size() == 10 || m_dateValue[10] == 'T')
                                ? QDate::fromString(PayrollXml::text(day), Qt::ISODate)
                                : QDate();
            if (d.isValid()) {
                c.kind = PayrollCell::Kind::Date;
                c.date = d;
                c.text = Formats::dateText(d);
                return c;
            }
        }
        return PayrollTableBuilder::textCell(m_type == "string" && m_hasStringValue ? PayrollXml::text(m_stringValue)
                                                                                    : shown);
    }

    void endCell()
    {
        m_inParagraph = false;
        m_annotation = 0;
        PayrollCell c = cell();
        if (c.kind != PayrollCell::Kind::Empty) {
            for (std::int64_t k = 0; k < m_cellRepeat; ++k) {
                if (m_column + k >= PayrollLimits::kColumns)
                    throw EE(PayrollMessages::tooManyColumns(m_file, int(qMin<std::int64_t>(m_row, 1 << 30)) + 1));
                m_rowCells.emplace_back(m_column + k, c);
            }
        }
        m_column += m_cellRepeat;
    }

    void endRow()
    {
        if (!m_rowCells.empty()) {
            for (std::int64_t r = 0; r < m_rowRepeat; ++r) {
                for (const auto &[column, c] : m_rowCells)
                    m_builder.add(m_row + r, column, c);
            }
        }
        m_row += m_rowRepeat;
    }

    PayrollTableBuilder &m_builder;
    QString m_file, m_wanted, m_chosen;
    QStringList m_sheets;
    bool m_collecting = false;
    std::int64_t m_row = 0, m_column = 0, m_rowRepeat = 1, m_cellRepeat = 1;
    std::vector<std::pair<std::int64_t, PayrollCell>> m_rowCells;
    bool m_inCell = false, m_inParagraph = false, m_hasStringValue = false;
    int m_depth = 0, m_annotation = 0, m_paragraphs = 0;
    std::string m_type, m_value, m_dateValue, m_stringValue, m_shown;
};

} // namespace

void PayrollOds::read(PayrollZip &zip, const QString &file, const QString &sheet, PayrollTable *table)
{
    if (zip.find(QStringLiteral("content.xml")).isEmpty())
        throw EE(PayrollMessages::notSpreadsheet(file));
    PayrollTableBuilder builder(file);
    ContentReader reader(builder, file, sheet);
    QString error;
    if (!PayrollXml::parse(zip.read(QStringLiteral("content.xml")), reader, &error))
        throw EE(PayrollMessages::damaged(file, QStringLiteral("partea „content.xml”: %1").arg(error)));
    table->sheets = reader.sheets();
    if (table->sheets.isEmpty())
        throw EE(PayrollMessages::noSheets(file));
    if (!sheet.isEmpty() && !table->sheets.contains(sheet))
        throw EE(PayrollMessages::noSheet(file, sheet));
    if (reader.chosen().isEmpty() || builder.isEmpty())
        throw EE(sheet.isEmpty() ? PayrollMessages::empty(file) : PayrollMessages::emptySheet(file, sheet));
    table->sheet = reader.chosen();
    builder.moveTo(table);
}
