#include "reports/tftip.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "packages/tfpnr.h"
#include "platform/guard.h"
#include "reports/declarationform.h"
#include "reports/packagelist.h"
#include "reports/summaryreports.h"
#include "ui_tftip.h"

#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>

TFTip *FTip = nullptr;

namespace {

template <class Sender, class Signal, class Handler>
void guarded(Sender *sender, Signal signal, QObject *context, Handler handler)
{
    QObject::connect(sender, signal, context, [handler] { runGuarded(handler); });
}

} // namespace

TFTip::TFTip(QWidget *parent) : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TFTip>())
{
    m_ui->setupUi(this);
    m_ui->Edit1->hide();
    m_ui->Label2->hide();

    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [this, bar](const char *name, const QString &title, QAction *entry) {
        auto *m = new QMenu(title, this);
        m->setObjectName(QString::fromLatin1(name));
        m->addAction(entry);
        bar->addAction(m->menuAction());
    };
    menu("Pachete1", QStringLiteral("Pachete"), m_ui->Modificareanumerelorpachetelor1);
    menu("Export1", QStringLiteral("Export"), m_ui->Excel1);
    m_ui->windowLayout->setMenuBar(bar);

    const Qt::Alignment centred = Qt::AlignCenter;
    m_ui->DBGrid3->setDataSource(DM->dataSource(QStringLiteral("DSpachet")),
                                 {{QStringLiteral("pl_nr"), QStringLiteral("NR. PACHETULUI")},
                                  {QStringLiteral("cnt"), QStringLiteral("TOTAL PERSOANE")},
                                  {QStringLiteral("col3"), QStringLiteral("FOND SALARII")},
                                  {QStringLiteral("col4"), QStringLiteral("CONCEDII MEDICALE")},
                                  {QStringLiteral("col5"), QStringLiteral("CONTRIBUŢII INDIVIDUALE")},
                                  {QStringLiteral("col6"), QStringLiteral("CONTRIBUŢII ANGAJATOR")},
                                  {QStringLiteral("kft_name_ro"), QStringLiteral("TIP FORMULAR")}});
    m_ui->DBGrid2->setDataSource(DM->dataSource(QStringLiteral("DSrev")),
                                 {{QStringLiteral("nr"), QStringLiteral("N/O"), centred},
                                  {QStringLiteral("na_id"), QStringLiteral("NR. DECLAR"), centred},
                                  {QStringLiteral("nume"), QStringLiteral("NUME")},
                                  {QStringLiteral("prenume"), QStringLiteral("PRENUME")},
                                  {QStringLiteral("patron"), QStringLiteral("PATRON")},
                                  {QStringLiteral("col3"), QStringLiteral("FOND SALARII")},
                                  {QStringLiteral("col4"), QStringLiteral("CONCEDII MEDICALE")},
                                  {QStringLiteral("col6"), QStringLiteral("CONTRIBUŢII INDIVIDUALE")},
                                  {QStringLiteral("col7"), QStringLiteral("CONTRIBUŢII ANGAJATOR")}});
    m_ui->DBGrid3->horizontalHeader()->setDefaultAlignment(centred);
    m_ui->DBGrid2->horizontalHeader()->setDefaultAlignment(centred);

    const auto clicked = &QPushButton::clicked;
    for (QPushButton *b : {m_ui->BitBtn3, m_ui->BitBtn15}) {
        const int tag = b->property("tag").toInt();
        guarded(b, clicked, this, [this, tag] { BitBtn3Click(tag); });
    }
    guarded(m_ui->BitBtn6, clicked, this, [this] { BitBtn6Click(); });
    guarded(m_ui->BitBtn4, clicked, this, [this] { BitBtn4Click(); });
    guarded(m_ui->BitBtn18, clicked, this, [this] { BitBtn18Click(); });
    for (QPushButton *b : {m_ui->BitBtn5, m_ui->BitBtn2}) {
        const int tag = b->property("tag").toInt();
        guarded(b, clicked, this, [this, tag] { BitBtn5Click(tag); });
    }
    guarded(m_ui->DBGrid2, &QAbstractItemView::doubleClicked, this, [this] { BitBtn5Click(3); });
    connect(m_ui->BitBtn1, clicked, this, &QWidget::close);
    connect(m_ui->CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    guarded(m_ui->Modificareanumerelorpachetelor1, &QAction::triggered, this,
            [this] { Modificareanumerelorpachetelor1Click(); });
}

TFTip::~TFTip() = default;

void TFTip::openFromWorkspace(const QString &year)
{
    PostPendingEdits();
    show();
    raise();
    activateWindow();
    m_ui->Label1->setText(QStringLiteral("Anul ") + year);
    PackageList::clear();
}

bool TFTip::excelTicked() const
{
    return m_ui->Excel1->isChecked();
}

void TFTip::BitBtn3Click(int tag)
{
    if (tag == 1)
        SummaryReports::showPackageReport(excelTicked());
    else
        PackageList::fill();
}

void TFTip::BitBtn6Click()
{
    SummaryReports::showPersonMonthReport(excelTicked());
}

void TFTip::BitBtn4Click()
{
    SummaryReports::showMonthReport(excelTicked());
}

void TFTip::BitBtn18Click()
{
    PackageList::fillDeclarations(excelTicked());
}

void TFTip::BitBtn5Click(int tag)
{
    DeclarationForm::printPackage(DeclarationForm::Scope(tag), m_ui->CheckBox1->isChecked(), m_ui->Edit1->text(),
                                  m_ui->RadioButton1->isChecked());
}

void TFTip::CheckBox1Click()
{
    const bool ticked = m_ui->CheckBox1->isChecked();
    m_ui->Edit1->setVisible(ticked);
    m_ui->Label2->setVisible(ticked);
}

// The dialog works on the package list, read first when it is not open, and the list is read
// again afterwards with the new numbers.
void TFTip::Modificareanumerelorpachetelor1Click()
{
    if (!DM->pachet->active())
        PackageList::fill();
    {
        TFPnr dialog(m_ui->Label1->text(), this);
        dialog.load(DM->pachet);
        dialog.exec();
    }
    PackageList::fill();
}
