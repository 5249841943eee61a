#include "tests/reports/engine/reporttestsupport.h"

#include "reports/engine/reportoutput.h"
#include "reports/engine/reportpreview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace ReportTestSupport;

namespace {

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
    for (const char *name : {"firstPageAction", "previousPageAction", "nextPageAction", "lastPageAction",
                             "printAction", "savePdfAction", "closeAction"})
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
