#pragma once
// The window "Verificarea pachetului electronic": checks an archive the way the receiving side
// would read it and lists what is wrong, line and field, before the package leaves the office.

#include "packages/packagecheck.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TFVerif;
}

class TFVerif : public QDialog
{
    Q_OBJECT
public:
    explicit TFVerif(QWidget *parent = nullptr);
    ~TFVerif() override;

    // The menu entry: asks for an archive (starting in "Primara") and shows its findings.
    static void run(QWidget *parent);
    // The end of forming a package: asks whether to check the archive just formed and, on Yes,
    // shows its findings.
    static void offer(QWidget *parent, const QString &archivePath);

    // Checks the archive, with the classifiers of the open database when there is one.
    void checkArchive(const QString &path);
    // The file dialog; false when the user cancels it.
    bool chooseArchive();

    const PackageCheck::Result &result() const { return m_result; }

signals:
    // An archive was checked: how many errors and warnings it has.
    void checked(const QString &path, int errors, int warnings);

private:
    void showFindings();
    void printFindings();

    std::unique_ptr<Ui::TFVerif> m_ui;
    QString m_path;
    PackageCheck::Result m_result;
};
