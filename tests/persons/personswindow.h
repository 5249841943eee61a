#pragma once
// The persons window as the start of a test: made the program's one, on a given year, shown.

#include "persons/tfpers.h"
#include "tests/persons/personsfixture.h"

#include <QComboBox>
#include <gtest/gtest.h>

inline TFPers *openPersonsWindow(const QString &year)
{
    auto *w = new TFPers;
    FPers = w;
    w->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentText(year);
    w->show();
    return w;
}

// The persons fixture with the window the test opens in `w`, closed after the test, and its
// controls found by their object names.
class PersonsWindowFixture : public PersonsFixture
{
protected:
    void TearDown() override
    {
        delete w;
        w = nullptr;
        FPers = nullptr;
        PersonsFixture::TearDown();
    }
    template <class T> T *get(const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }

    TFPers *w = nullptr;
};
