#include "persons/tfpers.h"
#include "app/guard.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "reports/registerreport.h"

#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

TFPers *FPers = nullptr;

QStringList TFPers::yearItems(int currentYear)
{
    QStringList items;
    for (int y = qMax(currentYear, 2020); y >= 1998; --y)
        items << QString::number(y);
    return items;
}

TFPers::TFPers(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FPers"));
    setWindowTitle(QStringLiteral("Persoane asigurate"));
    auto *top = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("Anul"), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(20);
    ComboBox1->addItems(yearItems(QDate::currentDate().year()));
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->installEventFilter(this);
    label->setBuddy(ComboBox1);
    top->addWidget(label);
    top->addWidget(ComboBox1);
    top->addStretch();
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Date1 = MainMenu1->addMenu(QStringLiteral("&Date"));
    Date1->setObjectName(QStringLiteral("Date1"));
    auto entry = [this](const char *name, const QString &caption, int tag) {
        QAction *a = Date1->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setData(tag);
        connect(a, &QAction::triggered, this, [this, tag] { runGuarded([this, tag] { ipaulregistrului1Click(tag); }); });
        return a;
    };
    ipaulregistrului1 = entry("ipaulregistrului1", QStringLiteral("&Tipaul registrului"), 0);
    ExportregistrulinExcel1 = entry("ExportregistrulinExcel1", QStringLiteral("Export registrul in Excel"), 1);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addLayout(top);
    layout->addStretch();
    setWorkspaceState(this);
    FormCreate();
}

TFPers::~TFPers()
{
    if (workspaceState() == this)
        setWorkspaceState(nullptr);
}

void TFPers::FormCreate()
{
    for (RecordSet *s : {DM->pachet, DM->rev})
        if (s->active())
            s->emptyDataSet();
    if (ComboBox1->currentIndex() < 0) {
        ComboBox1->setCurrentIndex(ComboBox1->findText(QString::number(QDate::currentDate().year())));
        m_page = 0;
    }
    DM->workingYear = ComboBox1->currentText();
}

void TFPers::FormActivate()
{
    if (ComboBox1->currentIndex() < 0 && DM->serverDate.isValid()) {
        ComboBox1->setCurrentIndex(ComboBox1->findText(QString::number(DM->serverDate.date().year())));
        m_page = 0;
    }
}

void TFPers::ipaulregistrului1Click(int tag)
{
    RegisterReport::run(tag, this);
}

QString TFPers::selectedYear() const
{
    return ComboBox1->currentText();
}

void TFPers::yearBoxLeft()
{
    DM->workingYear = ComboBox1->currentText();
}

bool TFPers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ComboBox1 && event->type() == QEvent::FocusOut)
        runGuarded([this] { yearBoxLeft(); });
    return QWidget::eventFilter(watched, event);
}

bool TFPers::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        runGuarded([this] { FormActivate(); });
    return QWidget::event(e);
}
