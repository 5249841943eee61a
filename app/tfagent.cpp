#include "app/tfagent.h"
#include "data/tdm.h"
#include "platform/guard.h"
#include "records/econagentrules.h"
#include "ui_tfagent.h"

#include <QHeaderView>

TFAgent::TFAgent(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFAgent>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    bindControls();

    const std::pair<QPushButton *, void (TFAgent::*)()> buttons[] = {
        {m_ui->BitBtn3, &TFAgent::BitBtn3Click}, {m_ui->BitBtn2, &TFAgent::BitBtn2Click},
        {m_ui->BitBtn4, &TFAgent::BitBtn4Click}, {m_ui->BitBtn6, &TFAgent::BitBtn6Click},
        {m_ui->BitBtn1, &TFAgent::BitBtn1Click}};
    for (auto [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { runGuarded([this, handler] { (this->*handler)(); }); });

    FormCreate();
}

TFAgent::~TFAgent() = default;

void TFAgent::bindControls()
{
    DataSource *agents = DM->dataSource(QStringLiteral("DSecon_agent"));
    DataSource *sectors = DM->dataSource(QStringLiteral("DSk_adm_area2"));

    m_ui->DBGrid1->setDataSource(agents, {{QStringLiteral("ea_idno"), QStringLiteral("IDNO"), {}, 17},
                                          {QStringLiteral("ea_full_name"), QStringLiteral("DENUMIREA")},
                                          {QStringLiteral("ea_fosk"), QStringLiteral("COD FOSK"), {}, 7}});
    m_ui->DBGrid1->horizontalHeader()->setStretchLastSection(false);
    m_ui->DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    const std::pair<DbEdit *, const char *> boxes[] = {
        {m_ui->DBEdit3, "ea_fosk"},          {m_ui->DBEdit4, "ea_full_name"},
        {m_ui->DBEdit5, "ea_idno"},          {m_ui->DBEdit6, "ea_director_name"},
        {m_ui->DBEdit7, "ea_accountant_name"}, {m_ui->DBEdit8, "ea_receiving_usr"}};
    for (auto [box, field] : boxes) {
        box->setDataField(agents, QString::fromLatin1(field));
        box->setUpperCase(true);
    }
    m_ui->DBLookupComboBox1->setDataField(agents, QStringLiteral("ea_kaa2_fosk"));
    m_ui->DBLookupComboBox1->setListSource(sectors, QStringLiteral("kaa2_id"), QStringLiteral("kaa2_name_ro"));
    m_ui->DBEdit1->setDataField(sectors, QStringLiteral("kaa2_id"));
    m_ui->DBEdit1->setUpperCase(true);
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
