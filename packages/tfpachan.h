#pragma once
// The dialog "Anularea pachetelor electronice": lists the electronic packages formed for the
// agent and the selected year and annuls the chosen one, so that its months can be corrected.

#include <QDialog>
#include <memory>

class DataSource;
class RecordSet;

namespace Ui {
class TFPachAn;
}

class TFPachAn : public QDialog
{
    Q_OBJECT
public:
    explicit TFPachAn(QWidget *parent = nullptr);
    ~TFPachAn() override;

    // Reads the registry of the agent and the selected year into the list.
    void loadRegistry();

signals:
    // A package left the registry; its archive is gone from "Primara".
    void packageAnnulled(const QString &name);
    // The year's sent marks were cleared because no package is registered for it.
    void marksCleared();

private:
    void BitBtn2Click(); // Anularea pachetului

    std::unique_ptr<Ui::TFPachAn> m_ui;
    RecordSet *t_pachet;
    DataSource *m_source;
};
