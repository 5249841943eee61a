#pragma once
// A text box with an input mask that puts the cursor where typing can go on: a click into the
// unfilled part of the mask, or focus from the keyboard or the program, lands on the first
// place still empty instead of after the blanks, where typed characters would be lost; focus
// into a full box selects it whole.

#include <QLineEdit>

class MaskedLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit MaskedLineEdit(QWidget *parent = nullptr) : QLineEdit(parent) { }

    // The first place of the mask that still shows its blank, or -1 when every place is typed
    // (or the box has no mask).
    int firstEmptyPlace() const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};
