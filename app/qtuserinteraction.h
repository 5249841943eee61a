#pragma once
// The questions, notices and wait cursor of the operations, shown with Qt's message boxes, and
// the progress of long work in a window of its own.

#include "platform/userinteraction.h"

#include <QElapsedTimer>
#include <QPointer>
#include <vector>

class QWidget;
class TFProgres;

class QtUserInteraction : public UserInteraction
{
public:
    bool confirm(const QString &text) override;
    void inform(const QString &text) override;
    void showError(const QString &text) override;
    QString browseFolder(const QString &caption, const QString &start) override;
    QString openFileName(const QString &caption, const QString &startFolder, const QString &filter) override;
    void showReport(const Report &report) override;
    void printReport(const Report &report) override;
    bool openDocument(const QString &path) override;
    bool windowsCanBeSeen() const override;
    void beginWait() override;
    void endWait() override;

    // Long work shows its window once it has run this long (half a second): work that ends
    // sooner shows nothing. While the window is shown it is refreshed, and the events of the
    // program handled, at most every kRefreshMs; it blocks the other windows meanwhile.
    void progressBegin(const QString &name, qint64 total, bool mayStop) override;
    void progressUpdate(qint64 done, qint64 total, const QString &part) override;
    bool progressCancelled() override { return m_stopAsked; }
    void progressEnd() override;
    void setProgressDelay(int ms) { m_progressDelayMs = ms; }
    static constexpr int kProgressDelayMs = 500;
    static constexpr int kRefreshMs = 40;

private:
    static QWidget *parentWindow();
    void refreshProgress();
    void closeProgress();

    struct ProgressLevel {
        QString name, part;
        qint64 done = 0, total = 0;
        bool mayStop = false;
    };
    std::vector<ProgressLevel> m_progress; // the open steps, outermost first
    QElapsedTimer m_progressStarted, m_progressShown;
    QPointer<TFProgres> m_progressWindow;
    int m_progressDelayMs = kProgressDelayMs;
    bool m_stopAsked = false;
};
