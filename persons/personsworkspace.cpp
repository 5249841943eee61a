#include "persons/personsworkspace.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"
#include "records/ratewindow.h"
#include "records/workspacestate.h"

namespace PersonsWorkspace {

namespace {

void runMoveRule()
{
    RecordSet *p = DM->assured_person;
    if (p->afterScroll)
        p->afterScroll(*p);
}

} // namespace

QString searchStatement(SearchBy by, SearchBoxes &boxes, double agentId)
{
    QString sql = QStringLiteral(" select ap_id,ap_ea,ap_cpas,ap_idnp ,  ap_idnp_who,ap_idnp_dt, ap_birth_dt , ap_sex , "
                                 "ap_doc_type,  ap_doc_seria , ap_doc_number,ap_first_name, ap_middle_name, ap_last_name  "
                                 "from assured_person where ap_ea=")
        + Formats::floatText(agentId);
    switch (by) {
    case SearchBy::Name: {
        const QString n = boxes.name.trimmed(), p = boxes.firstName.trimmed();
        if (!n.isEmpty())
            sql += QStringLiteral(" and ap_first_name like") + SqlText::quoted(n + u'%');
        if (!p.isEmpty())
            sql += QStringLiteral(" and ap_middle_name like ") + SqlText::quoted(p + u'%');
        boxes.cpas.clear();
        boxes.idnp.clear();
        break;
    }
    case SearchBy::Cpas: {
        const QString t = boxes.cpas.trimmed();
        if (!t.isEmpty()) {
            if (t.size() != 11)
                throw EE(QStringLiteral("CPAS trebue sa fie din 11 cifre !"));
            sql += QStringLiteral(" and ap_cpas=") + SqlText::quoted(t);
            boxes.name.clear();
            boxes.firstName.clear();
            boxes.idnp.clear();
        }
        break;
    }
    case SearchBy::Idnp: {
        const QString t = boxes.idnp.trimmed();
        if (!t.isEmpty()) {
            if (t.size() != 13)
                throw EE(QStringLiteral("IDNP trebue sa fie din 13 cifre !"));
            sql += QStringLiteral(" and ap_idnp=") + SqlText::quoted(t);
            boxes.name.clear();
            boxes.firstName.clear();
            boxes.cpas.clear();
        }
        break;
    }
    }
    return sql + QStringLiteral(" order by ap_first_name,ap_middle_name ");
}

void search(SearchBy by, SearchBoxes &boxes)
{
    PostPendingEdits();
    RecordSet *p = DM->assured_person;
    if (p->isEditing())
        throw EE(QStringLiteral("Nu s-au memorizat modificarile la persoana asigurata.  Memorizati sau refuzati de ele !"));
    SearchBoxes changed = boxes;
    const QString sql = searchStatement(by, changed, DM->econ_agent->field(QStringLiteral("ea_id")).asFloat());
    DataSource *ds = DM->dataSourceOf(p);
    {
        ReadScope read(DM->IBQ1, sql);
        boxes = changed;
        DetachedHandler keepInsert(DM->name_account->afterInsert);
        DetachedHandler keepPost(p->beforePost);
        DetachedHandler keepScroll(p->afterScroll);
        p->emptyDataSet();
        if (ds)
            ds->setEnabled(false);
        try {
            CopyToMemTable(read.query(), p, 3);
        } catch (...) {
            if (ds)
                ds->setEnabled(true);
            throw;
        }
        p->first();
        if (ds)
            ds->setEnabled(true);
    }
    runMoveRule();
}

void searchButton(SearchBoxes &boxes)
{
    if (boxes.name.trimmed().isEmpty() && boxes.firstName.trimmed().isEmpty()) {
        boxes.name.clear();
        boxes.firstName.clear();
        search(SearchBy::Cpas, boxes);
    } else {
        boxes.cpas.clear();
        search(SearchBy::Name, boxes);
    }
}

void yearChanged()
{
    PostPendingEdits();
    for (RecordSet *s : {DM->name_account, DM->saldo_data})
        if (s->active())
            s->emptyDataSet();
    runMoveRule();
}

void reloadAfterOperation()
{
    if (GuardedSave::sharedDatabase() && DM->assured_person->active())
        yearChanged();
}

void yearBoxLeft(const QString &year)
{
    DM->workingYear = year;
    LoadClassifier(DM->k_tariff_ap);
    if (year.trimmed().isEmpty())
        return; // no year chosen: the rates cannot be restricted to one
    LoadClassifier(DM->k_tariff_ap_value, RateWindow::yearCondition(u'\'', year, year));
}

void leavePage()
{
    DM->endRead(DM->IBQ4);
}

void openDeclarationPage()
{
    for (RecordSet *s : {DM->name_account, DM->saldo_data})
        if (s->active())
            s->emptyDataSet();
    if (WorkspaceState *ws = workspaceState())
        ws->clearFooterSums();
    RecordSet *p = DM->assured_person;
    if (p->isEmpty() || p->state() == RecordSet::State::Insert)
        throw EE(QStringLiteral("Introduceti datele despre persoana sau cautati persoana !"));
    const QString year = workspaceState() ? workspaceState()->selectedYear() : QString();
    if (year.trimmed().isEmpty())
        return;
    {
        DetachedHandler keepPost(DM->name_account->beforePost);
        DetachedHandler keepInsert(DM->name_account->afterInsert);
        ReadScope read(DM->IBQ1, QStringLiteral("select * from name_account where  na_ap=")
                                     + Formats::floatText(p->field(QStringLiteral("ap_id")).asFloat())
                                     + QStringLiteral(" and na_year=") + year);
        CopyToMemTable(read.query(), DM->name_account, 3);
    }
    if (WorkspaceState *ws = workspaceState())
        ws->resetAutoCompletion(DM->name_account->isEmpty());
}

void openSalaryPage(const QString &year)
{
    if (WorkspaceState *ws = workspaceState())
        ws->clearFooterSums();
    RecordSet *na = DM->name_account;
    if (na->active() && !na->isEmpty()) {
        {
            DetachedHandler keep(DM->saldo_data->beforePost);
            ReadScope read(DM->IBQ1, QStringLiteral("select * from saldo_data where  sd_na=")
                                         + Formats::floatText(na->field(QStringLiteral("na_id")).asFloat())
                                         + QStringLiteral(" order by sd_dela_d "));
            CopyToMemTable(read.query(), DM->saldo_data, 3);
        }
        const Field category = na->field(QStringLiteral("na_ap_category"));
        if (category.isNull())
            throw EE(QStringLiteral("Indicati categoria persoanei asigurate!"));
        LoadClassifier(DM->k_tariff_ap_value,
                       RateWindow::condition(u'\'', year, year, Formats::floatText(category.asFloat())));
    }
    if (DM->saldo_data->active() && !DM->saldo_data->isEmpty())
        DM->saldo_data->first();
    DM->IBT4->commitIfActive();
}

void autoCompletionTicked()
{
    // A declaration being typed is not replaced by another.
    RecordSet *na = DM->name_account;
    if (na->active() && na->isEmpty() && na->state() != RecordSet::State::Insert)
        na->append();
}

void newPerson()
{
    RecordSet *p = DM->assured_person;
    p->append();
    p->field(QStringLiteral("ap_sex")).setValue(QStringLiteral("M"));
}

QStringList yearItems(int currentYear)
{
    QStringList items;
    for (int y = qMax(currentYear, 2020); y >= 1998; --y)
        items << QString::number(y);
    return items;
}

void windowCreated(const QString &year)
{
    for (RecordSet *s : {DM->pachet, DM->rev})
        if (s->active())
            s->emptyDataSet();
    DM->workingYear = year;
}

void cancelEdit(RecordSet *set)
{
    if (set->isEditing())
        set->cancel();
}

void clearField(RecordSet *set, const QString &fieldName)
{
    set->edit();
    set->field(fieldName).clear();
}

int gridLookupMode(const QString &fieldName)
{
    const QString component = (QStringLiteral("saldo_data") + fieldName).toUpper();
    if (component == QLatin1String("SALDO_DATASD_POSITION"))
        return 3;
    if (component == QLatin1String("SALDO_DATASD_AP_CATEGORY"))
        return 5;
    return 0;
}

void beforeCodeLookup(int mode)
{
    if (mode >= 3) {
        DM->IBT5->commitIfActive();
        DM->IBQ5->close();
    }
}

} // namespace PersonsWorkspace
