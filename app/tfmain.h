#pragma once
// The main window: nothing but the menu that leads to every part of the program. It forces
// the number and date formats at start and shuts the data layer down when it closes.

#include <QMainWindow>
#include <memory>

namespace Ui {
class TFMain;
}

class TFMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFMain(QWidget *parent = nullptr);
    ~TFMain() override;

    static QString baseCaption();

public slots:
    // After a successful connection: everything but "&Conectare" and the restore of the database
    // (which replaces the file the connection holds open) is usable.
    void enableConnectedMenu();
    // The connection to the server was lost: "&Conectare" connects again.
    void connectionLost();
    // "&Conectare" confirmed with this account, without showing the dialog.
    void connectWithAccount(const QString &user, const QString &password);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    // Handlers of the menu entries.
    void Conectare1Click();
    void Inregistrare1Click();
    void Ieire1Click();
    void Persoaneasigurate1Click();
    void Arhivareabazei1Click();
    void Restabiliredinarhiva1Click();
    void Reinoire1Click();
    void Actualizareprofesii1Click();
    void ImportBDPELDOR1Click();
    void Inregistrare2Click();

    void appendToTitle(const QString &text);

    std::unique_ptr<Ui::TFMain> m_ui;
};

extern TFMain *FMain;
