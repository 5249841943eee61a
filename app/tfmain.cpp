#include "app/tfmain.h"
#include "app/connection.h"
#include "app/tfagent.h"
#include "app/tfconect.h"
#include "data/formats.h"
#include "data/tdm.h"
#include "maintenance/classifierupdate.h"
#include "maintenance/databasearchive.h"
#include "maintenance/databaserestore.h"
#include "maintenance/predecessorimport.h"
#include "persons/tfpers.h"
#include "platform/clock.h"
#include "platform/guard.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "records/workspaceopening.h"
#include "ui_tfmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>

TFMain *FMain = nullptr;

QString TFMain::baseCaption()
{
    return QStringLiteral("Evidenta individuala a contributiilor asigurarilor sociale");
}

TFMain::TFMain(QWidget *parent) : QMainWindow(parent), m_ui(std::make_unique<Ui::TFMain>())
{
    m_ui->setupUi(this);
    const std::pair<QAction *, void (TFMain::*)()> entries[] = {
        {m_ui->Conectare1, &TFMain::Conectare1Click},
        {m_ui->Arhivareabazei1, &TFMain::Arhivareabazei1Click},
        {m_ui->Restabiliredinarhiva1, &TFMain::Restabiliredinarhiva1Click},
        {m_ui->Ieire1, &TFMain::Ieire1Click},
        {m_ui->Inregistrare1, &TFMain::Inregistrare1Click},
        {m_ui->Persoaneasigurate1, &TFMain::Persoaneasigurate1Click},
        {m_ui->Reinoire1, &TFMain::Reinoire1Click},
        {m_ui->Actualizareprofesii1, &TFMain::Actualizareprofesii1Click},
        {m_ui->ImportBDPELDOR1, &TFMain::ImportBDPELDOR1Click},
        {m_ui->Inregistrare2, &TFMain::Inregistrare2Click},
    };
    for (auto [action, handler] : entries)
        connect(action, &QAction::triggered, this,
                [this, handler = handler] { runGuarded([this, handler] { (this->*handler)(); }); });

    // Fixed border: the window holds only its menu.
    adjustSize();
    setFixedSize(sizeHint().expandedTo(QSize(640, menuBar()->sizeHint().height() + 40)));
    if (QScreen *s = QApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    FormCreate();
}

TFMain::~TFMain() = default;

void TFMain::FormCreate()
{
    Formats::forceDefaults();
    Platform::activateKeyboardLayout(QStringLiteral("00000409"));
}

void TFMain::enableConnectedMenu()
{
    m_ui->Conectare1->setEnabled(false);
    m_ui->Restabiliredinarhiva1->setEnabled(false);
    for (QAction *a : {m_ui->Arhivareabazei1, m_ui->Ieire1, m_ui->Inregistrare1, m_ui->Persoaneasigurate1,
                       m_ui->Reinoire1, m_ui->Actualizareprofesii1, m_ui->ImportBDPELDOR1})
        a->setEnabled(true);
    if (DM)
        connect(DM->IDB, &IbDatabase::connectionLost, this, &TFMain::connectionLost, Qt::UniqueConnection);
}

void TFMain::connectionLost()
{
    m_ui->Conectare1->setEnabled(true);
}

void TFMain::connectWithAccount(const QString &user, const QString &password)
{
    runGuarded([&] {
        Connection::Hooks hooks;
        hooks.menuConnected = [this] { enableConnectedMenu(); };
        hooks.versionText = [this](const QString &text) { appendToTitle(text); };
        Connection::connect(user, password, hooks);
    });
}

void TFMain::appendToTitle(const QString &text)
{
    setWindowTitle(windowTitle() + text);
}

void TFMain::Conectare1Click()
{
    Platform::activateKeyboardLayout(QStringLiteral("00000409"));
    TFConect dialog(this);
    connect(&dialog, &TFConect::connected, this, &TFMain::enableConnectedMenu);
    connect(&dialog, &TFConect::versionTextReady, this, &TFMain::appendToTitle);
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
    DatabaseArchive::makeManualArchive(DM->IDB->databaseName(), Clock::today());
}

void TFMain::Restabiliredinarhiva1Click()
{
    DatabaseRestore::restoreFromMenu(Connection::databaseLocation());
}

void TFMain::Reinoire1Click()
{
    ClassifierUpdate::updateTariffs();
}

void TFMain::Actualizareprofesii1Click()
{
    ClassifierUpdate::updateProfessions();
}

void TFMain::ImportBDPELDOR1Click()
{
    PredecessorImport::run();
}

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
