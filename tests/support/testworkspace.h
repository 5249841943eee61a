#pragma once
// The persons workspace as the rules see it, set by the test.

#include "records/workspacestate.h"

class TestWorkspace : public WorkspaceState
{
public:
    TestWorkspace() { setWorkspaceState(this); }
    ~TestWorkspace() override { setWorkspaceState(nullptr); }

    QString year = QStringLiteral("2008");
    int page = 0;
    bool completion = false;
    bool calculation = true;
    int footerClears = 0;
    bool completionVisible = false;
    int completionResets = 0;

    QString selectedYear() const override { return year; }
    int activePage() const override { return page; }
    bool autoCompletion() const override { return completion; }
    bool autoCalculation() const override { return calculation; }
    void clearFooterSums() override { ++footerClears; }
    void resetAutoCompletion(bool visible) override
    {
        completion = false;
        completionVisible = visible;
        ++completionResets;
    }
};
