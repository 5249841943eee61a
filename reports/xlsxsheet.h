#pragma once
// A sheet written as an .xlsx file (libxlsxwriter), for desktops without a spreadsheet program
// to drive: the file appears whole or not at all.

#include "reports/sheettarget.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class XlsxSheet : public SheetTarget
{
public:
    // Raises EE when the workbook cannot be started.
    explicit XlsxSheet(const QString &path);
    ~XlsxSheet() override;
    XlsxSheet(const XlsxSheet &) = delete;
    XlsxSheet &operator=(const XlsxSheet &) = delete;

    void setTextColumn(int column) override;
    void writeRow(int row, const std::vector<QVariant> &cells) override;
    void setBoldRow(int row) override;
    void fitColumns() override;
    // Writes the file at its path; raises EE when it cannot, leaving no file behind.
    void save();

private:
    void check(int error);
    bool isText(int column) const;
    void widen(int column, qsizetype characters);

    QString m_path;
    QTemporaryDir m_scratch;
    QByteArray m_scratchPath; // libxlsxwriter's own temporary files go there too
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr, *m_bold = nullptr, *m_boldText = nullptr, *m_date = nullptr, *m_dateTime = nullptr;
    int m_boldRow = 0;
    std::vector<bool> m_textColumns;
    std::vector<qsizetype> m_widths;
};
