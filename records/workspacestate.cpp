#include "records/workspacestate.h"

namespace {
WorkspaceState *g_state = nullptr;
}

WorkspaceState *workspaceState()
{
    return g_state;
}

void setWorkspaceState(WorkspaceState *state)
{
    g_state = state;
}
