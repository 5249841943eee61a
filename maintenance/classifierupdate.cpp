#include "maintenance/classifierupdate.h"
#include "data/datapacket.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"

#include <QFileInfo>
#include <QSet>

namespace {

QString partialMergeText(const QString &path, int merged, int total)
{
    return QStringLiteral("Actualizarea din fisierul \"%1\" este partiala: %2 din %3 randuri au fost actualizate "
                          "inainte de eroare. Repetati actualizarea.")
        .arg(QFileInfo(path).fileName())
        .arg(merged)
        .arg(total);
}

bool rowExists(const QString &sql)
{
    ReadScope read(DM->IBQ1, sql);
    const bool found = read.found();
    read.end();
    return found;
}

// The professions that declarations or monthly rows name as their function. The database
// refuses to delete only the first (and only where it holds that reference), so the withdrawal
// asks before it deletes.
QSet<qint64> professionsInUse()
{
    QSet<qint64> used;
    ReadScope read(DM->IBQ1, QStringLiteral("select na_position from name_account where na_position is not null "
                                            "union select sd_position from saldo_data where sd_position is not null"));
    for (; !read->eof(); read->next())
        used.insert(qRound64(read.value(0).toDouble()));
    read.end();
    return used;
}

// Deletes the rows of an in-memory set whose first field is at least `from`.
void dropRowsFrom(RecordSet *set, int from)
{
    if (!set->active())
        return;
    const int id = set->fieldIndex(QStringLiteral("kft_id"));
    for (int r = set->recordCount() - 1; r >= 0; --r) {
        set->moveTo(r);
        if (set->fieldByIndex(id).asInteger() >= from)
            set->deleteRecord();
    }
    if (!set->isEmpty())
        set->first();
}

} // namespace

void ApplyClassifierFile(RecordSet *set, int keyIndex)
{
    const QString path = ClassifierUpdate::filePath(set->name());
    if (!QFileInfo::exists(path))
        return;
    // The whole file is read before the set or the table is touched.
    DataPacket::Packet packet = DataPacket::read(path);
    if (set->active())
        set->emptyDataSet();
    DataPacket::intoRecordSet(std::move(packet), *set);

    const QString table = set->name();
    // A file that carries the key alone has nothing to update in a row that exists.
    const bool hasValues = set->dataFieldCount() > 1;
    const int total = set->recordCount();
    int merged = 0;
    auto partial = [&](const QString &message) { return message + u'\n' + partialMergeText(path, merged, total); };
    try {
        for (set->first(); !set->eof(); set->next()) {
            const bool found = rowExists(QStringLiteral(" select * from ") + table + QStringLiteral(" where ")
                                         + set->fieldDef(0).name + u'=' + SqlLiteral(set, 0));
            DM->IBT1->commitIfActive();
            if (!found) {
                try {
                    DM->execWrite(BuildInsertOrUpdate(set, keyIndex, 1));
                } catch (const DbError &) {
                    // The update stands in for the insert; with the key alone there is none.
                    if (!hasValues)
                        throw;
                    DM->execWrite(BuildInsertOrUpdate(set, keyIndex, 2));
                }
            } else if (hasValues) {
                DM->execWrite(BuildInsertOrUpdate(set, keyIndex, 2));
            }
            ++merged;
        }
    } catch (const DbError &e) {
        throw DbError(partial(e.message()), e.sqlCode());
    } catch (const EE &e) {
        throw EE(partial(e.message()));
    }
    DM->IBT2->commitIfActive();
}

namespace ClassifierUpdate {

QString durationWarning()
{
    return QStringLiteral("Actualizarea poate dura in jur de 10 min. !");
}

QString withdrawnPrefix()
{
    return QStringLiteral("PROFESIE ANULATA ");
}

QString filePath(const QString &table)
{
    return Platform::inDataOrProgramFolder(table + QStringLiteral(".cds"));
}

void updateTariffs()
{
    {
        WaitCursor wait;
        // Every file present is read first, so that an unreadable one stops the update before
        // any table changed.
        for (const char *table : {"k_tariff_ap", "k_tariff_ap_value", "k_form_type"}) {
            const QString path = filePath(QString::fromLatin1(table));
            if (QFileInfo::exists(path))
                DataPacket::read(path);
        }
        ApplyClassifierFile(DM->k_tariff_ap, 0);
        ApplyClassifierFile(DM->k_tariff_ap_value, 0);
        try {
            DM->execWrite(QStringLiteral(" delete from k_form_type where kft_id>3 "));
        } catch (const DbError &) {
            // Form types still in use stay.
        }
        DM->IBT2->commitIfActive();
        ApplyClassifierFile(DM->k_form_type, 0);

        LoadClassifier(DM->k_tariff_ap);
        LoadClassifier(DM->k_tariff_ap_value);
        LoadClassifier(DM->k_form_type);
        CopyToMemTable(DM->k_form_type, DM->cl_form_type, 2);
        // Declarations are offered only the primary form type; monthly rows show 1 and 3.
        dropRowsFrom(DM->k_form_type, 2);
        dropRowsFrom(DM->cl_form_type, 4);
    }
    userInteraction().inform(QStringLiteral("OK"));
}

void updateProfessions()
{
    userInteraction().inform(durationWarning());
    {
        WaitCursor wait;
        const QString path = filePath(QStringLiteral("k_prof"));
        if (QFileInfo::exists(path)) {
            RecordSet fileRows(QStringLiteral("k_prof"));
            DataPacket::intoRecordSet(DataPacket::read(path), fileRows);
            fileRows.setIndexFieldNames(QStringLiteral("kp_id"));
            const int fileKey = fileRows.fieldIndex(QStringLiteral("kp_id"));
            if (fileKey < 0)
                throw EE(DataPacket::notAPacketMessage(path));
            QSet<qint64> kept;
            for (int r = 0; r < fileRows.recordCount(); ++r)
                kept.insert(qRound64(fileRows.valueAt(r, fileKey).toDouble()));

            const QSet<qint64> used = professionsInUse();
            RecordSet *prof = DM->k_prof;
            const int id = prof->active() ? prof->fieldIndex(QStringLiteral("kp_id")) : -1;
            const int name = prof->active() ? prof->fieldIndex(QStringLiteral("kp_name_ro")) : -1;
            for (int r = 0; id >= 0 && r < prof->recordCount(); ++r) {
                const QVariant key = prof->valueAt(r, id);
                if (key.isNull() || kept.contains(qRound64(key.toDouble())))
                    continue;
                const QString code = QString::number(qRound64(key.toDouble()));
                const QString old = name >= 0 ? prof->valueAt(r, name).toString().trimmed() : QString();
                // A profession withdrawn by an earlier update keeps its one prefix.
                const QString withdrawn = (old.startsWith(withdrawnPrefix()) ? old : withdrawnPrefix() + old).left(250);
                DM->execWrite(QStringLiteral("update k_prof set kp_name_ro=") + SqlText::quoted(withdrawn)
                              + QStringLiteral(" where kp_id=") + code);
                // Still used by declarations or monthly rows: it stays, under its withdrawn name.
                if (!used.contains(qRound64(key.toDouble()))) {
                    try {
                        DM->execWrite(QStringLiteral("delete from k_prof where kp_id=") + code);
                    } catch (const DbError &) {
                        // Refused by the database: it stays too.
                    }
                }
                DM->IBT2->commitIfActive();
            }
        }
        ApplyClassifierFile(DM->k_prof, 0);
    }
    userInteraction().inform(QStringLiteral("OK"));
}

} // namespace ClassifierUpdate
