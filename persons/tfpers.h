#pragma once
// The persons workspace: persons of the economic agent, their declaration of the chosen year
// and its monthly rows. Created once at start-up; the main menu shows it.

#include "persons/personsworkspace.h"
#include "records/workspacestate.h"

#include <QWidget>

class DBGridEh;
class RecordSet;
class DbCheckBox;
class DbEdit;
class DbGrid;
class DbLookupComboBox;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QStackedWidget;

class TFPers : public QWidget, public WorkspaceState
{
    Q_OBJECT
public:
    explicit TFPers(QWidget *parent = nullptr);
    ~TFPers() override;

    // The years offered: from the computer's year (2020 at least) down to 1998, newest first.
    static QStringList yearItems(int currentYear);

    // ---- search bar
    QGroupBox *GroupBox1;
    QLineEdit *MaskEdit1, *MaskEdit3, *MaskEdit2, *MaskEdit4; // Nume, Prenume, CPAS, IDNP
    QPushButton *BitBtn1, *BitBtn4;                           // &Căutare, În&chidere
    QComboBox *ComboBox1;

    // ---- person list and pages
    DbGrid *DBGrid1;
    QStackedWidget *PageControl1;
    QPushButton *BitBtn7, *BitBtn8, *BitBtn9;

    // page "Date"
    DbEdit *DBEdit4, *DBEdit6, *DBEdit7, *DBEdit5, *DBEdit1, *DBEdit2, *DBEdit8, *DBEdit9, *DBEdit10, *DBEdit11;
    DbLookupComboBox *DBLookupComboBox1;
    DbEdit *DBEdit3, *DBEdit12, *DBEdit13; // the agent, read-only

    // page "Declaratia"
    DbLookupComboBox *DBLookupComboBox3, *DBLookupComboBox2, *DBLookupComboBox4;
    DbEdit *DBEdit14, *DBEdit19, *DBEdit20, *DBEdit21, *DBEdit15;
    DbCheckBox *DBCheckBox1;
    QCheckBox *CheckBox1;
    QFrame *Panel8;

    // page "Salariul"
    DBGridEh *DBGridEh2;

    // ---- menus
    QMenuBar *MainMenu1;
    QMenu *Date1, *Declaratia1, *Salariul1, *Modificaredeclaratielunara1, *Pachete1, *Procente1;
    QAction *Adaugire1, *Memorizare1, *Revocare1, *stergere1, *ipaulregistrului1, *ExportregistrulinExcel1;
    QAction *iparire1, *Memorizare2, *Revocare2, *Stergere4;
    QAction *Adaugire2, *Memorizare3, *Primara1, *Decorectare1, *Recalcul1, *Revocare3, *Stergere2;
    QAction *Formareapachetelor1, *iparulformularelor1, *Formareapachetuluielectronic1,
        *Anulareapachetuluielectronic1;
    QAction *Calculareaautomata1;
    QMenu *PopupMenu1, *PopupMenu2;
    QAction *Primara2, *Decorectare2, *iparire2;

    // ---- handlers
    void FormCreate();
    void FormActivate();
    void searchFrom(PersonsWorkspace::SearchBy by); // Enter in a search box
    void BitBtn1Click();                            // &Căutare
    void pageButtonClick(int tag);                  // BitBtn7/8/9
    void ComboBox1Change();
    void ComboBox1Exit();
    void Adaugire1Click();                          // "&Nou" of "&Date", F12
    void MemorizareClick();                         // "&Memorizare" of the three menus
    void ipaulregistrului1Click(int tag);           // "&Tipaul registrului" (0), Excel export (1)
    // F9: the code lookup dialog in mode 2..5.
    void lookupCode(int mode);
    // Esc in a date or the document type: the field's record set in edit, the field emptied.
    void clearField(RecordSet *set, const QString &fieldName);
    // The automatic completion of the declaration: a later part of the workspace.
    void CheckBox1Click();

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
    void buildSearchBar();
    QWidget *buildDatePage();
    QWidget *buildDeclarationPage();
    QWidget *buildSalaryPage();
    void buildMenus();
    QPushButton *pageButton(const char *name, const QString &caption, int tag);
    void showPage(int page);
    bool handleWindowKey(QObject *watched, int key);
    void gridKey(int key);
    void selectYear(int year);

    PersonsWorkspace::SearchBoxes boxes() const;
    void setBoxes(const PersonsWorkspace::SearchBoxes &b);
};

extern TFPers *FPers;
