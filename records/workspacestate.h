#pragma once
// What the record rules read from the persons workspace: the selected year, the page shown,
// the automatic completion and calculation switches, and the grid's footer sums. The window
// implements it; tests implement it too, so the rules run without a screen.

#include <QString>

class WorkspaceState
{
public:
    virtual ~WorkspaceState() = default;
    virtual QString selectedYear() const = 0;   // the text of the year list, "" when none
    virtual int activePage() const = 0;         // 0 "Date", 1 "Declaratia", 2 "Salariul"
    virtual bool autoCompletion() const = 0;    // "Completarea automata"
    virtual bool autoCalculation() const = 0;   // "&Calcularea automata"
    virtual void clearFooterSums() = 0;
    // Unticks the automatic completion box without running its handler and shows it only
    // when asked (the person has no declaration for the year).
    virtual void resetAutoCompletion(bool visible) { (void)visible; }
};

// The workspace in force (the persons window once it exists).
WorkspaceState *workspaceState();
void setWorkspaceState(WorkspaceState *state);
