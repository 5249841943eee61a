#pragma once
// What a screen reader announces for a window's input boxes, lists and the totals under its
// grids, read through Qt's accessibility layer, and the captions the user sees beside the
// boxes, so that tests can hold one against the other.

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <functional>

// A caption as it is read: without the access-key marks and without a trailing " :".
inline QString spokenCaption(const QString &caption)
{
    QString t;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        t += caption[i];
    }
    while (t.endsWith(u':') || t.endsWith(u' '))
        t.chop(1);
    return t;
}

inline bool insideComboOrSpinBox(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p))
            return true;
    return false;
}

// The boxes the user types into or chooses from (the line edit inside a combo box or a spin
// box is part of its box).
inline QList<QWidget *> inputBoxes(const QWidget *window)
{
    QList<QWidget *> boxes;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (insideComboOrSpinBox(w))
            continue;
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QAbstractSpinBox *>(w)
            || qobject_cast<QTextEdit *>(w) || qobject_cast<QPlainTextEdit *>(w))
            boxes << w;
    }
    return boxes;
}

// Box object name -> the name announced for it. Qt takes a box's name from the label whose
// buddy it is unless the box has one of its own; a combo box on Linux announces its current
// text as its name, so for it the name of its own counts.
inline QMap<QString, QString> spokenNames(const QWidget *window)
{
    QMap<QString, QString> names;
    for (QWidget *box : inputBoxes(window)) {
        if (qobject_cast<QComboBox *>(box)) {
            names[box->objectName()] = box->accessibleName();
            continue;
        }
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(box);
        names[box->objectName()] = a ? a->text(QAccessible::Name) : QString();
    }
    return names;
}

// Box object name -> the caption of the label whose buddy it is, as read.
inline QMap<QString, QString> buddyCaptions(const QWidget *window)
{
    QMap<QString, QString> captions;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy())
            captions[label->buddy()->objectName()] = spokenCaption(label->text());
    return captions;
}

// Grid or list object name -> its accessible name (header views belong to their grid, the
// drop-down list to its combo box).
inline QMap<QString, QString> listNames(const QWidget *window)
{
    QMap<QString, QString> names;
    for (QAbstractItemView *v : window->findChildren<QAbstractItemView *>())
        if (!qobject_cast<QHeaderView *>(v) && !insideComboOrSpinBox(v))
            names[v->objectName()] = v->accessibleName();
    return names;
}

// What a reader says for one object: its name, then its description when it has one.
inline QString spokenText(QAccessibleInterface *a)
{
    const QString description = a->text(QAccessible::Description);
    return description.isEmpty() ? a->text(QAccessible::Name)
                                 : a->text(QAccessible::Name) + QStringLiteral(" | ") + description;
}

// Grid object name -> the footer's name and then each of its cells as spokenText gives them,
// found as a screen reader finds them: walking the window's accessible objects down from the
// window, never through the widgets. Cells of a grid are not walked into (they hold nothing).
inline QMap<QString, QStringList> footerTexts(const QWidget *window)
{
    QMap<QString, QStringList> footers;
    std::function<void(QAccessibleInterface *, int)> walk = [&](QAccessibleInterface *a, int depth) {
        if (!a || depth > 40)
            return;
        if (a->role() == QAccessible::Footer) {
            QAccessibleInterface *grid = a->parent();
            QStringList &texts = footers[grid && grid->object() ? grid->object()->objectName() : QString()];
            texts << a->text(QAccessible::Name);
            for (int i = 0; i < a->childCount(); ++i)
                texts << spokenText(a->child(i));
            return;
        }
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface *c = a->child(i);
            if (c && c->role() != QAccessible::Cell && c->role() != QAccessible::ColumnHeader
                && c->role() != QAccessible::RowHeader)
                walk(c, depth + 1);
        }
    };
    walk(QAccessible::queryAccessibleInterface(const_cast<QWidget *>(window)), 0);
    return footers;
}
