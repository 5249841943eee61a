#include "grid/maskedlineedit.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace {

// Per position of the shown text: true where the mask takes a typed character. Qt's notation:
// place characters, the case switches > < ! that take no position, \ before a literal, and
// ";" before the blank character.
QList<bool> placesOf(const QString &mask)
{
    static const QString places = QStringLiteral("AaNnXx90DdHhBb#");
    QList<bool> out;
    QString m = mask;
    const int semicolon = int(m.lastIndexOf(u';'));
    if (semicolon >= 0 && (semicolon == 0 || m[semicolon - 1] != u'\\'))
        m.truncate(semicolon);
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        if (c == u'>' || c == u'<' || c == u'!')
            continue;
        if (c == u'\\') {
            ++i;
            out << false;
            continue;
        }
        out << places.contains(c);
    }
    return out;
}

QChar blankOf(const QString &mask)
{
    const int semicolon = int(mask.lastIndexOf(u';'));
    return semicolon >= 0 && semicolon + 1 < mask.size() ? mask[semicolon + 1] : QChar(u' ');
}

} // namespace

int MaskedLineEdit::firstEmptyPlace() const
{
    const QString mask = inputMask();
    if (mask.isEmpty())
        return -1;
    const QList<bool> places = placesOf(mask);
    const QChar blank = blankOf(mask);
    const QString shown = displayText();
    for (int i = 0; i < places.size() && i < shown.size(); ++i)
        if (places[i] && shown[i] == blank)
            return i;
    return -1;
}

void MaskedLineEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::MouseFocusReason: // the click places the cursor
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason: // back to where the cursor was
        return;
    default:
        break;
    }
    if (inputMask().isEmpty())
        return;
    // Typing goes on where the box is still empty; a full box is taken whole, so that what
    // is typed replaces it.
    const int first = firstEmptyPlace();
    if (first >= 0) {
        deselect();
        setCursorPosition(first);
    } else {
        selectAll();
    }
}

void MaskedLineEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || (event->modifiers() & Qt::ShiftModifier))
        return;
    const int first = firstEmptyPlace();
    if (first >= 0 && cursorPosition() > first)
        setCursorPosition(first);
}
