#include "maintenance/codelookup.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/userinteraction.h"

#include <memory>

namespace CodeLookup {

namespace {

// The read of the last search, open while the dialog shows its rows.
std::unique_ptr<ReadScope> searchRead;

void endSearch()
{
    if (!searchRead)
        return;
    std::unique_ptr<ReadScope> read = std::move(searchRead);
    read->end();
}

} // namespace

bool validMode(int mode)
{
    return mode >= 2 && mode <= 5;
}

RecordSet *targetSet(int mode)
{
    switch (mode) {
    case 2:
    case 4: return DM->name_account;
    case 3:
    case 5: return DM->saldo_data;
    default: return nullptr;
    }
}

QString targetField(int mode)
{
    switch (mode) {
    case 2: return QStringLiteral("na_position");
    case 3: return QStringLiteral("SD_POSITION");
    case 4: return QStringLiteral("na_ap_category");
    case 5: return QStringLiteral("SD_AP_CATEGORY");
    default: return {};
    }
}

QString statement(int mode, const QString &keyword)
{
    const QString k = keyword.trimmed();
    if (mode == 2 || mode == 3) {
        if (k.isEmpty())
            return {};
        return QStringLiteral("select kp_id as cod,kp_name_ro as nume   from k_prof where kp_name_ro like ")
            + SqlText::quoted(u'%' + k + u'%');
    }
    if (mode == 4 || mode == 5) {
        if (k.isEmpty())
            return QStringLiteral("select ktap_id as cod,ktap_name_ro as nume from k_tariff_ap  order by ktap_id");
        return QStringLiteral("select ktap_id as cod,ktap_name_ro as nume  from k_tariff_ap where ktap_name_ro like ")
            + SqlText::quoted(u'%' + k + u'%') + QStringLiteral(" order by ktap_id");
    }
    return {};
}

bool search(int mode, const QString &keyword, RecordSet *results)
{
    if (!validMode(mode))
        return false;
    const QString sql = statement(mode, keyword);
    if (sql.isEmpty()) {
        userInteraction().inform(QStringLiteral("Introduceti cuvintul cheie pentru cautare "));
        return false;
    }
    // The rows are shown from a copy; the read itself stays open until the dialog ends.
    endSearch();
    searchRead = std::make_unique<ReadScope>(DM->IBQ5, sql);
    LoadQueryRows(searchRead->query(), results);
    return true;
}

void choose(int mode, RecordSet *results)
{
    RecordSet *target = targetSet(mode);
    if (!target)
        return;
    target->edit();
    const qint64 code = results->field(QStringLiteral("cod")).asInteger();
    target->field(targetField(mode)).setValue(code);
}

void finish()
{
    endSearch();
    DM->endRead(DM->IBQ5);
}

} // namespace CodeLookup
