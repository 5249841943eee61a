#include "data/sqltext.h"
#include "data/formats.h"

namespace SqlText {

QString quoted(const QString &text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString quoted(const QDate &date)
{
    return quoted(Formats::dateText(date));
}

QString literal(const QString &text)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return QStringLiteral("NULL");
    for (QChar &c : s)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return quoted(s);
}

} // namespace SqlText
