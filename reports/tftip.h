#pragma once
// The forms-printing window: packages of the chosen year, their declarations and the
// summary reports. Created once at start-up.

#include <QWidget>
#include <memory>

namespace Ui {
class TFTip;
}

class TFTip : public QWidget
{
    Q_OBJECT
public:
    explicit TFTip(QWidget *parent = nullptr);
    ~TFTip() override;

private:
    std::unique_ptr<Ui::TFTip> m_ui;
};

extern TFTip *FTip;
