#pragma once
// The code lookup dialog "Cautare": finds a profession or category code by a word of its
// name and writes the chosen code into the declaration or the monthly row being edited.

#include <QDialog>

class DataSource;
class DbGrid;
class QLabel;
class QLineEdit;
class QPushButton;
class RecordSet;

class TFClprof : public QDialog
{
    Q_OBJECT
public:
    explicit TFClprof(QWidget *parent = nullptr);
    ~TFClprof() override;

    // Set by the caller before showing: 2..5 (see CodeLookup).
    qint16 LookupMode = 0;

    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *BitBtn1, *BitBtn2;
    DbGrid *DBGrid1;

    // The rows of the last search, shown through DSIBQ5.
    RecordSet *results() const { return m_results; }

    void BitBtn1Click(); // &Căutare
    void BitBtn2Click(); // Alegere

    void done(int result) override;

private:
    RecordSet *m_results;
    DataSource *m_source;
};
