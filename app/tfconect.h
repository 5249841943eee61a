#pragma once
// The connection dialog: shows the database file and the fixed account, and connects when
// the user confirms with OK.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TFMain;

class TFConect : public QDialog
{
    Q_OBJECT
public:
    explicit TFConect(TFMain *main);

    QLabel *Label1, *Label2, *L_nume, *L_parola;
    QLineEdit *Edit1, *Edit2;
    QPushButton *BOK, *BRefuz;

    // Closes the dialog with OK, then runs the whole connection.
    void BOKClick();

private:
    TFMain *m_main;
};
