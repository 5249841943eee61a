#pragma once
// The electronic package of a period: the year's packages are formed again, the data checked,
// the four files written and archived, the archive filed in "Primara" or "De_corectare" and
// registered, and the period's monthly rows marked as sent. The menu and the command line run
// the same steps; only the question about removable media is the menu's alone.

#include "packages/packageperiod.h"

#include <QString>

namespace ElectronicPackage {

// What comes before the period is asked: the packages of the selected year are formed again
// and the edits left pending are posted.
void prepare();

// The checks before forming, in their order, for the selected year and the current agent.
// Each refusal is an EE with its message; checks 3 and 6 change the database as they pass.
void check(const PackagePeriod &period);

// Forms the package of the chosen period and form type for the current agent and the selected
// year, after the checks: files, archive, optional copy to removable media, filing, registry
// and marks. Returns the path of the filed archive; empty when the period has no packages to
// send ("Nu sint date !" was shown). Refusals are EE; nothing is registered or marked when
// the files or the archive fail. The user sees the steps as progress.
QString form(const PackagePeriod &period, int formType, bool offerCopy);

// Copies the archive into the folder, under the same name, through a temporary file that is
// read back before it takes the name. False, with nothing left behind, when any step fails.
bool copyVerified(const QString &archive, const QString &folder);

// The folder of the program where archives of the form type are filed.
QString filingFolder(int formType);

// The names of the four files, in the order the archiver is given them.
const QStringList &fileNames();

} // namespace ElectronicPackage
