#include "packages/topackagecharset.h"

QByteArray ToPackageCharset(const QByteArray &text)
{
    QByteArray out = text.left(255);
    // In this order: Î Ă Â Ş Ţ.
    static const struct {
        char from, to;
    } map[] = {
        {'\xCE', '}'}, {'\xC3', '{'}, {'\xC2', '|'}, {'\xAA', ':'}, {'\xDE', '"'},
    };
    for (const auto &m : map)
        out.replace(m.from, m.to);
    return out;
}
