#pragma once
// The dialog "Formarea pachetului electronic": asks for the period and the form type of the
// electronic package of the year and hands the chosen period to its owner.

#include "packages/packageperiod.h"

#include <QDialog>
#include <memory>

class DataSource;
class RecordSet;

namespace Ui {
class TFPach;
}

class TFPach : public QDialog
{
    Q_OBJECT
public:
    // Offers the periods and form types of the year; the form type is held in Temp.kft_rf.
    explicit TFPach(int year, QWidget *parent = nullptr);
    ~TFPach() override;

    // The period set by a successful OK; its code stays empty otherwise.
    const PackagePeriod &period() const { return m_period; }

signals:
    // OK accepted the choice; the dialog closes right after.
    void periodChosen(const PackagePeriod &period);

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int result) override;

private:
    void BitBtn1Click(); // OK

    std::unique_ptr<Ui::TFPach> m_ui;
    int m_year;
    PackagePeriod m_period;
    RecordSet *cl_form_type;
    DataSource *m_formTypes;
};
