#pragma once
// The persons workspace: persons of the economic agent, their declaration of the chosen year
// and its monthly rows. Created once at start-up; the main menu shows it.

#include "records/workspacestate.h"

#include <QWidget>

class QAction;
class QComboBox;
class QMenu;
class QMenuBar;

class TFPers : public QWidget, public WorkspaceState
{
    Q_OBJECT
public:
    explicit TFPers(QWidget *parent = nullptr);
    ~TFPers() override;

    // The years offered: from the computer's year (2020 at least) down to 1998, newest first.
    static QStringList yearItems(int currentYear);

    QComboBox *ComboBox1;
    QMenuBar *MainMenu1;
    QMenu *Date1;
    QAction *ipaulregistrului1, *ExportregistrulinExcel1;

    // "&Tipaul registrului" (tag 0) and "Export registrul in Excel" (tag 1).
    void ipaulregistrului1Click(int tag);

    void FormCreate();
    void FormActivate();

    // WorkspaceState
    QString selectedYear() const override;
    int activePage() const override { return m_page; }
    bool autoCompletion() const override { return false; }
    bool autoCalculation() const override { return true; }
    void clearFooterSums() override {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *e) override;

private:
    void yearBoxLeft();
    int m_page = 0;
};

extern TFPers *FPers;
