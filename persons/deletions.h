#pragma once
// The three "&Stergere" entries of the persons workspace: a person with everything recorded
// for it, a declaration with its monthly rows, one monthly row. Rows that an electronic
// package has carried to the authority are kept (the person deletion excepted, which asks twice).

namespace Deletions {

// "&Date" > "&Stergere": after "Confirmare", the current person; with declarations, after a
// second question, every declaration of every year with its monthly rows, money_util and
// stage_info rows, each statement committed on its own, the declarations counted as progress.
// A person never written is only dropped from the list. Nothing happens with an empty list or
// on No.
void deletePerson();

// "D&eclaratia" > "&Stergere": after "Confirmare", the declaration of the selected year with
// its monthly rows. Raises EE without a saved person, when a row was sent in an electronic
// package, or when a formed package covers the month of the earliest row.
void deleteDeclaration();

// "&Salariul" > "&Stergere": the current monthly row, after "Confirmare". Raises EE (and
// cancels the row's edit) when the row was sent or a formed package covers its month. A row
// never written is only dropped from the grid.
void deleteMonthlyRow();

} // namespace Deletions
