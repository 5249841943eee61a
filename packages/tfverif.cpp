#include "packages/tfverif.h"
#include "packages/packageclassifiers.h"
#include "platform/guard.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "reports/packagecheckreport.h"
#include "ui_tfverif.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>

TFVerif::TFVerif(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFVerif>())
{
    m_ui->setupUi(this);
    QHeaderView *header = m_ui->findingsGrid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setStretchLastSection(true);
    m_ui->findingsGrid->verticalHeader()->hide();
    m_ui->printButton->setEnabled(false);

    connect(m_ui->chooseButton, &QPushButton::clicked, this, [this] {
        runGuarded([this] {
            if (chooseArchive())
                checkArchive(m_path);
        });
    });
    connect(m_ui->printButton, &QPushButton::clicked, this, [this] { runGuarded([this] { printFindings(); }); });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

TFVerif::~TFVerif() = default;

void TFVerif::run(QWidget *parent)
{
    TFVerif window(parent);
    if (!window.chooseArchive())
        return;
    window.checkArchive(window.m_path);
    window.exec();
}

void TFVerif::offer(QWidget *parent, const QString &archivePath)
{
    if (!userInteraction().confirm(
            QStringLiteral("Verificați pachetul electronic %1 ?").arg(QFileInfo(archivePath).fileName())))
        return;
    TFVerif window(parent);
    window.checkArchive(archivePath);
    window.exec();
}

bool TFVerif::chooseArchive()
{
    const QString start = m_path.isEmpty() ? Platform::inDataFolder(QStringLiteral("Primara"))
                                           : QFileInfo(m_path).absolutePath();
    const QString path = userInteraction().openFileName(QStringLiteral("Pachetul electronic de verificat"), start,
                                                        QStringLiteral("Pachete electronice (*.rar *.RAR);;"
                                                                       "Toate fișierele (*)"));
    if (path.isEmpty())
        return false;
    m_path = path;
    return true;
}

void TFVerif::checkArchive(const QString &path)
{
    m_path = path;
    m_ui->archivePath->setText(QDir::toNativeSeparators(path));
    {
        WaitCursor wait;
        const std::optional<PackageClassifiers> classifiers = PackageClassifiers::fromDataModule();
        m_result = PackageCheck::checkArchive(path, classifiers ? &*classifiers : nullptr);
    }
    showFindings();
    emit checked(path, m_result.errors(), m_result.warnings());
}

void TFVerif::showFindings()
{
    QTableWidget *grid = m_ui->findingsGrid;
    grid->setRowCount(int(m_result.findings.size()));
    int row = 0;
    for (const PackageFinding &f : m_result.findings) {
        auto cell = [&](int column, const QString &text, Qt::Alignment align = Qt::AlignCenter) {
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(align | Qt::AlignVCenter);
            if (f.severity == PackageFinding::Warning)
                item->setForeground(QColor(0x80, 0x60, 0x00));
            grid->setItem(row, column, item);
        };
        cell(0, f.member.isEmpty() ? QStringLiteral("arhiva") : f.member);
        cell(1, f.line > 0 ? QString::number(f.line) : QString());
        cell(2, f.field > 0 ? QString::number(f.field) : QString());
        cell(3, (f.severity == PackageFinding::Warning ? QStringLiteral("Avertisment: ") : QString()) + f.message,
             Qt::AlignLeft);
        ++row;
    }
    grid->resizeRowsToContents();
    if (!m_result.readable)
        m_ui->countsLabel->setText(QStringLiteral("Arhiva nu poate fi citită."));
    else if (m_result.findings.empty())
        m_ui->countsLabel->setText(QStringLiteral("Pachetul nu are greșeli."));
    else
        m_ui->countsLabel->setText(
            QStringLiteral("Erori: %1, avertismente: %2").arg(m_result.errors()).arg(m_result.warnings()));
    m_ui->printButton->setEnabled(true);
}

void TFVerif::printFindings()
{
    PackageCheckReport::show(m_path, m_result);
}
