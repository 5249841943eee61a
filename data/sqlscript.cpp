#include "data/sqlscript.h"

#include <QRegularExpression>

namespace SqlScript {

QStringList split(const QString &script)
{
    QStringList out;
    QString term = QStringLiteral(";");
    QString cur;
    const int n = int(script.size());
    int i = 0;
    auto flush = [&] {
        const QString s = cur.trimmed();
        cur.clear();
        if (s.isEmpty())
            return;
        static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const auto m = setTerm.match(s);
        if (m.hasMatch()) {
            term = m.captured(1);
            return;
        }
        if (s.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0
            || s.compare(QLatin1String("COMMIT WORK"), Qt::CaseInsensitive) == 0)
            return;
        out << s;
    };
    while (i < n) {
        const QChar c = script[i];
        if (c == u'-' && i + 1 < n && script[i + 1] == u'-') {
            while (i < n && script[i] != u'\n')
                ++i;
            continue;
        }
        if (c == u'/' && i + 1 < n && script[i + 1] == u'*') {
            const int e = int(script.indexOf(QStringLiteral("*/"), i + 2));
            i = e < 0 ? n : e + 2;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            int j = i + 1;
            while (j < n) {
                if (script[j] == c) {
                    if (j + 1 < n && script[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            cur += script.mid(i, j - i + 1);
            i = j + 1;
            continue;
        }
        if (script.mid(i, term.size()) == term) {
            flush();
            i += int(term.size());
            continue;
        }
        cur += c;
        ++i;
    }
    flush();
    return out;
}

} // namespace SqlScript
