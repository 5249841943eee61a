#include "data/messagetext.h"

#include <QStringView>

namespace MessageText {

QString shown(const QString &text, qsizetype limit)
{
    qsizetype keep = text.size() > limit ? limit : text.size();
    if (keep > 0 && keep < text.size() && text.at(keep - 1).isHighSurrogate())
        --keep; // the pair stays whole
    QString out;
    out.reserve(keep + 16);
    const QStringView view = QStringView(text).left(keep);
    for (qsizetype i = 0; i < view.size(); ++i) {
        char32_t c = view.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < view.size() && view.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(view.at(i), view.at(i + 1));
            ++i;
        }
        if (QChar::isPrint(c) && !QChar::isSurrogate(c))
            out += QString::fromUcs4(&c, 1);
        else if (c < 0x100)
            out += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'));
        else if (c < 0x10000)
            out += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\U%1").arg(uint(c), 8, 16, QLatin1Char('0'));
    }
    if (keep < text.size())
        out += QStringLiteral(" ... (scurtat, are %1 caractere)").arg(text.size());
    return out;
}

} // namespace MessageText
