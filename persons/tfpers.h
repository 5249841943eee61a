#pragma once
// The persons workspace: persons of the economic agent, their declaration of the chosen year
// and its monthly rows. Created once at start-up; the main menu shows it. Its controls are laid
// out in tfpers.ui and found by their object names.

#include "records/workspacestate.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
namespace PersonsWorkspace {
struct SearchBoxes;
}
namespace Ui {
class TFPers;
}

class TFPers : public QWidget, public WorkspaceState
{
    Q_OBJECT
public:
    explicit TFPers(QWidget *parent = nullptr);
    ~TFPers() override;

    // WorkspaceState
    QString selectedYear() const override;
    int activePage() const override;
    bool autoCompletion() const override;
    bool autoCalculation() const override;
    void clearFooterSums() override;
    void resetAutoCompletion(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *e) override;

private:
    void bindControls();
    void buildMenus();
    void connectHandlers();
    void connectRowCommands();

    // ---- handlers
    void FormCreate();
    void FormActivate();
    // Runs a search over the texts of the four search boxes and shows the boxes it cleared.
    void searchWith(const std::function<void(PersonsWorkspace::SearchBoxes &)> &search);
    void searchFrom(int tag);            // Enter in a search box
    void BitBtn1Click();                 // &Căutare
    void pageButtonClick(int tag);       // BitBtn7/8/9, Page Up / Page Down
    void ComboBox1Change();
    void ComboBox1Exit();
    void Adaugire1Click();               // "&Nou" of "&Date", F12
    void lookupCode(int mode);           // F9: the code lookup dialog in mode 2..5
    void CheckBox1Click();               // the automatic completion of the declaration
    void Recalcul1Click();               // "Recalcul" of "&Salariul"
    void Importdinfisier1Click();        // "Import din fisier..." of "&Salariul"
    void payrollImported(const QString &summary);

    // Whole rows: filling the months, the deletions, the form-type marks
    void Adaugire2Click();               // "&Nou" of "&Salariul"
    void stergere1Click();               // delete the person
    void Stergere4Click();               // delete the declaration
    void Stergere2Click();               // delete the monthly row
    void Primara1Click(QAction *entry);  // Primara1/2 (tag 1), Decorectare1/2 (tag 3)
    void Formareapachetelor1Click();     // "&Formarea pachetelor" of "&Pachete"
    void Formareapachetuluielectronic1Click(); // "Formarea &pachetului electronic"
    void Anulareapachetuluielectronic1Click(); // "Anularea pachetului electronic"
    void iparulformularelor1Click();     // "&Tiparul formularelor" of "&Pachete"
    void iparire1Click();                // "&Tiparire declaratie lunara", also in the grid's menu

    void showPage(int page);
    bool handleWindowKey(int key);
    void gridKey(int key);
    void selectYear(int year);

    std::unique_ptr<Ui::TFPers> ui;
};

extern TFPers *FPers;
