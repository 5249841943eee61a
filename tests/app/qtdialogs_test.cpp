// The message boxes and the file, folder and print dialogs that the program opens, read as the
// user sees them: Romanian buttons and texts (Qt's own texts come from the program's Romanian
// translation), titles exactly as the program gives them.

#include "app/qtuserinteraction.h"
#include "app/tfmain.h"
#include "reports/engine/report.h"
#include "reports/engine/reportoutput.h"
#include "reports/engine/reportpreview.h"
#include "reports/engine/reporttable.h"
#include "tests/support/modaldialogs.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What one dialog showed: its class, its title, its buttons and all its texts.
struct Seen {
    QString className, title;
    QStringList buttons, texts;
};

Seen look(QDialog *d)
{
    Seen s{QString::fromLatin1(d->metaObject()->className()), d->windowTitle(), {}, dialogTexts(d)};
    for (QAbstractButton *b : d->findChildren<QAbstractButton *>())
        if (b->isVisible() && !b->text().isEmpty())
            s.buttons << b->text();
    return s;
}

// Opens the dialog with `open`, reads it when it appears and closes it.
Seen seenWhile(const std::function<void()> &open)
{
    Seen seen;
    whenDialogOpens([&seen](QDialog *d) {
        seen = look(d);
        d->reject();
    });
    open();
    return seen;
}

class QtDialogs : public ::testing::Test
{
protected:
    void SetUp() override { setUserInteraction(&ui); }
    void TearDown() override { setUserInteraction(nullptr); }
    QtUserInteraction ui;
};

TEST_F(QtDialogs, AQuestionAsksWithDaAndNuUnderConfirmare)
{
    bool answer = true;
    const Seen q = seenWhile([&] { answer = ui.confirm(QStringLiteral("Confirmati stergerea salariului ?")); });
    EXPECT_EQ(q.className, "QMessageBox");
    EXPECT_EQ(q.title, "Confirmare");
    EXPECT_TRUE(q.texts.contains("Confirmati stergerea salariului ?"));
    EXPECT_EQ(q.buttons, (QStringList{"&Da", "&Nu"}));
    EXPECT_FALSE(answer); // closing the box is No
    EXPECT_TRUE(englishIn(q.texts).isEmpty()) << englishIn(q.texts).join('|').toStdString();

    // Da answers yes.
    whenDialogOpens([](QDialog *d) {
        auto *box = qobject_cast<QMessageBox *>(d);
        ASSERT_TRUE(box);
        box->button(QMessageBox::Yes)->click();
    });
    EXPECT_TRUE(ui.confirm(QStringLiteral("Confirmati ?")));
}

TEST_F(QtDialogs, NoticesAndRefusalsHaveTheProgramsCaptionAndAnOkButton)
{
    const Seen info = seenWhile([&] { ui.inform(QStringLiteral("Pachetul a fost format.")); });
    const Seen error = seenWhile([&] { ui.showError(QStringLiteral("Alegeti agentul economic !\rA doua linie")); });
    for (const Seen &s : {info, error}) {
        EXPECT_EQ(s.title, TFMain::baseCaption()); // the caption alone, nothing appended
        EXPECT_EQ(s.buttons, QStringList{"OK"});
        EXPECT_TRUE(englishIn(s.texts).isEmpty()) << englishIn(s.texts).join('|').toStdString();
    }
    EXPECT_TRUE(error.texts.contains("Alegeti agentul economic !\nA doua linie"));
}

TEST_F(QtDialogs, TheFolderBrowserSpeaksRomanian)
{
    QTemporaryDir dir;
    const Seen s = seenWhile([&] { ui.browseFolder(QStringLiteral("Alegeti dosarul"), dir.path()); });
    EXPECT_EQ(s.className, "QFileDialog");
    EXPECT_EQ(s.title, "Alegeti dosarul");
    EXPECT_TRUE(s.buttons.contains("&Alegere")) << s.buttons.join('|').toStdString();
    EXPECT_TRUE(s.buttons.contains("Revocare")) << s.buttons.join('|').toStdString();
    EXPECT_TRUE(s.texts.contains("Căutare în:")) << s.texts.join('|').toStdString();
    EXPECT_TRUE(englishIn(s.texts).isEmpty()) << englishIn(s.texts).join('|').toStdString();
}

class PreviewDialogs : public QtDialogs
{
protected:
    void SetUp() override
    {
        QtDialogs::SetUp();
        rows.addRow({QStringLiteral("POPESCU ION")});
        report.setName(QStringLiteral("Registru"));
        report.setSource(QStringLiteral("t"), &rows);
        report.detail(20).field(0, 0, 100, 10, QStringLiteral("nume")).size(20);
        preview = std::make_unique<ReportPreview>(ReportOutput::layout(report));
        preview->show();
    }
    void TearDown() override
    {
        preview.reset();
        QtDialogs::TearDown();
    }
    ReportTable rows{QStringList{QStringLiteral("nume")}};
    Report report;
    std::unique_ptr<ReportPreview> preview;
};

TEST_F(PreviewDialogs, ThePrintDialogAndItsPropertiesSpeakRomanian)
{
    Seen print, properties;
    whenDialogOpens([&](QDialog *d) {
        print = look(d);
        // "Proprietăţi" opens the printer's properties over the print dialog.
        whenDialogOpens([&, d](QDialog *p) {
            properties = look(p);
            p->reject();
            QTimer::singleShot(0, d, &QDialog::reject);
        });
        for (QPushButton *b : d->findChildren<QPushButton *>())
            if (b->text() == QStringLiteral("P&roprietăţi"))
                QMetaObject::invokeMethod(b, &QPushButton::click, Qt::QueuedConnection);
    });
    preview->printDocument();

    EXPECT_EQ(print.className, "QPrintDialog");
    EXPECT_EQ(print.title, "Tipărire");
    EXPECT_TRUE(print.buttons.contains("&Tipărire")) << print.buttons.join('|').toStdString();
    EXPECT_TRUE(print.buttons.contains("Revocare")) << print.buttons.join('|').toStdString();
    EXPECT_TRUE(print.texts.contains("Tipărire în fişier (PDF)")) << print.texts.join('|').toStdString();
    EXPECT_TRUE(englishIn(print.texts).isEmpty()) << englishIn(print.texts).join('|').toStdString();

    EXPECT_EQ(properties.title, "Proprietăţile imprimantei");
    EXPECT_TRUE(properties.texts.contains("Orientarea")) << properties.texts.join('|').toStdString();
    EXPECT_TRUE(englishIn(properties.texts).isEmpty()) << englishIn(properties.texts).join('|').toStdString();
}

TEST_F(PreviewDialogs, TheSaveDialogOfThePdfSpeaksRomanian)
{
    const Seen s = seenWhile([&] { preview->savePdf(); });
    EXPECT_EQ(s.className, "QFileDialog");
    EXPECT_EQ(s.title, "Salvare PDF");
    EXPECT_TRUE(s.buttons.contains("&Salvare")) << s.buttons.join('|').toStdString();
    EXPECT_TRUE(s.texts.contains("&Numele fişierului:")) << s.texts.join('|').toStdString();
    EXPECT_TRUE(s.texts.contains("Fişiere PDF (*.pdf)")) << s.texts.join('|').toStdString();
    EXPECT_TRUE(englishIn(s.texts).isEmpty()) << englishIn(s.texts).join('|').toStdString();
}

TEST(QtTexts, TheProgramsTranslationIsInstalled)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Da");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Revocare");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?"),
              "%1 există deja.\nÎl înlocuiţi?");
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print to File (PDF)"), "Tipărire în fişier (PDF)");
}

TEST(QtTexts, TheContextMenuOfABoxSpeaksRomanian)
{
    QLineEdit box;
    box.setText(QStringLiteral("POPESCU"));
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_TRUE(englishIn(texts).isEmpty()) << englishIn(texts).join('|').toStdString();
    EXPECT_TRUE(texts.filter(QStringLiteral("&Copiere")).size() == 1) << texts.join('|').toStdString();
}

TEST(EnglishQtWords, AreFoundAsWholeWordsOnly)
{
    // The check itself: Qt's English texts are caught, Romanian ones pass.
    EXPECT_EQ(englishIn({"&Yes", "Look in:", "Formular", "Fişier local", "Page size:"}).size(), 3);
    EXPECT_TRUE(englishIn({"&Da", "&Nu", "OK", "Revocare", "Căutare în:", "Proprietăţile imprimantei"}).isEmpty());
}

} // namespace
