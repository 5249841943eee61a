#include "data/formats.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Shortest decimal digits of v (no sign) and the decimal exponent of the first digit:
// v = 0.d1d2d3... * 10^(exp10 + 1).
void shortestDigits(double v, std::string *digits, int *exp10)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    *exp10 = std::atoi(s.c_str() + e + 1);
    digits->clear();
    for (char c : mant)
        if (c != '.')
            digits->push_back(c);
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
    std::string digits;
    int e;
    char buf[64];
    // 15 significant digits, then the shortest form of that.
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 14);
    const double rounded = std::strtod(std::string(buf, res.ptr).c_str(), nullptr);
    shortestDigits(rounded, &digits, &e);
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
        out += QString::fromLatin1(digits.c_str(), e + 1) + u'.' + QString::fromLatin1(digits.c_str() + e + 1, n - e - 1);
    }
    return out;
}

double roundDecimal(double v, int decimals)
{
    if (v == 0 || !std::isfinite(v))
        return v;
    std::string digits;
    int e;
    shortestDigits(v, &digits, &e);
    // Keep the digits down to the place 10^-decimals.
    const int keep = e + 1 + decimals;
    if (keep >= int(digits.size()))
        return v;
    if (keep < 0)
        return 0.0;
    std::string kept = digits.substr(0, keep);
    const bool up = digits[keep] >= '5';
    // The kept digits as a whole number, then scaled.
    double whole = kept.empty() ? 0.0 : std::strtod(kept.c_str(), nullptr);
    if (up)
        whole += 1;
    const int scale = e + 1 - keep; // value = whole * 10^scale
    std::string text = std::to_string(static_cast<long long>(whole)) + "e" + std::to_string(scale);
    const double r = std::strtod(text.c_str(), nullptr);
    return v < 0 ? -r : r;
}

double round2(double v)
{
    if (v == 0 || !std::isfinite(v))
        return v;
    std::string digits;
    int e;
    shortestDigits(v, &digits, &e);
    int intDigits = e + 1;
    int decimals = 2;
    if (intDigits > 8)
        decimals = 10 - intDigits;
    double r = roundDecimal(v, decimals);
    // Rounding up may add an integer digit (99999999.99 -> 100000000.0); keep 10 digits then.
    shortestDigits(r, &digits, &e);
    if (e + 1 > intDigits && e + 1 > 8)
        r = roundDecimal(v, 10 - (e + 1));
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
