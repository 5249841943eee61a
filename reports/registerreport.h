#pragma once
// The register of workers: every insured person of the economic agent with name, CPAS, IDNP,
// passport and birth date, read into CDS and shown in the preview or handed to the spreadsheet.

#include <QString>

class Report;
class ReportSource;

namespace RegisterReport {

// The statement that reads the register of an agent.
QString statement(double agentId);
// "'name'" with an inner quote doubled: the second title line.
QString quotedAgentName(const QString &name);
// Reads the current agent's persons into CDS (mode 2) and returns the title line.
QString readIntoCds();
// The layout QuickRep1 over the rows of CDS.
void build(Report &report, ReportSource &rows, const QString &agentTitle);
// Full name of a row: first name, then the given name and the patronymic when not empty.
QString fullName(const QString &first, const QString &middle, const QString &last);

// The handler of "&Tipaul registrului" (tag 0) and "Export registrul in Excel" (tag 1).
void run(int tag);

} // namespace RegisterReport
