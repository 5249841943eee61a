#pragma once
// The main window: nothing but the menu that leads to every part of the program. It forces
// the number and date formats at start and shuts the data layer down when it closes.

#include <QMainWindow>

class QAction;
class QMenu;

class TFMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFMain(QWidget *parent = nullptr);

    static QString baseCaption();

    QMenu *Date1, *Date2, *Clasificatoare1, *Import1, *Aplicatie1;
    QAction *Conectare1, *Arhivareabazei1, *Ieire1;
    QAction *Inregistrare1, *Persoaneasigurate1;
    QAction *Reinoire1, *Actualizareprofesii1;
    QAction *ImportBDPELDOR1;
    QAction *Inregistrare2;

public slots:
    // After a successful connection: everything but "&Conectare" is usable.
    void enableConnectedMenu();

public:
    // Handlers of the menu entries.
    void FormCreate();
    void Conectare1Click();
    void Inregistrare1Click();
    void Ieire1Click();
    void Persoaneasigurate1Click();
    void Arhivareabazei1Click();
    void Reinoire1Click();
    void Actualizareprofesii1Click();
    void ImportBDPELDOR1Click();
    void Inregistrare2Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addEntry(QMenu *menu, const char *name, const QString &caption, bool enabled,
                      void (TFMain::*handler)());
};

extern TFMain *FMain;
