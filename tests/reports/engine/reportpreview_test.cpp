#include "tests/reports/engine/reporttestsupport.h"

#include "reports/engine/reportoutput.h"
#include "reports/engine/reportpreview.h"

#include "tests/support/modaldialogs.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace ReportTestSupport;

namespace {

// A report of three pages, one name a page.
ReportDocument threePages(QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    ReportTable rows({QStringLiteral("nume")});
    for (const char *n : {"Ana", "Bogdan", "Costel"})
        rows.addRow({QString::fromLatin1(n)});
    Report report;
    report.setOrientation(orientation);
    report.setSource(QStringLiteral("t"), &rows);
    report.detail(20).newPagePerRow().field(0, 0, 100, 10, QStringLiteral("nume")).size(20);
    return ReportOutput::layout(report);
}

// The preview as the user sees it: the page drawn in the scroll area and the zoom button.
struct Shown {
    ReportPreview *preview;
    QWidget *page() const { return scroll()->widget(); }
    QScrollArea *scroll() const { return preview->findChild<QScrollArea *>(QStringLiteral("pageScrollArea")); }
    QString zoomText() const
    {
        const auto *button = preview->findChild<QToolButton *>(QStringLiteral("zoomButton"));
        return button ? button->text() : QString();
    }
    QString pageText() const { return preview->findChild<QLabel *>(QStringLiteral("pageLabel"))->text(); }
    // Room for the sheet beside the vertical scroll bar, shown or not.
    int room() const
    {
        const QScrollBar *bar = scroll()->verticalScrollBar();
        return scroll()->viewport()->width() - (bar->isVisible() ? 0 : bar->sizeHint().width());
    }
    QString percent() const { return QStringLiteral("%1%").arg(qRound(preview->zoom() * 100)); }
};

TEST(ReportPreviewTest, OpensWithThePageAsWideAsItsWindowAndTheZoomButtonSaysTheScale)
{
    ensureApplication();
    struct Case {
        QSize window;
        QPageLayout::Orientation orientation;
    };
    for (const Case &c : {Case{{900, 1000}, QPageLayout::Portrait}, Case{{600, 450}, QPageLayout::Portrait},
                          Case{{1100, 700}, QPageLayout::Landscape}}) {
        SCOPED_TRACE(c.window.width());
        ReportPreview preview(threePages(c.orientation));
        const Shown shown{&preview};
        EXPECT_EQ(shown.zoomText(), shown.percent()); // before it is shown, too
        preview.resize(c.window);
        preview.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
        // The sheet and its grey border fill the room beside the scroll bar, to the pixel.
        EXPECT_NEAR(shown.page()->width(), shown.room(), 1);
        EXPECT_EQ(shown.scroll()->horizontalScrollBar()->maximum(), 0);
        EXPECT_GT(preview.zoom(), 0.5);
        EXPECT_EQ(shown.zoomText(), shown.percent());

        // The page keeps the window's width as the window changes, and the button follows.
        const QString before = shown.zoomText();
        preview.resize(c.window + QSize(200, 0));
        QApplication::processEvents();
        EXPECT_NEAR(shown.page()->width(), shown.room(), 1);
        EXPECT_NE(shown.zoomText(), before);
        EXPECT_EQ(shown.zoomText(), shown.percent());
    }

    // Every way of zooming says its scale on the button.
    ReportPreview preview(threePages());
    const Shown shown{&preview};
    preview.resize(800, 900);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    auto action = [&preview](const char *name) { return preview.findChild<QAction *>(QLatin1String(name)); };
    const std::pair<const char *, const char *> steps[] = {{"actualSizeAction", "100%"},
                                                           {"zoomInAction", "125%"},
                                                           {"zoom50Action", "50%"},
                                                           {"zoomOutAction", "40%"},
                                                           {"zoom200Action", "200%"}};
    for (const auto &[name, text] : steps) {
        ASSERT_TRUE(action(name)) << name;
        action(name)->trigger();
        EXPECT_EQ(shown.zoomText(), text) << name;
    }
    action("fitPageAction")->trigger();
    EXPECT_EQ(shown.zoomText(), shown.percent());
    EXPECT_LE(shown.page()->height(), shown.scroll()->viewport()->height() + 1);
    // A fixed scale stays when the window is resized.
    action("actualSizeAction")->trigger();
    preview.resize(700, 800);
    QApplication::processEvents();
    EXPECT_EQ(shown.zoomText(), "100%");
}

TEST(ReportPreviewTest, KeysTurnPagesZoomPrintAndClose)
{
    ensureApplication();
    ReportPreview preview(threePages());
    const Shown shown{&preview};
    preview.resize(800, 900);
    preview.show();
    preview.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&preview));
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &preview;
        QTest::keyClick(target, key, mods);
        return shown.pageText();
    };
    EXPECT_EQ(press(Qt::Key_PageDown), "Pagina 2 din 3");
    EXPECT_EQ(press(Qt::Key_PageDown), "Pagina 3 din 3");
    EXPECT_EQ(press(Qt::Key_PageDown), "Pagina 3 din 3");
    EXPECT_EQ(press(Qt::Key_PageUp), "Pagina 2 din 3");
    EXPECT_EQ(press(Qt::Key_Home), "Pagina 1 din 3");
    EXPECT_EQ(press(Qt::Key_End), "Pagina 3 din 3");
    EXPECT_EQ(press(Qt::Key_Home, Qt::ControlModifier), "Pagina 1 din 3");
    EXPECT_EQ(press(Qt::Key_End, Qt::ControlModifier), "Pagina 3 din 3");

    const double fitted = preview.zoom();
    press(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(preview.zoom(), fitted * 1.25);
    press(Qt::Key_Equal, Qt::ControlModifier);
    press(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(preview.zoom(), fitted * 1.25 * 1.25 * 1.25);
    press(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(preview.zoom(), fitted * 1.25 * 1.25);
    EXPECT_EQ(shown.zoomText(), shown.percent());

    QString printTitle;
    whenDialogOpens([&](QDialog *d) {
        printTitle = d->windowTitle();
        d->reject();
    });
    press(Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(printTitle, "Tipărire");
    EXPECT_TRUE(preview.isVisible());

    press(Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(preview.result(), QDialog::Rejected);
}

TEST(ReportPreviewTest, NavigatesThreePages)
{
    ensureApplication();
    ReportTable rows({QStringLiteral("nume")});
    for (const char *n : {"Ana", "Bogdan", "Costel"})
        rows.addRow({QString::fromLatin1(n)});
    Report report;
    report.setSource(QStringLiteral("t"), &rows);
    report.detail(20).newPagePerRow().field(0, 0, 100, 10, QStringLiteral("nume")).size(20);

    ReportPreview preview(ReportOutput::layout(report));
    preview.show();
    QApplication::processEvents();
    EXPECT_EQ(preview.windowTitle(), "Previzualizare");

    auto *label = preview.findChild<QLabel *>(QStringLiteral("pageLabel"));
    auto action = [&preview](const char *name) { return preview.findChild<QAction *>(QLatin1String(name)); };
    ASSERT_TRUE(label);
    for (const char *name : {"firstPageAction", "previousPageAction", "nextPageAction", "lastPageAction", "printAction",
                             "savePdfAction", "closeAction"})
        ASSERT_TRUE(action(name)) << name;
    EXPECT_EQ(action("printAction")->text(), "Tipărire");
    EXPECT_EQ(action("savePdfAction")->text(), "Salvare PDF");
    EXPECT_EQ(action("closeAction")->text(), "Închidere");

    EXPECT_EQ(label->text(), "Pagina 1 din 3");
    EXPECT_FALSE(action("previousPageAction")->isEnabled());
    action("nextPageAction")->trigger();
    EXPECT_EQ(label->text(), "Pagina 2 din 3");
    action("lastPageAction")->trigger();
    EXPECT_EQ(label->text(), "Pagina 3 din 3");
    EXPECT_FALSE(action("nextPageAction")->isEnabled());
    preview.nextPage();
    EXPECT_EQ(label->text(), "Pagina 3 din 3");
    action("previousPageAction")->trigger();
    EXPECT_EQ(label->text(), "Pagina 2 din 3");
    action("firstPageAction")->trigger();
    EXPECT_EQ(label->text(), "Pagina 1 din 3");

    action("actualSizeAction")->trigger();
    EXPECT_DOUBLE_EQ(preview.zoom(), 1.0);
    action("zoomInAction")->trigger();
    EXPECT_DOUBLE_EQ(preview.zoom(), 1.25);
    action("fitPageAction")->trigger();
    const double fitPage = preview.zoom();
    action("fitWidthAction")->trigger();
    EXPECT_GT(preview.zoom(), fitPage); // a portrait page is narrower than it is tall

    // The page is painted: the view holds dark pixels of the text.
    QWidget *view = preview.findChild<QWidget *>(QStringLiteral("pageScrollArea"));
    ASSERT_TRUE(view);
    const QImage shot = view->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2)
            dark += qGray(shot.pixel(x, y)) < 60;
    EXPECT_GT(dark, 20);
}

} // namespace
