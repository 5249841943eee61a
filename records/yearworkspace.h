#pragma once
// The persons workspace as an operation run without it sees it: the year it was given, the
// automatic calculation as given and no automatic completion. Installed for its lifetime, in
// place of the workspace in force, which it gives back afterwards.

#include "records/workspacestate.h"

class YearWorkspace : public WorkspaceState
{
public:
    YearWorkspace(int year, bool autoCalculation);
    ~YearWorkspace() override;
    YearWorkspace(const YearWorkspace &) = delete;
    YearWorkspace &operator=(const YearWorkspace &) = delete;

    // The automatic calculation of the workspace in force: its menu switch, ticked when there
    // is no window.
    static bool calculationInForce();

    QString selectedYear() const override { return m_year; }
    int activePage() const override { return 2; }
    bool autoCompletion() const override { return false; }
    bool autoCalculation() const override { return m_calculation; }
    void clearFooterSums() override { }

private:
    QString m_year;
    bool m_calculation;
    WorkspaceState *m_previous;
};
