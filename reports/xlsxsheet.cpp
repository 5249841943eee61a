#include "reports/xlsxsheet.h"
#include "data/ee.h"
#include "reports/spreadsheetexport.h"

#include <QFile>
#include <QSaveFile>

#include <xlsxwriter.h>

namespace {

lxw_datetime toLxw(const QDateTime &moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return lxw_datetime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
}

// The widest column a sheet takes, in characters.
constexpr qsizetype kMaxWidth = 255;

} // namespace

XlsxSheet::XlsxSheet(const QString &path) : m_path(path)
{
    if (!m_scratch.isValid())
        throw EE(SpreadsheetExport::kNoSpreadsheet);
    const QByteArray file = QFile::encodeName(m_scratch.filePath(QStringLiteral("sheet.xlsx")));
    m_scratchPath = QFile::encodeName(m_scratch.path());
    lxw_workbook_options options{};
    options.tmpdir = m_scratchPath.data();
    m_book = workbook_new_opt(file.constData(), &options);
    if (!m_book)
        throw EE(SpreadsheetExport::kNoSpreadsheet);
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    m_text = workbook_add_format(m_book);
    format_set_num_format(m_text, "@");
    m_bold = workbook_add_format(m_book);
    format_set_bold(m_bold);
    m_boldText = workbook_add_format(m_book);
    format_set_bold(m_boldText);
    format_set_num_format(m_boldText, "@");
    m_date = workbook_add_format(m_book);
    format_set_num_format(m_date, "dd.mm.yyyy");
    m_dateTime = workbook_add_format(m_book);
    format_set_num_format(m_dateTime, "dd.mm.yyyy hh:mm:ss");
    if (!m_sheet)
        throw EE(SpreadsheetExport::kNoSpreadsheet);
}

XlsxSheet::~XlsxSheet()
{
    if (m_book)
        workbook_close(m_book); // only the scratch file, which goes with its folder
}

void XlsxSheet::check(int error)
{
    if (error != LXW_NO_ERROR)
        throw EE(SpreadsheetExport::kNoSpreadsheet);
}

bool XlsxSheet::isText(int column) const
{
    return column > 0 && size_t(column) <= m_textColumns.size() && m_textColumns[size_t(column - 1)];
}

void XlsxSheet::widen(int column, qsizetype characters)
{
    if (m_widths.size() < size_t(column))
        m_widths.resize(size_t(column));
    qsizetype &w = m_widths[size_t(column - 1)];
    w = qMax(w, characters);
}

void XlsxSheet::setTextColumn(int column)
{
    if (m_textColumns.size() < size_t(column))
        m_textColumns.resize(size_t(column));
    m_textColumns[size_t(column - 1)] = true;
    widen(column, 0);
}

void XlsxSheet::setBoldRow(int row)
{
    m_boldRow = row;
    check(worksheet_set_row(m_sheet, lxw_row_t(row - 1), LXW_DEF_ROW_HEIGHT, m_bold));
}

void XlsxSheet::writeRow(int row, const std::vector<QVariant> &cells)
{
    const lxw_row_t r = lxw_row_t(row - 1);
    const bool bold = row == m_boldRow;
    for (size_t i = 0; i < cells.size(); ++i) {
        const int column = int(i) + 1;
        const lxw_col_t c = lxw_col_t(i);
        const QVariant &v = cells[i];
        const bool text = isText(column);
        lxw_format *plain = bold ? (text ? m_boldText : m_bold) : (text ? m_text : nullptr);
        widen(column, 0);
        if (v.isNull())
            continue;
        const int type = v.typeId();
        if (type == QMetaType::QDate || type == QMetaType::QDateTime) {
            const QDateTime moment = type == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
            const bool withTime = moment.time() != QTime(0, 0);
            if (moment.date().year() >= 1900 && !text) {
                lxw_datetime d = toLxw(moment);
                check(worksheet_write_datetime(m_sheet, r, c, &d, withTime ? m_dateTime : m_date));
                widen(column, withTime ? 19 : 10);
                continue;
            }
            const QString shown = moment.toString(withTime ? QStringLiteral("dd.MM.yyyy HH:mm:ss")
                                                           : QStringLiteral("dd.MM.yyyy"));
            check(worksheet_write_string(m_sheet, r, c, shown.toUtf8().constData(), plain));
            widen(column, shown.size());
        } else if (type == QMetaType::Double && !text) {
            check(worksheet_write_number(m_sheet, r, c, v.toDouble(), plain));
            widen(column, QString::number(v.toDouble(), 'g', 15).size());
        } else {
            const QString s = v.toString();
            check(worksheet_write_string(m_sheet, r, c, s.toUtf8().constData(), plain));
            widen(column, bold ? s.size() + s.size() / 8 + 1 : s.size());
        }
    }
}

void XlsxSheet::fitColumns()
{
    for (size_t i = 0; i < m_widths.size(); ++i) {
        const double width = double(qMin(kMaxWidth, m_widths[i] + 2));
        check(worksheet_set_column(m_sheet, lxw_col_t(i), lxw_col_t(i), width, isText(int(i) + 1) ? m_text : nullptr));
    }
}

void XlsxSheet::save()
{
    lxw_workbook *book = m_book;
    m_book = nullptr;
    check(workbook_close(book));
    QFile written(m_scratch.filePath(QStringLiteral("sheet.xlsx")));
    QSaveFile out(m_path);
    if (!written.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        throw EE(SpreadsheetExport::kNoSpreadsheet);
    out.write(written.readAll());
    if (!out.commit())
        throw EE(SpreadsheetExport::kNoSpreadsheet);
}
