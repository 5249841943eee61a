#pragma once
// The rules of a declaration: the defaults of a new one, and the checks and the write made
// when a declaration row is posted, which also give a new declaration its package.

#include <QString>

class RecordSet;
class RecordQuestions;

namespace NameAccountRules {

// Installs the insertion rule (afterInsert) and the save rule (beforePost) on
// DM->name_account. Copying rows into the record set detaches them (see DetachedHandler).
void attach();

// Insertion rule: form type, flags, category 101 and the whole selected year as period; the
// category and function of the person's latest declaration when there is one.
void afterInsert(RecordSet &declaration);

// Save rule: raises EE with the failing check's message (a second declaration of the person
// for the year is discarded first), or writes the row with INSERT or UPDATE.
void beforePost(RecordSet &declaration);

// The same rules for a declaration of a person given by its ap_id rather than the current row
// of assured_person: the insertion rule with the answers from `questions`, the save rule, and
// the checks of the save rule alone (the flags set, the function and a second declaration of
// the year refused as the rule refuses them), which fetch nothing and write nothing.
void fillNew(RecordSet &declaration, const QString &person, RecordQuestions &questions);
void save(RecordSet &declaration, const QString &person);
void check(RecordSet &declaration, const QString &person, RecordQuestions &questions);

} // namespace NameAccountRules
