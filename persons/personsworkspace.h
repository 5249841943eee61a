#pragma once
// What the persons workspace does with the data, apart from its controls: the person search,
// the loading done by the page switches and the year box, and a new person. The window reads
// its boxes, calls these and shows the result; tests call them directly.

#include <QString>
#include <QStringList>

class RecordSet;

namespace PersonsWorkspace {

// The texts of the four search boxes; a search clears some of them.
struct SearchBoxes {
    QString name;      // "Nume" (MaskEdit1)
    QString firstName; // "Prenume" (MaskEdit3)
    QString cpas;      // MaskEdit2
    QString idnp;      // MaskEdit4
};

enum class SearchBy { Name = 0, Cpas = 1, Idnp = 2 };

// The statement of a search; clears the boxes the search clears. Raises EE for a CPAS or IDNP
// of the wrong length (nothing cleared then).
QString searchStatement(SearchBy by, SearchBoxes &boxes, double agentId);
// Posts pending edits, runs the search into assured_person and loads the first person's
// declaration.
void search(SearchBy by, SearchBoxes &boxes);
// The button "&Căutare": by CPAS (all persons when empty) when both name boxes are empty,
// otherwise by name.
void searchButton(SearchBoxes &boxes);

// Changing the year: posts, empties the declaration and its rows, reloads for the new year.
void yearChanged();
// After an operation of this copy changed the declarations and rows it shows (forming the
// packages moves declarations, the electronic package and its annulment change their marks):
// on a shared database they are read again, so that their next save compares them with what
// is stored, not with what was shown before. Nothing on the database of one user.
void reloadAfterOperation();
// Leaving the year box: the working year and the categories and rates of that year.
void yearBoxLeft(const QString &year);

// Loading done by the page switches (after the window has posted and shown the page).
void leavePage();          // commit IBT4, close IBQ4
void openDeclarationPage(); // raises EE without a saved person
void openSalaryPage(const QString &year); // raises EE when the declaration has no category

// "Completarea automata" ticked: a new declaration when the person has none for the year.
void autoCompletionTicked();

// "&Nou" / F12: a new person row with sex "M".
void newPerson();

// The years of the year list: from the computer's year (2020 at least) down to 1998, newest first.
QStringList yearItems(int currentYear);
// The window's creation: empties the package record sets and makes the chosen year (the year
// list's text) the working year.
void windowCreated(const QString &year);
// "&Revocare": drops the pending edit of one record set.
void cancelEdit(RecordSet *set);
// Esc in a date or the document type: the field's record set in edit, the field emptied.
void clearField(RecordSet *set, const QString &fieldName);
// F9 in the monthly rows: the code lookup mode of the current column's field, 3 for the
// profession, 5 for the category, 0 for the other columns.
int gridLookupMode(const QString &fieldName);
// Before the code lookup dialog opens: the modes on the monthly row and the declaration's
// category (3 to 5) commit IBT5 and close IBQ5, the dialog's query.
void beforeCodeLookup(int mode);

} // namespace PersonsWorkspace
