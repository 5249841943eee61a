#include "persons/tfpers.h"
#include "data/formats.h"
#include "ui_tfpers.h"

#include "data/helpers.h"
#include "data/tdm.h"
#include "grid/dbgridcolumn.h"
#include "grid/uppercaseinput.h"
#include "maintenance/payroll/tfpayrollimport.h"
#include "maintenance/tfclprof.h"
#include "packages/formtypemarks.h"
#include "packages/electronicpackage.h"
#include "packages/tfpach.h"
#include "packages/tfpachan.h"
#include "packages/tfverif.h"
#include "persons/deletions.h"
#include "packages/packageforming.h"
#include "persons/personsworkspace.h"
#include "persons/remainingmonths.h"
#include "platform/clock.h"
#include "platform/guard.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "records/recalculation.h"
#include "reports/declarationform.h"
#include "reports/registerreport.h"
#include "reports/tfluna.h"
#include "reports/tftip.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSignalBlocker>

TFPers *FPers = nullptr;

namespace {

const QString kRomanian = QStringLiteral("00000418");
const QString kEnglish = QStringLiteral("00000409");

bool within(QWidget *w, QWidget *ancestor)
{
    return w && ancestor && (w == ancestor || ancestor->isAncestorOf(w));
}

// Connects a control's signal to a handler run under the default handler.
template <class Sender, class Signal, class Handler>
void guarded(Sender *sender, Signal signal, QObject *context, Handler handler)
{
    QObject::connect(sender, signal, context, [handler] { runGuarded(handler); });
}

} // namespace

TFPers::TFPers(QWidget *parent) : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::TFPers>())
{
    ui->setupUi(this);
    ui->Panel8->hide();
    ui->ComboBox1->addItems(PersonsWorkspace::yearItems(Clock::today().year()));
    ui->ComboBox1->setCurrentIndex(-1);
    showPage(0);
    bindControls();
    buildMenus();
    connectHandlers();
    connectRowCommands();

    // The window sees the keys before its controls.
    for (QWidget *w : findChildren<QWidget *>())
        w->installEventFilter(this);

    setWorkspaceState(this);
    FormCreate();
    ui->MaskEdit1->setFocus();
}

TFPers::~TFPers()
{
    if (workspaceState() == this)
        setWorkspaceState(nullptr);
}

// ---------------------------------------------------------------- construction

// The data-aware controls and grids bound to the data module's record sets.
void TFPers::bindControls()
{
    DataSource *person = DM->dataSource(QStringLiteral("DSassured_person"));
    DataSource *agent = DM->dataSource(QStringLiteral("DSecon_agent"));
    DataSource *decl = DM->dataSource(QStringLiteral("DSname_account"));

    for (QLineEdit *e : {ui->MaskEdit1, ui->MaskEdit3, ui->MaskEdit2, ui->MaskEdit4})
        new UpperCaseInput(e);

    const struct {
        DbEdit *edit;
        DataSource *source;
        const char *field;
        bool capitals;
    } edits[] = {{ui->DBEdit4, person, "ap_cpas", true},        {ui->DBEdit6, person, "ap_first_name", true},
                 {ui->DBEdit7, person, "ap_middle_name", true}, {ui->DBEdit5, person, "ap_last_name", true},
                 {ui->DBEdit1, person, "ap_idnp", true},        {ui->DBEdit2, person, "ap_birth_dt", false},
                 {ui->DBEdit8, person, "ap_idnp_who", true},    {ui->DBEdit9, person, "ap_idnp_dt", false},
                 {ui->DBEdit10, person, "ap_doc_seria", true},  {ui->DBEdit11, person, "ap_doc_number", true},
                 {ui->DBEdit3, agent, "ea_fosk", true},         {ui->DBEdit12, agent, "ea_idno", true},
                 {ui->DBEdit13, agent, "ea_full_name", true},   {ui->DBEdit14, decl, "na_public_d", true},
                 {ui->DBEdit19, decl, "na_period_begin", true}, {ui->DBEdit20, decl, "na_period_end", true},
                 {ui->DBEdit21, decl, "na_ap_category", true},  {ui->DBEdit15, decl, "na_position", true}};
    for (const auto &e : edits) {
        e.edit->setDataField(e.source, QString::fromLatin1(e.field));
        e.edit->setUpperCase(e.capitals);
    }

    const struct {
        DbLookupComboBox *box;
        DataSource *source;
        const char *field, *list, *key, *shown;
    } lookups[] = {{ui->DBLookupComboBox1, person, "ap_doc_type", "DSk_id_doc_type", "kidt_id", "kidt_name_ro"},
                   {ui->DBLookupComboBox3, decl, "na_kft_rf", "DSk_form_type", "kft_id", "kft_name_ro"},
                   {ui->DBLookupComboBox2, decl, "na_ap_category", "DSk_tariff_ap", "ktap_id", "ktap_name_ro"},
                   {ui->DBLookupComboBox4, decl, "na_position", "DSk_prof", "kp_id", "kp_name_ro"}};
    for (const auto &l : lookups) {
        l.box->setDataField(l.source, QString::fromLatin1(l.field));
        l.box->setListSource(DM->dataSource(QString::fromLatin1(l.list)), QString::fromLatin1(l.key),
                             QString::fromLatin1(l.shown));
    }

    ui->DBCheckBox1->setDataField(decl, QStringLiteral("na_public"));
    ui->DBCheckBox1->setValues(QStringLiteral("V"), QStringLiteral("N"));

    const Qt::Alignment centred = Qt::AlignCenter;
    ui->DBGrid1->setDataSource(person, {{QStringLiteral("ap_first_name"), QStringLiteral("NUMELE")},
                                        {QStringLiteral("ap_middle_name"), QStringLiteral("PRENUMELE")},
                                        {QStringLiteral("ap_last_name"), QStringLiteral("PATRONIMICUL")},
                                        {QStringLiteral("ap_cpas"), QStringLiteral("CPAS"), centred, 11},
                                        {QStringLiteral("ap_idnp"), QStringLiteral("IDNP"), centred, 13},
                                        {QStringLiteral("ap_birth_dt"), QStringLiteral("DATA NAŞTERII"), centred}});

    DBGridEh *grid = ui->DBGridEh2;
    grid->setDataSource(DM->dataSource(QStringLiteral("DSsaldo_data")));
    grid->setFooterVisible(true);
    grid->setForwardedKeys({Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_F12, Qt::Key_F9});
    grid->setPropagateForwardedKeys(false);
    const QString period = QStringLiteral("Perioada de muncă");
    grid->addColumn(QStringLiteral("month"), QStringLiteral("Luna")).setFooterText(QStringLiteral("Total"));
    grid->addColumn(QStringLiteral("SD_DELA_D"), QStringLiteral("De la data"))
        .setGroupTitle(period)
        .setAlignment(centred);
    grid->addColumn(QStringLiteral("SD_PINA_D"), QStringLiteral("Până la data"))
        .setGroupTitle(period)
        .setAlignment(centred);
    grid->addColumn(QStringLiteral("SD_ZILE_N"), QStringLiteral("Zile lucrătoare în săptămână")).setAlignment(centred);
    grid->addColumn(QStringLiteral("SD_AP_CATEGORY"), QStringLiteral("Categoria persoanei angajate"))
        .setAlignment(centred);
    grid->addColumn(QStringLiteral("SD_POSITION"), QStringLiteral("Codul funcţiei")).setAlignment(centred);
    // Amounts read as their footers do: two decimals, digits grouped (10 000.00).
    const auto money = [](const QVariant &v) { return Formats::moneyText(v.toDouble()); };
    grid->addColumn(QStringLiteral("SD_PAYM_FOND"),
                    QStringLiteral("Fondul de retribuire a muncii şi concediul medical"))
        .setFooterSum(QStringLiteral("sd_paym_fond_calc"))
        .setDisplayFormat(money);
    grid->addColumn(QStringLiteral("SD_ILL"), QStringLiteral("Inclusiv concediul medical"))
        .setFooterSum()
        .setDisplayFormat(money);
    grid->addColumn(QStringLiteral("SD_SUM_ADD"), QStringLiteral("Contribuţii individuale de asigurare calculate"))
        .setFooterSum()
        .setDisplayFormat(money);
    grid->addColumn(QStringLiteral("SD_SUM_ADD_EA"), QStringLiteral("Contribuţii datorate de angajator calculate"))
        .setFooterSum()
        .setDisplayFormat(money);
    grid->addColumn(QStringLiteral("sd_kft_name_ro"), QStringLiteral("Declaraţie"))
        .setReadOnly(true)
        .setAlignment(centred);
}

// The menu bar and the grid's context menus over the actions of the form.
void TFPers::buildMenus()
{
    auto menu = [this](QWidget *into, const char *name, const QString &title, const QList<QAction *> &entries) {
        auto *m = new QMenu(title, this);
        m->setObjectName(QString::fromLatin1(name));
        m->addActions(entries);
        if (into)
            into->addAction(m->menuAction());
        return m;
    };
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    menu(bar, "Date1", QStringLiteral("&Date"),
         {ui->Adaugire1, ui->Memorizare1, ui->Revocare1, ui->stergere1, ui->ipaulregistrului1,
          ui->ExportregistrulinExcel1});
    menu(bar, "Declaratia1", QStringLiteral("D&eclaratia"),
         {ui->iparire1, ui->Memorizare2, ui->Revocare2, ui->Stergere4});
    QMenu *marks = menu(nullptr, "Modificaredeclaratielunara1", QStringLiteral("Modificare declaratie lunara"),
                        {ui->Primara1, ui->Decorectare1});
    menu(bar, "Salariul1", QStringLiteral("&Salariul"),
         {ui->Adaugire2, ui->Memorizare3, marks->menuAction(), ui->Recalcul1, ui->Revocare3, ui->Stergere2,
          ui->Importdinfisier1});
    menu(bar, "Pachete1", QStringLiteral("&Pachete"),
         {ui->Formareapachetelor1, ui->iparulformularelor1, ui->Formareapachetuluielectronic1,
          ui->Anulareapachetuluielectronic1, ui->Verificareapachetuluielectronic1});
    menu(bar, "Procente1", QStringLiteral("P&rocente"), {ui->Calculareaautomata1});
    ui->windowLayout->setMenuBar(bar);

    DBGridEh *grid = ui->DBGridEh2;
    grid->column(grid->columnOfField(QStringLiteral("sd_kft_name_ro")))
        ->setContextMenu(menu(nullptr, "PopupMenu1", QString(), {ui->Primara2, ui->Decorectare2}));
    grid->column(grid->columnOfField(QStringLiteral("month")))
        ->setContextMenu(menu(nullptr, "PopupMenu2", QString(), {ui->ipariredeclaratielunara1}));
}

// The handlers of the controls and menu entries; entries without one belong to other parts
// of the program.
void TFPers::connectHandlers()
{
    for (QLineEdit *e : {ui->MaskEdit1, ui->MaskEdit3, ui->MaskEdit2, ui->MaskEdit4}) {
        const int tag = e->property("tag").toInt();
        guarded(e, &QLineEdit::returnPressed, this, [this, tag] { searchFrom(tag); });
    }
    guarded(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(ui->BitBtn4, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton *b : {ui->BitBtn7, ui->BitBtn8, ui->BitBtn9}) {
        const int tag = b->property("tag").toInt();
        guarded(b, &QPushButton::clicked, this, [this, tag] { pageButtonClick(tag); });
    }
    guarded(ui->ComboBox1, &QComboBox::currentIndexChanged, this, [this] { ComboBox1Change(); });
    guarded(ui->CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox1Click(); });
    connect(ui->DBGridEh2, &DBGridEh::keyForwarded, this,
            [this](int key) { runGuarded([this, key] { gridKey(key); }); });

    const auto triggered = &QAction::triggered;
    guarded(ui->Adaugire1, triggered, this, [this] { Adaugire1Click(); });
    // "&Calcularea automata" is a checkable entry: each click inverts its tick by itself.
    guarded(ui->Recalcul1, triggered, this, [this] { Recalcul1Click(); });
    guarded(ui->Importdinfisier1, triggered, this, [this] { Importdinfisier1Click(); });
    for (QAction *a : {ui->Memorizare1, ui->Memorizare2, ui->Memorizare3})
        guarded(a, triggered, this, [] { PostPendingEdits(); });
    guarded(ui->Revocare1, triggered, this, [] { PersonsWorkspace::cancelEdit(DM->assured_person); });
    guarded(ui->Revocare2, triggered, this, [] { PersonsWorkspace::cancelEdit(DM->name_account); });
    guarded(ui->Revocare3, triggered, this, [] { PersonsWorkspace::cancelEdit(DM->saldo_data); });
    ui->ipaulregistrului1->setData(0);
    ui->ExportregistrulinExcel1->setData(1);
    for (QAction *a : {ui->ipaulregistrului1, ui->ExportregistrulinExcel1})
        guarded(a, triggered, this, [a] { RegisterReport::run(a->data().toInt()); });
    guarded(ui->Formareapachetelor1, triggered, this, [this] { Formareapachetelor1Click(); });
    guarded(ui->Formareapachetuluielectronic1, triggered, this, [this] { Formareapachetuluielectronic1Click(); });
    guarded(ui->iparulformularelor1, triggered, this, [this] { iparulformularelor1Click(); });
    for (QAction *a : {ui->iparire1, ui->ipariredeclaratielunara1})
        guarded(a, triggered, this, [this] { iparire1Click(); });
}

// The commands on whole rows of the menus "&Date", "D&eclaratia" and "&Salariul" and of the
// salary grid's context menu.
void TFPers::connectRowCommands()
{
    const auto triggered = &QAction::triggered;
    guarded(ui->Adaugire2, triggered, this, [this] { Adaugire2Click(); });
    guarded(ui->stergere1, triggered, this, [this] { stergere1Click(); });
    guarded(ui->Stergere4, triggered, this, [this] { Stergere4Click(); });
    guarded(ui->Stergere2, triggered, this, [this] { Stergere2Click(); });
    for (QAction *a : {ui->Primara1, ui->Decorectare1, ui->Primara2, ui->Decorectare2})
        guarded(a, triggered, this, [this, a] { Primara1Click(a); });
    guarded(ui->Anulareapachetuluielectronic1, triggered, this, [this] { Anulareapachetuluielectronic1Click(); });
    guarded(ui->Verificareapachetuluielectronic1, triggered, this, [this] { TFVerif::run(this); });
}

// ---------------------------------------------------------------- creation and activation

void TFPers::selectYear(int year)
{
    const QSignalBlocker quiet(ui->ComboBox1);
    ui->ComboBox1->setCurrentIndex(ui->ComboBox1->findText(QString::number(year)));
    ui->PageControl1->setCurrentIndex(0);
}

void TFPers::FormCreate()
{
    if (ui->ComboBox1->currentIndex() < 0)
        selectYear(Clock::today().year());
    PersonsWorkspace::windowCreated(ui->ComboBox1->currentText());
}

void TFPers::FormActivate()
{
    if (ui->ComboBox1->currentIndex() < 0 && DM->serverDate.isValid())
        selectYear(DM->serverDate.date().year());
}

// ---------------------------------------------------------------- search bar

void TFPers::searchWith(const std::function<void(PersonsWorkspace::SearchBoxes &)> &search)
{
    PersonsWorkspace::SearchBoxes b{ui->MaskEdit1->text(), ui->MaskEdit3->text(), ui->MaskEdit2->text(),
                                    ui->MaskEdit4->text()};
    const auto show = qScopeGuard([&] {
        for (auto [edit, text] : {std::pair{ui->MaskEdit1, b.name}, std::pair{ui->MaskEdit3, b.firstName},
                                  std::pair{ui->MaskEdit2, b.cpas}, std::pair{ui->MaskEdit4, b.idnp}})
            if (edit->text() != text)
                edit->setText(text);
    });
    search(b);
}

void TFPers::searchFrom(int tag)
{
    searchWith(
        [tag](PersonsWorkspace::SearchBoxes &b) { PersonsWorkspace::search(PersonsWorkspace::SearchBy(tag), b); });
}

void TFPers::BitBtn1Click()
{
    searchWith(PersonsWorkspace::searchButton);
}

void TFPers::ComboBox1Change()
{
    PersonsWorkspace::yearChanged();
}

void TFPers::ComboBox1Exit()
{
    PersonsWorkspace::yearBoxLeft(ui->ComboBox1->currentText());
}

// ---------------------------------------------------------------- pages

void TFPers::showPage(int page)
{
    for (QPushButton *b : {ui->BitBtn7, ui->BitBtn8, ui->BitBtn9}) {
        QFont f = b->font();
        f.setBold(b->property("tag").toInt() == page);
        b->setFont(f);
    }
    ui->PageControl1->setCurrentIndex(page);
}

void TFPers::pageButtonClick(int tag)
{
    PostPendingEdits();
    PersonsWorkspace::leavePage();
    showPage(tag);
    switch (tag) {
    case 0:
        Platform::activateKeyboardLayout(kRomanian);
        ui->DBEdit4->setFocus();
        break;
    case 1:
        Platform::activateKeyboardLayout(kEnglish);
        ui->Panel8->hide();
        PersonsWorkspace::openDeclarationPage();
        ui->DBLookupComboBox3->setFocus();
        break;
    case 2:
        Platform::activateKeyboardLayout(kEnglish);
        PersonsWorkspace::openSalaryPage(ui->ComboBox1->currentText());
        ui->DBGridEh2->setFocus();
        break;
    }
}

// ---------------------------------------------------------------- menus

void TFPers::Formareapachetelor1Click()
{
    PackageForming::run();
    PersonsWorkspace::reloadAfterOperation();
}

// Forms the packages, asks for the period and forms the electronic package of it; closing the
// dialog without a period ends the command without a word.
void TFPers::Formareapachetuluielectronic1Click()
{
    ElectronicPackage::prepare();
    PersonsWorkspace::reloadAfterOperation();
    PackagePeriod period;
    {
        TFPach dialog(ui->ComboBox1->currentText().trimmed().toInt(), this);
        dialog.exec();
        period = dialog.period();
    }
    if (period.PeriodCode.isEmpty())
        return;
    const int formType = DM->Temp->field(QStringLiteral("kft_rf")).asInteger();
    const QString archive = ElectronicPackage::form(period, formType, true);
    if (archive.isEmpty())
        return;
    PersonsWorkspace::reloadAfterOperation();
    pageButtonClick(2);
    userInteraction().inform(QStringLiteral("Exportul s-a facut !"));
    TFVerif::offer(this, archive);
}

void TFPers::iparulformularelor1Click()
{
    if (FTip)
        FTip->openFromWorkspace(ui->ComboBox1->currentText());
}

// The month of the current monthly row is offered in the month dialog; the form is printed
// whichever way the dialog is closed.
void TFPers::iparire1Click()
{
    PostPendingEdits();
    DeclarationForm::prepareMonth();
    {
        TFLuna dialog(this);
        dialog.exec();
    }
    DeclarationForm::printMonth();
}

void TFPers::Adaugire1Click()
{
    PersonsWorkspace::newPerson();
    ui->PageControl1->setCurrentIndex(0);
    ui->DBEdit4->setFocus();
    Platform::activateKeyboardLayout(kRomanian);
}

void TFPers::CheckBox1Click()
{
    const bool ticked = ui->CheckBox1->isChecked();
    ui->Panel8->setVisible(ticked);
    if (ticked)
        PersonsWorkspace::autoCompletionTicked();
}

void TFPers::Recalcul1Click()
{
    {
        WaitCursor wait;
        if (!Recalculation::run())
            return;
    }
    pageButtonClick(2);
}

// The pay of a payroll file for the agent and the year of the year list; after an import the
// salary page shows the current person's rows as they stand.
void TFPers::Importdinfisier1Click()
{
    PostPendingEdits();
    const QString path = TFPayrollImport::chooseFile();
    if (path.isEmpty())
        return;
    TFPayrollImport window(path, ui->ComboBox1->currentText().trimmed().toInt(), this);
    connect(&window, &TFPayrollImport::imported, this,
            [this](const QString &summary) { runGuarded([this, &summary] { payrollImported(summary); }); });
    window.exec();
}

void TFPers::payrollImported(const QString &summary)
{
    PersonsWorkspace::yearChanged();
    pageButtonClick(2);
    userInteraction().inform(summary);
}

// ---------------------------------------------------------------- whole rows

void TFPers::Adaugire2Click()
{
    RemainingMonths::fill();
}

void TFPers::stergere1Click()
{
    Deletions::deletePerson();
}

void TFPers::Stergere4Click()
{
    Deletions::deleteDeclaration();
}

void TFPers::Stergere2Click()
{
    Deletions::deleteMonthlyRow();
}

void TFPers::Primara1Click(QAction *entry)
{
    const auto row = FormTypeMarks::mark(entry->property("tag").toInt());
    if (!row)
        return;
    clearFooterSums();
    pageButtonClick(2);
    DM->saldo_data->locate(QStringLiteral("sd_id"), *row);
}

// Lists the electronic packages of the agent and year and annuls the chosen ones; the salary
// page is read again afterwards, as the marks of its rows may have changed.
void TFPers::Anulareapachetuluielectronic1Click()
{
    PostPendingEdits();
    {
        TFPachAn dialog(this);
        dialog.loadRegistry();
        dialog.exec();
    }
    PersonsWorkspace::reloadAfterOperation();
    pageButtonClick(2);
}

// ---------------------------------------------------------------- keys

void TFPers::lookupCode(int mode)
{
    PersonsWorkspace::beforeCodeLookup(mode);
    Platform::activateKeyboardLayout(kRomanian);
    TFClprof dialog(this);
    dialog.LookupMode = qint16(mode);
    dialog.exec();
}

void TFPers::gridKey(int key)
{
    if (key == Qt::Key_F9) {
        if (const int mode = PersonsWorkspace::gridLookupMode(ui->DBGridEh2->selectedFieldName()))
            lookupCode(mode);
        return;
    }
    handleWindowKey(key);
}

// Page Up, Page Down and F12 anywhere but in the person list; true when the key was used.
bool TFPers::handleWindowKey(int key)
{
    if (within(QApplication::focusWidget(), ui->DBGrid1))
        return false;
    const int page = ui->PageControl1->currentIndex();
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
    if (event->type() == QEvent::FocusOut && watched == ui->ComboBox1) {
        const Qt::FocusReason why = static_cast<QFocusEvent *>(event)->reason();
        if (why != Qt::PopupFocusReason && why != Qt::ActiveWindowFocusReason)
            runGuarded([this] { ComboBox1Exit(); });
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    // The salary grid hands these keys over itself, after closing its editor.
    if (within(qobject_cast<QWidget *>(watched), ui->DBGridEh2))
        return QWidget::eventFilter(watched, event);
    if (key == Qt::Key_Escape) {
        // Esc in a date or the document type: the field's record set in edit, the field emptied.
        for (DbEdit *e : {ui->DBEdit2, ui->DBEdit9, ui->DBEdit14, ui->DBEdit19, ui->DBEdit20})
            if (watched == e) {
                runGuarded([e] { PersonsWorkspace::clearField(e->dataSource()->dataSet(), e->dataField()); });
                return true;
            }
        if (watched == ui->DBLookupComboBox1) {
            DbLookupComboBox *c = ui->DBLookupComboBox1;
            runGuarded([c] { PersonsWorkspace::clearField(c->dataSource()->dataSet(), c->dataField()); });
            return true;
        }
    }
    if (key == Qt::Key_F9) {
        if (watched == ui->DBEdit21 || watched == ui->DBLookupComboBox2) {
            runGuarded([this] { lookupCode(4); });
            return true;
        }
        if (watched == ui->DBEdit15 || watched == ui->DBLookupComboBox4) {
            runGuarded([this] { lookupCode(2); });
            return true;
        }
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_F12)
        return handleWindowKey(key);
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
    return ui->ComboBox1->currentText();
}

int TFPers::activePage() const
{
    return ui->PageControl1->currentIndex();
}

bool TFPers::autoCompletion() const
{
    return ui->CheckBox1->isChecked();
}

bool TFPers::autoCalculation() const
{
    return ui->Calculareaautomata1->isChecked();
}

void TFPers::clearFooterSums()
{
    ui->DBGridEh2->clearFooterSums();
}

void TFPers::resetAutoCompletion(bool visible)
{
    const QSignalBlocker quiet(ui->CheckBox1);
    ui->CheckBox1->setChecked(false);
    ui->CheckBox1->setVisible(visible);
}
