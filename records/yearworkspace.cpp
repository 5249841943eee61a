#include "records/yearworkspace.h"

YearWorkspace::YearWorkspace(int year, bool autoCalculation)
    : m_year(QString::number(year)), m_calculation(autoCalculation), m_previous(workspaceState())
{
    setWorkspaceState(this);
}

YearWorkspace::~YearWorkspace()
{
    setWorkspaceState(m_previous);
}

bool YearWorkspace::calculationInForce()
{
    const WorkspaceState *ws = workspaceState();
    return !ws || ws->autoCalculation();
}
