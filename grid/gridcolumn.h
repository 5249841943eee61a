#pragma once
// One column of a data grid: the field it shows, its title, its alignment (the field's own
// alignment when none is given) and, for a code, how many digits it must show whole.

#include <QString>
#include <Qt>

struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = {};
    int digits = 0; // the column is at least as wide as this many digits and its title
};
