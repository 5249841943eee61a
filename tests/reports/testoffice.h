#pragma once
// A real LibreOffice, started headless with a profile of its own for the tests of this program
// and stopped when they end. While it runs, the office program the export starts hands its
// request over to it, as it hands it to the office a user has open. The documents it holds are
// read back cell by cell through the same interface the export writes with.

#include <QString>
#include <QStringList>

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>

#include <vector>

namespace TestOffice {

namespace css = com::sun::star;

// Starts the office on first use (skips the test when it cannot be started) and points the
// export at it. False when there is no office.
bool use();
// The office's context.
css::uno::Reference<css::uno::XComponentContext> context();
// Closes every document the office holds.
void closeAll();
// The documents the office holds.
std::vector<css::uno::Reference<css::lang::XComponent>> documents();
// A new spreadsheet document, blank.
css::uno::Reference<css::lang::XComponent> newSpreadsheet();
// Writes `text` into a cell of the first sheet ("A1").
void put(const css::uno::Reference<css::lang::XComponent> &document, const QString &ref, const QString &text);
// Adds a Basic module "Module1" with `source` to the document's library "Standard".
void addBasic(const css::uno::Reference<css::lang::XComponent> &document, const QString &source);
// Stores the document at `path` with the office's filter `filter` and closes it.
void storeAndClose(const css::uno::Reference<css::lang::XComponent> &document, const QString &path, const QString &filter);
// The location a document was loaded from or stored at; empty for an untitled one.
QString location(const css::uno::Reference<css::lang::XComponent> &document);
// Asks the office at the end of `pipe` to end.
void terminate(const QString &pipe);
// Reaches an office listening on `pipe`; null when none answers within `seconds`.
css::uno::Reference<css::uno::XComponentContext> reach(const QString &pipe, int seconds);

// The first sheet of a document, read cell by cell; cells are named as in the spreadsheet ("B3").
class Sheet
{
public:
    explicit Sheet(const css::uno::Reference<css::lang::XComponent> &document);
    bool empty(const QString &ref) const;
    bool isText(const QString &ref) const;
    bool isNumber(const QString &ref) const;
    QString text(const QString &ref) const;  // what the cell shows
    double value(const QString &ref) const;
    QString format(const QString &ref) const; // its number format's code, "General" for the standard one
    bool bold(const QString &ref) const;
    // The texts of a row from column A up to its last non-empty cell.
    QStringList row(int row) const;
    // Whether the columns up to `count` are fitted to their contents.
    bool fitted(int count) const;

private:
    css::uno::Reference<css::sheet::XSpreadsheet> m_sheet;
    css::uno::Reference<css::util::XNumberFormats> m_formats;
};

} // namespace TestOffice
