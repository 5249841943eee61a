#pragma once
// A new spreadsheet document in LibreOffice Calc, driven through its automation interface
// (UNO): the office the user already has open, or one started for the purpose. Rows are
// collected and written a block at a time, one call per block of cells; the document is left
// open and shown to the user.

#include "reports/sheettarget.h"

#include <QString>
#include <memory>
#include <vector>

class OfficeSheet : public SheetTarget
{
public:
    // The office program started when none can be reached: "soffice" in the folder named by
    // the environment variable UNO_PATH when it is set, else "soffice" on the PATH. Empty when
    // there is none.
    static QString officeProgram();
    // Whether that office can show a document's window: its program folder (UNO_PATH, else the
    // folder "soffice" on the PATH leads to) holds a plugin of a desktop's windowing system
    // (libvclplug_*). The variant built without them runs only without a display; asked to show
    // a document on a desktop, it aborts.
    static bool canShowWindows();

    // A new document, from `templatePath` as a template when that file exists (a new untitled
    // document; the template itself is not touched), else blank; `visible` false keeps its
    // window hidden, and an office started for it runs without a display. Null when no office can be
    // reached or started; `why` then tells the reason. Raises EE when the office is reached
    // but refuses the document.
    static std::unique_ptr<OfficeSheet> open(const QString &templatePath, bool visible, QString *why = nullptr);
    ~OfficeSheet() override;
    OfficeSheet(const OfficeSheet &) = delete;
    OfficeSheet &operator=(const OfficeSheet &) = delete;

    // Errors of the office raise EE with its message.
    void setTextColumn(int column) override;
    void writeRow(int row, const std::vector<QVariant> &cells) override;
    void setBoldRow(int row) override;
    void fitColumns() override;
    // Writes what is still collected, lets the document repaint and brings its window to the
    // front when it has one. Also done, errors ignored, when the sheet is dropped without it.
    void show();
    // Runs the document's Basic macro `name` (looked up in every module of the document's
    // libraries). False when the document has none or the macro fails; nothing is raised.
    bool runMacro(const QString &name);

    // One call into the office per cell instead of one per block: for measuring the two ways.
    void setCellByCell(bool on);

private:
    struct Impl;
    explicit OfficeSheet(std::unique_ptr<Impl> impl);
    void flush();
    std::unique_ptr<Impl> d;
};
