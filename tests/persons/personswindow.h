#pragma once
// The persons window as the start of a test: made the program's one, on a given year, shown.

#include "persons/tfpers.h"

#include <QComboBox>

inline TFPers *openPersonsWindow(const QString &year)
{
    auto *w = new TFPers;
    FPers = w;
    w->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentText(year);
    w->show();
    return w;
}
