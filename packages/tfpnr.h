#pragma once
// The dialog "Modificarea numerelor la pachete": the packages of the year with their current
// numbers, a new number typed beside each, saved by "&Memorizare".

#include <QDialog>
#include <memory>

class DataSource;
class RecordSet;

namespace Ui {
class TFPnr;
}

class TFPnr : public QDialog
{
    Q_OBJECT
public:
    // The caption of the year ("Anul 2010") shown on top.
    explicit TFPnr(const QString &yearCaption, QWidget *parent = nullptr);
    ~TFPnr() override;

    // One row per package of the package list.
    void load(RecordSet *pachet);

signals:
    // The new numbers were saved (the dialog closes).
    void saved();

private:
    void BitBtn1Click(); // &Memorizare

    std::unique_ptr<Ui::TFPnr> m_ui;
    RecordSet *cds_pnr;
    DataSource *m_source;
};
