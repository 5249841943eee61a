#include "packages/packagerenumbering.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "platform/userinteraction.h"
#include "records/workspacestate.h"

namespace PackageRenumbering {

namespace {

const QString kSentRefusal = QStringLiteral("Este format pachetul electronic. Modificari nu se permit.");
const int kMaxDeclarations = 50;

QString agentId()
{
    return Formats::floatText(DM->econ_agent->field(QStringLiteral("ea_id")).asFloat());
}

QString year()
{
    return workspaceState() ? workspaceState()->selectedYear().trimmed() : QString();
}

int count(const QString &sql)
{
    ReadScope read(DM->IBQ1, sql);
    return read.found() ? read.value(0).toInt() : 0;
}

struct Row {
    qint64 oldNumber, newNumber;
    QString id;
    bool sent;
};

Row rowAt(RecordSet *set, int r)
{
    auto value = [set, r](const char *name) { return set->valueAt(r, set->fieldIndex(QString::fromLatin1(name))); };
    return {value("pl_nr_old").toLongLong(), value("pl_nr_new").toLongLong(),
            Formats::floatText(value("pl_id").toDouble()), value("pl_pe").toString() == u"DA"};
}

// Moves declarations of `from` into `into` while `into` holds fewer than 50.
void merge(const Row &into, const Row &from)
{
    int held = count(countStatement(agentId(), year(), into.id));
    if (held >= kMaxDeclarations)
        return;
    QStringList moving;
    {
        ReadScope read(DM->IBQ1, declarationsStatement(agentId(), year(), from.id));
        for (; !read->eof(); read->next())
            moving << Formats::floatText(read.value(0).toDouble());
    }
    for (const QString &declaration : moving) {
        if (held >= kMaxDeclarations)
            break;
        DM->execWrite(QStringLiteral(" update name_account set na_pl=") + into.id + QStringLiteral(" where na_id=")
                      + declaration);
        ++held;
    }
}

} // namespace

QString sentStatement(const QString &packageId)
{
    return QStringLiteral(" select  count(*) as cnt from name_account,saldo_data  where na_id=sd_na and "
                          "sd_pens_fund=-1 and na_pl=")
           + packageId;
}

QString countStatement(const QString &agent, const QString &y, const QString &packageId)
{
    return QStringLiteral("select count(*) as cnt from name_account,packlabel  where na_pl=pl_id and pl_ea=") + agent
           + QStringLiteral(" and pl_year=") + y + QStringLiteral(" and na_pl=") + packageId;
}

QString declarationsStatement(const QString &agent, const QString &y, const QString &packageId)
{
    return QStringLiteral("select na_id from name_account,packlabel  where na_pl=pl_id and pl_ea=") + agent
           + QStringLiteral(" and pl_year=") + y + QStringLiteral(" and na_pl=") + packageId;
}

void declare(RecordSet *set)
{
    set->clearFields();
    set->addField(QStringLiteral("pl_nr_old"), FieldType::Integer);
    set->addField(QStringLiteral("pl_nr_new"), FieldType::Integer);
    set->addField(QStringLiteral("pl_id"), FieldType::Float);
    set->addField(QStringLiteral("pl_pe"), FieldType::String, 2);
    set->addField(QStringLiteral("pl_nd"), FieldType::Integer);
    set->setIndexFieldNames(QStringLiteral("pl_nr_new"));
    set->createDataSet();
    set->beforePost = checkRow;
}

void load(RecordSet *set, RecordSet *pachet)
{
    const RecordSet::Handler check = set->beforePost;
    set->beforePost = nullptr;
    set->emptyDataSet();
    if (pachet->active()) {
        const int number = pachet->fieldIndex(QStringLiteral("pl_nr"));
        const int id = pachet->fieldIndex(QStringLiteral("pl_id"));
        for (int r = 0; r < pachet->recordCount(); ++r) {
            const QString package = Formats::floatText(pachet->valueAt(r, id).toDouble());
            const bool sent = count(sentStatement(package)) >= 1;
            set->appendValues({pachet->valueAt(r, number), pachet->valueAt(r, number),
                               pachet->valueAt(r, id).toDouble(), sent ? QStringLiteral("DA") : QStringLiteral("NU"),
                               count(countStatement(agentId(), year(), package))});
        }
    }
    set->endAppendValues();
    set->first();
    set->beforePost = check;
}

void checkRow(RecordSet &set)
{
    if (set.field(QStringLiteral("pl_pe")).asString() == u"DA"
        && set.field(QStringLiteral("pl_nr_new")).value() != set.field(QStringLiteral("pl_nr_old")).value()) {
        set.cancel();
        throw EE(kSentRefusal);
    }
}

void save(RecordSet *set)
{
    set->checkBrowseMode();
    for (int r = 0; r < set->recordCount(); ++r) {
        const Row row = rowAt(set, r);
        if (row.newNumber < 1)
            throw EE(QStringLiteral("Numarul nu poate fi < 1 "));
        if (r > 0 && !row.sent) {
            const Row previous = rowAt(set, r - 1);
            if (previous.newNumber == row.newNumber)
                merge(previous, row);
        }
        if (!row.sent)
            DM->execWrite(QStringLiteral("update packlabel set pl_nr=") + QString::number(row.newNumber)
                          + QStringLiteral(" where pl_id=") + row.id);
        else if (row.newNumber != row.oldNumber)
            throw EE(kSentRefusal);
    }
    userInteraction().inform(QStringLiteral("OK"));
}

} // namespace PackageRenumbering
