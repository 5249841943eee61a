#pragma once
// The forms-printing window: packages of the chosen year, their declarations and the
// summary reports. Created once at start-up.

#include <QWidget>

class TFTip : public QWidget
{
    Q_OBJECT
public:
    explicit TFTip(QWidget *parent = nullptr);
};

extern TFTip *FTip;
