#include "grid/uppercaseinput.h"

#include <QLineEdit>

UpperCaseInput::UpperCaseInput(QLineEdit *edit) : QObject(edit)
{
    connect(edit, &QLineEdit::textEdited, this, [edit] { apply(edit); });
}

QString UpperCaseInput::capitals(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = c.toUpper();
    return out;
}

bool UpperCaseInput::apply(QLineEdit *edit)
{
    const QString shown = edit->inputMask().isEmpty() ? edit->text() : edit->displayText();
    const QString upper = capitals(shown);
    if (upper == shown)
        return false;
    const int pos = edit->cursorPosition();
    edit->setText(upper);
    edit->setCursorPosition(pos);
    return true;
}
