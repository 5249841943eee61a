#include "grid/editmask.h"

namespace {

// Characters with a meaning in Qt's input masks: a literal one is escaped.
bool qtMeta(QChar c)
{
    static const QString meta = QStringLiteral("AaNnXx90DdHhBb#><!\\[]{}");
    return meta.contains(c);
}

QChar qtPlace(QChar c)
{
    switch (c.unicode()) {
    case '0': return u'9';
    case '9': return u'0';
    case '#': return u'#';
    case 'L': return u'A';
    case 'l': return u'a';
    case 'A': return u'N';
    case 'a': return u'n';
    case 'C': return u'X';
    case 'c': return u'x';
    default: return {};
    }
}

} // namespace

EditMask::EditMask(const QString &fieldMask)
{
    QString mask = fieldMask;
    if (mask.isEmpty())
        return;
    // Trailing parts: ";<save>;<blank>" (either may be missing).
    const int n = int(mask.size());
    if (n >= 2 && mask[n - 2] == u';') {
        m_blank = mask[n - 1];
        mask.chop(2);
        const int m = int(mask.size());
        if (m >= 2 && mask[m - 2] == u';' && (mask[m - 1] == u'0' || mask[m - 1] == u'1')) {
            m_saveLiterals = mask[m - 1] == u'1';
            mask.chop(2);
        }
    }
    QString qt;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'!')
            continue; // only where the blanks of optional places go
        if (c == u'<' && i + 1 < mask.size() && mask[i + 1] == u'>') {
            qt += u'!';
            ++i;
            continue;
        }
        if (c == u'>' || c == u'<') {
            qt += c;
            continue;
        }
        const QChar place = qtPlace(c);
        if (!place.isNull()) {
            qt += place;
            m_slots.push_back({false, {}});
            continue;
        }
        QChar literal = c;
        if (c == u'\\' && i + 1 < mask.size())
            literal = mask[++i];
        else if (c == u'/')
            literal = u'.'; // the program's date separator
        else if (c == u'_')
            literal = u' ';
        if (qtMeta(literal))
            qt += u'\\';
        qt += literal;
        m_slots.push_back({true, literal});
    }
    if (!m_slots.empty())
        m_inputMask = qt + u';' + m_blank;
}

QString EditMask::valueOf(const QString &shownText) const
{
    QString out;
    bool filled = false;
    for (size_t i = 0; i < m_slots.size(); ++i) {
        const QChar c = int(i) < shownText.size() ? shownText[int(i)] : m_blank;
        if (m_slots[i].literal) {
            if (m_saveLiterals)
                out += m_slots[i].character;
            continue;
        }
        if (c != m_blank)
            filled = true;
        out += c;
    }
    return filled ? out : QString();
}
