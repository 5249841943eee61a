#include "persons/deletions.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/progress.h"
#include "platform/userinteraction.h"
#include "records/detachedhandler.h"
#include "records/formedpackage.h"
#include "records/workspacestate.h"

namespace Deletions {

namespace {

QString selectedYear()
{
    const WorkspaceState *ws = workspaceState();
    return ws ? ws->selectedYear() : QString();
}

QString idText(RecordSet *set, const QString &field)
{
    return Formats::floatText(set->field(field).asFloat());
}

void cancelRowEdit()
{
    if (DM->saldo_data->isEditing())
        DM->saldo_data->cancel();
}

void emptyIfActive(RecordSet *set)
{
    if (set->active())
        set->emptyDataSet();
}

// Copies the rows of a statement into a record set without running its rules; false (and
// the set left as it was) when there are none.
bool reload(RecordSet *set, const QString &sql)
{
    DetachedHandler keepPost(set->beforePost);
    DetachedHandler keepInsert(set->afterInsert);
    ReadScope read(DM->IBQ1, sql);
    if (!read.found())
        return false;
    CopyToMemTable(read.query(), set, 3);
    return true;
}

} // namespace

void deletePerson()
{
    RecordSet *person = DM->assured_person;
    if (!person->active() || person->isEmpty())
        return;
    if (!userInteraction().confirm(QStringLiteral("Confirmati stergerea datelor despre aceasta persoana ?")))
        return;
    if (person->state() == RecordSet::State::Insert) {
        person->cancel(); // never written: there is nothing to delete from the database
        return;
    }
    const QString apId = idText(person, QStringLiteral("ap_id"));
    bool declarations = false;
    {
        ReadScope read(DM->IBQ1, QStringLiteral(" select na_id from name_account where na_ap=") + apId
                                     + QStringLiteral(" order by na_id"));
        declarations = read.found();
        if (declarations) {
            if (!userInteraction().confirm(QStringLiteral(
                    "La aceasta persoana este declaratii.!\r\n"
                    "Confirmati stergerea tuturor declaratiilor si datelor despre aceasta persoana ?")))
                return;
            CopyToMemTable(read.query(), DM->CDS, 2);
        }
    }
    // On a shared database the person goes whole or not at all, and only as it was read.
    GuardedSave guard;
    guard.lockAgent(DM->econ_agent->field(QStringLiteral("ea_id")).asString());
    guard.lockRow(*person);
    if (!declarations) {
        DM->execWrite(QStringLiteral(" delete from assured_person where ap_id=") + apId);
        guard.commit();
        emptyIfActive(DM->saldo_data);
        emptyIfActive(DM->name_account);
        person->deleteRecord();
        return;
    }
    RecordSet *ids = DM->CDS;
    Progress progress(QStringLiteral("Ștergerea declarațiilor persoanei"), ids->recordCount());
    for (ids->first(); !ids->eof(); ids->next()) {
        const QString id = Formats::floatText(ids->fieldByIndex(0).asFloat());
        DM->execWrite(QStringLiteral("delete from money_util where mu_na=") + id);
        DM->execWrite(QStringLiteral("delete from stage_info where si_na=") + id);
        DM->execWrite(QStringLiteral("delete from saldo_data where sd_na=") + id);
        DM->execWrite(QStringLiteral("delete from name_account where na_id=") + id);
        progress.advance();
    }
    DM->execWrite(QStringLiteral("delete from assured_person where ap_id=") + apId);
    guard.commit();
    // The move rule loads the next person's declaration. The read and every statement have
    // been committed on their own already.
    person->deleteRecord();
}

void deleteDeclaration()
{
    if (!userInteraction().confirm(QStringLiteral("Confirmati stergerea declaratiei ?")))
        return;
    RecordSet *person = DM->assured_person;
    if (person->isEmpty() || person->state() == RecordSet::State::Insert)
        throw EE(QStringLiteral("Introduceti datele despre persoana sau cautati persoana !"));
    const QString year = selectedYear();
    RecordSet *declaration = DM->name_account;
    // On a shared database the declaration goes with its rows or not at all, and only as it was
    // read; its rows are locked against the saves of other copies meanwhile.
    GuardedSave guard;
    if (declaration->active())
        guard.lockRow(*declaration);
    if (!reload(declaration, QStringLiteral("select * from name_account where  na_ap=")
                                 + idText(person, QStringLiteral("ap_id")) + QStringLiteral(" and na_year=") + year)) {
        emptyIfActive(declaration); // one typed in but never written goes from the window only
        return;
    }
    if (declaration->field(QStringLiteral("na_id")).isNull()) {
        declaration->deleteRecord();
        return;
    }
    const QString naId = idText(declaration, QStringLiteral("na_id"));
    RecordSet *rows = DM->saldo_data;
    if (reload(rows, QStringLiteral("select * from saldo_data where  sd_na=") + naId
                         + QStringLiteral(" order by sd_dela_d "))) {
        bool sent;
        {
            ReadScope read(DM->IBQ1, QStringLiteral(" select * from saldo_data where sd_na=") + naId
                                         + QStringLiteral(" and sd_pens_fund=-1"));
            sent = read.found();
        }
        if (sent)
            throw EE(QStringLiteral("Stergerea nu se permite. A fost format deja pachetul electronic. "
                                    "Anulati pachetul pentru a corecta !"));
        // The earliest row is the current one.
        if (FormedPackage::covers(year, rows->field(QStringLiteral("sd_month")).asString())) {
            cancelRowEdit();
            throw EE(QStringLiteral("Este deja format pachetul electronic pentru trimestrul respectiv !"));
        }
    }
    DM->execWrite(QStringLiteral(" delete from saldo_data where sd_na=") + naId);
    emptyIfActive(rows);
    DM->execWrite(QStringLiteral(" delete from name_account where na_id=") + naId);
    guard.commit();
    declaration->deleteRecord();
    if (WorkspaceState *ws = workspaceState())
        ws->resetAutoCompletion(true);
}

void deleteMonthlyRow()
{
    RecordSet *rows = DM->saldo_data;
    if (!rows->active())
        return;
    const QString question = QStringLiteral("Confirmati stergerea salariului ?");
    if (rows->state() == RecordSet::State::Insert) {
        // A row never written has no package to check and nothing to delete in the database.
        if (userInteraction().confirm(question))
            rows->cancel();
        return;
    }
    if (rows->isEmpty())
        return;
    if (rows->field(QStringLiteral("sd_pens_fund")).asFloat() == -1) {
        cancelRowEdit();
        throw EE(QStringLiteral("Modificari nu se permit. A fost format deja pachetul electronic. "
                                "Anulati pachetul pentru a corecta !"));
    }
    if (FormedPackage::covers(selectedYear(), rows->field(QStringLiteral("sd_month")).asString())) {
        cancelRowEdit();
        throw EE(QStringLiteral("Este deja format pachetul electronic pentru trimestrul respectiv !"));
    }
    if (!userInteraction().confirm(question))
        return;
    // On a shared database a row is deleted only as it was read.
    GuardedSave guard;
    guard.lockRow(*rows);
    DM->execWrite(QStringLiteral(" delete from saldo_data where sd_id=") + idText(rows, QStringLiteral("sd_id")));
    guard.commit();
    rows->deleteRecord();
}

} // namespace Deletions
