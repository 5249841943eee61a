#include "app/tfconect.h"
#include "app/connection.h"
#include "platform/guard.h"
#include "app/tfmain.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFConect::TFConect(TFMain *main) : QDialog(main), m_main(main)
{
    setObjectName(QStringLiteral("FConect"));
    setWindowTitle(QStringLiteral("Conectare"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    Label1 = label("Label1", QStringLiteral("Baza de date :"));
    Label2 = label("Label2", QStringLiteral("BDKOLM.GDB"));
    L_nume = label("L_nume", QStringLiteral("Nume :"));
    L_parola = label("L_parola", QStringLiteral("Parola :"));
    auto edit = [this](const char *name, const QString &text) {
        auto *e = new QLineEdit(text, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setEchoMode(QLineEdit::Password);
        return e;
    };
    Edit1 = edit("Edit1", QStringLiteral("sysdba"));
    Edit2 = edit("Edit2", QStringLiteral("quintorez"));

    BOK = new QPushButton(QStringLiteral("OK"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);
    BRefuz = new QPushButton(QStringLiteral("Revocare"), this);
    BRefuz->setObjectName(QStringLiteral("BRefuz"));
    connect(BOK, &QPushButton::clicked, this, [this] { runGuarded([this] { BOKClick(); }); });
    connect(BRefuz, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(L_nume, 1, 0);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(L_parola, 2, 0);
    grid->addWidget(Edit2, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOK);
    buttons->addWidget(BRefuz);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFConect::BOKClick()
{
    accept();
    Connection::Hooks hooks;
    hooks.menuConnected = [this] { m_main->enableConnectedMenu(); };
    hooks.versionText = [this](const QString &text) { m_main->setWindowTitle(m_main->windowTitle() + text); };
    Connection::connect(Edit1->text(), Edit2->text(), hooks);
}
