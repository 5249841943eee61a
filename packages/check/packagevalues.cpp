#include "packages/check/packagevalues.h"
#include "data/win1250.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace PackageValues {

QString text(View v)
{
    return Win1250::decode(v.data(), int(v.size()));
}

bool allDigits(View v)
{
    return !v.empty() && std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<qint64> wholeNumber(View v)
{
    if (!allDigits(v) || v.size() > 18 || (v.size() > 1 && v[0] == '0'))
        return std::nullopt;
    qint64 n = 0;
    for (char c : v)
        n = n * 10 + (c - '0');
    return n;
}

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

} // namespace PackageValues
