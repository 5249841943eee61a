#pragma once
// The questions, notices and wait cursor of the operations, shown with Qt's message boxes.

#include "platform/userinteraction.h"

class QWidget;

class QtUserInteraction : public UserInteraction
{
public:
    bool confirm(const QString &text) override;
    void inform(const QString &text) override;
    void showError(const QString &text) override;
    QString browseFolder(const QString &caption, const QString &start) override;
    QString openFileName(const QString &caption, const QString &startFolder, const QString &filter) override;
    void showReport(const Report &report) override;
    void printReport(const Report &report) override;
    bool openDocument(const QString &path) override;
    bool windowsCanBeSeen() const override;
    void beginWait() override;
    void endWait() override;

private:
    static QWidget *parentWindow();
};
