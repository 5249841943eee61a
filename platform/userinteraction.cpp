#include "platform/userinteraction.h"

namespace {

class SilentInteraction : public UserInteraction
{
public:
    bool confirm(const QString &) override { return false; }
    void inform(const QString &) override {}
    void showError(const QString &) override {}
    QString browseFolder(const QString &, const QString &) override { return {}; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    void showReport(const Report &) override {}
    void beginWait() override {}
    void endWait() override {}
};

UserInteraction *&current()
{
    static SilentInteraction silent;
    static UserInteraction *ui = &silent;
    return ui;
}

} // namespace

UserInteraction &userInteraction()
{
    return *current();
}

void setUserInteraction(UserInteraction *ui)
{
    static SilentInteraction silent;
    current() = ui ? ui : &silent;
}
