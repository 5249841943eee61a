#pragma once
// The questions and notices an operation needs in its middle. Windows install the Qt
// implementation; tests install a scripted one, so that every rule runs without a screen.

#include <QString>

class Report;

class UserInteraction
{
public:
    virtual ~UserInteraction() = default;
    // Yes/No question captioned "Confirmare"; true for Yes.
    virtual bool confirm(const QString &text) = 0;
    // A plain message with an OK button.
    virtual void inform(const QString &text) = 0;
    // A refusal or database error shown by the top-level handler.
    virtual void showError(const QString &text) = 0;
    // The folder browser; empty when the user cancels.
    virtual QString browseFolder(const QString &caption, const QString &start) = 0;
    // The file dialog for opening an existing file, starting in `startFolder`; `filter` as Qt
    // writes it ("Arhive (*.rar *.RAR)"). Empty when the user cancels.
    virtual QString openFileName(const QString &caption, const QString &startFolder, const QString &filter) = 0;
    // A report laid out by an operation, shown in the preview window.
    virtual void showReport(const Report &report) = 0;
    // The same report sent to the printer the user chooses in the platform's print dialog.
    // Where there is no printer to choose (a command line), nothing is printed.
    virtual void printReport(const Report &report) { (void)report; }
    // A file written for the user (a spreadsheet), opened in the desktop's application for its
    // kind. False when there is none to open it.
    virtual bool openDocument(const QString &path)
    {
        (void)path;
        return false;
    }
    // Whether a window another program opens can be seen: false where there is no display.
    virtual bool windowsCanBeSeen() const { return false; }
    // The wait cursor, nested.
    virtual void beginWait() = 0;
    virtual void endWait() = 0;
    // Long work, told through Progress (platform/progress.h): a step begins inside the one
    // begun before it, with its name, how many units it has (0: not known) and whether it may
    // stop at the boundary of a unit; it is told how far it got and, when it goes in named
    // parts, the part it is in; it ends. progressCancelled() says whether the user asked it to
    // stop. Nothing is shown, and nothing is ever stopped, unless an implementation says so.
    virtual void progressBegin(const QString &name, qint64 total, bool mayStop)
    {
        (void)name;
        (void)total;
        (void)mayStop;
    }
    virtual void progressUpdate(qint64 done, qint64 total, const QString &part)
    {
        (void)done;
        (void)total;
        (void)part;
    }
    virtual bool progressCancelled() { return false; }
    virtual void progressEnd() { }
};

// The implementation in force. Before one is installed, questions are answered No and
// notices go nowhere.
UserInteraction &userInteraction();
void setUserInteraction(UserInteraction *ui);

// Shows the wait cursor for its lifetime and restores the previous cursor on every way out.
class WaitCursor
{
public:
    WaitCursor() { userInteraction().beginWait(); }
    ~WaitCursor() { userInteraction().endWait(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
