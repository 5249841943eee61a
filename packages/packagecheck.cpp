#include "packages/packagecheck.h"
#include "data/win1250.h"
#include "records/contribution.h"
#include "records/insuredcategory.h"

#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

using View = std::string_view;

const char Separator = '\xB0';
const QString MemberT = QStringLiteral("REV5_T");
const QString MemberIp = QStringLiteral("REV5_IP");
const QString MemberNa = QStringLiteral("REV5_NA");
const QString MemberSd = QStringLiteral("REV5_SD");
// A member larger than this is no package file; it is not read into memory.
const qint64 LargestMember = qint64(512) * 1024 * 1024;

int memberOrder(const QString &member)
{
    if (member.isEmpty())
        return 0;
    if (member == MemberT)
        return 1;
    if (member == MemberIp)
        return 2;
    if (member == MemberNa)
        return 3;
    if (member == MemberSd)
        return 4;
    return 5;
}

QString text(View v)
{
    return Win1250::decode(v.data(), int(v.size()));
}

bool allDigits(View v)
{
    return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number in plain decimal without leading zeros.
std::optional<qint64> wholeNumber(View v)
{
    if (!allDigits(v) || v.size() > 18 || (v.size() > 1 && v[0] == '0'))
        return std::nullopt;
    qint64 n = 0;
    for (char c : v)
        n = n * 10 + (c - '0');
    return n;
}

// Money in cents: an optional minus, digits without leading zeros, a point and two decimals;
// or the exponent form the fixed format takes beyond ten digits before the point.
std::optional<qint64> money(View v)
{
    View s = v;
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    const size_t point = s.find('.');
    if (point != View::npos && point + 3 == s.size() && s.find('E') == View::npos) {
        const View whole = s.substr(0, point), decimals = s.substr(point + 1);
        if (!allDigits(whole) || !allDigits(decimals) || (whole.size() > 1 && whole[0] == '0') || whole.size() > 15)
            return std::nullopt;
        qint64 cents = 0;
        for (char c : whole)
            cents = cents * 10 + (c - '0');
        cents = cents * 100 + (decimals[0] - '0') * 10 + (decimals[1] - '0');
        return negative ? -cents : cents;
    }
    static const QRegularExpression exponent(QStringLiteral("^[1-9](\\.[0-9]*[1-9])?E[0-9]+$"));
    const QString t = text(s);
    if (!exponent.match(t).hasMatch())
        return std::nullopt;
    const double value = t.toDouble();
    if (value < 1e10 || value > 1e16)
        return std::nullopt;
    const auto cents = qint64(std::llround(value * 100));
    return negative ? -cents : cents;
}

std::optional<QDate> date(View v)
{
    if (v.size() != 10 || v[2] != '.' || v[5] != '.' || !allDigits(v.substr(0, 2)) || !allDigits(v.substr(3, 2))
        || !allDigits(v.substr(6, 4)))
        return std::nullopt;
    auto num = [&](size_t at, size_t n) {
        int x = 0;
        for (size_t i = at; i < at + n; ++i)
            x = x * 10 + (v[i] - '0');
        return x;
    };
    const QDate d(num(6, 4), num(3, 2), num(0, 2));
    if (!d.isValid())
        return std::nullopt;
    return d;
}

QString centsText(qint64 cents)
{
    const qint64 a = std::llabs(cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}

// What the archive's name says.
struct ArchiveName {
    bool valid = false;
    QString agent;
    int formType = 0;
    int year = 0;
    QString period; // "T00", "L03"
    QString digits; // "00", "03"
    int firstMonth = 1, lastMonth = 12;
};

// The four money amounts of a line: pay fund, benefit, individual and employer's contribution.
struct Amounts {
    qint64 v[4] = {0, 0, 0, 0};
    Amounts &operator+=(const Amounts &o)
    {
        for (int i = 0; i < 4; ++i)
            v[i] += o.v[i];
        return *this;
    }
};

const QString AmountNames[4] = {QStringLiteral("fondul de remunerare"), QStringLiteral("suma indemnizațiilor"),
                                QStringLiteral("contribuția individuală"), QStringLiteral("contribuția angajatorului")};

// One line of a member: its number and its fields.
struct Line {
    int number = 0;
    std::vector<View> fields;
};

class Checker
{
public:
    Checker(PackageCheck::Result &result, const PackageClassifiers *classifiers)
        : m_result(result), m_classifiers(classifiers)
    { }

    void run(const QString &archiveName, const PackageCheck::Members &members);

private:
    void add(const QString &member, int line, int field, const QString &message,
             PackageFinding::Severity severity = PackageFinding::Error)
    {
        m_result.findings.push_back(PackageFinding{member, line, field, severity, message});
    }
    void warn(const QString &member, int line, int field, const QString &message)
    {
        add(member, line, field, message, PackageFinding::Warning);
    }

    void checkName(const QString &fileName);
    std::vector<Line> lines(const QString &member, const QByteArray &data, int fieldCount);

    void checkSd(const std::vector<Line> &lines);
    void checkSdRow(const Line &l, qint64 category, const Amounts &a);
    void checkRates(const Line &l, qint64 category, int month, const QDate &from, const Amounts &a);
    void checkNa(const std::vector<Line> &lines);
    void checkIp(const std::vector<Line> &lines);
    void checkT(const std::vector<Line> &lines, int ipLines);

    // Field `i` (from 1) of a line as a whole number / money / date, with a finding when it
    // is not one. An empty optional means the value is unusable.
    std::optional<qint64> whole(const QString &m, const Line &l, int i, const QString &what)
    {
        const auto n = wholeNumber(l.fields[size_t(i - 1)]);
        if (!n)
            add(m, l.number, i, QStringLiteral("%1 trebuie să fie un număr întreg fără zerouri în față").arg(what));
        return n;
    }
    std::optional<qint64> cents(const QString &m, const Line &l, int i)
    {
        const auto c = money(l.fields[size_t(i - 1)]);
        if (!c)
            add(m, l.number, i, QStringLiteral("suma trebuie scrisă cu punct și exact două zecimale"));
        return c;
    }
    std::optional<QDate> day(const QString &m, const Line &l, int i, const QString &what, bool required)
    {
        const View v = l.fields[size_t(i - 1)];
        if (v.empty()) {
            if (required)
                add(m, l.number, i, QStringLiteral("%1 lipsește").arg(what));
            return std::nullopt;
        }
        const auto d = date(v);
        if (!d)
            add(m, l.number, i, QStringLiteral("%1 trebuie să fie o dată existentă în forma zz.ll.aaaa").arg(what));
        return d;
    }
    // The four amounts of fields first..first+3, their total in field first+4 checked; false
    // when one of them is not money.
    bool amounts(const QString &m, const Line &l, int first, Amounts *a)
    {
        bool ok = true;
        for (int k = 0; k < 4; ++k) {
            const auto c = cents(m, l, first + k);
            ok = ok && c.has_value();
            a->v[k] = c.value_or(0);
        }
        const auto total = cents(m, l, first + 4);
        if (ok && total && *total != a->v[2] + a->v[3])
            add(m, l.number, first + 4,
                QStringLiteral("contribuția totală (%1) trebuie să fie suma cîmpurilor %2 și %3 (%4)")
                    .arg(centsText(*total))
                    .arg(first + 2)
                    .arg(first + 3)
                    .arg(centsText(a->v[2] + a->v[3])));
        return ok && total.has_value();
    }

    PackageCheck::Result &m_result;
    const PackageClassifiers *m_classifiers;
    ArchiveName m_name;

    // What REV5_SD says, for the other members: per declaration its package number and line,
    // per package number its declarations and the sums of their total lines.
    struct Declaration {
        qint64 package;
        int line;
    };
    QHash<qint64, Declaration> m_sdDeclarations;
    struct PackageSums {
        int declarations = 0;
        Amounts sums;
        int firstLine = 0;
    };
    QHash<qint64, PackageSums> m_sdPackages;
    bool m_sdUsable = false;
    // What REV5_IP says: its package numbers and sums.
    QSet<qint64> m_ipPackages;
    Amounts m_ipSums;
    bool m_ipUsable = false;
    bool m_naUsable = false;
    QHash<qint64, int> m_naDeclarations; // na_id -> line
};

void Checker::checkName(const QString &fileName)
{
    static const QRegularExpression form(QStringLiteral(
                                             "^REV5_([0-9]{7})_00([13])01_([0-9]{4})([TL])([0-9]{2})\\.RAR$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = form.match(fileName);
    if (!m.hasMatch()) {
        add(QString(), 0, 0,
            QStringLiteral("numele arhivei „%1” nu are forma REV5_<codul agentului>_00<tipul>01_<anul><perioada>.RAR; "
                           "anul, perioada și tipul formularului nu pot fi verificate")
                .arg(fileName));
        return;
    }
    m_name.agent = m.captured(1);
    m_name.formType = m.captured(2).toInt();
    m_name.year = m.captured(3).toInt();
    const QChar letter = m.captured(4).at(0).toUpper();
    m_name.digits = m.captured(5);
    m_name.period = letter + m_name.digits;
    const int n = m_name.digits.toInt();
    const int y = m_name.year;
    // The periods a year offers: the whole year always; quarters in 2013 and 2014; months
    // from 2015. A correction package exists only for a month from 2015.
    bool periodOk;
    if (letter == u'T' && n == 0)
        periodOk = true;
    else if (letter == u'T')
        periodOk = (y == 2013 || y == 2014) && n >= 1 && n <= 4;
    else
        periodOk = y >= 2015 && n >= 1 && n <= 12;
    if (!periodOk) {
        add(QString(), 0, 0,
            QStringLiteral("perioada %1 din numele arhivei nu este o perioadă a anului %2").arg(m_name.period).arg(y));
        return;
    }
    if (m_name.formType == 3 && (y < 2015 || n == 0 || letter == u'T'))
        add(QString(), 0, 0,
            y < 2015 ? QStringLiteral("pentru anul %1 nu se formează pachete de corectare").arg(y)
                     : QStringLiteral("declarația anuală poate fi numai primară"));
    if (letter == u'T' && n > 0) {
        m_name.firstMonth = 3 * n - 2;
        m_name.lastMonth = 3 * n;
    } else if (letter == u'L') {
        m_name.firstMonth = m_name.lastMonth = n;
    }
    m_name.valid = true;
}

std::vector<Line> Checker::lines(const QString &member, const QByteArray &data, int fieldCount)
{
    std::vector<Line> out;
    const View all(data.constData(), size_t(data.size()));
    size_t pos = 0;
    int number = 0;
    while (pos < all.size()) {
        ++number;
        size_t end = all.find('\n', pos);
        const bool lastWithoutEnd = end == View::npos;
        if (lastWithoutEnd)
            end = all.size();
        View line = all.substr(pos, end - pos);
        pos = end + 1;
        if (lastWithoutEnd)
            add(member, number, 0, QStringLiteral("ultimul rînd nu se încheie cu CR LF"));
        else if (line.empty() || line.back() != '\r')
            add(member, number, 0, QStringLiteral("rîndul se încheie cu LF fără CR înainte"));
        else
            line.remove_suffix(1);

        // Bytes that are no Windows-1250 text: control characters and the five undefined codes.
        for (char ch : line) {
            const auto b = static_cast<unsigned char>(ch);
            if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98) {
                add(member, number, 0,
                    QStringLiteral("rîndul conține octetul 0x%1, care nu este un caracter al textului Windows-1250")
                        .arg(QString::number(b, 16).toUpper().rightJustified(2, u'0')));
                break;
            }
        }

        Line l;
        l.number = number;
        // Every field is followed by the separator; a line without the last one is reported
        // and read as if it were there.
        if (line.empty() || line.back() != Separator)
            add(member, number, 0, QStringLiteral("rîndul nu se încheie cu separatorul ° (0xB0)"));
        size_t start = 0;
        while (start < line.size()) {
            size_t sep = line.find(Separator, start);
            if (sep == View::npos)
                sep = line.size();
            l.fields.push_back(line.substr(start, sep - start));
            start = sep + 1;
        }
        if (int(l.fields.size()) != fieldCount) {
            add(member, number, 0,
                QStringLiteral("rîndul are %1 cîmpuri în loc de %2").arg(l.fields.size()).arg(fieldCount));
            continue;
        }
        out.push_back(std::move(l));
    }
    return out;
}

void Checker::checkRates(const Line &l, qint64 category, int month, const QDate &from, const Amounts &a)
{
    if (!m_classifiers || !m_name.valid || InsuredCategory::carriesNoAmounts(double(category)))
        return;
    const int year = m_name.year;
    const auto rate = m_classifiers->rate(category, year);
    if (!rate) {
        warn(MemberSd, l.number, 5,
             QStringLiteral("nu există tarif pentru categoria %1 în anul %2").arg(category).arg(year));
        return;
    }
    if (InsuredCategory::rateZeroesContributions(double(category))) {
        for (int k : {2, 3})
            if (a.v[k] != 0)
                warn(MemberSd, l.number, 9 + k,
                     QStringLiteral("pentru categoria %1 %2 trebuie să fie 0.00").arg(category).arg(AmountNames[k]));
        return;
    }
    const double pay = double(a.v[0]) / 100, ill = double(a.v[1]) / 100;
    const double base = Contribution::base(pay, ill, year, month);
    // Whether the product is formed in extended or in double precision is the computing
    // program's choice, and a half cent may fall either way: a cent apart is no finding.
    auto differs = [](qint64 written, double expected) {
        return std::llabs(written - qint64(std::llround(expected * 100))) > 1;
    };
    if (rate->employerUnit == QLatin1String("P")) {
        const double expected = Contribution::percent(base, rate->employerValue);
        if (differs(a.v[3], expected))
            warn(MemberSd, l.number, 12,
                 QStringLiteral("contribuția angajatorului %1 nu corespunde tarifului de %2% al categoriei %3 în anul "
                                "%4 (%5)")
                     .arg(centsText(a.v[3]))
                     .arg(Contribution::wholeRate(rate->employerValue))
                     .arg(category)
                     .arg(year)
                     .arg(centsText(std::llround(expected * 100))));
    }
    if (rate->individualUnit == QLatin1String("L") && Contribution::yearlyAmountYear(year)
        && rate->individualValue > 0.01) {
        const double expected = Contribution::monthlyShare(rate->individualValue);
        if (differs(a.v[2], expected))
            warn(MemberSd, l.number, 11,
                 QStringLiteral("contribuția individuală %1 nu este a douăsprezecea parte din suma anuală a "
                                "categoriei %2 în anul %3 (%4)")
                     .arg(centsText(a.v[2]))
                     .arg(category)
                     .arg(year)
                     .arg(centsText(std::llround(expected * 100))));
        return;
    }
    if (rate->employerUnit != QLatin1String("P"))
        return;
    const double expected = Contribution::percent(base, rate->individualValue);
    const qint64 expectedCents = std::llround(expected * 100);
    // Under a ceiling the contribution may be cut below the rate, never raised above it.
    const bool ceiling = Contribution::ceilingYear(year) && rate->ceiling && *rate->ceiling > 1 && from.isValid()
                         && from.year() == year;
    if (ceiling ? a.v[2] > expectedCents + 1 : differs(a.v[2], expected))
        warn(MemberSd, l.number, 11,
             QStringLiteral(
                 "contribuția individuală %1 nu corespunde tarifului de %2% al categoriei %3 în anul %4 (%5)")
                 .arg(centsText(a.v[2]))
                 .arg(Contribution::wholeRate(rate->individualValue))
                 .arg(category)
                 .arg(year)
                 .arg(centsText(expectedCents)));
}

void Checker::checkSdRow(const Line &l, qint64 category, const Amounts &a)
{
    const QString &m = MemberSd;
    if (a.v[0] < 0)
        add(m, l.number, 9, QStringLiteral("fondul de remunerare nu poate fi negativ"));
    if (a.v[1] < 0)
        add(m, l.number, 10, QStringLiteral("suma indemnizațiilor nu poate fi negativă"));
    if (InsuredCategory::carriesNoAmounts(double(category))) {
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != 0)
                add(m, l.number, 9 + k,
                    QStringLiteral("categoria %1 nu are sume: %2 trebuie să fie 0.00")
                        .arg(category)
                        .arg(AmountNames[k]));
        return;
    }
    if (InsuredCategory::wholePayIsBenefit(double(category))) {
        if (a.v[1] != a.v[0])
            add(m, l.number, 10,
                QStringLiteral("la categoria %1 tot fondul de remunerare este indemnizație: suma indemnizațiilor "
                               "trebuie să fie %2")
                    .arg(category)
                    .arg(centsText(a.v[0])));
    } else if (a.v[0] >= 1 && a.v[1] >= 1 && a.v[0] != a.v[1]) {
        add(m, l.number, 10, QStringLiteral("indemnizațiile și salariul se indică în rînduri separate"));
    }
}

void Checker::checkSd(const std::vector<Line> &lines)
{
    const QString &m = MemberSd;
    struct Open {
        qint64 id = -1, package = -1;
        int firstLine = 0, lastLine = 0, lastMonth = 0;
        Amounts sums;
        bool sumsUsable = true;
        struct Period {
            qint64 month, category;
            QDate from, until;
            int line;
        };
        std::vector<Period> periods; // of the rows so far
    };
    std::optional<Open> open;
    // A declaration is counted in its package with the sums of its total line, or of its rows
    // when the total line is missing.
    auto record = [&](const Open &o, const Amounts &sums, int totalLine) {
        if (o.id >= 0 && !m_sdDeclarations.contains(o.id))
            m_sdDeclarations.insert(o.id, Declaration{o.package, o.firstLine});
        PackageSums &p = m_sdPackages[o.package];
        if (p.firstLine == 0)
            p.firstLine = totalLine;
        ++p.declarations;
        p.sums += sums;
    };
    auto missingTotal = [&](const Open &o) {
        add(m, o.lastLine, 0, QStringLiteral("după rîndurile declarației %1 lipsește rîndul ei total").arg(o.id));
        record(o, o.sums, o.lastLine);
    };

    for (const Line &l : lines) {
        const auto id = whole(m, l, 1, QStringLiteral("numărul declarației"));
        const auto package = whole(m, l, 2, QStringLiteral("numărul pachetului"));
        const bool total = l.fields[2] == View("13");

        if (!total) {
            if (open && id && *id != open->id) {
                missingTotal(*open);
                open.reset();
            }
            if (!open) {
                open = Open();
                open->id = id.value_or(-1);
                open->package = package.value_or(-1);
                open->firstLine = l.number;
                if (id && m_sdDeclarations.contains(*id))
                    add(m, l.number, 1,
                        QStringLiteral("declarația %1 apare a doua oară (prima dată pe rîndul %2)")
                            .arg(*id)
                            .arg(m_sdDeclarations.value(*id).line));
            } else if (package && *package != open->package) {
                add(m, l.number, 2,
                    QStringLiteral("numărul pachetului %1 diferă de cel al rîndurilor anterioare ale declarației (%2)")
                        .arg(*package)
                        .arg(open->package));
            }
            open->lastLine = l.number;

            const auto month = wholeNumber(l.fields[2]);
            if (!month || *month < 1 || *month > 12) {
                add(m, l.number, 3, QStringLiteral("luna trebuie să fie un număr de la 1 la 12"));
            } else {
                if (m_name.valid && (*month < m_name.firstMonth || *month > m_name.lastMonth))
                    add(m, l.number, 3,
                        QStringLiteral("luna %1 nu face parte din perioada %2 a arhivei")
                            .arg(*month)
                            .arg(m_name.period));
                if (*month < open->lastMonth)
                    add(m, l.number, 3, QStringLiteral("rîndurile declarației trebuie să urmeze în ordinea lunilor"));
                open->lastMonth = int(*month);
            }

            if (!l.fields[3].empty()) {
                const auto function = whole(m, l, 4, QStringLiteral("codul funcției"));
                if (function && *function > 0 && m_classifiers) {
                    if (!m_classifiers->knowsFunction(*function))
                        add(m, l.number, 4,
                            QStringLiteral("codul funcției %1 nu există în clasificator").arg(*function));
                    else if (m_classifiers->functionCancelled(*function))
                        add(m, l.number, 4,
                            QStringLiteral("funcția %1 este anulată și nu poate fi folosită").arg(*function));
                }
            }
            std::optional<qint64> category;
            if (l.fields[4].empty()) {
                add(m, l.number, 5, QStringLiteral("categoria lipsește"));
            } else {
                category = whole(m, l, 5, QStringLiteral("categoria"));
                if (category && m_classifiers && !m_classifiers->knowsCategory(*category))
                    add(m, l.number, 5, QStringLiteral("categoria %1 nu există în clasificator").arg(*category));
            }
            if (l.fields[5] != View("5") && l.fields[5] != View("6"))
                add(m, l.number, 6, QStringLiteral("zilele lucrătoare pe săptămînă trebuie să fie 5 sau 6"));

            const auto from = day(m, l, 7, QStringLiteral("începutul perioadei"), true);
            const auto until = day(m, l, 8, QStringLiteral("sfîrșitul perioadei"), true);
            const double cat = double(category.value_or(0));
            if (from && until) {
                if (!InsuredCategory::carriesNoAmounts(cat)
                    && (from->month() != until->month() || from->year() != until->year()))
                    add(m, l.number, 8, QStringLiteral("perioada trebuie să înceapă și să se încheie în aceeași lună"));
                if (*until < *from)
                    add(m, l.number, 8, QStringLiteral("perioada se încheie înainte de a începe"));
            }
            // Two rows of one month and category may not cover the same days.
            if (from && until && month && category && *from <= *until) {
                for (const Open::Period &p : open->periods)
                    if (p.month == *month && p.category == *category && !(*until < p.from || *from > p.until)) {
                        add(m, l.number, 7,
                            QStringLiteral("perioada se suprapune cu cea a rîndului %1, din aceeași lună și categorie")
                                .arg(p.line));
                        break;
                    }
                open->periods.push_back(Open::Period{*month, *category, *from, *until, l.number});
            }
            if (from && m_name.valid) {
                if (from->year() < m_name.year - 1 || from->year() > m_name.year + 1)
                    add(m, l.number, 7,
                        QStringLiteral("anul perioadei nu poate fi %1 într-o declarație a anului %2")
                            .arg(from->year())
                            .arg(m_name.year));
                else if (month && *month >= 1 && *month <= 12 && !InsuredCategory::mayBeginBeforeMonth(cat)
                         && !InsuredCategory::carriesNoAmounts(cat) && *from < QDate(m_name.year, int(*month), 1))
                    add(m, l.number, 7,
                        QStringLiteral("perioada începe înainte de luna %1 a anului %2").arg(*month).arg(m_name.year));
            }

            Amounts a;
            if (amounts(m, l, 9, &a)) {
                if (category)
                    checkSdRow(l, *category, a);
                if (!category || InsuredCategory::countsInPayFundTotal(cat))
                    open->sums.v[0] += a.v[0];
                for (int k = 1; k < 4; ++k)
                    open->sums.v[k] += a.v[k];
                if (category && month && *month >= 1 && *month <= 12)
                    checkRates(l, *category, int(*month), from.value_or(QDate()), a);
            } else {
                open->sumsUsable = false;
            }
            continue;
        }

        // The total line of a declaration.
        for (int i = 4; i <= 8; ++i)
            if (!l.fields[size_t(i - 1)].empty())
                add(m, l.number, i, QStringLiteral("pe rîndul total al declarației cîmpul trebuie să fie gol"));
        if (!open) {
            add(m, l.number, 0, QStringLiteral("rîndul total nu urmează după rîndurile declarației sale"));
            continue;
        }
        if (id && *id != open->id) {
            add(m, l.number, 1,
                QStringLiteral("rîndul total al declarației %1 urmează după rîndurile declarației %2")
                    .arg(*id)
                    .arg(open->id));
            missingTotal(*open);
            open.reset();
            continue;
        }
        if (package && *package != open->package)
            add(m, l.number, 2,
                QStringLiteral("numărul pachetului %1 diferă de cel al rîndurilor declarației (%2)")
                    .arg(*package)
                    .arg(open->package));
        Amounts a;
        const bool usable = amounts(m, l, 9, &a);
        if (usable && open->sumsUsable) {
            for (int k = 0; k < 4; ++k)
                if (a.v[k] != open->sums.v[k])
                    add(m, l.number, 9 + k,
                        QStringLiteral("%1 (%2) nu corespunde sumei rîndurilor declarației (%3)%4")
                            .arg(AmountNames[k], centsText(a.v[k]), centsText(open->sums.v[k]),
                                 k == 0 ? QStringLiteral(", fără categoria 150") : QString()));
        }
        record(*open, usable ? a : open->sums, l.number);
        open.reset();
    }
    if (open)
        missingTotal(*open);
    m_sdUsable = true;
}

void Checker::checkNa(const std::vector<Line> &lines)
{
    const QString &m = MemberNa;
    qint64 previous = -1;
    for (const Line &l : lines) {
        const auto id = whole(m, l, 1, QStringLiteral("numărul declarației"));
        const auto package = whole(m, l, 2, QStringLiteral("numărul pachetului"));
        if (id) {
            if (m_naDeclarations.contains(*id))
                add(m, l.number, 1,
                    QStringLiteral("declarația %1 apare a doua oară (prima dată pe rîndul %2)")
                        .arg(*id)
                        .arg(m_naDeclarations.value(*id)));
            else
                m_naDeclarations.insert(*id, l.number);
            if (*id < previous)
                add(m, l.number, 1,
                    QStringLiteral("declarațiile trebuie să urmeze în ordinea crescătoare a numerelor"));
            previous = *id;
            if (m_sdUsable) {
                const auto it = m_sdDeclarations.constFind(*id);
                if (it == m_sdDeclarations.cend())
                    add(m, l.number, 1, QStringLiteral("declarația %1 nu are rînduri în REV5_SD").arg(*id));
                else if (package && it->package != *package)
                    add(m, l.number, 2,
                        QStringLiteral("numărul pachetului %1 diferă de cel din REV5_SD (%2)")
                            .arg(*package)
                            .arg(it->package));
            }
        }
        if (package && m_ipUsable && !m_ipPackages.contains(*package))
            add(m, l.number, 2, QStringLiteral("pachetul %1 nu are rînd în REV5_IP").arg(*package));

        const View cpas = l.fields[2];
        if (cpas.empty())
            add(m, l.number, 3, QStringLiteral("codul personal de asigurări sociale (CPAS) lipsește"));
        else if (cpas.size() != 11 || !allDigits(cpas))
            add(m, l.number, 3, QStringLiteral("codul personal de asigurări sociale (CPAS) trebuie să aibă 11 cifre"));

        const QString nameWhat[3] = {QStringLiteral("numele"), QStringLiteral("prenumele"),
                                     QStringLiteral("patronimicul")};
        for (int k = 0; k < 3; ++k) {
            const View v = l.fields[size_t(3 + k)];
            const int field = 4 + k;
            if (v.empty()) {
                if (k < 2)
                    add(m, l.number, field, QStringLiteral("%1 lipsește").arg(nameWhat[k]));
                continue;
            }
            if (v.size() > 50)
                add(m, l.number, field, QStringLiteral("%1 are mai mult de 50 de caractere").arg(nameWhat[k]));
            const QString t = text(v);
            if (std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLower(); }))
                add(m, l.number, field, QStringLiteral("%1 trebuie scris cu majuscule").arg(nameWhat[k]));
            static const std::pair<char, const char *> mapped[] = {{'\xCE', "}"},
                                                                   {'\xC3', "{"},
                                                                   {'\xC2', "|"},
                                                                   {'\xAA', ":"},
                                                                   {'\xDE', "\""}};
            for (const auto &[byte, sign] : mapped)
                if (v.find(byte) != View::npos) {
                    add(m, l.number, field,
                        QStringLiteral("litera %1 se scrie în pachet ca semnul %2")
                            .arg(text(View(&byte, 1)), QString::fromLatin1(sign)));
                    break;
                }
        }

        const auto birth = day(m, l, 7, QStringLiteral("data nașterii"), false);
        const auto issued = day(m, l, 13, QStringLiteral("data eliberării documentului"), false);
        const QDate low(1900, 1, 1), high(2200, 1, 1);
        if (birth && (*birth < low || *birth > high))
            add(m, l.number, 7, QStringLiteral("data nașterii trebuie să fie între 01.01.1900 și 01.01.2200"));
        if (issued && (*issued < low || *issued > high))
            add(m, l.number, 13,
                QStringLiteral("data eliberării documentului trebuie să fie între 01.01.1900 și 01.01.2200"));
        if (birth && issued && *issued <= *birth)
            add(m, l.number, 13, QStringLiteral("data eliberării documentului trebuie să fie după data nașterii"));

        std::optional<qint64> docType;
        if (!l.fields[8].empty()) {
            docType = whole(m, l, 9, QStringLiteral("tipul documentului"));
            if (docType && *docType == 0) {
                add(m, l.number, 9, QStringLiteral("tipul de document 0 se scrie ca un cîmp gol"));
                docType.reset();
            } else if (docType && m_classifiers && !m_classifiers->knowsDocumentType(*docType)) {
                add(m, l.number, 9, QStringLiteral("tipul de document %1 nu există în clasificator").arg(*docType));
            }
        }
        const int type = int(docType.value_or(0));

        const View idnp = l.fields[7];
        if (idnp.empty()) {
            if (type == 1 || type == 12 || type == 13 || type == 14 || type == 21)
                add(m, l.number, 8,
                    QStringLiteral("codul personal lipsește; documentul de tipul %1 îl cere").arg(type));
        } else if (idnp.size() != 13 || !allDigits(idnp)) {
            add(m, l.number, 8, QStringLiteral("codul personal trebuie să aibă 13 cifre"));
        }

        const View series = l.fields[9];
        if (series.size() > 9)
            add(m, l.number, 10, QStringLiteral("seria documentului are mai mult de 9 caractere"));
        if (type == 1 && series.size() > 2) {
            add(m, l.number, 10, QStringLiteral("seria documentului are mai mult de două litere"));
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
                add(m, l.number, 10, QStringLiteral("seria documentului este incorectă"));
        }

        const View number = l.fields[10];
        if (number.size() > 13)
            add(m, l.number, 11, QStringLiteral("numărul documentului are mai mult de 13 caractere"));
        int limit = 0;
        if (type == 1 || type == 3 || type == 13 || type == 21)
            limit = 8;
        else if (type == 2 || type == 12)
            limit = 6;
        else if (type == 4)
            limit = 13;
        if (limit) {
            if (number.empty())
                add(m, l.number, 11, QStringLiteral("numărul documentului lipsește"));
            else if (int(number.size()) > limit && type != 4)
                add(m, l.number, 11,
                    QStringLiteral("numărul documentului are mai mult de %1 cifre")
                        .arg(limit == 8 ? QStringLiteral("opt") : QStringLiteral("șase")));
            else if (!allDigits(number))
                add(m, l.number, 11, QStringLiteral("numărul documentului trebuie să fie numai din cifre"));
        }
        if (l.fields[11].size() > 20)
            add(m, l.number, 12,
                QStringLiteral("autoritatea care a eliberat documentul are mai mult de 20 de caractere"));
    }
    if (m_sdUsable)
        for (auto it = m_sdDeclarations.cbegin(); it != m_sdDeclarations.cend(); ++it)
            if (!m_naDeclarations.contains(it.key()))
                add(MemberSd, it->line, 1, QStringLiteral("declarația %1 nu are rînd în REV5_NA").arg(it.key()));
    m_naUsable = true;
}

void Checker::checkIp(const std::vector<Line> &lines)
{
    const QString &m = MemberIp;
    QHash<qint64, int> seen;
    bool sumsUsable = true;
    for (const Line &l : lines) {
        const auto package = whole(m, l, 1, QStringLiteral("numărul pachetului"));
        const auto count = whole(m, l, 2, QStringLiteral("numărul declarațiilor"));
        Amounts a;
        const bool usable = amounts(m, l, 3, &a);
        sumsUsable = sumsUsable && usable;
        m_ipSums += a;
        if (count && *count > 50)
            add(m, l.number, 2, QStringLiteral("un pachet nu poate avea mai mult de 50 de declarații"));
        if (!package)
            continue;
        if (seen.contains(*package)) {
            add(m, l.number, 1,
                QStringLiteral("numărul pachetului %1 se repetă (prima dată pe rîndul %2)")
                    .arg(*package)
                    .arg(seen.value(*package)));
            continue;
        }
        seen.insert(*package, l.number);
        m_ipPackages.insert(*package);
        if (!m_sdUsable)
            continue;
        const PackageSums p = m_sdPackages.value(*package);
        if (count && *count != p.declarations)
            add(m, l.number, 2,
                QStringLiteral("numărul declarațiilor (%1) nu este egal cu numărul declarațiilor pachetului din "
                               "REV5_SD (%2)")
                    .arg(*count)
                    .arg(p.declarations));
        if (usable)
            for (int k = 0; k < 4; ++k)
                if (a.v[k] != p.sums.v[k])
                    add(m, l.number, 3 + k,
                        QStringLiteral("%1 (%2) nu corespunde sumei rîndurilor totale ale pachetului din REV5_SD (%3)")
                            .arg(AmountNames[k], centsText(a.v[k]), centsText(p.sums.v[k])));
    }
    if (m_sdUsable)
        for (auto it = m_sdPackages.cbegin(); it != m_sdPackages.cend(); ++it)
            if (it.key() >= 0 && !m_ipPackages.contains(it.key()))
                add(MemberSd, it->firstLine, 2, QStringLiteral("pachetul %1 nu are rînd în REV5_IP").arg(it.key()));
    m_ipUsable = sumsUsable;
    if (!sumsUsable)
        m_ipPackages.clear();
}

void Checker::checkT(const std::vector<Line> &lines, int ipLines)
{
    const QString &m = MemberT;
    if (lines.empty())
        return;
    if (lines.size() > 1)
        add(m, lines[1].number, 0, QStringLiteral("fișierul trebuie să aibă un singur rînd"));
    const Line &l = lines[0];
    const View f1 = l.fields[0];
    if (f1 != View("1") && f1 != View("3"))
        add(m, l.number, 1, QStringLiteral("tipul formularului trebuie să fie 1 sau 3"));
    else if (m_name.valid && f1[0] - '0' != m_name.formType)
        add(m, l.number, 1,
            QStringLiteral("tipul formularului %1 nu este cel din numele arhivei (%2)")
                .arg(text(f1))
                .arg(m_name.formType));
    const View year = l.fields[1];
    if (year.size() != 4 || !allDigits(year))
        add(m, l.number, 2, QStringLiteral("anul trebuie să aibă patru cifre"));
    else if (m_name.valid && text(year).toInt() != m_name.year)
        add(m, l.number, 2,
            QStringLiteral("anul %1 nu este cel din numele arhivei (%2)").arg(text(year)).arg(m_name.year));
    const View period = l.fields[2];
    if (period.size() != 2 || !allDigits(period))
        add(m, l.number, 3, QStringLiteral("perioada trebuie să aibă două cifre"));
    else if (m_name.valid && text(period) != m_name.digits)
        add(m, l.number, 3,
            QStringLiteral("perioada %1 nu este cea din numele arhivei (%2)").arg(text(period), m_name.digits));
    const View office = l.fields[3];
    if (office.size() < 2 || !allDigits(office) || (office.size() > 2 && office[0] == '0'))
        add(m, l.number, 4,
            QStringLiteral("codul oficiului teritorial trebuie să fie un număr întreg de cel puțin două cifre"));
    const View agent = l.fields[4];
    if (agent.size() != 7 || !allDigits(agent))
        add(m, l.number, 5, QStringLiteral("codul agentului economic trebuie să aibă 7 cifre"));
    else if (m_name.valid && text(agent) != m_name.agent)
        add(m, l.number, 5,
            QStringLiteral("codul agentului economic %1 nu este cel din numele arhivei (%2)")
                .arg(text(agent), m_name.agent));
    const View fiscal = l.fields[5];
    if (fiscal.empty())
        add(m, l.number, 6, QStringLiteral("codul fiscal lipsește"));
    else if (fiscal.size() > 17 || !allDigits(fiscal))
        add(m, l.number, 6, QStringLiteral("codul fiscal trebuie să fie format din cel mult 17 cifre"));
    if (l.fields[6].empty())
        add(m, l.number, 7, QStringLiteral("persoana responsabilă lipsește"));
    day(m, l, 8, QStringLiteral("data"), true);
    const auto count = whole(m, l, 9, QStringLiteral("numărul pachetelor"));
    if (count && ipLines >= 0 && *count != ipLines)
        add(m, l.number, 9,
            QStringLiteral("numărul pachetelor (%1) nu este egal cu numărul rîndurilor din REV5_IP (%2)")
                .arg(*count)
                .arg(ipLines));
    Amounts a;
    if (amounts(m, l, 10, &a) && m_ipUsable)
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != m_ipSums.v[k])
                add(m, l.number, 10 + k,
                    QStringLiteral("%1 (%2) nu corespunde sumei din REV5_IP (%3)")
                        .arg(AmountNames[k], centsText(a.v[k]), centsText(m_ipSums.v[k])));
}

void Checker::run(const QString &archiveName, const PackageCheck::Members &members)
{
    checkName(archiveName);

    const QString expected[4] = {MemberT, MemberIp, MemberNa, MemberSd};
    QHash<QString, const QByteArray *> found;
    for (const auto &[name, bytes] : members) {
        if (std::find(std::begin(expected), std::end(expected), name) == std::end(expected)) {
            add(QString(), 0, 0, QStringLiteral("arhiva conține „%1”, care nu face parte din pachet").arg(name));
            continue;
        }
        if (found.contains(name)) {
            add(QString(), 0, 0, QStringLiteral("membrul %1 apare de mai multe ori în arhivă").arg(name));
            continue;
        }
        found.insert(name, &bytes);
    }
    for (const QString &name : expected)
        if (!found.contains(name))
            add(QString(), 0, 0, QStringLiteral("lipsește membrul %1").arg(name));

    auto linesOf = [&](const QString &name, int fields, bool *present) {
        const QByteArray *bytes = found.value(name);
        *present = bytes != nullptr;
        return bytes ? lines(name, *bytes, fields) : std::vector<Line>();
    };
    bool sd, ip, na, t;
    const std::vector<Line> sdLines = linesOf(MemberSd, 13, &sd);
    const std::vector<Line> ipLines = linesOf(MemberIp, 7, &ip);
    const std::vector<Line> naLines = linesOf(MemberNa, 13, &na);
    const std::vector<Line> tLines = linesOf(MemberT, 14, &t);
    if (sd)
        checkSd(sdLines);
    if (ip)
        checkIp(ipLines);
    if (na)
        checkNa(naLines);
    if (t) {
        const QByteArray *bytes = found.value(MemberT);
        if (bytes->isEmpty())
            add(MemberT, 0, 0, QStringLiteral("fișierul este gol; trebuie să aibă un rînd"));
        int ipCount = -1;
        if (ip) {
            const QByteArray *ipBytes = found.value(MemberIp);
            ipCount = int(ipBytes->count('\n'));
            if (!ipBytes->isEmpty() && !ipBytes->endsWith('\n'))
                ++ipCount;
        }
        checkT(tLines, ipCount);
    }
}

} // namespace

QString PackageFinding::text() const
{
    QString where = member.isEmpty() ? QStringLiteral("Arhiva") : member;
    if (line > 0)
        where += QStringLiteral(", rîndul %1").arg(line);
    if (field > 0)
        where += QStringLiteral(", cîmpul %1").arg(field);
    return where + QStringLiteral(": ") + message;
}

bool PackageFinding::operator<(const PackageFinding &o) const
{
    const int a = memberOrder(member), b = memberOrder(o.member);
    if (a != b)
        return a < b;
    if (member != o.member)
        return member < o.member;
    if (line != o.line)
        return line < o.line;
    if (field != o.field)
        return field < o.field;
    if (severity != o.severity)
        return severity < o.severity;
    return message < o.message;
}

int PackageCheck::Result::errors() const
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const PackageFinding &f) { return f.severity == PackageFinding::Error; }));
}

int PackageCheck::Result::warnings() const
{
    return int(findings.size()) - errors();
}

bool PackageCheck::readArchive(const QString &path, Members *members, QString *error, bool *isRar)
{
    struct archive *a = archive_read_new();
    // RAR (both generations), and the archive kinds a package might arrive in by mistake, so
    // that those are named as foreign. Not libarchive's readers of plain text (mtree, raw).
    archive_read_support_filter_all(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_zip(a);
    archive_read_support_format_7zip(a);
    archive_read_support_format_tar(a);
    archive_read_support_format_cpio(a);
    archive_read_support_format_cab(a);
    archive_read_support_format_lha(a);
    archive_read_support_format_iso9660(a);
    auto fail = [&](const QString &why) {
        *error = why;
        archive_read_free(a);
        return false;
    };
    auto reason = [&] {
        const char *s = archive_error_string(a);
        return s ? QString::fromLocal8Bit(s) : QStringLiteral("eroare necunoscută");
    };
    if (isRar)
        *isRar = false;
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("fișierul „%1” nu există").arg(path));
    if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 1 << 16) != ARCHIVE_OK)
        return fail(QStringLiteral("fișierul nu poate fi citit ca arhivă (%1)").arg(reason()));
    struct archive_entry *entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            return fail(QStringLiteral("arhiva este deteriorată (%1)").arg(reason()));
        if (isRar)
            *isRar = (archive_format(a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_RAR
                     || archive_format(a) == ARCHIVE_FORMAT_RAR_V5;
        const char *name = archive_entry_pathname(entry);
        QString memberName = name ? QString::fromLocal8Bit(name) : QString();
        if (archive_entry_filetype(entry) == AE_IFDIR)
            memberName += u'/';
        const la_int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        if (size > LargestMember)
            return fail(QStringLiteral("membrul „%1” are %2 octeți, prea mulți pentru un fișier al pachetului")
                            .arg(memberName)
                            .arg(size));
        QByteArray bytes;
        bytes.reserve(qsizetype(size));
        char buffer[1 << 16];
        for (;;) {
            const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                return fail(QStringLiteral("membrul „%1” nu poate fi citit; arhiva este deteriorată (%2)")
                                .arg(memberName, reason()));
            if (bytes.size() + n > LargestMember)
                return fail(
                    QStringLiteral("membrul „%1” este prea mare pentru un fișier al pachetului").arg(memberName));
            bytes.append(buffer, qsizetype(n));
        }
        members->emplace_back(memberName, std::move(bytes));
    }
    archive_read_free(a);
    return true;
}

PackageCheck::Result PackageCheck::checkMembers(const QString &archiveName, const Members &members,
                                                const PackageClassifiers *classifiers)
{
    Result result;
    Checker(result, classifiers).run(archiveName, members);
    std::stable_sort(result.findings.begin(), result.findings.end());
    return result;
}

PackageCheck::Result PackageCheck::checkArchive(const QString &path, const PackageClassifiers *classifiers)
{
    Members members;
    QString error;
    bool rar = false;
    if (!readArchive(path, &members, &error, &rar)) {
        Result result;
        result.readable = false;
        result.findings.push_back(PackageFinding{QString(), 0, 0, PackageFinding::Error, error});
        return result;
    }
    Result result = checkMembers(QFileInfo(path).fileName(), members, classifiers);
    if (!rar && !members.empty()) {
        result.findings.push_back(
            PackageFinding{QString(), 0, 0, PackageFinding::Error, QStringLiteral("arhiva nu este în formatul RAR")});
        std::stable_sort(result.findings.begin(), result.findings.end());
    }
    return result;
}
