#pragma once
// A check box bound to a field that holds one text when ticked and another when not
// ("V"/"N", "1"/"0"); ticking it puts the set into edit and stores the matching text.

#include "grid/fieldlink.h"

#include <QCheckBox>

class DataSource;

class DbCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DbCheckBox(QWidget *parent = nullptr);

    void setDataField(DataSource *source, const QString &fieldName);
    // The texts stored for ticked and unticked (compared without regard to case and blanks).
    void setValues(const QString &checked, const QString &unchecked);
    QString checkedValue() const { return m_checked; }
    QString uncheckedValue() const { return m_unchecked; }

    void refresh();

private:
    void userClicked(bool on);

    FieldLink m_link;
    QString m_checked = QStringLiteral("V"), m_unchecked = QStringLiteral("N");
    bool m_updating = false;
};
