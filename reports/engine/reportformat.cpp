#include "reports/engine/reportformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Adds one unit at the last digit of a string of decimal digits; returns true on a carry out
// of the first digit.
bool incrementDigits(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

QString two(int n)
{
    return n < 10 ? QStringLiteral("0") + QString::number(n) : QString::number(n);
}

QString groupByThree(const QString &digits)
{
    QString out;
    out.reserve(digits.size() + digits.size() / 3);
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u' ';
        out += digits[i];
    }
    return out;
}

} // namespace

namespace ReportFormat {

QString number(double value, const QString &mask)
{
    if (!std::isfinite(value))
        return {};
    const int point = int(mask.indexOf(u'.'));
    const QString intMask = point < 0 ? mask : mask.left(point);
    const QString decMask = point < 0 ? QString() : mask.mid(point + 1);
    const int minDecimals = int(decMask.count(u'0'));
    const int maxDecimals = minDecimals + int(decMask.count(u'#'));
    const int minIntDigits = int(intMask.count(u'0'));
    const bool grouped = intMask.contains(u' ') || intMask.contains(u',');

    // Shortest decimal form of |value| in fixed notation, e.g. "1.005", "1234.5", "0.005".
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    std::string s(buf, res.ptr);
    const auto dot = s.find('.');
    std::string intDigits = dot == std::string::npos ? s : s.substr(0, dot);
    std::string decDigits = dot == std::string::npos ? std::string() : s.substr(dot + 1);

    // Round half away from zero at maxDecimals.
    if (int(decDigits.size()) > maxDecimals) {
        const bool up = decDigits[size_t(maxDecimals)] >= '5';
        decDigits.resize(size_t(maxDecimals));
        if (up) {
            std::string all = intDigits + decDigits;
            if (incrementDigits(all))
                all.insert(all.begin(), '1');
            intDigits = all.substr(0, all.size() - decDigits.size());
            decDigits = all.substr(all.size() - decDigits.size());
        }
    }
    decDigits.resize(size_t(maxDecimals), '0');
    while (int(decDigits.size()) > minDecimals && decDigits.back() == '0')
        decDigits.pop_back();

    size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits = firstNonZero == std::string::npos ? std::string() : intDigits.substr(firstNonZero);
    const bool zero = intDigits.empty() && decDigits.find_first_not_of('0') == std::string::npos;

    if (zero && minIntDigits == 0 && minDecimals == 0)
        return {};
    if (int(intDigits.size()) < minIntDigits)
        intDigits = std::string(size_t(minIntDigits) - intDigits.size(), '0') + intDigits;
    if (intDigits.empty() && !decDigits.empty())
        intDigits.push_back('0');

    QString out = QString::fromLatin1(intDigits.data(), qsizetype(intDigits.size()));
    if (grouped)
        out = groupByThree(out);
    if (!decDigits.empty())
        out += u'.' + QString::fromLatin1(decDigits.data(), qsizetype(decDigits.size()));
    if (value < 0 && !zero)
        out.prepend(u'-');
    return out;
}

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString date(const QDate &d)
{
    if (!d.isValid())
        return {};
    return two(d.day()) + u'.' + two(d.month()) + u'.' + QString::number(d.year()).rightJustified(4, u'0');
}

QString text(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QDate:
        return date(value.toDate());
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        QString s = date(dt.date());
        const QTime t = dt.time();
        if (t.hour() || t.minute() || t.second())
            s += u' ' + two(t.hour()) + u':' + two(t.minute()) + u':' + two(t.second());
        return s;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        // 15 significant digits, as a sum of amounts should read (300.3, not 300.29999999999995);
        // plain digits rather than an exponent.
        const double v = value.toDouble();
        if (!std::isfinite(v))
            return {};
        char buf[400];
        auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
        if (std::find(buf, res.ptr, 'e') != res.ptr)
            res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        return QString::fromLatin1(buf, res.ptr - buf);
    }
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

QString format(const QVariant &value, const QString &mask)
{
    if (mask.isEmpty())
        return text(value);
    if (!value.isValid() || value.isNull())
        return {};
    if (isNumber(value))
        return number(value.toDouble(), mask);
    return text(value);
}

QString copy(const QString &text, int start, int length)
{
    if (length <= 0)
        return {};
    const int from = start < 1 ? 0 : start - 1;
    if (from >= text.size())
        return {};
    return text.mid(from, length);
}

} // namespace ReportFormat
