#include "data/romanianorder.h"

#include <QCollator>
#include <QLocale>
#include <utility>

namespace {

QCollator makeCollator()
{
    QCollator c(QLocale(QLocale::Romanian, QLocale::Moldova));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    c.setNumericMode(false);
    return c;
}

const QCollator &collator()
{
    static const QCollator c = makeCollator();
    return c;
}

// A collation that does not know Romanian sorts the letters with diacritics as their base
// letter or by their code; a Romanian one puts each between its base letter and the next.
bool probeCollator()
{
    const QCollator &c = collator();
    return c.compare(QStringLiteral("AZ"), QStringLiteral("ĂA")) < 0
           && c.compare(QStringLiteral("ĂZ"), QStringLiteral("ÂA")) < 0
           && c.compare(QStringLiteral("ÂZ"), QStringLiteral("B")) < 0
           && c.compare(QStringLiteral("SZ"), QStringLiteral("ŞA")) < 0
           && c.compare(QStringLiteral("ŞZ"), QStringLiteral("T")) < 0
           && c.compare(QStringLiteral("IZ"), QStringLiteral("ÎA")) < 0
           && c.compare(QStringLiteral("TZ"), QStringLiteral("ŢA")) < 0;
}

// Base letter and rank among its Romanian variants (0 for the base letter itself).
std::pair<char16_t, int> letterKey(QChar ch)
{
    const char16_t u = ch.toUpper().unicode();
    switch (u) {
    case u'Ă':
        return {u'A', 1};
    case u'Â':
        return {u'A', 2};
    case u'Î':
        return {u'I', 1};
    case u'Ş':
    case u'Ș':
        return {u'S', 1};
    case u'Ţ':
    case u'Ț':
        return {u'T', 1};
    default:
        return {u, 0};
    }
}

} // namespace

bool RomanianOrder::collatorAvailable()
{
    static const bool available = probeCollator();
    return available;
}

int RomanianOrder::fallbackCompare(const QString &a, const QString &b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const auto ka = letterKey(a[i]), kb = letterKey(b[i]);
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int RomanianOrder::compare(const QString &a, const QString &b)
{
    if (collatorAvailable())
        return collator().compare(a, b);
    return fallbackCompare(a, b);
}
