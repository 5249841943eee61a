#include "app/tfmain.h"
#include "platform/guard.h"
#include "app/connection.h"
#include "app/tfagent.h"
#include "app/tfconect.h"
#include "maintenance/databasearchive.h"
#include "persons/tfpers.h"
#include "data/formats.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "records/workspaceopening.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>

TFMain *FMain = nullptr;

QString TFMain::baseCaption()
{
    return QStringLiteral("Evidenta individuala a contributiilor asigurarilor sociale");
}

QAction *TFMain::addEntry(QMenu *menu, const char *name, const QString &caption, bool enabled,
                          void (TFMain::*handler)())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setEnabled(enabled);
    connect(a, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return a;
}

TFMain::TFMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(baseCaption());
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [bar](const char *name, const QString &caption) {
        QMenu *m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    Date1 = menu("Date1", QStringLiteral("&Tirvola"));
    Conectare1 = addEntry(Date1, "Conectare1", QStringLiteral("&Conectare"), true, &TFMain::Conectare1Click);
    Arhivareabazei1 = addEntry(Date1, "Arhivareabazei1", QStringLiteral("Arhivarea bazei"), false,
                               &TFMain::Arhivareabazei1Click);
    Ieire1 = addEntry(Date1, "Ieire1", QStringLiteral("&Iesire"), true, &TFMain::Ieire1Click);

    Date2 = menu("Date2", QStringLiteral("&Date"));
    Inregistrare1 = addEntry(Date2, "Inregistrare1", QStringLiteral("&Agentul economic"), false,
                             &TFMain::Inregistrare1Click);
    Persoaneasigurate1 = addEntry(Date2, "Persoaneasigurate1", QStringLiteral("&Persoane asigurate"), false,
                                  &TFMain::Persoaneasigurate1Click);

    Clasificatoare1 = menu("Clasificatoare1", QStringLiteral("&Clasificatoare"));
    Reinoire1 = addEntry(Clasificatoare1, "Reinoire1", QStringLiteral("Actualizare &tarife"), false,
                         &TFMain::Reinoire1Click);
    Actualizareprofesii1 = addEntry(Clasificatoare1, "Actualizareprofesii1", QStringLiteral("Actualizare &profesii"),
                                    false, &TFMain::Actualizareprofesii1Click);

    Import1 = menu("Import1", QStringLiteral("Import"));
    ImportBDPELDOR1 = addEntry(Import1, "ImportBDPELDOR1", QStringLiteral("Import BD PELDOR"), false,
                               &TFMain::ImportBDPELDOR1Click);

    Aplicatie1 = menu("Aplicatie1", QStringLiteral("&Aplicatie"));
    Inregistrare2 = addEntry(Aplicatie1, "Inregistrare2", QStringLiteral("Inregistrare"), true,
                             &TFMain::Inregistrare2Click);

    // Fixed border: the window holds only its menu.
    setMinimumWidth(640);
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(640, bar->sizeHint().height() + 40)));
    if (QScreen *s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    FormCreate();
}

void TFMain::FormCreate()
{
    Formats::forceDefaults();
    Platform::activateKeyboardLayout(QStringLiteral("00000409"));
}

void TFMain::enableConnectedMenu()
{
    Conectare1->setEnabled(false);
    for (QAction *a : {Arhivareabazei1, Ieire1, Inregistrare1, Persoaneasigurate1, Reinoire1, Actualizareprofesii1,
                       ImportBDPELDOR1})
        a->setEnabled(true);
}

void TFMain::Conectare1Click()
{
    Platform::activateKeyboardLayout(QStringLiteral("00000409"));
    TFConect dialog(this);
    connect(&dialog, &TFConect::connected, this, &TFMain::enableConnectedMenu);
    connect(&dialog, &TFConect::versionTextReady, this,
            [this](const QString &text) { setWindowTitle(windowTitle() + text); });
    dialog.exec();
}

void TFMain::Inregistrare1Click()
{
    Platform::activateKeyboardLayout(QStringLiteral("00000418"));
    TFAgent window(this);
    window.exec();
}

void TFMain::Ieire1Click()
{
    close();
}

void TFMain::Persoaneasigurate1Click()
{
    WorkspaceOpening::prepare();
    if (FPers) {
        FPers->showMaximized();
        FPers->raise();
        FPers->activateWindow();
    }
}

void TFMain::Arhivareabazei1Click()
{
    WaitCursor wait;
    DatabaseArchive::makeManualArchive(Connection::databasePath(), QDate::currentDate());
}
void TFMain::Reinoire1Click() {}
void TFMain::Actualizareprofesii1Click() {}
void TFMain::ImportBDPELDOR1Click() {}

void TFMain::Inregistrare2Click()
{
    // The record-set engine is part of the program: there is nothing to install or register.
}

void TFMain::closeEvent(QCloseEvent *event)
{
    // FormClose: nothing half-edited is posted; the queries and the connection are closed.
    runGuarded([] { Connection::close(); });
    if (FPers)
        FPers->close();
    event->accept();
    QApplication::quit();
}
