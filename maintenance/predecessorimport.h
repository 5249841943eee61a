#pragma once
// The import of agents and insured persons from the predecessor program's database file,
// "BDPEL.GDB" in the program folder. It is read on a connection of its own: the program's
// database stays connected throughout, whatever happens to the other file.

#include <QString>

namespace PredecessorImport {

QString fileName(); // "BDPEL.GDB"
// " Lipseste fisierul  "BDPEL.GDB"": the message when the file is missing.
QString missingFileMessage();

// "Import BD PELDOR": adds every agent (matched by ea_idno) and person (matched by ap_cpas or
// ap_idnp) that the program's database does not hold, through the save rules of agents and
// persons; a person the rules refuse is skipped, an agent they refuse stops the import with the
// rule's message. Ends with " OK". The persons gone through are counted as progress; the user
// may stop between two, which ends the import as a failure would (EE saying how far it got).
void run();

} // namespace PredecessorImport
