#pragma once
// The economic agent window: the list of agents and the data of the current one, entered and
// changed through bound controls; saving runs the agent's save rule. Shown modally.

#include <QDialog>
#include <memory>

namespace Ui {
class TFAgent;
}

class TFAgent : public QDialog
{
    Q_OBJECT
public:
    // Loads the agents (FormCreate); a failure to read them is raised to the caller.
    explicit TFAgent(QWidget *parent = nullptr);
    ~TFAgent() override;

    void reject() override;

private:
    void bindControls();
    void FormCreate();
    void BitBtn1Click(); // OK
    void BitBtn2Click(); // &Memorizare
    void BitBtn3Click(); // &Adăugire
    void BitBtn4Click(); // &Revocare
    void BitBtn6Click(); // Ş&tergere

    std::unique_ptr<Ui::TFAgent> m_ui;
};
