#pragma once
// The rules of the economic agent: the checks and the write made when an agent row is posted,
// the loading of all agents for the agent window, and the deletion of an agent.

class RecordSet;

namespace EconAgentRules {

// Installs the save rule on DM->econ_agent (called at connection and by the agent window).
void attach();

// Save rule: raises EE with the first failing check's message, or writes the row.
void beforePost(RecordSet &agent);

// Reads every agent into DM->econ_agent, the save rule detached during the copy.
void loadAll();

enum class DeleteResult { NothingToDelete, Declined, HasPersons, Deleted };
// Deletes the current agent and its packages after the "Confirmare" question; an agent that
// still has insured persons is kept and the user is told why.
DeleteResult deleteCurrent();

} // namespace EconAgentRules
