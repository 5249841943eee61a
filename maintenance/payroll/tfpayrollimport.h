#pragma once
// The window "Importul salariilor": a payroll file of the current agent, what each of its
// columns is taken for, and every line with what importing it will do, before the lines are
// written; the refused lines printed or exported to be mended in the payroll program.

#include <QDialog>
#include <memory>

class PayrollImportSession;
class PayrollPreviewModel;
namespace Ui {
class TFPayrollImport;
}

class TFPayrollImport : public QDialog
{
    Q_OBJECT
public:
    // Reads the file for the year (its first sheet); raises EE when it cannot be read.
    TFPayrollImport(const QString &path, int year, QWidget *parent = nullptr);
    ~TFPayrollImport() override;

    // The file dialog of the menu entry: a payroll file chosen, or empty.
    static QString chooseFile();

    const PayrollImportSession &session() const { return *m_session; }

signals:
    // The lines were imported; what was done, in the words shown to the user.
    void imported(const QString &summary);

private:
    void showSheets();
    void showColumns();
    void showFields();
    void refresh();
    void fieldChosen(int column, int choice);
    void sheetChosen();
    void yearChosen();
    void importLines();
    void printRefusals();
    void exportRefusals();

    std::unique_ptr<Ui::TFPayrollImport> m_ui;
    std::unique_ptr<PayrollImportSession> m_session;
    PayrollPreviewModel *m_model;
};
