#pragma once
// The economic agent window: the list of agents and the data of the current one, entered and
// changed through bound controls; saving runs the agent's save rule. Shown modally.

#include <QDialog>

class DbEdit;
class DbGrid;
class DbLookupComboBox;
class QLabel;
class QPushButton;

class TFAgent : public QDialog
{
    Q_OBJECT
public:
    // Loads the agents (FormCreate); a failure to read them is raised to the caller.
    explicit TFAgent(QWidget *parent = nullptr);
    ~TFAgent() override;

    DbGrid *DBGrid1;
    DbEdit *DBEdit1, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6, *DBEdit7, *DBEdit8;
    DbLookupComboBox *DBLookupComboBox1;
    QLabel *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn6;

    void FormCreate();
    void BitBtn1Click(); // OK
    void BitBtn2Click(); // &Memorizare
    void BitBtn3Click(); // &Adăugire
    void BitBtn4Click(); // &Revocare
    void BitBtn6Click(); // Ştergere

    void reject() override;

private:
    QPushButton *button(const char *name, const QString &caption, void (TFAgent::*handler)());
};
