#pragma once
// Turns the letters typed into a line edit into capitals as they are typed, the Romanian
// letters with diacritics included, keeping the cursor where it was.

#include <QObject>
#include <QString>

class QLineEdit;

class UpperCaseInput : public QObject
{
    Q_OBJECT
public:
    // Watches the edit's typing for as long as the edit lives.
    explicit UpperCaseInput(QLineEdit *edit);

    // Letter by letter, so the text keeps its length (ş -> Ş, ă -> Ă, ß stays).
    static QString capitals(const QString &text);
    // Puts the edit's text in capitals now; true when it changed.
    static bool apply(QLineEdit *edit);
};
