#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrolllimits.h"

namespace PayrollMessages {

namespace {

QString inFile(const QString &file, const QString &what)
{
    return QStringLiteral("Fișierul „%1” %2").arg(file, what);
}

} // namespace

QString grouped(long long n)
{
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u' ');
    return n < 0 ? u'-' + digits : digits;
}

QString missing(const QString &file)
{
    return inFile(file, QStringLiteral("nu există"));
}

QString unreadable(const QString &file, const QString &reason)
{
    return inFile(file, QStringLiteral("nu poate fi citit (%1)").arg(reason));
}

QString unknownKind(const QString &file)
{
    return inFile(file, QStringLiteral("nu este de tipul .csv, .txt, .xlsx sau .ods"));
}

QString tooLarge(const QString &file)
{
    return inFile(file, QStringLiteral("are peste %1 MB, mai mult decît are exportul salariilor unui an")
                            .arg(PayrollLimits::kFileBytes >> 20));
}

QString empty(const QString &file)
{
    return inFile(file, QStringLiteral("este gol"));
}

QString headerOnly(const QString &file)
{
    return inFile(file, QStringLiteral("are numai antetul, fără rînduri de salarii"));
}

QString notText(const QString &file)
{
    return inFile(file, QStringLiteral("nu este un fișier text"));
}

QString utf16(const QString &file)
{
    return inFile(file, QStringLiteral("este scris în codificarea UTF-16; salvați-l ca text UTF-8 sau Windows-1250"));
}

QString badUtf8(const QString &file, int line)
{
    return inFile(file, QStringLiteral("începe ca un text UTF-8, dar rîndul %1 nu este text UTF-8").arg(line));
}

QString unclosedQuote(const QString &file, int line)
{
    return inFile(file, QStringLiteral("are ghilimele deschise în rîndul %1 care nu se mai închid").arg(line));
}

QString tooManyLines(const QString &file)
{
    return inFile(file, QStringLiteral("are peste %1 de rînduri").arg(grouped(PayrollLimits::kLines)));
}

QString tooManyColumns(const QString &file, int line)
{
    return inFile(file,
                  QStringLiteral("are în rîndul %1 date dincolo de coloana %2").arg(line).arg(PayrollLimits::kColumns));
}

QString tooManyCells(const QString &file)
{
    return inFile(file, QStringLiteral("are peste %1 de celule").arg(grouped(PayrollLimits::kCells)));
}

QString cellTooLong(const QString &file, int line, int column)
{
    return inFile(file, QStringLiteral("are în rîndul %1, coloana %2 un text de peste %3 de caractere")
                            .arg(line)
                            .arg(column)
                            .arg(grouped(PayrollLimits::kCellChars)));
}

QString notSpreadsheet(const QString &file)
{
    return inFile(file, QStringLiteral("nu este un registru de calcul .xlsx sau .ods"));
}

QString legacySpreadsheet(const QString &file)
{
    return inFile(file, QStringLiteral("este un registru .xls vechi sau unul protejat cu parolă; salvați-l ca "
                                       ".xlsx fără parolă"));
}

QString damaged(const QString &file, const QString &detail)
{
    return inFile(file, QStringLiteral("este deteriorat (%1)").arg(detail));
}

QString partTooLarge(const QString &file, const QString &part)
{
    return inFile(file, QStringLiteral("este deteriorat sau prea mare: partea „%1” are, despachetată, peste %2 MB")
                            .arg(part)
                            .arg(PayrollLimits::kMemberBytes >> 20));
}

QString noSheets(const QString &file)
{
    return inFile(file, QStringLiteral("nu are nicio foaie de calcul"));
}

QString noSheet(const QString &file, const QString &sheet)
{
    return inFile(file, QStringLiteral("nu are foaia „%1”").arg(sheet));
}

QString emptySheet(const QString &file, const QString &sheet)
{
    return QStringLiteral("Foaia „%1” a fișierului „%2” este goală").arg(sheet, file);
}

QString noPersonColumn()
{
    return QStringLiteral("Antetul fișierului nu are o coloană CPAS sau IDNP");
}

QString noMonthColumn()
{
    return QStringLiteral("Antetul fișierului nu are coloana Luna");
}

QString noAmountColumn()
{
    return QStringLiteral("Antetul fișierului nu are o coloană de sume (Fond de remunerare sau Concediu medical)");
}

QString fieldTwice(const QString &caption, int firstColumn, int secondColumn)
{
    return QStringLiteral("„%1” este ales pentru două coloane (%2 și %3)")
        .arg(caption)
        .arg(firstColumn)
        .arg(secondColumn);
}

QString noPerson()
{
    return QStringLiteral("Rîndul nu are nici CPAS, nici IDNP");
}

QString cpasNotDigits(const QString &value)
{
    return QStringLiteral("CPAS '%1' trebuie să fie numai din cifre").arg(value);
}

QString cpasTooLong(const QString &value)
{
    return QStringLiteral("CPAS '%1' are mai mult de 13 cifre").arg(value);
}

QString idnpNotDigits(const QString &value)
{
    return QStringLiteral("IDNP '%1' trebuie să fie numai din cifre").arg(value);
}

QString idnpLength(const QString &value)
{
    return QStringLiteral("IDNP '%1' trebuie să aibă 13 cifre").arg(value);
}

QString textTooLong(const QString &caption, int limit)
{
    return QStringLiteral("%1 are peste %2 de caractere").arg(caption).arg(limit);
}

QString noMonth()
{
    return QStringLiteral("Lipsește luna");
}

QString noSuchMonth(const QString &value, bool quoted)
{
    return QStringLiteral("Luna %1 nu există").arg(quoted ? u'\'' + value + u'\'' : value);
}

QString monthOfAnotherYear(const QString &value, int year)
{
    return QStringLiteral("Luna '%1' nu este din anul %2").arg(value).arg(year);
}

QString notANumber(const QString &value)
{
    return QStringLiteral("Suma '%1' nu este un număr").arg(value);
}

QString thousandsSeparator(const QString &value, int line, const QString &column)
{
    return QStringLiteral("Suma '%1' are separator de mii (rîndul %2, coloana %3)").arg(value).arg(line).arg(column);
}

QString thousandsOrDecimals(const QString &value, int line, const QString &column)
{
    return QStringLiteral("Suma '%1' poate avea separator de mii sau trei zecimale (rîndul %2, coloana %3)")
        .arg(value)
        .arg(line)
        .arg(column);
}

QString notADate(const QString &value, const QString &column)
{
    return QStringLiteral("Data '%1' nu este o dată în forma zz.ll.aaaa (coloana %2)").arg(value, column);
}

QString workingDays(const QString &value)
{
    return QStringLiteral("Zilele lucrătoare pe săptămînă trebuie să fie 5 sau 6, nu '%1'").arg(value);
}

QString notACode(const QString &caption, const QString &value)
{
    return QStringLiteral("%1 '%2' nu este un cod numeric").arg(caption, value);
}

QString formType(const QString &value)
{
    return QStringLiteral("Tipul formularului '%1' nu există (1 primară, 3 de corectare)").arg(value);
}

QString moreFieldsThanHeader(int fields, int headerFields, bool commaSeparated)
{
    QString text = QStringLiteral("Rîndul are %1 cîmpuri, antetul numai %2").arg(fields).arg(headerFields);
    if (commaSeparated)
        text += QStringLiteral(
            "; cînd virgula desparte cîmpurile, o sumă cu virgulă zecimală se scrie între ghilimele");
    return text;
}

} // namespace PayrollMessages
