#pragma once
// The forms-printing window: packages of the chosen year, their declarations, the summary
// reports, the declaration forms of a package and the renumbering of packages. Created once
// at start-up; closing it hides it.

#include <QWidget>
#include <memory>

class QModelIndex;
namespace Ui {
class TFTip;
}

class TFTip : public QWidget
{
    Q_OBJECT
public:
    explicit TFTip(QWidget *parent = nullptr);
    ~TFTip() override;

    // Opening from the persons workspace: the pending edits are posted, the window is shown
    // with the year in Label1 and both lists are emptied.
    void openFromWorkspace(const QString &year);
    // "Export" > "Excel": the reports and the declaration list go to a spreadsheet.
    bool excelTicked() const;

private:
    void BitBtn3Click(int tag); // Lista pachetelor (0), Raport pe pachete (1)
    void BitBtn6Click();        // Raport
    void BitBtn4Click();        // Raport pe luni
    void BitBtn18Click();       // Lista persoanelordin pachet
    void BitBtn5Click(int tag); // Pachet (2), Declaraţia (3)
    void CheckBox1Click();      // Trimestru
    void Modificareanumerelorpachetelor1Click();

    std::unique_ptr<Ui::TFTip> m_ui;
};

extern TFTip *FTip;
