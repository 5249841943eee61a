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
#include "platform/progress.h"
#include "platform/userinteraction.h"

#include <QFileInfo>
#include <QSet>

#include <vector>

namespace {

QString partialMergeText(const QString &path, int merged, int total)
{
    return QStringLiteral("Actualizarea din fisierul \"%1\" este partiala: %2 din %3 randuri au fost actualizate "
                          "inainte de eroare. Repetati actualizarea.")
        .arg(QFileInfo(path).fileName())
        .arg(merged)
        .arg(total);
}

QString cancelledMergeText(const QString &path, int merged, int total)
{
    return QStringLiteral("Actualizarea din fișierul \"%1\" a fost anulată: %2 au fost actualizate.")
        .arg(QFileInfo(path).fileName(),
             Progress::ofText(merged, total, QStringLiteral("rând"), QStringLiteral("rânduri")));
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

void reloadTariffClassifiers()
{
    LoadClassifier(DM->k_tariff_ap);
    LoadClassifier(DM->k_tariff_ap_value);
    LoadClassifier(DM->k_form_type);
    CopyToMemTable(DM->k_form_type, DM->cl_form_type, 2);
    // Declarations are offered only the primary form type; monthly rows show 1 and 3.
    dropRowsFrom(DM->k_form_type, 2);
    dropRowsFrom(DM->cl_form_type, 4);
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
    Progress progress(QStringLiteral("Rândurile fișierului ") + QFileInfo(path).fileName(), total, Progress::MayStop);
    bool stopped = false;
    try {
        for (set->first(); !set->eof(); set->next()) {
            // Every row before this one is committed: the user may stop here.
            if (progress.cancelled()) {
                stopped = true;
                break;
            }
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
            progress.step(++merged);
        }
    } catch (const DbError &e) {
        throw DbError(partial(e.message()), e.sqlCode());
    } catch (const EE &e) {
        throw EE(partial(e.message()));
    }
    DM->IBT2->commitIfActive();
    if (stopped)
        throw EE(cancelledMergeText(path, merged, total));
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
        Progress progress(QStringLiteral("Actualizarea tarifelor"), 5);
        progress.step(1, QStringLiteral("Citirea fișierelor"));
        // Every file present is read first, so that an unreadable one stops the update before
        // any table changed.
        for (const char *table : {"k_tariff_ap", "k_tariff_ap_value", "k_form_type"}) {
            const QString path = filePath(QString::fromLatin1(table));
            if (QFileInfo::exists(path))
                DataPacket::read(path);
        }
        try {
            progress.step(2, QStringLiteral("Categoriile"));
            ApplyClassifierFile(DM->k_tariff_ap, 0);
            progress.step(3, QStringLiteral("Tarifele"));
            ApplyClassifierFile(DM->k_tariff_ap_value, 0);
            progress.step(4, QStringLiteral("Tipurile de formulare"));
            try {
                DM->execWrite(QStringLiteral(" delete from k_form_type where kft_id>3 "));
            } catch (const DbError &) {
                // Form types still in use stay.
            }
            DM->IBT2->commitIfActive();
            ApplyClassifierFile(DM->k_form_type, 0);
        } catch (...) {
            // Stopped part-way: what was merged stays, and the classifiers in memory show the
            // tables as they are now rather than the rows of a file half applied.
            try {
                reloadTariffClassifiers();
            } catch (...) {
                // the reason of the stop is what the user reads
            }
            throw;
        }
        progress.step(5, QStringLiteral("Reîncărcarea clasificatoarelor"));
        reloadTariffClassifiers();
    }
    userInteraction().inform(QStringLiteral("OK"));
}

namespace {

// The withdrawal of the professions the file no longer holds, then the file's professions.
void withdrawAndMergeProfessions(Progress &progress)
{
    const QString path = filePath(QStringLiteral("k_prof"));
    if (QFileInfo::exists(path)) {
        progress.step(1, QStringLiteral("Retragerea profesiilor care lipsesc din fișier"));
        RecordSet fileRows(QStringLiteral("k_prof"));
        DataPacket::intoRecordSet(DataPacket::read(path), fileRows);
        fileRows.setIndexFieldNames(QStringLiteral("kp_id"));
        const int fileKey = fileRows.fieldIndex(QStringLiteral("kp_id"));
        if (fileKey < 0)
            throw EE(DataPacket::notAPacketMessage(path));
        QSet<qint64> kept;
        for (int r = 0; r < fileRows.recordCount(); ++r)
            kept.insert(qRound64(fileRows.valueAt(r, fileKey).toDouble()));

        RecordSet *prof = DM->k_prof;
        const int id = prof->active() ? prof->fieldIndex(QStringLiteral("kp_id")) : -1;
        const int name = prof->active() ? prof->fieldIndex(QStringLiteral("kp_name_ro")) : -1;
        std::vector<int> gone; // rows of the professions in memory that the file no longer holds
        for (int r = 0; id >= 0 && r < prof->recordCount(); ++r) {
            const QVariant key = prof->valueAt(r, id);
            if (!key.isNull() && !kept.contains(qRound64(key.toDouble())))
                gone.push_back(r);
        }
        const QSet<qint64> used = professionsInUse();
        Progress withdrawals(QStringLiteral("Profesiile retrase"), qint64(gone.size()), Progress::MayStop);
        for (const int r : gone) {
            // Each profession is withdrawn in statements committed on their own: the user may
            // stop between two.
            if (withdrawals.cancelled())
                throw EE(QStringLiteral("Actualizarea profesiilor a fost anulată: %1 care lipsesc din fișierul \"%2\" "
                                        "au fost retrase.")
                             .arg(Progress::ofText(withdrawals.done(), withdrawals.total(), QStringLiteral("profesie"),
                                                   QStringLiteral("profesii")),
                                  QFileInfo(path).fileName()));
            const qint64 key = qRound64(prof->valueAt(r, id).toDouble());
            const QString code = QString::number(key);
            const QString old = name >= 0 ? prof->valueAt(r, name).toString().trimmed() : QString();
            // A profession withdrawn by an earlier update keeps its one prefix.
            const QString withdrawn = (old.startsWith(withdrawnPrefix()) ? old : withdrawnPrefix() + old).left(250);
            DM->execWrite(QStringLiteral("update k_prof set kp_name_ro=") + SqlText::quoted(withdrawn)
                          + QStringLiteral(" where kp_id=") + code);
            // Still used by declarations or monthly rows: it stays, under its withdrawn name.
            if (!used.contains(key)) {
                try {
                    DM->execWrite(QStringLiteral("delete from k_prof where kp_id=") + code);
                } catch (const DbError &) {
                    // Refused by the database: it stays too.
                }
            }
            DM->IBT2->commitIfActive();
            withdrawals.advance();
        }
    }
    progress.step(2, QStringLiteral("Profesiile fișierului"));
    ApplyClassifierFile(DM->k_prof, 0);
}

} // namespace

void updateProfessions()
{
    userInteraction().inform(durationWarning());
    {
        WaitCursor wait;
        Progress progress(QStringLiteral("Actualizarea profesiilor"), 2);
        try {
            withdrawAndMergeProfessions(progress);
        } catch (...) {
            // Stopped part-way: the professions in memory are those of the table now.
            try {
                LoadClassifier(DM->k_prof);
            } catch (...) {
                // the reason of the stop is what the user reads
            }
            throw;
        }
    }
    userInteraction().inform(QStringLiteral("OK"));
}

} // namespace ClassifierUpdate