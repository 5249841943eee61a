#pragma once
// Types text into a widget as key presses carrying their characters (diacritics included),
// the way a keyboard layout delivers them.

#include <QApplication>
#include <QKeyEvent>
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
