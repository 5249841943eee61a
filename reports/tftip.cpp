#include "reports/tftip.h"

TFTip *FTip = nullptr;

TFTip::TFTip(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FTip"));
    setWindowTitle(QStringLiteral("Tiparul formularelor"));
}
