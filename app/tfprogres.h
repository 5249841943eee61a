#pragma once
// The window of long work: what runs, the step it is at and how far it got ("n din m"), and
// "Anulare" for work that may stop between two rows. It only shows what it is given; the Qt
// user interaction decides when it appears and how often it is refreshed.

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class TFProgres;
}
class QLabel;
class QProgressBar;

class TFProgres : public QDialog
{
    Q_OBJECT
public:
    // One line of the window: a text, and how many of how many units are done (no count
    // when the total is not known).
    struct Line {
        QString text;
        qint64 done = 0, total = 0;
    };

    explicit TFProgres(QWidget *parent = nullptr);
    ~TFProgres() override;

    // The operation (the window's title), its line, the line of the step running inside it
    // when there is one, and whether the work may be stopped now.
    void showProgress(const QString &title, const Line &operation, const std::optional<Line> &step, bool mayStop);

signals:
    // "Anulare", Escape or the window's close button, while the work may stop.
    void stopRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void askToStop();
    static void showLine(QLabel *caption, QProgressBar *bar, QLabel *count, const Line &line);

    std::unique_ptr<Ui::TFProgres> m_ui;
    bool m_mayStop = false;
    bool m_stopAsked = false;
};
