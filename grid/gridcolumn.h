#pragma once
// One column of a data grid: the field it shows, its title and its alignment (the field's
// own alignment when none is given).

#include <QString>
#include <Qt>

struct GridColumn {
    QString field;
    QString title;
    Qt::Alignment alignment = {};
};
