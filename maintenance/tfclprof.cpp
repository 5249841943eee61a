#include "maintenance/tfclprof.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/uppercaseinput.h"
#include "maintenance/codelookup.h"
#include "platform/guard.h"
#include "ui_tfclprof.h"

#include <QHeaderView>

TFClprof::TFClprof(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::TFClprof>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_results = new RecordSet(QStringLiteral("IBQ5"), this);
    m_source = new DataSource(QStringLiteral("DSIBQ5"), m_results, this);
    m_ui->DBGrid1->setDataSource(m_source, {{QStringLiteral("cod"), QStringLiteral("COD"), Qt::AlignCenter},
                                            {QStringLiteral("nume"), QStringLiteral("DENUMIREA")}});
    m_ui->DBGrid1->horizontalHeader()->resizeSection(0, 90);
    new UpperCaseInput(m_ui->Edit1);

    // Enter in the keyword box searches; the buttons are not default so that it reaches the box.
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
    connect(m_ui->Edit1, &QLineEdit::returnPressed, this, [this] { runGuarded([this] { BitBtn1Click(); }); });
    connect(m_ui->BitBtn2, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn2Click(); }); });
}

TFClprof::~TFClprof() = default;

void TFClprof::BitBtn1Click()
{
    if (!CodeLookup::validMode(LookupMode)) {
        close();
        return;
    }
    CodeLookup::search(LookupMode, m_ui->Edit1->text(), m_results);
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
