// The window of long work as the user sees it: nothing for half a second, then the step's name
// and "n din m", refreshed no more than some tens of times a second, "Anulare" only where the
// work may stop, and gone when the work ends, whichever way it ends.

#include "app/qtuserinteraction.h"
#include "app/tfprogres.h"
#include "platform/progress.h"
#include "tests/support/modaldialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TFProgres *progressWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<TFProgres *>(w))
            return p;
    return nullptr;
}

QString text(QWidget *window, const char *label)
{
    auto *l = window->findChild<QLabel *>(QString::fromLatin1(label));
    return l ? l->text() : QStringLiteral("(no %1)").arg(QString::fromLatin1(label));
}

QString spokenName(QWidget *w)
{
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

class ProgressWindow : public ::testing::Test
{
protected:
    void SetUp() override { setUserInteraction(&ui); }
    void TearDown() override { setUserInteraction(nullptr); }
    QtUserInteraction ui;
};

TEST_F(ProgressWindow, AppearsAfterHalfASecondWithTheStepAndHowFarItGot)
{
    bool stopped = false;
    try {
        Progress work(QStringLiteral("Actualizarea tarifelor"), 5);
        work.step(2, QStringLiteral("Categoriile"));
        EXPECT_EQ(progressWindow(), nullptr); // work that ends sooner shows nothing
        QThread::msleep(QtUserInteraction::kProgressDelayMs);
        work.step(3, QStringLiteral("Tarifele"));
        TFProgres *w = progressWindow();
        ASSERT_TRUE(w);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), w);
        EXPECT_EQ(w->windowTitle(), "Actualizarea tarifelor");
        EXPECT_EQ(text(w, "operationCaption"), "Tarifele");
        EXPECT_EQ(text(w, "operationCount"), "3 din 5");
        EXPECT_EQ(spokenName(w->findChild<QProgressBar *>("operationBar")), "Tarifele");
        auto *cancel = w->findChild<QPushButton *>("cancelButton");
        ASSERT_TRUE(cancel);
        EXPECT_FALSE(cancel->isVisible()); // this work does not stop half-way
        EXPECT_FALSE(w->findChild<QWidget *>("stepCaption")->isVisible());
        w->close(); // nor does its window close before it ends
        EXPECT_TRUE(w->isVisible());

        QThread::msleep(QtUserInteraction::kRefreshMs);
        Progress rows(QStringLiteral("Rândurile fișierului k_tariff_ap_value.cds"), 4000, Progress::MayStop);
        EXPECT_EQ(text(w, "stepCount"), "0 din 4 000");
        rows.step(120); // sooner than the next refresh: not painted
        EXPECT_EQ(text(w, "stepCount"), "0 din 4 000");
        QThread::msleep(QtUserInteraction::kRefreshMs);
        rows.step(121);
        EXPECT_EQ(text(w, "stepCaption"), "Rândurile fișierului k_tariff_ap_value.cds");
        EXPECT_EQ(text(w, "stepCount"), "121 din 4 000");
        EXPECT_EQ(text(w, "operationCount"), "3 din 5");
        EXPECT_EQ(w->findChild<QProgressBar *>("stepBar")->value(), 121);
        EXPECT_EQ(spokenName(w->findChild<QProgressBar *>("stepBar")), "Rândurile fișierului k_tariff_ap_value.cds");
        EXPECT_TRUE(cancel->isVisible());
        EXPECT_EQ(cancel->text(), "Anulare");
        EXPECT_TRUE(englishIn(dialogTexts(w)).isEmpty()) << englishIn(dialogTexts(w)).join('|').toStdString();
        EXPECT_FALSE(rows.cancelled());
        QTest::keyClick(w, Qt::Key_Escape); // asks the work to stop, as "Anulare" does
        EXPECT_TRUE(rows.cancelled());
        EXPECT_FALSE(work.cancelled()); // the step that may not stop is never told to
        EXPECT_TRUE(w->isVisible());
        EXPECT_FALSE(cancel->isEnabled());
        stopped = true;
        throw std::runtime_error("stopped as a failure would");
    } catch (const std::runtime_error &) {
    }
    EXPECT_TRUE(stopped);
    EXPECT_EQ(progressWindow(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The next work starts unstopped.
    Progress next(QStringLiteral("Importul din BDPEL.GDB"), 1, Progress::MayStop);
    EXPECT_FALSE(next.cancelled());
}

} // namespace
