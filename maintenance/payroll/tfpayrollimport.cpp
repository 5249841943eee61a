#include "maintenance/payroll/tfpayrollimport.h"
#include "maintenance/payroll/payrollimportsession.h"
#include "maintenance/payroll/payrollmappingmemory.h"
#include "maintenance/payroll/payrollpreviewmodel.h"
#include "persons/personsworkspace.h"
#include "platform/clock.h"
#include "platform/guard.h"
#include "platform/userinteraction.h"
#include "reports/payrollrefusals.h"
#include "ui_tfpayrollimport.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSignalBlocker>

namespace {

template <class Sender, class Signal, class Handler>
void guarded(Sender *sender, Signal signal, QObject *context, Handler handler)
{
    QObject::connect(sender, signal, context, [handler] { runGuarded(handler); });
}

QString fieldComboName(int column)
{
    return QStringLiteral("fieldCombo%1").arg(column);
}

} // namespace

TFPayrollImport::TFPayrollImport(const QString &path, int year, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFPayrollImport>()),
      m_session(std::make_unique<PayrollImportSession>(path, year > 0 ? year : Clock::today().year())),
      m_model(new PayrollPreviewModel(this))
{
    m_ui->setupUi(this);
    m_ui->fileEdit->setText(QDir::toNativeSeparators(path));
    m_ui->yearCombo->addItems(PersonsWorkspace::yearItems(Clock::today().year()));
    m_ui->yearCombo->setCurrentText(QString::number(m_session->year()));
    m_ui->linesTable->setModel(m_model);
    m_ui->linesTable->verticalHeader()->hide();
    m_ui->linesTable->horizontalHeader()->setStretchLastSection(true);
    m_ui->columnsTable->verticalHeader()->hide();
    m_ui->columnsTable->horizontalHeader()->setStretchLastSection(true);
    showSheets();
    showColumns();

    guarded(m_ui->sheetCombo, &QComboBox::currentIndexChanged, this, [this] { sheetChosen(); });
    guarded(m_ui->yearCombo, &QComboBox::currentIndexChanged, this, [this] { yearChosen(); });
    guarded(m_ui->addPersonsCheck, &QCheckBox::toggled, this, [this] {
        m_session->setAddPersons(m_ui->addPersonsCheck->isChecked());
        refresh();
    });
    guarded(m_ui->importButton, &QPushButton::clicked, this, [this] { importLines(); });
    guarded(m_ui->printButton, &QPushButton::clicked, this, [this] { printRefusals(); });
    guarded(m_ui->exportButton, &QPushButton::clicked, this, [this] { exportRefusals(); });
    connect(m_ui->closeButton, &QPushButton::clicked, this, &QDialog::accept);
    refresh();
}

TFPayrollImport::~TFPayrollImport() = default;

QString TFPayrollImport::chooseFile()
{
    return userInteraction().openFileName(QStringLiteral("Importul salariilor"), QDir::homePath(),
                                          QStringLiteral("Fișiere de salarii (*.csv *.txt *.xlsx *.ods *.CSV *.TXT "
                                                         "*.XLSX *.ODS);;Toate fișierele (*)"));
}

// The sheets of a spreadsheet to choose from; a text file has none.
void TFPayrollImport::showSheets()
{
    const QSignalBlocker quiet(m_ui->sheetCombo);
    const PayrollTable &table = m_session->table();
    m_ui->sheetCombo->clear();
    m_ui->sheetCombo->addItems(table.sheets);
    m_ui->sheetCombo->setCurrentText(table.sheet);
    m_ui->sheetCombo->setEnabled(table.sheets.size() > 1);
}

// A row for each column of the file: its title, its value on the first line, and what it is
// taken for.
void TFPayrollImport::showColumns()
{
    const PayrollTable &table = m_session->table();
    const PayrollRow header = table.rows.empty() ? PayrollRow() : table.rows.front();
    QTableWidget *grid = m_ui->columnsTable;
    grid->setRowCount(int(header.size()));
    const std::vector<PayrollField> fields = PayrollColumns::all();
    for (int c = 0; c < int(header.size()); ++c) {
        const QString title = PayrollMappingMemory::title(header[size_t(c)]);
        grid->setItem(c, 0, new QTableWidgetItem(title));
        const PayrollRow *first = table.rows.size() > 1 ? &table.rows[1] : nullptr;
        grid->setItem(c, 1,
                      new QTableWidgetItem(first && size_t(c) < first->size()
                                               ? PayrollMappingMemory::title((*first)[size_t(c)])
                                               : QString()));
        auto *choice = new QComboBox(grid);
        choice->setObjectName(fieldComboName(c));
        choice->setAccessibleName(QStringLiteral("Se ia ca: %1").arg(title));
        for (PayrollField f : fields)
            choice->addItem(PayrollColumns::caption(f));
        grid->setCellWidget(c, 2, choice);
        connect(choice, &QComboBox::currentIndexChanged, this,
                [this, c](int index) { runGuarded([this, c, index] { fieldChosen(c, index); }); });
    }
    grid->resizeColumnsToContents();
    grid->horizontalHeader()->setStretchLastSection(true);
    showFields();
}

void TFPayrollImport::showFields()
{
    const std::vector<PayrollField> fields = PayrollColumns::all();
    const PayrollMapping &mapping = m_session->mapping();
    for (int c = 0; c < int(mapping.size()); ++c) {
        auto *choice = qobject_cast<QComboBox *>(m_ui->columnsTable->cellWidget(c, 2));
        if (!choice)
            continue;
        const QSignalBlocker quiet(choice);
        choice->setCurrentIndex(int(std::find(fields.begin(), fields.end(), mapping[size_t(c)]) - fields.begin()));
    }
}

// The lines with what importing them does now, and the counts above them; the message instead
// when the columns cannot be imported as they are taken.
void TFPayrollImport::refresh()
{
    const QString problem = m_session->mappingProblem();
    PayrollImportResult result;
    if (problem.isEmpty())
        result = m_session->preview();
    const int toWrite = result.count(PayrollOutcome::Fate::NewRow) + result.count(PayrollOutcome::Fate::NewPerson);
    m_model->setResult(result);
    m_ui->linesTable->resizeColumnsToContents();
    m_ui->linesTable->horizontalHeader()->setStretchLastSection(true);
    m_ui->countsLabel->setText(problem.isEmpty() ? result.counts() : problem);
    m_ui->importButton->setEnabled(toWrite > 0);
    m_ui->printButton->setEnabled(result.refused() > 0);
    m_ui->exportButton->setEnabled(result.refused() > 0);
}

void TFPayrollImport::fieldChosen(int column, int choice)
{
    const std::vector<PayrollField> fields = PayrollColumns::all();
    if (choice < 0 || size_t(choice) >= fields.size())
        return;
    m_session->setField(column, fields[size_t(choice)]);
    showFields();
    refresh();
}

void TFPayrollImport::sheetChosen()
{
    try {
        m_session->chooseSheet(m_ui->sheetCombo->currentText());
    } catch (...) {
        showSheets(); // the sheet read before stays
        throw;
    }
    showColumns();
    refresh();
}

void TFPayrollImport::yearChosen()
{
    m_session->setYear(m_ui->yearCombo->currentText().toInt());
    refresh();
}

// Writes the lines, tells the owner what was done, and shows the lines as they stand now.
void TFPayrollImport::importLines()
{
    const PayrollImportResult done = m_session->import();
    emit imported(done.summary());
    refresh();
}

void TFPayrollImport::printRefusals()
{
    PayrollRefusals::show(m_session->table().path, m_session->year(), m_model->result());
}

void TFPayrollImport::exportRefusals()
{
    const QString path = PayrollRefusals::exportCsv(m_session->table(), m_model->result(), Clock::now());
    userInteraction().inform(QStringLiteral("Rîndurile refuzate au fost scrise în fișierul ")
                             + QDir::toNativeSeparators(path));
}
