#include "reports/tfluna.h"
#include "data/tdm.h"
#include "ui_tfluna.h"

#include <QLayout>

TFLuna::TFLuna(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFLuna>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    m_ui->DBLookupComboBox1->setListSource(DM->dataSource(QStringLiteral("DSk_month")), QStringLiteral("km_id"),
                                           QStringLiteral("km_name_ro"));
    m_ui->DBLookupComboBox1->setDataField(DM->dataSource(QStringLiteral("DSTemp")), QStringLiteral("km_rf"));
    m_ui->DBLookupComboBox1->refresh();
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TFLuna::~TFLuna() = default;
