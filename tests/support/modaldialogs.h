#pragma once
// Looks at the dialogs the program opens modally (message boxes, file, folder and print
// dialogs) while the code that opened them waits, and reads every text they show the user.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTimer>
#include <functional>

// Runs `look` on the next modal dialog that appears (not the one open now, if any); `look`
// closes it. Gives up after a few seconds, so that a dialog that never comes fails the test
// instead of hanging it.
inline void whenDialogOpens(std::function<void(QDialog *)> look)
{
    QPointer<QWidget> present = QApplication::activeModalWidget();
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, present, look = std::move(look)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog != present.data() && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            look(dialog);
            return;
        }
        if (++*tries > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Every text a dialog shows: its title, and for each widget in it (shown now or behind an
// "Options" button) button and label texts, group titles, tab and column titles, list items
// of drop-downs, tooltips and the texts of its actions.
inline QStringList dialogTexts(QWidget *dialog)
{
    QStringList t{dialog->windowTitle()};
    const auto widgets = dialog->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (w->isWindow())
            t << w->windowTitle();
        t << w->toolTip() << w->whatsThis();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            t << b->text();
        if (auto *l = qobject_cast<QLabel *>(w))
            t << l->text();
        if (auto *g = qobject_cast<QGroupBox *>(w))
            t << g->title();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            t << e->placeholderText();
        if (auto *tabs = qobject_cast<QTabBar *>(w))
            for (int i = 0; i < tabs->count(); ++i)
                t << tabs->tabText(i) << tabs->tabToolTip(i);
        if (auto *h = qobject_cast<QHeaderView *>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                t << h->model()->headerData(i, h->orientation()).toString();
        // The folder drop-down of a file dialog lists paths, not texts of the program.
        if (auto *c = qobject_cast<QComboBox *>(w); c && c->objectName() != QLatin1String("lookInCombo"))
            for (int i = 0; i < c->count(); ++i)
                t << c->itemText(i);
        for (QAction *a : w->actions())
            t << a->text() << a->toolTip();
    }
    // Actions of context menus, made with the dialog and shown on a right click.
    for (QAction *a : dialog->findChildren<QAction *>())
        t << a->text() << a->toolTip();
    t.removeAll(QString());
    return t;
}

// Words of Qt's own English texts in its message boxes and its file, folder, print and page
// dialogs (OK is the same in Romanian).
inline const QStringList &englishQtWords()
{
    static const QStringList words = {
        "Yes",           "No",           "All",       "Cancel",
        "Open",          "Save",         "Close",     "Apply",
        "Reset",         "Restore",      "Defaults",  "Help",
        "Discard",       "Abort",        "Retry",     "Ignore",
        "Show Details",  "Hide Details", "Look in",   "Back",
        "Forward",       "Parent",       "Directory", "Directories",
        "Folder",        "Create",       "New",       "List View",
        "Detail View",   "Files",        "File",      "name",
        "Name",          "type",         "Type",      "Size",
        "Date Modified", "Computer",     "Drive",     "Choose",
        "Sidebar",       "Print",        "Printer",   "Properties",
        "Location",      "Preview",      "Output",    "Options",
        "Local",         "Write",        "range",     "Pages",
        "Page",          "from",         "to",        "Current",
        "Selection",     "Settings",     "Copies",    "Collate",
        "Reverse",       "Grayscale",    "Double",    "Sided",
        "Off",           "binding",      "Paper",     "source",
        "Orientation",   "Portrait",     "Landscape", "Margins",
        "margin",        "Layout",       "order",     "per",
        "sheet",         "Width",        "Height",    "Custom",
        "Advanced",      "Job",          "Control",   "Scheduled",
        "Billing",       "priority",     "Banner",    "Immediately",
        "Hold",          "Envelope",     "Left",      "Right",
        "Top",           "Bottom",       "Specify",   "conflicts",
        "Inches",        "Millimeters",  "Points",    "Scroll",
        "Postcard",      "Form",
    };
    return words;
}

// The texts among `texts` that hold one of Qt's English words, each with the word found.
inline QStringList englishIn(const QStringList &texts)
{
    QStringList found;
    for (const QString &text : texts) {
        QString plain = text;
        plain.remove(u'&');
        for (const QString &word : englishQtWords()) {
            const QRegularExpression whole(QStringLiteral("(^|[^\\p{L}])") + QRegularExpression::escape(word)
                                           + QStringLiteral("($|[^\\p{L}])"));
            if (whole.match(plain).hasMatch()) {
                found << QStringLiteral("%1 [%2]").arg(text, word);
                break;
            }
        }
    }
    return found;
}
