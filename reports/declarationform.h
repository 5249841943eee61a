#pragma once
// The declaration form of an insured person (QuickRep9, "REV5"): one page per declaration with
// its monthly rows and a "Total" line, printed for one month from the persons workspace or for
// the year or a quarter of a package, or of one declaration of it, from the forms-printing window.
// The rows go through person (one per declaration) and saldo (its lines, detail of person).

#include <QString>

class IbQuery;
class Report;
class ReportSource;

namespace DeclarationForm {

// Which period box is ticked "x".
enum class Period { Year, Month };
// The buttons of the forms-printing window, by their tags.
enum class Scope { Package = 2, Declaration = 3 };

QString monthlyHeaderStatement(const QString &year, const QString &declarationId);
QString monthlyRowsStatement(const QString &declarationId, const QString &month);
QString packageHeaderStatement(Scope scope, const QString &packageId, const QString &declarationId);
QString packageRowsStatement(Scope scope, const QString &packageId, const QString &declarationId,
                             const QString &quarter);
// The condition that limits the package print to a quarter: empty when "Trimestru" is not
// ticked, the box is empty or the number is not 1 to 4. Text that is not a whole number is
// refused with "Indicati trimestrul corect (1 - 4) !".
QString quarterCondition(bool ticked, const QString &text);
// "Ianuarie".."Decembrie" for 1..12, else "".
QString monthName(int month);

// Rebuilds person from the open header query: its columns, then na_ft1..na_ft3 marking the
// declaration's form type. With blankPublicN an na_public of "N" is left empty.
void buildPerson(IbQuery *header, bool blankPublicN);
// Rebuilds saldo from the open monthly query: its columns and `no`, each declaration's lines
// numbered from 1 and followed by a "Total" line. With packagePrint the month names come from
// sd_dela_d and category 150 is left out of the pay-fund total.
void buildSaldo(IbQuery *rows, bool packagePrint);

// The layout over person and its saldo lines.
void build(Report &report, ReportSource &person, ReportSource &saldo, const QString &year, Period period);

// The monthly print from the persons workspace: first the month of the current monthly row goes
// into Temp.km_rf (the dialog shows it), then the form of that month is previewed.
void prepareMonth();
void printMonth();

// "Pachet" or "Declaraţia" of the forms-printing window: the current package of pachet, or its
// current declaration of rev, previewed or sent to the printer.
void printPackage(Scope scope, bool quarterTicked, const QString &quarterText, bool preview);

} // namespace DeclarationForm
