#include "app/tfagent.h"
#include "platform/guard.h"
#include "data/tdm.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dblookupcombobox.h"
#include "records/econagentrules.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFAgent::TFAgent(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAgent"));
    setWindowTitle(QStringLiteral("Date despre agentul economic"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    DataSource *agents = DM->dataSource(QStringLiteral("DSecon_agent"));
    DataSource *sectors = DM->dataSource(QStringLiteral("DSk_adm_area2"));

    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(agents, {{QStringLiteral("ea_idno"), QStringLiteral("IDNO")},
                                    {QStringLiteral("ea_full_name"), QStringLiteral("DENUMIREA")},
                                    {QStringLiteral("ea_fosk"), QStringLiteral("COD FOSK")}});
    DBGrid1->horizontalHeader()->setStretchLastSection(false);
    DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    DBGrid1->setMinimumHeight(120);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto edit = [this, agents](const char *name, const char *field) {
        auto *e = new DbEdit(agents, QString::fromLatin1(field), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setUpperCase(true);
        return e;
    };
    Label3 = label("Label3", QStringLiteral("Cod FOSK"));
    DBEdit3 = edit("DBEdit3", "ea_fosk");
    Label4 = label("Label4", QStringLiteral("Denumirea"));
    DBEdit4 = edit("DBEdit4", "ea_full_name");
    Label5 = label("Label5", QStringLiteral("IDNO(C.F.)"));
    DBEdit5 = edit("DBEdit5", "ea_idno");
    Label6 = label("Label6", QStringLiteral("Conducător"));
    DBEdit6 = edit("DBEdit6", "ea_director_name");
    Label7 = label("Label7", QStringLiteral("Şef contabil"));
    DBEdit7 = edit("DBEdit7", "ea_accountant_name");
    Label8 = label("Label8", QStringLiteral("Responsabil"));
    DBEdit8 = edit("DBEdit8", "ea_receiving_usr");
    Label1 = label("Label1", QStringLiteral("Sectorul"));
    DBLookupComboBox1 = new DbLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataField(agents, QStringLiteral("ea_kaa2_fosk"));
    DBLookupComboBox1->setListSource(sectors, QStringLiteral("kaa2_id"), QStringLiteral("kaa2_name_ro"));
    DBEdit1 = new DbEdit(sectors, QStringLiteral("kaa2_id"), this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setReadOnly(true);
    DBEdit1->setUpperCase(true);
    DBEdit1->setFocusPolicy(Qt::NoFocus);
    DBEdit1->setMaximumWidth(60);

    BitBtn3 = button("BitBtn3", QStringLiteral("&Adăugire"), &TFAgent::BitBtn3Click);
    BitBtn2 = button("BitBtn2", QStringLiteral("&Memorizare"), &TFAgent::BitBtn2Click);
    BitBtn4 = button("BitBtn4", QStringLiteral("&Revocare"), &TFAgent::BitBtn4Click);
    BitBtn6 = button("BitBtn6", QStringLiteral("Ş&tergere"), &TFAgent::BitBtn6Click);
    BitBtn1 = button("BitBtn1", QStringLiteral("OK"), &TFAgent::BitBtn1Click);

    auto *form = new QGridLayout;
    int row = 0;
    for (auto [l, e] : {std::pair<QLabel *, QWidget *>{Label3, DBEdit3}, {Label4, DBEdit4}, {Label5, DBEdit5},
                        {Label6, DBEdit6}, {Label7, DBEdit7}, {Label8, DBEdit8}}) {
        form->addWidget(l, row, 0);
        form->addWidget(e, row++, 1, 1, 2);
        l->setBuddy(e);
    }
    form->addWidget(Label1, row, 0);
    form->addWidget(DBLookupComboBox1, row, 1);
    form->addWidget(DBEdit1, row, 2);
    Label1->setBuddy(DBLookupComboBox1);
    form->setColumnStretch(1, 1);
    DBEdit3->setMaximumWidth(120);
    DBEdit5->setMaximumWidth(200);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BitBtn3, BitBtn2, BitBtn4, BitBtn6})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(640, 480);

    FormCreate();
}

TFAgent::~TFAgent() = default;

QPushButton *TFAgent::button(const char *name, const QString &caption, void (TFAgent::*handler)())
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    // Enter in a text box must not press a button.
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return b;
}

void TFAgent::FormCreate()
{
    EconAgentRules::loadAll();
}

void TFAgent::BitBtn1Click()
{
    if (DM->econ_agent->isEditing())
        DM->econ_agent->post();
    accept();
}

void TFAgent::BitBtn2Click()
{
    if (DM->econ_agent->isEditing())
        DM->econ_agent->post();
}

void TFAgent::BitBtn3Click()
{
    DM->econ_agent->append();
}

void TFAgent::BitBtn4Click()
{
    DM->econ_agent->cancel();
}

void TFAgent::BitBtn6Click()
{
    EconAgentRules::deleteCurrent();
}

void TFAgent::reject()
{
    // Closing without OK leaves nothing half-edited behind in the agent's record set.
    runGuarded([] { DM->econ_agent->cancel(); });
    QDialog::reject();
}
