#include "reports/tftip.h"
#include "ui_tftip.h"

TFTip *FTip = nullptr;

TFTip::TFTip(QWidget *parent) : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TFTip>())
{
    m_ui->setupUi(this);
}

TFTip::~TFTip() = default;
