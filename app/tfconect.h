#pragma once
// The connection dialog: shows the database it opens and the account (fixed for the database
// file, typed for a server database), and connects when the user confirms with OK. It tells
// its owner what the connection brought through signals.

#include <QDialog>
#include <memory>

namespace Ui {
class TFConect;
}

class TFConect : public QDialog
{
    Q_OBJECT
public:
    explicit TFConect(QWidget *parent = nullptr);
    ~TFConect() override;

signals:
    // The database is open and the record sets are ready: the menu may be used.
    void connected();
    // "    v" and the program's date, for the main window's title.
    void versionTextReady(const QString &text);

private:
    // Closes the dialog with OK, then runs the whole connection.
    void BOKClick();

    std::unique_ptr<Ui::TFConect> m_ui;
};
