#pragma once
// The code lookup dialog "Cautare": finds a profession or category code by a word of its
// name and writes the chosen code into the declaration or the monthly row being edited.

#include <QDialog>
#include <memory>

class DataSource;
class RecordSet;

namespace Ui {
class TFClprof;
}

class TFClprof : public QDialog
{
    Q_OBJECT
public:
    explicit TFClprof(QWidget *parent = nullptr);
    ~TFClprof() override;

    // Set by the caller before showing: 2..5 (see CodeLookup).
    qint16 LookupMode = 0;

    void done(int result) override;

private:
    void BitBtn1Click(); // &Căutare
    void BitBtn2Click(); // Alegere

    std::unique_ptr<Ui::TFClprof> m_ui;
    RecordSet *m_results; // the rows of the last search, shown through DSIBQ5
    DataSource *m_source;
};
