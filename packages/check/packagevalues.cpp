#include "packages/check/packagevalues.h"
#include "data/win1250.h"

#include <algorithm>
#include <charconv>
#include <cmath>

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
    if (v.empty() || v.size() > 18 || (v.size() > 1 && v[0] == '0'))
        return std::nullopt;
    qint64 n = 0;
    for (char c : v) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

std::optional<double> money(View v)
{
    View s = v;
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    const size_t point = s.find('.');
    const bool fixed = point != View::npos && point + 3 == s.size() && s.find('E') == View::npos;
    if (fixed) {
        const View whole = s.substr(0, point), decimals = s.substr(point + 1);
        if (!allDigits(whole) || !allDigits(decimals) || (whole.size() > 1 && whole[0] == '0') || whole.size() > 15)
            return std::nullopt;
    } else {
        // 1E10, 1.234567891E15: one digit, the others after a point without trailing zeros.
        const size_t e = s.find('E');
        if (e == View::npos || e == 0 || s[0] == '0' || !allDigits(s.substr(0, 1)) || !allDigits(s.substr(e + 1)))
            return std::nullopt;
        const View rest = s.substr(1, e - 1);
        if (!rest.empty() && (rest.size() < 2 || rest[0] != '.' || !allDigits(rest.substr(1)) || rest.back() == '0'))
            return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    if (!fixed && (value < 1e10 || value > 1e16))
        return std::nullopt;
    return negative ? -value : value;
}

qint64 cents(double money)
{
    return qint64(std::llround(money * 100));
}

const QString &amountName(int amount)
{
    static const QString names[4] = {QStringLiteral("fondul de remunerare"), QStringLiteral("suma indemnizațiilor"),
                                     QStringLiteral("contribuția individuală"),
                                     QStringLiteral("contribuția angajatorului")};
    return names[amount];
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

} // namespace PackageValues
