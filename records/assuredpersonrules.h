#pragma once
// The rules of an insured person: the checks and the write made when a person row is posted,
// and the loading of the person's declaration when the current person changes.

#include <QString>

class RecordSet;
class RecordQuestions;

namespace AssuredPersonRules {

// Installs both rules on DM->assured_person.
void attach();

// Save rule: raises EE with the first failing check's message, or writes the row.
void beforePost(RecordSet &person);
// The checks of the save rule, in its order, with the database's answers from `questions`:
// raises EE with the first failing check's message. A new row gets its agent, and only when
// `identify` its identifier from get_ap_id where the rule fetches it; nothing is written.
void check(RecordSet &person, RecordQuestions &questions, bool identify);
// Move rule: reloads the declaration of the selected year (and its monthly rows on the page
// "Salariul") for the current person.
void afterScroll(RecordSet &person);

// The series test of document types 2 and 12.
bool seriesValid(const QString &series);

} // namespace AssuredPersonRules
