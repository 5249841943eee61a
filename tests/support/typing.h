#pragma once
// Types text into a widget as key presses carrying their characters (diacritics included),
// the way a keyboard layout delivers them.

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

inline void typeText(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

// A click halfway across a box: on an empty masked box, well to the right of its first place.
inline void clickInTheMiddle(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}
