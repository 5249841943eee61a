#include "app/tfconect.h"
#include "app/connection.h"
#include "platform/guard.h"
#include "ui_tfconect.h"

TFConect::TFConect(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFConect>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The database it opens; a server's account is the server's own, typed here.
    m_ui->L_baza->setText(Connection::databaseShown());
    const bool server = Connection::isServerDatabase();
    m_ui->Edit1->setReadOnly(!server);
    m_ui->Edit2->setReadOnly(!server);
    connect(m_ui->BOK, &QPushButton::clicked, this, [this] { runGuarded([this] { BOKClick(); }); });
}

TFConect::~TFConect() = default;

void TFConect::BOKClick()
{
    accept();
    Connection::Hooks hooks;
    hooks.menuConnected = [this] { emit connected(); };
    hooks.versionText = [this](const QString &text) { emit versionTextReady(text); };
    Connection::connect(m_ui->Edit1->text(), m_ui->Edit2->text(), hooks);
}
