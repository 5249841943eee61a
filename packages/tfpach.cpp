#include "packages/tfpach.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "platform/guard.h"
#include "ui_tfpach.h"

namespace {

// Temp is the data module's one-row set; it is put in edit so that its field can change.
void editTemp()
{
    RecordSet *temp = DM->Temp;
    if (temp->isEditing())
        return;
    if (temp->isEmpty())
        temp->append();
    else
        temp->edit();
}

} // namespace

TFPach::TFPach(int year, QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFPach>()), m_year(year)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    editTemp();
    DM->Temp->field(QStringLiteral("kft_rf")).setValue(1);

    cl_form_type = new RecordSet(QStringLiteral("cl_form_type"), this);
    cl_form_type->addField(QStringLiteral("kft_id"), FieldType::SmallInt);
    cl_form_type->addField(QStringLiteral("kft_name_ro"), FieldType::String, 50);
    cl_form_type->createDataSet();
    for (const auto &[id, name] : PackagePeriod::formTypes(year)) {
        cl_form_type->append();
        cl_form_type->field(QStringLiteral("kft_id")).setValue(id);
        cl_form_type->field(QStringLiteral("kft_name_ro")).setValue(name);
        cl_form_type->post();
    }
    m_formTypes = new DataSource(QStringLiteral("DScl_form_type"), cl_form_type, this);
    m_ui->ComboBox1->addItems(PackagePeriod::periodCaptions(year));

    m_ui->DBLookupComboBox1->setListSource(m_formTypes, QStringLiteral("kft_id"), QStringLiteral("kft_name_ro"));
    m_ui->DBLookupComboBox1->setDataField(DM->dataSource(QStringLiteral("DSTemp")), QStringLiteral("kft_rf"));

    DM->Temp->field(QStringLiteral("kft_rf")).clear();
    m_ui->DBLookupComboBox1->refresh();
    m_ui->ComboBox1->setCurrentIndex(-1);
    m_ui->ComboBox1->setFocus();

    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
}

TFPach::~TFPach() = default;

void TFPach::BitBtn1Click()
{
    PackagePeriod period = m_period;
    period.choose(m_year, m_ui->ComboBox1->currentIndex(), DM->Temp->field(QStringLiteral("kft_rf")).value());
    m_period = period;
    emit periodChosen(m_period);
    accept();
}

void TFPach::closeEvent(QCloseEvent *event)
{
    cl_form_type->close();
    QDialog::closeEvent(event);
}

void TFPach::done(int result)
{
    cl_form_type->close();
    QDialog::done(result);
}
