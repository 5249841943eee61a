#include "packages/check/fieldformats.h"
#include "packages/check/checkfindings.h"
#include "packages/check/packagebounds.h"
#include "packages/check/packagename.h"
#include "packages/check/packagevalues.h"
#include "records/insuredcategory.h"

#include <algorithm>
#include <utility>

using namespace PackageValues;

namespace {

const PackageMember Sd = PackageMember::Sd, Ip = PackageMember::Ip, Na = PackageMember::Na, T = PackageMember::T;

} // namespace

std::optional<qint64> FieldFormats::whole(PackageMember m, const FileLine &l, int i, const QString &what)
{
    const auto n = wholeNumber(l.field(i));
    if (!n)
        m_findings.add(m, l.number, i, [&] {
            return QStringLiteral("%1 trebuie să fie un număr întreg fără zerouri în față").arg(what);
        });
    return n;
}

void FieldFormats::money(PackageMember m, const FileLine &l, int first, int count)
{
    for (int i = first; i < first + count; ++i)
        if (!l.money(i))
            m_findings.add(m, l.number, i, QStringLiteral("suma trebuie scrisă cu punct și exact două zecimale"));
}

std::optional<QDate> FieldFormats::day(PackageMember m, const FileLine &l, int i, const QString &what, bool required)
{
    const View v = l.field(i);
    if (v.empty()) {
        if (required)
            m_findings.add(m, l.number, i, [&] { return QStringLiteral("%1 lipsește").arg(what); });
        return std::nullopt;
    }
    const auto d = date(v);
    if (!d)
        m_findings.add(m, l.number, i, [&] {
            return QStringLiteral("%1 trebuie să fie o dată existentă în forma zz.ll.aaaa").arg(what);
        });
    return d;
}

void FieldFormats::sdLine(const FileLine &l)
{
    whole(Sd, l, 1, QStringLiteral("numărul declarației"));
    whole(Sd, l, 2, QStringLiteral("numărul pachetului"));
    if (l.field(3) == View("13"))
        for (int i = 4; i <= 8; ++i)
            if (!l.field(i).empty())
                m_findings.add(Sd, l.number, i,
                               QStringLiteral("pe rîndul total al declarației cîmpul trebuie să fie gol"));
}

void FieldFormats::sdBegin(const SdDeclaration &)
{
    m_lastMonth = 0;
    m_periods.clear();
}

void FieldFormats::sdRow(const FileLine &l, const SdDeclaration &)
{
    const auto month = wholeNumber(l.field(3));
    if (!month || *month < 1 || *month > 12) {
        m_findings.add(Sd, l.number, 3, QStringLiteral("luna trebuie să fie un număr de la 1 la 12"));
    } else {
        if (m_name.valid() && (*month < m_name.firstMonth() || *month > m_name.lastMonth()))
            m_findings.add(Sd, l.number, 3, [&] {
                return QStringLiteral("luna %1 nu face parte din perioada %2 a arhivei")
                    .arg(*month)
                    .arg(m_name.period());
            });
        if (*month < m_lastMonth)
            m_findings.add(Sd, l.number, 3,
                           QStringLiteral("rîndurile declarației trebuie să urmeze în ordinea lunilor"));
        m_lastMonth = int(*month);
    }

    if (!l.field(4).empty())
        whole(Sd, l, 4, QStringLiteral("codul funcției"));
    std::optional<qint64> category;
    if (l.field(5).empty())
        m_findings.add(Sd, l.number, 5, QStringLiteral("categoria lipsește"));
    else
        category = whole(Sd, l, 5, QStringLiteral("categoria"));
    if (l.field(6) != View("5") && l.field(6) != View("6"))
        m_findings.add(Sd, l.number, 6, QStringLiteral("zilele lucrătoare pe săptămînă trebuie să fie 5 sau 6"));

    const auto from = day(Sd, l, 7, QStringLiteral("începutul perioadei"), true);
    const auto until = day(Sd, l, 8, QStringLiteral("sfîrșitul perioadei"), true);
    const double cat = double(category.value_or(0));
    int fromYear = 0, fromMonth = 0, untilYear = 0, untilMonth = 0;
    if (from)
        from->getDate(&fromYear, &fromMonth, nullptr);
    if (until)
        until->getDate(&untilYear, &untilMonth, nullptr);
    if (from && until) {
        if (!InsuredCategory::carriesNoAmounts(cat) && (fromMonth != untilMonth || fromYear != untilYear))
            m_findings.add(Sd, l.number, 8,
                           QStringLiteral("perioada trebuie să înceapă și să se încheie în aceeași lună"));
        if (*until < *from)
            m_findings.add(Sd, l.number, 8, QStringLiteral("perioada se încheie înainte de a începe"));
    }
    // Two rows of one month and category may not cover the same days.
    if (from && until && month && category && *from <= *until) {
        for (const Period &p : m_periods)
            if (p.month == *month && p.category == *category && !(*until < p.from || *from > p.until)) {
                m_findings.add(Sd, l.number, 7, [&] {
                    return QStringLiteral("perioada se suprapune cu cea a rîndului %1, din aceeași lună și categorie")
                        .arg(p.line);
                });
                break;
            }
        if (m_periods.size() < size_t(PackageBounds::RowsPerDeclaration))
            m_periods.push_back(Period{*month, *category, *from, *until, l.number});
    }
    if (from && m_name.valid()) {
        const int year = m_name.year();
        if (fromYear < year - 1 || fromYear > year + 1)
            m_findings.add(Sd, l.number, 7, [&] {
                return QStringLiteral("anul perioadei nu poate fi %1 într-o declarație a anului %2")
                    .arg(fromYear)
                    .arg(year);
            });
        else if (month && *month >= 1 && *month <= 12 && !InsuredCategory::mayBeginBeforeMonth(cat)
                 && !InsuredCategory::carriesNoAmounts(cat)
                 && (fromYear < year || (fromYear == year && fromMonth < *month)))
            m_findings.add(Sd, l.number, 7, [&] {
                return QStringLiteral("perioada începe înainte de luna %1 a anului %2").arg(*month).arg(year);
            });
    }
    money(Sd, l, 9, 5);
}

void FieldFormats::sdEnd(const SdDeclaration &, const FileLine *total)
{
    if (total)
        money(Sd, *total, 9, 5);
}

void FieldFormats::ipLine(const FileLine &l)
{
    whole(Ip, l, 1, QStringLiteral("numărul pachetului"));
    const auto count = whole(Ip, l, 2, QStringLiteral("numărul declarațiilor"));
    money(Ip, l, 3, 5);
    if (count && *count > 50)
        m_findings.add(Ip, l.number, 2, QStringLiteral("un pachet nu poate avea mai mult de 50 de declarații"));
}

void FieldFormats::naLine(const FileLine &l)
{
    whole(Na, l, 1, QStringLiteral("numărul declarației"));
    whole(Na, l, 2, QStringLiteral("numărul pachetului"));

    const View cpas = l.field(3);
    if (cpas.empty())
        m_findings.add(Na, l.number, 3, QStringLiteral("codul personal de asigurări sociale (CPAS) lipsește"));
    else if (cpas.size() != 11 || !allDigits(cpas))
        m_findings.add(Na, l.number, 3,
                       QStringLiteral("codul personal de asigurări sociale (CPAS) trebuie să aibă 11 cifre"));

    static const QString nameWhat[3] = {QStringLiteral("numele"), QStringLiteral("prenumele"),
                                        QStringLiteral("patronimicul")};
    for (int k = 0; k < 3; ++k) {
        const View v = l.field(4 + k);
        const int field = 4 + k;
        const QString &what = nameWhat[k];
        if (v.empty()) {
            if (k < 2)
                m_findings.add(Na, l.number, field, [&] { return QStringLiteral("%1 lipsește").arg(what); });
            continue;
        }
        if (v.size() > 50)
            m_findings.add(Na, l.number, field,
                           [&] { return QStringLiteral("%1 are mai mult de 50 de caractere").arg(what); });
        const QString t = text(v);
        if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLower(); }))
            m_findings.add(Na, l.number, field,
                           [&] { return QStringLiteral("%1 trebuie scris cu majuscule").arg(what); });
        static const std::pair<char, const char *> mapped[] = {{'\xCE', "}"},
                                                               {'\xC3', "{"},
                                                               {'\xC2', "|"},
                                                               {'\xAA', ":"},
                                                               {'\xDE', "\""}};
        for (const auto &letter : mapped)
            if (v.find(letter.first) != View::npos) {
                m_findings.add(Na, l.number, field, [&] {
                    return QStringLiteral("litera %1 se scrie în pachet ca semnul %2")
                        .arg(text(View(&letter.first, 1)), QString::fromLatin1(letter.second));
                });
                break;
            }
    }

    const auto birth = day(Na, l, 7, QStringLiteral("data nașterii"), false);
    const auto issued = day(Na, l, 13, QStringLiteral("data eliberării documentului"), false);
    const QDate low(1900, 1, 1), high(2200, 1, 1);
    if (birth && (*birth < low || *birth > high))
        m_findings.add(Na, l.number, 7, QStringLiteral("data nașterii trebuie să fie între 01.01.1900 și 01.01.2200"));
    if (issued && (*issued < low || *issued > high))
        m_findings.add(Na, l.number, 13,
                       QStringLiteral("data eliberării documentului trebuie să fie între 01.01.1900 și 01.01.2200"));
    if (birth && issued && *issued <= *birth)
        m_findings.add(Na, l.number, 13,
                       QStringLiteral("data eliberării documentului trebuie să fie după data nașterii"));

    std::optional<qint64> docType;
    if (!l.field(9).empty()) {
        docType = whole(Na, l, 9, QStringLiteral("tipul documentului"));
        if (docType && *docType == 0) {
            m_findings.add(Na, l.number, 9, QStringLiteral("tipul de document 0 se scrie ca un cîmp gol"));
            docType.reset();
        }
    }
    const int type = int(docType.value_or(0));

    const View idnp = l.field(8);
    if (idnp.empty()) {
        if (type == 1 || type == 12 || type == 13 || type == 14 || type == 21)
            m_findings.add(Na, l.number, 8, [&] {
                return QStringLiteral("codul personal lipsește; documentul de tipul %1 îl cere").arg(type);
            });
    } else if (idnp.size() != 13 || !allDigits(idnp)) {
        m_findings.add(Na, l.number, 8, QStringLiteral("codul personal trebuie să aibă 13 cifre"));
    }

    const View series = l.field(10);
    if (series.size() > 9)
        m_findings.add(Na, l.number, 10, QStringLiteral("seria documentului are mai mult de 9 caractere"));
    if (type == 1 && series.size() > 2) {
        m_findings.add(Na, l.number, 10, QStringLiteral("seria documentului are mai mult de două litere"));
    } else if ((type == 2 || type == 12) && !series.empty()) {
        // A Roman numeral, then after a hyphen capital Cyrillic letters (bytes 0xC0 to 0xDF).
        auto numeral = [](char c) { return c == 'X' || c == 'V' || c == 'I' || c == 'L'; };
        bool ok = numeral(series[0]);
        const size_t hyphen = series.find('-');
        if (ok && hyphen != View::npos && hyphen >= 2) {
            for (size_t i = 1; i < hyphen; ++i)
                ok = ok && numeral(series[i]);
            ok = ok && hyphen + 1 < series.size();
            for (size_t i = hyphen + 1; i < series.size(); ++i) {
                const auto b = static_cast<unsigned char>(series[i]);
                ok = ok && b >= 0xC0 && b <= 0xDF;
            }
        }
        if (!ok)
            m_findings.add(Na, l.number, 10, QStringLiteral("seria documentului este incorectă"));
    }

    const View number = l.field(11);
    if (number.size() > 13)
        m_findings.add(Na, l.number, 11, QStringLiteral("numărul documentului are mai mult de 13 caractere"));
    int limit = 0;
    if (type == 1 || type == 3 || type == 13 || type == 21)
        limit = 8;
    else if (type == 2 || type == 12)
        limit = 6;
    else if (type == 4)
        limit = 13;
    if (limit) {
        if (number.empty())
            m_findings.add(Na, l.number, 11, QStringLiteral("numărul documentului lipsește"));
        else if (int(number.size()) > limit && type != 4)
            m_findings.add(Na, l.number, 11, [&] {
                return QStringLiteral("numărul documentului are mai mult de %1 cifre")
                    .arg(limit == 8 ? QStringLiteral("opt") : QStringLiteral("șase"));
            });
        else if (!allDigits(number))
            m_findings.add(Na, l.number, 11, QStringLiteral("numărul documentului trebuie să fie numai din cifre"));
    }
    if (l.field(12).size() > 20)
        m_findings.add(Na, l.number, 12,
                       QStringLiteral("autoritatea care a eliberat documentul are mai mult de 20 de caractere"));
}

void FieldFormats::tLine(const FileLine &l, int)
{
    const View f1 = l.field(1);
    if (f1 != View("1") && f1 != View("3"))
        m_findings.add(T, l.number, 1, QStringLiteral("tipul formularului trebuie să fie 1 sau 3"));
    else if (m_name.valid() && f1[0] - '0' != m_name.formType())
        m_findings.add(T, l.number, 1, [&] {
            return QStringLiteral("tipul formularului %1 nu este cel din numele arhivei (%2)")
                .arg(text(f1))
                .arg(m_name.formType());
        });
    const View year = l.field(2);
    if (year.size() != 4 || !allDigits(year))
        m_findings.add(T, l.number, 2, QStringLiteral("anul trebuie să aibă patru cifre"));
    else if (m_name.valid() && text(year).toInt() != m_name.year())
        m_findings.add(T, l.number, 2, [&] {
            return QStringLiteral("anul %1 nu este cel din numele arhivei (%2)").arg(text(year)).arg(m_name.year());
        });
    const View period = l.field(3);
    if (period.size() != 2 || !allDigits(period))
        m_findings.add(T, l.number, 3, QStringLiteral("perioada trebuie să aibă două cifre"));
    else if (m_name.valid() && text(period) != m_name.digits())
        m_findings.add(T, l.number, 3, [&] {
            return QStringLiteral("perioada %1 nu este cea din numele arhivei (%2)").arg(text(period), m_name.digits());
        });
    const View office = l.field(4);
    if (office.size() < 2 || !allDigits(office) || (office.size() > 2 && office[0] == '0'))
        m_findings.add(T, l.number, 4,
                       QStringLiteral(
                           "codul oficiului teritorial trebuie să fie un număr întreg de cel puțin două cifre"));
    const View agent = l.field(5);
    if (agent.size() != 7 || !allDigits(agent))
        m_findings.add(T, l.number, 5, QStringLiteral("codul agentului economic trebuie să aibă 7 cifre"));
    else if (m_name.valid() && text(agent) != m_name.agent())
        m_findings.add(T, l.number, 5, [&] {
            return QStringLiteral("codul agentului economic %1 nu este cel din numele arhivei (%2)")
                .arg(text(agent), m_name.agent());
        });
    const View fiscal = l.field(6);
    if (fiscal.empty())
        m_findings.add(T, l.number, 6, QStringLiteral("codul fiscal lipsește"));
    else if (fiscal.size() > 17 || !allDigits(fiscal))
        m_findings.add(T, l.number, 6, QStringLiteral("codul fiscal trebuie să fie format din cel mult 17 cifre"));
    if (l.field(7).empty())
        m_findings.add(T, l.number, 7, QStringLiteral("persoana responsabilă lipsește"));
    day(T, l, 8, QStringLiteral("data"), true);
    whole(T, l, 9, QStringLiteral("numărul pachetelor"));
    money(T, l, 10, 5);
}
