#pragma once
// The dialog "Tiparirea declaratiei lunare": the month of the monthly declaration, chosen from
// the month classifier into Temp.km_rf.

#include <QDialog>
#include <memory>

namespace Ui {
class TFLuna;
}

class TFLuna : public QDialog
{
    Q_OBJECT
public:
    explicit TFLuna(QWidget *parent = nullptr);
    ~TFLuna() override;

private:
    std::unique_ptr<Ui::TFLuna> m_ui;
};
