#include "packages/tfpnr.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/dbgridcolumn.h"
#include "packages/packagerenumbering.h"
#include "platform/guard.h"
#include "ui_tfpnr.h"

TFPnr::TFPnr(const QString &yearCaption, QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFPnr>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    m_ui->Label1->setText(yearCaption);

    cds_pnr = new RecordSet(QStringLiteral("cds_pnr"), this);
    PackageRenumbering::declare(cds_pnr);
    m_source = new DataSource(QStringLiteral("DScds_pnr"), cds_pnr, this);

    DBGridEh *grid = m_ui->DBGridEh2;
    grid->setDataSource(m_source);
    grid->setAppendAllowed(false);
    const Qt::Alignment centred = Qt::AlignCenter;
    grid->addColumn(QStringLiteral("pl_nr_old"), QStringLiteral("NUMĂRUL EXISTENT AL PACHETULUI"))
        .setReadOnly(true)
        .setAlignment(centred)
        .setFooterText(QStringLiteral("Total"));
    grid->addColumn(QStringLiteral("pl_nr_new"), QStringLiteral("NUMĂRUL NOU AL PACHETULUI")).setAlignment(centred);
    grid->addColumn(QStringLiteral("pl_nd"), QStringLiteral("NUMĂRUL DE DECLARAŢII ÎN PACHET"))
        .setReadOnly(true)
        .setAlignment(centred)
        .setFooterSum({}, [](double sum) { return QString::number(qint64(sum)); });
    grid->addColumn(QStringLiteral("pl_pe"), QStringLiteral("FORMAT PACHET ELECTRONIC"))
        .setReadOnly(true)
        .setAlignment(centred);
    grid->setFooterVisible(true);
    grid->setCurrentColumn(1);

    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
}

TFPnr::~TFPnr() = default;

void TFPnr::load(RecordSet *pachet)
{
    PackageRenumbering::load(cds_pnr, pachet);
}

void TFPnr::BitBtn1Click()
{
    if (!m_ui->DBGridEh2->postRow())
        return;
    PackageRenumbering::save(cds_pnr);
    emit saved();
    accept();
}
