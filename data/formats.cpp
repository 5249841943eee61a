#include "data/formats.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Shortest decimal digits of v (no sign, at most 17) and the decimal exponent of the first
// digit: v = 0.d1d2d3... * 10^(exp10 + 1). In buffers of its own, for round2() runs for every
// amount of every monthly row that is saved, written into a package or checked in one.
struct ShortestDigits {
    char digits[24];
    int count = 0;
    int exp10 = 0;

    explicit ShortestDigits(double v)
    {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
        const char *e = buf;
        while (e < res.ptr && *e != 'e')
            ++e;
        for (const char *p = buf; p < e; ++p)
            if (*p != '.')
                digits[count++] = *p;
        if (e == res.ptr)
            return; // not finite: no exponent
        const char *x = e + 1;
        const bool negative = x < res.ptr && *x == '-';
        if (x < res.ptr && (*x == '-' || *x == '+'))
            ++x;
        std::from_chars(x, res.ptr, exp10);
        if (negative)
            exp10 = -exp10;
    }
};

// A number read back from the digits made here, as strtod reads it but in any locale: out of
// range it is infinite (or zero) as strtod makes it.
double readBack(const char *begin, const char *end)
{
    double r = 0;
    if (std::from_chars(begin, end, r).ec == std::errc::result_out_of_range) {
        const char *e = begin;
        while (e < end && *e != 'e')
            ++e;
        const bool tiny = e + 1 < end && e[1] == '-';
        r = tiny ? 0.0 : HUGE_VAL;
        if (*begin == '-')
            r = -r;
    }
    return r;
}

// roundDecimal() on the shortest digits of v.
double roundDigits(double v, const ShortestDigits &d, int decimals)
{
    // Keep the digits down to the place 10^-decimals.
    const int keep = d.exp10 + 1 + decimals;
    if (keep >= d.count)
        return v;
    if (keep < 0)
        return 0.0;
    // The kept digits as a whole number, then scaled.
    double whole = 0.0;
    if (keep > 0)
        whole = readBack(d.digits, d.digits + keep);
    if (d.digits[keep] >= '5')
        whole += 1;
    const int scale = d.exp10 + 1 - keep; // value = whole * 10^scale
    char text[64];
    char *end = std::to_chars(text, text + 40, static_cast<long long>(whole)).ptr;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, scale).ptr;
    const double r = readBack(text, end);
    return v < 0 ? -r : r;
}

QString two(int n)
{
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

} // namespace

namespace Formats {

QDateTime dateTime(const QDate &d, const QTime &t)
{
    return QDateTime(d, t, Qt::UTC);
}

QString dateText(const QDate &d)
{
    if (!d.isValid())
        return {};
    return two(d.day()) + u'.' + two(d.month()) + u'.' + QString::number(d.year()).rightJustified(4, u'0');
}

QString dateTimeText(const QDateTime &dt)
{
    if (!dt.isValid())
        return {};
    QString s = dateText(dt.date());
    const QTime t = dt.time();
    if (t.hour() || t.minute() || t.second())
        s += u' ' + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
    return s;
}

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    const QStringList parts = t.split(QRegularExpression(QStringLiteral("[./-]")));
    if (parts.size() != 3)
        return {};
    bool ok1, ok2, ok3;
    const int d = parts[0].toInt(&ok1), m = parts[1].toInt(&ok2), y = parts[2].toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || parts[2].size() != 4)
        return {};
    return QDate(y, m, d);
}

QDateTime parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    const int sp = t.indexOf(u' ');
    const QDate d = parseDate(sp < 0 ? t : t.left(sp));
    if (!d.isValid())
        return {};
    QTime time(0, 0);
    if (sp >= 0) {
        const QStringList hms = t.mid(sp + 1).trimmed().split(u':');
        if (hms.size() < 2 || hms.size() > 3)
            return {};
        time = QTime(hms[0].toInt(), hms[1].toInt(), hms.size() == 3 ? hms[2].toInt() : 0);
        if (!time.isValid())
            return {};
    }
    return dateTime(d, time);
}

QString floatText(double v)
{
    if (v == 0 || !std::isfinite(v))
        return QStringLiteral("0");
    char buf[64];
    // 15 significant digits, then the shortest form of that.
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const double rounded = readBack(buf, res.ptr);
    const ShortestDigits shortest(rounded);
    std::string digits(shortest.digits, size_t(shortest.count));
    const int e = shortest.exp10;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    QString out = v < 0 ? QStringLiteral("-") : QString();
    const int n = int(digits.size());
    if (e < -5 || e >= 15) {
        out += QChar(digits[0]);
        if (n > 1)
            out += u'.' + QString::fromLatin1(digits.c_str() + 1, n - 1);
        out += u'E' + QString::number(e);
        return out;
    }
    if (e < 0) {
        out += QStringLiteral("0.") + QString(-e - 1, u'0') + QString::fromLatin1(digits.c_str(), n);
    } else if (n <= e + 1) {
        out += QString::fromLatin1(digits.c_str(), n) + QString(e + 1 - n, u'0');
    } else {
        out += QString::fromLatin1(digits.c_str(), e + 1) + u'.'
               + QString::fromLatin1(digits.c_str() + e + 1, n - e - 1);
    }
    return out;
}

double roundDecimal(double v, int decimals)
{
    if (v == 0 || !std::isfinite(v))
        return v;
    return roundDigits(v, ShortestDigits(v), decimals);
}

double round2(double v)
{
    if (v == 0 || !std::isfinite(v))
        return v;
    // Below 10^8 two decimals are kept. v is the double nearest to a value of two decimals
    // exactly when k / 100 gives it back (k the nearest whole number to v * 100), and then
    // nothing is rounded. Otherwise, away from a half cent, the shortest decimal form of v
    // rounds to k as v does (they are less than 10^-6 cent apart): the result is k / 100.
    // Near a half cent, where half away from zero on the decimal form decides, for a result of
    // zero (its sign) and from 10^8, the digits are rounded.
    if (std::fabs(v) < 1e8) {
        const double y = v * 100, k = std::nearbyint(y);
        if (k / 100 == v)
            return v;
        if (k != 0 && std::fabs(std::fabs(y - k) - 0.5) > 1e-4 && std::fabs(k) < 1e10)
            return k / 100;
    }
    const ShortestDigits d(v);
    const int intDigits = d.exp10 + 1;
    int decimals = 2;
    if (intDigits > 8)
        decimals = 10 - intDigits;
    if (d.exp10 + 1 + decimals >= d.count)
        return v; // nothing to round away
    double r = roundDigits(v, d, decimals);
    // Rounding up may add an integer digit (99999999.99 -> 100000000.0); keep 10 digits then.
    const ShortestDigits up(r);
    if (up.exp10 + 1 > intDigits && up.exp10 + 1 > 8)
        r = roundDigits(v, d, 10 - (up.exp10 + 1));
    return r;
}

QString moneyText(double v)
{
    const double r = roundDecimal(v, 2);
    QString s = QString::number(std::fabs(r), 'f', 2);
    const int point = int(s.indexOf(u'.'));
    QString intPart = s.left(point);
    QString grouped;
    for (int i = 0; i < intPart.size(); ++i) {
        if (i > 0 && (intPart.size() - i) % 3 == 0)
            grouped += u' ';
        grouped += intPart[i];
    }
    return (r < 0 ? QStringLiteral("-") : QString()) + grouped + s.mid(point);
}

Settings &settings()
{
    static Settings s;
    return s;
}

void forceDefaults()
{
    settings() = Settings{};
}

QString formatFloatWithSettings(double v)
{
    QString s = floatText(v);
    s.replace(u'.', settings().decimalSeparator);
    return s;
}

QString formatDateWithSettings(const QDate &d)
{
    // The short date pattern is read like the system's: d, dd, m, mm, yy, yyyy, and any other
    // character stands for the date separator.
    const QString &f = settings().shortDateFormat;
    QString out;
    for (int i = 0; i < f.size();) {
        const QChar c = f[i].toLower();
        int run = 1;
        while (i + run < f.size() && f[i + run].toLower() == c)
            ++run;
        if (c == u'd')
            out += run >= 2 ? two(d.day()) : QString::number(d.day());
        else if (c == u'm')
            out += run >= 2 ? two(d.month()) : QString::number(d.month());
        else if (c == u'y')
            out += run >= 3 ? QString::number(d.year()) : two(d.year() % 100);
        else
            out += QString(run, settings().dateSeparator);
        i += run;
    }
    return out;
}

} // namespace Formats
