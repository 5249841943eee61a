#pragma once
// A field's edit mask as field definitions write it ("0000000;1; ", "!99.99.9999;1;_"), read once
// and turned into the input mask a QLineEdit understands, with the way back from the edit's text.

#include <QString>
#include <vector>

class EditMask
{
public:
    EditMask() = default;
    // Mask characters: 0 digit required, 9 digit optional, # digit or sign optional, L/l letter
    // required/optional, A/a letter or digit, C/c any character, > < <> case, ! where blanks
    // go, \ next character literal, / and : date and time separators, _ a blank; anything else
    // is a literal. After ";" come the literal-saving flag (1 or 0) and the blank character.
    explicit EditMask(const QString &fieldMask);

    bool isEmpty() const { return m_slots.empty(); }
    // Qt's notation of the same mask, e.g. "9999999; " or "00.00.0000;_"; "" for no mask.
    QString inputMask() const { return m_inputMask; }
    bool savesLiterals() const { return m_saveLiterals; }
    QChar blank() const { return m_blank; }
    int length() const { return int(m_slots.size()); }

    // The field's value for what the edit shows (blanks on unfilled places): literals kept or
    // dropped as the mask says, unfilled places as the blank character; "" when nothing is filled.
    QString valueOf(const QString &shownText) const;

private:
    struct Slot {
        bool literal = false;
        QChar character; // the literal itself
    };
    std::vector<Slot> m_slots;
    QString m_inputMask;
    bool m_saveLiterals = true;
    QChar m_blank = u'_';
};
