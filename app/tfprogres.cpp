#include "app/tfprogres.h"
#include "platform/progress.h"
#include "ui_tfprogres.h"

#include <QCloseEvent>

#include <algorithm>
#include <climits>

TFProgres::TFProgres(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFProgres>())
{
    m_ui->setupUi(this);
    m_ui->cancelButton->hide();
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &TFProgres::askToStop);
}

TFProgres::~TFProgres() = default;

void TFProgres::showLine(QLabel *caption, QProgressBar *bar, QLabel *count, const Line &line)
{
    caption->setText(line.text);
    if (line.total > 0) {
        const int total = int(std::min<qint64>(line.total, INT_MAX));
        bar->setRange(0, total);
        bar->setValue(int(std::clamp<qint64>(line.done, 0, total)));
        count->setText(Progress::ofText(line.done, line.total));
    } else {
        bar->setRange(0, 0); // a count not known: the bar only shows that the work goes on
        count->clear();
    }
}

void TFProgres::showProgress(const QString &title, const Line &operation, const std::optional<Line> &step, bool mayStop)
{
    setWindowTitle(title);
    showLine(m_ui->operationCaption, m_ui->operationBar, m_ui->operationCount, operation);
    for (QWidget *w : {static_cast<QWidget *>(m_ui->stepCaption), static_cast<QWidget *>(m_ui->stepBar),
                       static_cast<QWidget *>(m_ui->stepCount)})
        w->setVisible(step.has_value());
    if (step)
        showLine(m_ui->stepCaption, m_ui->stepBar, m_ui->stepCount, *step);
    m_mayStop = mayStop;
    m_ui->cancelButton->setVisible(mayStop);
    m_ui->cancelButton->setEnabled(mayStop && !m_stopAsked);
}

void TFProgres::askToStop()
{
    if (!m_mayStop || m_stopAsked)
        return;
    m_stopAsked = true;
    m_ui->cancelButton->setEnabled(false);
    emit stopRequested();
}

void TFProgres::reject()
{
    // The window closes when the work ends, never before: Escape only asks it to stop.
    askToStop();
}

void TFProgres::closeEvent(QCloseEvent *event)
{
    event->ignore();
    askToStop();
}
