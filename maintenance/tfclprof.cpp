#include "maintenance/tfclprof.h"
#include "platform/guard.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/dbgrid.h"
#include "grid/uppercaseinput.h"
#include "maintenance/codelookup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFClprof::TFClprof(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FClprof"));
    setWindowTitle(QStringLiteral("Cautare"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_results = new RecordSet(QStringLiteral("IBQ5"), this);
    m_source = new DataSource(QStringLiteral("DSIBQ5"), m_results, this);

    Label1 = new QLabel(QStringLiteral("Conţine în denumire"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    new UpperCaseInput(Edit1);
    Label1->setBuddy(Edit1);
    BitBtn1 = new QPushButton(QStringLiteral("&Căutare"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Alegere"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    for (QPushButton *b : {BitBtn1, BitBtn2})
        b->setAutoDefault(false); // Enter belongs to the keyword box
    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(m_source, {{QStringLiteral("cod"), QStringLiteral("COD"), Qt::AlignCenter},
                                      {QStringLiteral("nume"), QStringLiteral("DENUMIREA")}});
    DBGrid1->horizontalHeader()->resizeSection(0, 90);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn2Click(); }); });

    auto *top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addWidget(Edit1, 1);
    top->addWidget(BitBtn1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BitBtn2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
    resize(620, 420);
}

TFClprof::~TFClprof() = default;

void TFClprof::BitBtn1Click()
{
    if (!CodeLookup::validMode(LookupMode)) {
        close();
        return;
    }
    CodeLookup::search(LookupMode, Edit1->text(), m_results);
}

void TFClprof::BitBtn2Click()
{
    CodeLookup::choose(LookupMode, m_results);
    CodeLookup::finish();
    accept();
}

void TFClprof::done(int result)
{
    // However the dialog ends, the lookup's transaction is committed and its query closed.
    runGuarded([] { CodeLookup::finish(); });
    QDialog::done(result);
}
