#include "packages/tfpachan.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "packages/packageannulment.h"
#include "platform/guard.h"
#include "ui_tfpachan.h"

#include <QHeaderView>

TFPachAn::TFPachAn(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFPachAn>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    t_pachet = new RecordSet(QStringLiteral("t_pachet"), this);
    PackageAnnulment::declareRegistry(t_pachet);
    m_source = new DataSource(QStringLiteral("DSt_pachet"), t_pachet, this);
    m_ui->DBGrid1->setDataSource(m_source,
                                 {{QStringLiteral("nume"), QStringLiteral("DENUMIREA PACHETULUI")},
                                  {QStringLiteral("pachet_d"), QStringLiteral("DATA FORMĂRII"), Qt::AlignCenter},
                                  {QStringLiteral("anul"), QStringLiteral("ANUL"), Qt::AlignCenter},
                                  {QStringLiteral("luna_d"), QStringLiteral("DE LA LUNA "), Qt::AlignCenter},
                                  {QStringLiteral("luna_p"), QStringLiteral("PĂNA LA LUNA "), Qt::AlignCenter},
                                  {QStringLiteral("tip"), QStringLiteral("TIPUL PACHETULUI"), Qt::AlignCenter}});
    m_ui->DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_ui->DBGrid1->horizontalHeader()->resizeSection(0, 260);

    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn2Click(); }); });
}

TFPachAn::~TFPachAn() = default;

void TFPachAn::loadRegistry()
{
    PackageAnnulment::loadRegistry(t_pachet);
    if (t_pachet->isEmpty())
        emit marksCleared();
}

void TFPachAn::BitBtn2Click()
{
    const bool empty = t_pachet->isEmpty();
    const QString name = PackageAnnulment::annul(t_pachet);
    if (!name.isEmpty())
        emit packageAnnulled(name);
    else if (empty)
        emit marksCleared();
    // The database is changed whatever becomes of the archive: the owner has heard it first.
    PackageAnnulment::deleteArchive(name);
}
