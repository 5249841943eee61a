#include "persons/tfpers.h"
#include "platform/guard.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "grid/dbcheckbox.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"
#include "grid/dblookupcombobox.h"
#include "grid/editmask.h"
#include "grid/uppercaseinput.h"
#include "maintenance/tfclprof.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "reports/registerreport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <functional>

TFPers *FPers = nullptr;

namespace {

const QString kRomanian = QStringLiteral("00000418");
const QString kEnglish = QStringLiteral("00000409");

QLabel *caption(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

bool within(QWidget *w, QWidget *ancestor)
{
    return w && ancestor && (w == ancestor || ancestor->isAncestorOf(w));
}

} // namespace

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

    buildSearchBar();

    DBGrid1 = new DbGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const Qt::Alignment centred = Qt::AlignCenter;
    DBGrid1->setDataSource(DM->dataSource(QStringLiteral("DSassured_person")),
                           {{QStringLiteral("ap_first_name"), QStringLiteral("NUMELE")},
                            {QStringLiteral("ap_middle_name"), QStringLiteral("PRENUMELE")},
                            {QStringLiteral("ap_last_name"), QStringLiteral("PATRONIMICUL")},
                            {QStringLiteral("ap_cpas"), QStringLiteral("CPAS"), centred},
                            {QStringLiteral("ap_idnp"), QStringLiteral("IDNP"), centred},
                            {QStringLiteral("ap_birth_dt"), QStringLiteral("DATA NAŞTERII"), centred}});
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setMinimumHeight(120);

    PageControl1 = new QStackedWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addWidget(buildDatePage());
    PageControl1->addWidget(buildDeclarationPage());
    PageControl1->addWidget(buildSalaryPage());

    BitBtn7 = pageButton("BitBtn7", QStringLiteral("Pagina &Date"), 0);
    BitBtn8 = pageButton("BitBtn8", QStringLiteral("Pagina De&claraţia"), 1);
    BitBtn9 = pageButton("BitBtn9", QStringLiteral("Pagina &Salariul"), 2);
    auto *pageButtons = new QHBoxLayout;
    for (QPushButton *b : {BitBtn7, BitBtn8, BitBtn9})
        pageButtons->addWidget(b);
    pageButtons->addStretch();
    showPage(0);

    buildMenus();

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(GroupBox1);
    layout->addWidget(DBGrid1, 2);
    layout->addWidget(PageControl1, 3);
    layout->addLayout(pageButtons);

    // The window sees the keys before its controls.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);

    setWorkspaceState(this);
    FormCreate();
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { runGuarded([this] { ComboBox1Change(); }); });
    MaskEdit1->setFocus();
}

TFPers::~TFPers()
{
    if (workspaceState() == this)
        setWorkspaceState(nullptr);
}

// ---------------------------------------------------------------- construction

void TFPers::buildSearchBar()
{
    GroupBox1 = new QGroupBox(QStringLiteral("Căutare după"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto box = [this](const char *name, const QString &mask, int tag, bool capitals) {
        auto *e = new QLineEdit(GroupBox1);
        e->setObjectName(QString::fromLatin1(name));
        e->setInputMask(EditMask(mask).inputMask());
        e->setProperty("tag", tag);
        if (capitals)
            new UpperCaseInput(e);
        connect(e, &QLineEdit::returnPressed, this, [this, tag] {
            runGuarded([this, tag] { searchFrom(PersonsWorkspace::SearchBy(tag)); });
        });
        return e;
    };
    const QString letters = QStringLiteral("llllllllllllllllllll;0; ");
    MaskEdit1 = box("MaskEdit1", letters, 0, true);
    MaskEdit3 = box("MaskEdit3", letters, 0, true);
    MaskEdit2 = box("MaskEdit2", QStringLiteral("99999999999;0; "), 1, true);
    MaskEdit4 = box("MaskEdit4", QStringLiteral("9999999999999;0; "), 2, true);

    BitBtn1 = new QPushButton(QStringLiteral("&Căutare"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { runGuarded([this] { BitBtn1Click(); }); });

    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setMaxVisibleItems(20);
    ComboBox1->addItems(yearItems(Clock::today().year()));
    ComboBox1->setCurrentIndex(-1);

    BitBtn4 = new QPushButton(QStringLiteral("În&chidere"), GroupBox1);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setAutoDefault(false);
    BitBtn4->setFocusPolicy(Qt::ClickFocus);
    connect(BitBtn4, &QPushButton::clicked, this, &QWidget::close);

    auto *row = new QHBoxLayout(GroupBox1);
    for (auto [text, w] : {std::pair<QString, QWidget *>{QStringLiteral("Nume"), MaskEdit1},
                           {QStringLiteral("Prenume"), MaskEdit3},
                           {QStringLiteral("CPAS"), MaskEdit2},
                           {QStringLiteral("IDNP"), MaskEdit4}}) {
        row->addWidget(caption(text, w, GroupBox1));
        row->addWidget(w, 1);
    }
    row->addWidget(BitBtn1);
    row->addSpacing(12);
    row->addWidget(caption(QStringLiteral("Anul"), ComboBox1, GroupBox1));
    row->addWidget(ComboBox1);
    row->addStretch();
    row->addWidget(BitBtn4);
}

QWidget *TFPers::buildDatePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetDate"));
    DataSource *person = DM->dataSource(QStringLiteral("DSassured_person"));
    DataSource *agent = DM->dataSource(QStringLiteral("DSecon_agent"));
    auto edit = [page](DataSource *source, const char *name, const char *field, bool capitals = true,
                       QWidget *parent = nullptr) {
        auto *e = new DbEdit(source, QString::fromLatin1(field), parent ? parent : page);
        e->setObjectName(QString::fromLatin1(name));
        e->setUpperCase(capitals);
        return e;
    };
    DBEdit4 = edit(person, "DBEdit4", "ap_cpas");
    DBEdit6 = edit(person, "DBEdit6", "ap_first_name");
    DBEdit7 = edit(person, "DBEdit7", "ap_middle_name");
    DBEdit5 = edit(person, "DBEdit5", "ap_last_name");
    DBEdit1 = edit(person, "DBEdit1", "ap_idnp");
    DBEdit2 = edit(person, "DBEdit2", "ap_birth_dt", false);
    DBLookupComboBox1 = new DbLookupComboBox(page);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataField(person, QStringLiteral("ap_doc_type"));
    DBLookupComboBox1->setListSource(DM->dataSource(QStringLiteral("DSk_id_doc_type")), QStringLiteral("kidt_id"),
                                     QStringLiteral("kidt_name_ro"));
    DBEdit8 = edit(person, "DBEdit8", "ap_idnp_who");
    DBEdit9 = edit(person, "DBEdit9", "ap_idnp_dt", false);
    DBEdit10 = edit(person, "DBEdit10", "ap_doc_seria");
    DBEdit11 = edit(person, "DBEdit11", "ap_doc_number");

    auto *form = new QGridLayout;
    const std::pair<QString, QWidget *> left[] = {{QStringLiteral("CPAS"), DBEdit4},
                                                  {QStringLiteral("Numele"), DBEdit6},
                                                  {QStringLiteral("Prenumele"), DBEdit7},
                                                  {QStringLiteral("Patronimicul"), DBEdit5},
                                                  {QStringLiteral("IDNP"), DBEdit1},
                                                  {QStringLiteral("Data naşterii"), DBEdit2}};
    const std::pair<QString, QWidget *> right[] = {{QStringLiteral("Tipul docum."), DBLookupComboBox1},
                                                   {QStringLiteral("Eliberat"), DBEdit8},
                                                   {QStringLiteral("Data eliberării"), DBEdit9},
                                                   {QStringLiteral("Seria"), DBEdit10},
                                                   {QStringLiteral("Numărul"), DBEdit11}};
    int r = 0;
    for (const auto &[text, w] : left) {
        form->addWidget(caption(text, w, page), r, 0);
        form->addWidget(w, r++, 1);
    }
    r = 0;
    for (const auto &[text, w] : right) {
        form->addWidget(caption(text, w, page), r, 2);
        form->addWidget(w, r++, 3);
    }
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);

    auto *patron = new QGroupBox(QStringLiteral("Date despre patron"), page);
    DBEdit3 = edit(agent, "DBEdit3", "ea_fosk", true, patron);
    DBEdit12 = edit(agent, "DBEdit12", "ea_idno", true, patron);
    DBEdit13 = edit(agent, "DBEdit13", "ea_full_name", true, patron);
    auto *patronRow = new QHBoxLayout(patron);
    for (auto [text, e] : {std::pair<QString, DbEdit *>{QStringLiteral("Cod FOSK"), DBEdit3},
                           {QStringLiteral("IDNO(C.F.)"), DBEdit12},
                           {QStringLiteral("Denumirea"), DBEdit13}}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::ClickFocus);
        patronRow->addWidget(caption(text, e, patron));
        patronRow->addWidget(e, e == DBEdit13 ? 3 : 1);
    }

    auto *v = new QVBoxLayout(page);
    v->addWidget(new QLabel(QStringLiteral("Datele de identificare a persoanei asigurate"), page));
    v->addLayout(form);
    v->addWidget(patron);
    v->addStretch();
    return page;
}

QWidget *TFPers::buildDeclarationPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetDeclaratia"));
    DataSource *decl = DM->dataSource(QStringLiteral("DSname_account"));
    auto edit = [decl](QWidget *parent, const char *name, const char *field) {
        auto *e = new DbEdit(decl, QString::fromLatin1(field), parent);
        e->setObjectName(QString::fromLatin1(name));
        e->setUpperCase(true);
        return e;
    };
    auto lookup = [decl](QWidget *parent, const char *name, const char *field, const char *list, const char *key,
                         const char *shown) {
        auto *c = new DbLookupComboBox(parent);
        c->setObjectName(QString::fromLatin1(name));
        c->setDataField(decl, QString::fromLatin1(field));
        c->setListSource(DM->dataSource(QString::fromLatin1(list)), QString::fromLatin1(key),
                         QString::fromLatin1(shown));
        return c;
    };
    DBLookupComboBox3 = lookup(page, "DBLookupComboBox3", "na_kft_rf", "DSk_form_type", "kft_id", "kft_name_ro");
    DBEdit14 = edit(page, "DBEdit14", "na_public_d");
    DBCheckBox1 = new DbCheckBox(page);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("Serviciul public"));
    DBCheckBox1->setDataField(decl, QStringLiteral("na_public"));
    DBCheckBox1->setValues(QStringLiteral("V"), QStringLiteral("N"));
    CheckBox1 = new QCheckBox(QStringLiteral("Completarea automata"), page);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { runGuarded([this] { CheckBox1Click(); }); });

    Panel8 = new QFrame(page);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setFrameShape(QFrame::StyledPanel);
    DBEdit19 = edit(Panel8, "DBEdit19", "na_period_begin");
    DBEdit20 = edit(Panel8, "DBEdit20", "na_period_end");
    DBEdit21 = edit(Panel8, "DBEdit21", "na_ap_category");
    DBLookupComboBox2 = lookup(Panel8, "DBLookupComboBox2", "na_ap_category", "DSk_tariff_ap", "ktap_id", "ktap_name_ro");
    DBEdit15 = edit(Panel8, "DBEdit15", "na_position");
    DBLookupComboBox4 = lookup(Panel8, "DBLookupComboBox4", "na_position", "DSk_prof", "kp_id", "kp_name_ro");
    DBEdit21->setMaximumWidth(90);
    DBEdit15->setMaximumWidth(90);
    auto *panel = new QGridLayout(Panel8);
    panel->addWidget(new QLabel(QStringLiteral("Perioada de muncă prestată în anul de gestiune:"), Panel8), 0, 0, 1, 4);
    panel->addWidget(caption(QStringLiteral("Începutul"), DBEdit19, Panel8), 1, 0);
    panel->addWidget(DBEdit19, 1, 1);
    panel->addWidget(caption(QStringLiteral("Sfîrşitul"), DBEdit20, Panel8), 1, 2);
    panel->addWidget(DBEdit20, 1, 3);
    panel->addWidget(new QLabel(QStringLiteral("Categoria persoanei asigurate:"), Panel8), 2, 0, 1, 4);
    panel->addWidget(DBEdit21, 3, 0);
    panel->addWidget(DBLookupComboBox2, 3, 1, 1, 3);
    panel->addWidget(new QLabel(QStringLiteral("Funcţia  persoanei asigurate:"), Panel8), 4, 0, 1, 4);
    panel->addWidget(DBEdit15, 5, 0);
    panel->addWidget(DBLookupComboBox4, 5, 1, 1, 3);
    panel->setColumnStretch(3, 1);
    Panel8->hide();

    auto *top = new QGridLayout;
    top->addWidget(caption(QStringLiteral("Tip formular"), DBLookupComboBox3, page), 0, 0);
    top->addWidget(DBLookupComboBox3, 0, 1);
    top->addWidget(DBCheckBox1, 0, 2);
    top->addWidget(caption(QStringLiteral("de la "), DBEdit14, page), 0, 3);
    top->addWidget(DBEdit14, 0, 4);
    top->addWidget(CheckBox1, 1, 0, 1, 2);
    top->setColumnStretch(1, 1);

    auto *v = new QVBoxLayout(page);
    v->addLayout(top);
    v->addWidget(Panel8);
    v->addStretch();
    return page;
}

QWidget *TFPers::buildSalaryPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheetSalariul"));
    DBGridEh2 = new DBGridEh(page);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    DBGridEh2->setDataSource(DM->dataSource(QStringLiteral("DSsaldo_data")));
    DBGridEh2->setFooterVisible(true);
    DBGridEh2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGridEh2->setForwardedKeys({Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_F12, Qt::Key_F9});
    DBGridEh2->setPropagateForwardedKeys(false);
    connect(DBGridEh2, &DBGridEh::keyForwarded, this,
            [this](int key) { runGuarded([this, key] { gridKey(key); }); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));

    const QString period = QStringLiteral("Perioada de muncă");
    const Qt::Alignment centred = Qt::AlignCenter;
    DBGridEh2->addColumn(QStringLiteral("month"), QStringLiteral("Luna")).setFooterText(QStringLiteral("Total"))
        .setContextMenu(PopupMenu2);
    DBGridEh2->addColumn(QStringLiteral("SD_DELA_D"), QStringLiteral("De la data")).setGroupTitle(period)
        .setAlignment(centred);
    DBGridEh2->addColumn(QStringLiteral("SD_PINA_D"), QStringLiteral("Până la data")).setGroupTitle(period)
        .setAlignment(centred);
    DBGridEh2->addColumn(QStringLiteral("SD_ZILE_N"), QStringLiteral("Zile lucrătoare în săptămână")).setAlignment(centred);
    DBGridEh2->addColumn(QStringLiteral("SD_AP_CATEGORY"), QStringLiteral("Categoria persoanei angajate"))
        .setAlignment(centred);
    DBGridEh2->addColumn(QStringLiteral("SD_POSITION"), QStringLiteral("Codul funcţiei")).setAlignment(centred);
    DBGridEh2->addColumn(QStringLiteral("SD_PAYM_FOND"),
                         QStringLiteral("Fondul de retribuire a muncii şi concediul medical"))
        .setFooterSum(QStringLiteral("sd_paym_fond_calc"));
    DBGridEh2->addColumn(QStringLiteral("SD_ILL"), QStringLiteral("Inclusiv concediul medical")).setFooterSum();
    DBGridEh2->addColumn(QStringLiteral("SD_SUM_ADD"), QStringLiteral("Contribuţii individuale de asigurare calculate"))
        .setFooterSum();
    DBGridEh2->addColumn(QStringLiteral("SD_SUM_ADD_EA"), QStringLiteral("Contribuţii datorate de angajator calculate"))
        .setFooterSum();
    DBGridEh2->addColumn(QStringLiteral("sd_kft_name_ro"), QStringLiteral("Declaraţie"))
        .setReadOnly(true)
        .setAlignment(centred)
        .setContextMenu(PopupMenu1);

    auto *v = new QVBoxLayout(page);
    v->addWidget(DBGridEh2);
    return page;
}

void TFPers::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [](QMenu *parent, const char *name, const QString &title) {
        QMenu *m = parent->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto top = [this](const char *name, const QString &title) {
        QMenu *m = MainMenu1->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    // An entry whose handler may still be empty: its work belongs to another part of the program.
    auto entry = [this](QMenu *m, const char *name, const QString &text, std::function<void()> handler = {}) {
        QAction *a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(a, &QAction::triggered, this, [handler] { runGuarded(handler); });
        return a;
    };
    auto cancelEdit = [](RecordSet *s) {
        if (s->isEditing())
            s->cancel();
    };

    Date1 = top("Date1", QStringLiteral("&Date"));
    Adaugire1 = entry(Date1, "Adaugire1", QStringLiteral("&Nou"), [this] { Adaugire1Click(); });
    Memorizare1 = entry(Date1, "Memorizare1", QStringLiteral("&Memorizare"), [this] { MemorizareClick(); });
    Revocare1 = entry(Date1, "Revocare1", QStringLiteral("&Revocare"), [=] { cancelEdit(DM->assured_person); });
    stergere1 = entry(Date1, "stergere1", QStringLiteral("&Stergere"));
    ipaulregistrului1 = entry(Date1, "ipaulregistrului1", QStringLiteral("&Tipaul registrului"),
                              [this] { ipaulregistrului1Click(0); });
    ipaulregistrului1->setData(0);
    ExportregistrulinExcel1 = entry(Date1, "ExportregistrulinExcel1", QStringLiteral("Export registrul in Excel"),
                                    [this] { ipaulregistrului1Click(1); });
    ExportregistrulinExcel1->setData(1);

    Declaratia1 = top("Declaratia1", QStringLiteral("D&eclaratia"));
    iparire1 = entry(Declaratia1, "iparire1", QStringLiteral("&Tiparire declaratie lunara"));
    Memorizare2 = entry(Declaratia1, "Memorizare2", QStringLiteral("&Memorizare"), [this] { MemorizareClick(); });
    Revocare2 = entry(Declaratia1, "Revocare2", QStringLiteral("&Revocare"), [=] { cancelEdit(DM->name_account); });
    Stergere4 = entry(Declaratia1, "Stergere4", QStringLiteral("&Stergere"));

    Salariul1 = top("Salariul1", QStringLiteral("&Salariul"));
    Adaugire2 = entry(Salariul1, "Adaugire2", QStringLiteral("&Nou"));
    Memorizare3 = entry(Salariul1, "Memorizare3", QStringLiteral("&Memorizare"), [this] { MemorizareClick(); });
    Modificaredeclaratielunara1 = menu(Salariul1, "Modificaredeclaratielunara1", QStringLiteral("Modificare declaratie lunara"));
    Primara1 = entry(Modificaredeclaratielunara1, "Primara1", QStringLiteral("Primara"));
    Decorectare1 = entry(Modificaredeclaratielunara1, "Decorectare1", QStringLiteral("De corectare"));
    Recalcul1 = entry(Salariul1, "Recalcul1", QStringLiteral("Recalcul"));
    Revocare3 = entry(Salariul1, "Revocare3", QStringLiteral("&Revocare"), [=] { cancelEdit(DM->saldo_data); });
    Stergere2 = entry(Salariul1, "Stergere2", QStringLiteral("&Stergere"));

    Pachete1 = top("Pachete1", QStringLiteral("&Pachete"));
    Formareapachetelor1 = entry(Pachete1, "Formareapachetelor1", QStringLiteral("&Formarea pachetelor"));
    iparulformularelor1 = entry(Pachete1, "iparulformularelor1", QStringLiteral("&Tiparul formularelor"));
    Formareapachetuluielectronic1 =
        entry(Pachete1, "Formareapachetuluielectronic1", QStringLiteral("Formarea &pachetului electronic"));
    Anulareapachetuluielectronic1 =
        entry(Pachete1, "Anulareapachetuluielectronic1", QStringLiteral("Anularea pachetului electronic"));

    Procente1 = top("Procente1", QStringLiteral("P&rocente"));
    Calculareaautomata1 = entry(Procente1, "Calculareaautomata1", QStringLiteral("&Calcularea automata"));
    Calculareaautomata1->setCheckable(true);
    Calculareaautomata1->setChecked(true);

    Primara2 = entry(PopupMenu1, "Primara2", QStringLiteral("Primara"));
    Decorectare2 = entry(PopupMenu1, "Decorectare2", QStringLiteral("De corectare"));
    iparire2 = entry(PopupMenu2, "iparire2", QStringLiteral("Tiparire declaratie lunara"));
}

QPushButton *TFPers::pageButton(const char *name, const QString &text, int tag)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("tag", tag);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, tag] { runGuarded([this, tag] { pageButtonClick(tag); }); });
    return b;
}

// ---------------------------------------------------------------- creation and activation

void TFPers::selectYear(int year)
{
    const QSignalBlocker quiet(ComboBox1);
    ComboBox1->setCurrentIndex(ComboBox1->findText(QString::number(year)));
    PageControl1->setCurrentIndex(0);
}

void TFPers::FormCreate()
{
    for (RecordSet *s : {DM->pachet, DM->rev})
        if (s->active())
            s->emptyDataSet();
    if (ComboBox1->currentIndex() < 0)
        selectYear(Clock::today().year());
    DM->workingYear = ComboBox1->currentText();
}

void TFPers::FormActivate()
{
    if (ComboBox1->currentIndex() < 0 && DM->serverDate.isValid())
        selectYear(DM->serverDate.date().year());
}

// ---------------------------------------------------------------- search bar

PersonsWorkspace::SearchBoxes TFPers::boxes() const
{
    return {MaskEdit1->text(), MaskEdit3->text(), MaskEdit2->text(), MaskEdit4->text()};
}

void TFPers::setBoxes(const PersonsWorkspace::SearchBoxes &b)
{
    for (auto [edit, text] : {std::pair<QLineEdit *, QString>{MaskEdit1, b.name},
                              {MaskEdit3, b.firstName},
                              {MaskEdit2, b.cpas},
                              {MaskEdit4, b.idnp}})
        if (edit->text() != text)
            edit->setText(text);
}

void TFPers::searchFrom(PersonsWorkspace::SearchBy by)
{
    PersonsWorkspace::SearchBoxes b = boxes();
    const auto show = qScopeGuard([&] { setBoxes(b); });
    PersonsWorkspace::search(by, b);
}

void TFPers::BitBtn1Click()
{
    PersonsWorkspace::SearchBoxes b = boxes();
    const auto show = qScopeGuard([&] { setBoxes(b); });
    PersonsWorkspace::searchButton(b);
}

void TFPers::ComboBox1Change()
{
    PersonsWorkspace::yearChanged();
}

void TFPers::ComboBox1Exit()
{
    PersonsWorkspace::yearBoxLeft(ComboBox1->currentText());
}

// ---------------------------------------------------------------- pages

void TFPers::showPage(int page)
{
    for (QPushButton *b : {BitBtn7, BitBtn8, BitBtn9}) {
        QFont f = b->font();
        f.setBold(b->property("tag").toInt() == page);
        b->setFont(f);
    }
    PageControl1->setCurrentIndex(page);
}

void TFPers::pageButtonClick(int tag)
{
    PostPendingEdits();
    PersonsWorkspace::leavePage();
    showPage(tag);
    switch (tag) {
    case 0:
        Platform::activateKeyboardLayout(kRomanian);
        DBEdit4->setFocus();
        break;
    case 1:
        Platform::activateKeyboardLayout(kEnglish);
        Panel8->hide();
        PersonsWorkspace::openDeclarationPage();
        DBLookupComboBox3->setFocus();
        break;
    case 2:
        Platform::activateKeyboardLayout(kEnglish);
        PersonsWorkspace::openSalaryPage(ComboBox1->currentText());
        DBGridEh2->setFocus();
        break;
    }
}

// ---------------------------------------------------------------- menus

void TFPers::Adaugire1Click()
{
    PersonsWorkspace::newPerson();
    PageControl1->setCurrentIndex(0);
    DBEdit4->setFocus();
    Platform::activateKeyboardLayout(kRomanian);
}

void TFPers::MemorizareClick()
{
    PostPendingEdits();
}

void TFPers::ipaulregistrului1Click(int tag)
{
    RegisterReport::run(tag);
}

void TFPers::CheckBox1Click()
{
    // The automatic completion of the declaration is added with the recalculation commands.
}

// ---------------------------------------------------------------- keys

void TFPers::clearField(RecordSet *set, const QString &fieldName)
{
    set->edit();
    set->field(fieldName).clear();
}

void TFPers::lookupCode(int mode)
{
    if (mode >= 3) {
        DM->IBT5->commitIfActive();
        DM->IBQ5->close();
    }
    Platform::activateKeyboardLayout(kRomanian);
    TFClprof dialog(this);
    dialog.LookupMode = qint16(mode);
    dialog.exec();
}

void TFPers::gridKey(int key)
{
    if (key == Qt::Key_F9) {
        const QString component = (QStringLiteral("saldo_data") + DBGridEh2->selectedFieldName()).toUpper();
        if (component == QLatin1String("SALDO_DATASD_POSITION"))
            lookupCode(3);
        else if (component == QLatin1String("SALDO_DATASD_AP_CATEGORY"))
            lookupCode(5);
        return;
    }
    handleWindowKey(DBGridEh2, key);
}

// Page Up, Page Down and F12 anywhere but in the person list; true when the key was used.
bool TFPers::handleWindowKey(QObject *watched, int key)
{
    Q_UNUSED(watched);
    if (within(QApplication::focusWidget(), DBGrid1))
        return false;
    const int page = PageControl1->currentIndex();
    switch (key) {
    case Qt::Key_PageDown:
        if (page < 2)
            runGuarded([this, page] { pageButtonClick(page + 1); });
        return true;
    case Qt::Key_PageUp:
        if (page > 0)
            runGuarded([this, page] { pageButtonClick(page - 1); });
        return true;
    case Qt::Key_F12:
        runGuarded([this] { Adaugire1Click(); });
        return true;
    }
    return false;
}

bool TFPers::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == ComboBox1) {
        const Qt::FocusReason why = static_cast<QFocusEvent *>(event)->reason();
        if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason)
            runGuarded([this] { ComboBox1Exit(); });
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    // The salary grid hands these keys over itself, after closing its editor.
    if (within(qobject_cast<QWidget *>(watched), DBGridEh2))
        return QWidget::eventFilter(watched, event);
    if (key == Qt::Key_Escape) {
        if (watched == DBEdit2 || watched == DBEdit9 || watched == DBEdit14 || watched == DBEdit19
            || watched == DBEdit20) {
            auto *e = static_cast<DbEdit *>(watched);
            runGuarded([this, e] { clearField(e->dataSource()->dataSet(), e->dataField()); });
            return true;
        }
        if (watched == DBLookupComboBox1) {
            runGuarded([this] { clearField(DM->assured_person, DBLookupComboBox1->dataField()); });
            return true;
        }
    }
    if (key == Qt::Key_F9) {
        if (watched == DBEdit21 || watched == DBLookupComboBox2) {
            runGuarded([this] { lookupCode(4); });
            return true;
        }
        if (watched == DBEdit15 || watched == DBLookupComboBox4) {
            runGuarded([this] { lookupCode(2); });
            return true;
        }
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_F12)
        return handleWindowKey(watched, key);
    return QWidget::eventFilter(watched, event);
}

bool TFPers::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        runGuarded([this] { FormActivate(); });
    return QWidget::event(e);
}

// ---------------------------------------------------------------- WorkspaceState

QString TFPers::selectedYear() const
{
    return ComboBox1->currentText();
}

int TFPers::activePage() const
{
    return PageControl1->currentIndex();
}

bool TFPers::autoCompletion() const
{
    return CheckBox1->isChecked();
}

bool TFPers::autoCalculation() const
{
    return Calculareaautomata1->isChecked();
}

void TFPers::clearFooterSums()
{
    DBGridEh2->clearFooterSums();
}

void TFPers::resetAutoCompletion(bool visible)
{
    const QSignalBlocker quiet(CheckBox1);
    CheckBox1->setChecked(false);
    CheckBox1->setVisible(visible);
}
