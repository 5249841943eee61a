#include "packages/electronicpackage.h"
#include "data/ee.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "data/writetransaction.h"
#include "packages/packagearchivename.h"
#include "packages/packagefiles.h"
#include "packages/packageforming.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/progress.h"
#include "platform/userinteraction.h"
#include "records/workspacestate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <functional>

namespace ElectronicPackage {

namespace {

QString selectedYear()
{
    const WorkspaceState *ws = workspaceState();
    const QString year = ws ? ws->selectedYear().trimmed() : QString();
    if (year.isEmpty())
        throw EE(QStringLiteral("Indicati anul declaratiilor !"));
    return year;
}

QString agentId()
{
    return DM->econ_agent->field(QStringLiteral("ea_id")).asString();
}

qint64 whole(const QVariant &v)
{
    return v.isNull() ? 0 : qint64(std::llround(v.toDouble()));
}

// Packages of the form type K in the period: rev5_pl with zero sums, by package identifier.
void loadPackages(const QString &Y, const QString &E, const QString &K, const PackagePeriod &period)
{
    RecordSet *pl = DM->rev5_pl;
    if (!pl->active())
        pl->createDataSet();
    pl->emptyDataSet();
    pl->setIndexFieldNames(QString());
    ReadScope read(DM->IBQ5,
                   QStringLiteral(" select  pl_id, pl_nr, count(distinct na_id) as doc_cnt, 0 as sd_paym_fond,0 as sd_ill, "
                                  "0 as sd_sum_add_ea, 0 as sd_sum_add  from packlabel p  inner join name_account n on "
                                  "(n.na_pl=p.pl_id)  inner join saldo_data  on (n.na_id=sd_na)  where na_year=")
                       + Y + QStringLiteral(" and pl_ea=") + E + QStringLiteral(" and pl_kft_rf=") + K
                       + period.PeriodFilter + QStringLiteral(" group by  pl_id,pl_nr order by pl_nr "));
    IbQuery *q = read.query();
    std::vector<int> target;
    for (int i = 0; i < q->columnCount(); ++i)
        target.push_back(pl->fieldIndex(q->columns()[size_t(i)].name));
    std::vector<QVariant> values(size_t(pl->fieldCount()));
    for (; !q->eof(); q->next()) {
        std::fill(values.begin(), values.end(), QVariant());
        for (size_t i = 0; i < target.size(); ++i)
            if (target[i] >= 0)
                values[size_t(target[i])] = q->value(int(i));
        pl->appendValues(values);
    }
    pl->endAppendValues();
}

// Declarations of the form type K with rows in the period: rev5_na, values trimmed and cut to
// their fields, a document type 0 cleared.
void loadDeclarations(const QString &Y, const QString &E, const QString &K, const PackagePeriod &period)
{
    RecordSet *na = DM->rev5_na;
    if (!na->active())
        na->createDataSet();
    na->emptyDataSet();
    na->setIndexFieldNames(QString());
    ReadScope read(DM->IBQ5,
                   QStringLiteral(" select  distinct na_id,na_pl,pl_nr,ap_cpas,ap_first_name, ap_middle_name,ap_last_name,"
                                  "ap_birth_dt,ap_idnp,ap_doc_type, ap_doc_seria ,ap_doc_number,ap_idnp_who,ap_idnp_dt  "
                                  "from name_account  inner join assured_person on(na_ap=ap_id)  inner join packlabel  "
                                  "on(na_pl=pl_id)  inner join saldo_data  on (na_id=sd_na)  where na_year=")
                       + Y + QStringLiteral(" and ap_ea=") + E + QStringLiteral(" and na_kft_rf=") + K
                       + period.PeriodFilter + QStringLiteral(" order by na_pl,na_id "));
    IbQuery *q = read.query();
    std::vector<int> target;
    for (int i = 0; i < q->columnCount(); ++i)
        target.push_back(na->fieldIndex(q->columns()[size_t(i)].name));
    const int docType = na->fieldIndex(QStringLiteral("ap_doc_type"));
    std::vector<QVariant> values(size_t(na->fieldCount()));
    for (; !q->eof(); q->next()) {
        std::fill(values.begin(), values.end(), QVariant());
        for (size_t i = 0; i < target.size(); ++i) {
            const int t = target[i];
            if (t < 0)
                continue;
            QVariant v = q->value(int(i));
            const FieldDef &def = na->fieldDef(t);
            if (isStringType(def.type) && !v.isNull()) {
                QString s = v.toString().trimmed();
                if (def.size > 0)
                    s.truncate(def.size);
                v = s;
            }
            values[size_t(t)] = v;
        }
        if (docType >= 0 && !values[size_t(docType)].isNull() && whole(values[size_t(docType)]) == 0)
            values[size_t(docType)] = QVariant();
        na->appendValues(values);
    }
    na->endAppendValues();
}

// The period's monthly rows of the form type K that are sent: with an amount, or of the
// categories sent even without one.
void loadMonthlyRows(RecordSet *rows, const QString &Y, const QString &E, const QString &K, const PackagePeriod &period)
{
    ReadScope read(DM->IBQ5,
                   QStringLiteral(" select  na_id,na_pl,pl_nr,sd_month,sd_paym_fond,sd_ill, sd_sum_add_ea, sd_sum_add,  "
                                  "sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category  from name_account  left "
                                  "outer join saldo_data on (na_id=sd_na) inner join packlabel on(na_pl=pl_id)  where "
                                  "na_year=")
                       + Y + QStringLiteral(" and pl_ea=") + E + QStringLiteral(" and pl_kft_rf=") + K
                       + period.PeriodFilter + QStringLiteral(" and ((sd_paym_fond<>0 or sd_ill<>0 ")
                       + QStringLiteral("  or sd_sum_add<>0 or sd_sum_add_ea<>0 ) ")
                       + QStringLiteral(" or (sd_ap_category  in (153,155,157,158,159,165)))")
                       + QStringLiteral(" order by na_pl,na_id,sd_month "));
    LoadQueryRows(read.query(), rows);
}

// Keeps the declarations that have rows written and the packages that keep a declaration,
// each package counting the declarations it keeps.
void prune(RecordSet *written)
{
    RecordSet *na = DM->rev5_na, *pl = DM->rev5_pl;
    QSet<qint64> sent;
    if (const int id = written->fieldIndex(QStringLiteral("na_id")); id >= 0)
        for (int r = 0; r < written->recordCount(); ++r)
            sent.insert(whole(written->valueAt(r, id)));

    auto keepRows = [](RecordSet *set, const std::function<bool(int row)> &keep) {
        std::vector<std::vector<QVariant>> kept;
        const int fields = set->fieldCount();
        for (int r = 0; r < set->recordCount(); ++r) {
            if (!keep(r))
                continue;
            std::vector<QVariant> values(static_cast<size_t>(fields));
            for (int f = 0; f < fields; ++f)
                values[size_t(f)] = set->valueAt(r, f);
            kept.push_back(std::move(values));
        }
        set->emptyDataSet();
        for (const auto &values : kept)
            set->appendValues(values);
        set->endAppendValues();
    };

    const int naId = na->fieldIndex(QStringLiteral("na_id")), naPl = na->fieldIndex(QStringLiteral("na_pl"));
    QHash<qint64, int> perPackage;
    keepRows(na, [&](int r) {
        if (!sent.contains(whole(na->valueAt(r, naId))))
            return false;
        ++perPackage[whole(na->valueAt(r, naPl))];
        return true;
    });
    const int plId = pl->fieldIndex(QStringLiteral("pl_id")), docCnt = pl->fieldIndex(QStringLiteral("doc_cnt"));
    keepRows(pl, [&](int r) { return perPackage.value(whole(pl->valueAt(r, plId))) > 0; });
    for (pl->first(); !pl->eof(); pl->next()) {
        pl->edit();
        pl->fieldByIndex(docCnt).setValue(perPackage.value(whole(pl->valueAt(pl->recNo(), plId))));
        pl->post();
    }
    na->setIndexFieldNames(QStringLiteral("na_id"));
}

PackageFiles::Header header(int formType, const QString &Y, const PackagePeriod &period)
{
    RecordSet *agent = DM->econ_agent;
    PackageFiles::Header h;
    h.formType = formType;
    h.year = Y;
    h.periodCode = period.PeriodCode;
    h.office = whole(agent->field(QStringLiteral("ea_kaa2_fosk")).value());
    h.agentCode = agent->field(QStringLiteral("ea_fosk")).asString();
    h.fiscalCode = agent->field(QStringLiteral("ea_idno")).asString();
    h.responsible = agent->field(QStringLiteral("ea_receiving_usr")).asString();
    h.date = DM->serverDate.date();
    return h;
}

// Steps 1 to 8 for the packages of form type K: the four files in the folder.
void writeFiles(const QString &folder, const PackageFiles::Header &h, const QString &K, const PackagePeriod &period)
{
    const QString Y = h.year, E = agentId();
    loadPackages(Y, E, K, period);
    loadDeclarations(Y, E, K, period);
    RecordSet rows(QStringLiteral("rev5_rows"));
    loadMonthlyRows(&rows, Y, E, K, period);
    DM->rev5_pl->setIndexFieldNames(QStringLiteral("pl_id"));
    DM->rev5_na->setIndexFieldNames(QStringLiteral("na_id"));

    PackageFiles files(folder, h, DM->rev5_pl, DM->rev5_na);
    files.writeSd(&rows);
    prune(&rows);
    rows.close();
    files.writeIp();
    files.writeT();
    files.writeNa();
    DM->rev5_pl->close();
    DM->rev5_na->close();
}

// Runs the archiver in the folder over the four files; an archive of that name left there by
// an earlier run that failed is removed first, so that it cannot lend the new one its members.
void archive(const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw EE(QStringLiteral("Gresala la arhivare !"));
    QStringList arguments{QStringLiteral("a"), name};
    arguments += fileNames();
    if (RunAndWait(Platform::inProgramFolder(QStringLiteral("rar")), arguments, folder) != 0
        || !QFileInfo(path).isFile())
        throw EE(QStringLiteral("Gresala la arhivare !"));
}

void offerCopyToMedia(const QString &folder, const QString &name)
{
    if (!userInteraction().confirm(QStringLiteral("De copiat fisierul ") + name + QStringLiteral(" pe suport magnetic ?")))
        return;
    const QString target = userInteraction().browseFolder(QStringLiteral("Indicati dosarul "), QString());
    if (target.isEmpty())
        return;
    if (copyVerified(QDir(folder).filePath(name), target))
        userInteraction().inform(QStringLiteral("Copiere reusita !"));
    else
        userInteraction().inform(QStringLiteral("Gresala la copiere pe discheta !"));
}

// Moves the archive from the folder into the filing folder; an older archive of that name
// there is replaced in one step, only once the new one is complete.
QString file(const QString &folder, const QString &name, const QString &filing)
{
    const QString from = QDir(folder).filePath(name);
    const QString to = QDir(filing).filePath(name);
    if (!QFileInfo::exists(from))
        return to;
    const QString old = Platform::findFileNoCase(filing, name);
    if (old != to && QFileInfo::exists(old) && !QFile::remove(old))
        throw EE(QStringLiteral("Fisierul \"") + QDir::toNativeSeparators(old)
                 + QStringLiteral("\" deja exista in mapa !"));
    if (!Platform::replaceFile(from, to)) {
        // Another file system: a complete copy under a temporary name takes the name.
        if (!copyVerified(from, filing) || !QFile::remove(from))
            throw EE(QStringLiteral("Fisierul \"") + QDir::toNativeSeparators(to)
                     + QStringLiteral("\" deja exista in mapa !"));
    }
    return to;
}

// The agent's monthly rows of the period in packages of the form type K: those the marks make
// sent.
QString rowsToMark(const QString &Y, const QString &E, const QString &K, const QString &cutFilter)
{
    return QStringLiteral(" select * from saldo_data where ") + cutFilter
           + QStringLiteral(" and sd_na in ( select na_id from name_account inner join packlabel on(na_pl=pl_id) "
                            "where na_year=")
           + Y + QStringLiteral(" and pl_ea=") + E + QStringLiteral(" and pl_kft_rf=") + K
           + QStringLiteral(") order by sd_id");
}

// Every value of every row of an open query, as one digest.
QByteArray digestOf(IbQuery *q)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (; !q->eof(); q->next()) {
        for (int i = 0; i < q->columnCount(); ++i) {
            const QVariant v = q->value(i);
            hash.addData(v.isNull() ? QByteArrayLiteral("\x01null") : v.toString().toUtf8());
            hash.addData(QByteArrayLiteral("\x02"));
        }
        hash.addData(QByteArrayLiteral("\x03"));
    }
    return hash.result();
}

} // namespace

const QStringList &fileNames()
{
    static const QStringList names{QStringLiteral("REV5_T"), QStringLiteral("REV5_IP"), QStringLiteral("REV5_NA"),
                                   QStringLiteral("REV5_SD")};
    return names;
}

QString filingFolder(int formType)
{
    return QDir(Platform::dataFolder())
        .filePath(formType != 1 ? QStringLiteral("De_corectare") : QStringLiteral("Primara"));
}

bool copyVerified(const QString &archive, const QString &folder)
{
    QFile source(archive);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    const QString name = QFileInfo(archive).fileName();
    const QString target = QDir(folder).filePath(name);
    const QString part = QDir(folder).filePath(QStringLiteral(".") + name + QStringLiteral(".part"));
    QFile::remove(part);
    bool ok = false;
    {
        QFile out(part);
        ok = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.flush();
        out.close();
        ok = ok && out.error() == QFileDevice::NoError;
    }
    if (ok) {
        QFile back(part);
        ok = back.open(QIODevice::ReadOnly) && back.readAll() == bytes;
    }
    if (ok)
        ok = Platform::replaceFile(part, target);
    if (!ok)
        QFile::remove(part);
    return ok;
}

void prepare()
{
    PackageForming::run();
    PostPendingEdits();
}

void check(const PackagePeriod &period)
{
    const QString Y = selectedYear(), E = agentId();
    {
        ReadScope read(DM->IBQ3,
                       QStringLiteral("select a.na_pl,count(distinct a.na_id) as cnt  from  name_account a inner join "
                                      "packlabel p on (a.na_pl=p.pl_id)  inner join saldo_data s on (a.na_id=s.sd_na)  "
                                      "where  a.na_year=")
                           + Y + QStringLiteral(" and p.pl_ea=") + E + period.PeriodFilter
                           + QStringLiteral(" group by a.na_pl order by 2 desc "));
        if (!read.found())
            throw EE(QStringLiteral("Nu sunt declaratii pentru perioada indicata !"));
        if (read.value(1).toLongLong() > 50)
            throw EE(QStringLiteral("Sunt pachete ce contin mai mult de 50 declaratii. Formati pachetele din nou ! "));
        read.reopen(QStringLiteral(" select count(*) as cnt from  name_account a inner join packlabel p on "
                                   "(a.na_pl=p.pl_id)  where  a.na_year=")
                    + Y + QStringLiteral(" and na_rest<>1 ") + QStringLiteral(" and p.pl_ea=") + E);
        if (read.value(0).toLongLong() > 0)
            throw EE(QStringLiteral("Formati pachetele declaratiilor !"));
    }
    DM->execWrite(QStringLiteral("update assured_person set ap_idnp_dt=ap_birth_dt+1 where ap_idnp_dt<=ap_birth_dt "));
    {
        ReadScope read(DM->IBQ3, QStringLiteral(" select count(distinct pl_id),count(distinct pl_nr)  from packlabel  "
                                                "where pl_ea=")
                                     + E + QStringLiteral(" and  pl_year=") + Y
                                     + QStringLiteral(" and pl_id in (select na_pl from name_account)"));
        if (read.value(0).toLongLong() != read.value(1).toLongLong())
            throw EE(QStringLiteral("Gresala.  Numere de pachete ce se repeta.  Corectati !"));
        read.reopen(QStringLiteral(" select * from assured_person,packlabel,name_account  where ap_id=na_ap and "
                                   "na_pl=pl_id and pl_ea=")
                    + E + QStringLiteral(" and  ap_idnp_dt<=ap_birth_dt"));
        if (read.found())
            throw EE(QStringLiteral("Gresala ! Data buletinului mai mica ca data nasterii "));
    }
    DM->execWrite(QStringLiteral("delete from name_account where na_id not in (select sd_na from saldo_data)"));
}

QString form(const PackagePeriod &period, int formType, bool offerCopy)
{
    // The checks, three parts per form type of the packages (one in practice), the registry.
    Progress progress(QStringLiteral("Formarea pachetului electronic"), 5);
    int part = 0;
    progress.step(++part, QStringLiteral("Verificarea datelor"));
    check(period);
    const QString Y = selectedYear(), E = agentId();
    const QString P = Platform::dataFolder();

    {
        ReadScope read(DM->IBQ1, QStringLiteral(" select distinct pl_kft_rf  from packlabel,name_account,saldo_data  "
                                                "where pl_year=")
                                     + Y + QStringLiteral(" and pl_ea=") + E
                                     + QStringLiteral(" and pl_id=na_pl and na_id=sd_na ") + period.PeriodFilter
                                     + QStringLiteral(" order by pl_kft_rf "));
        CopyToMemTable(read.query(), DM->cds1, 2);
    }
    RecordSet *kinds = DM->cds1;
    if (kinds->isEmpty()) {
        userInteraction().inform(QStringLiteral("Nu sint date !"));
        return {};
    }

    const PackageFiles::Header h = header(formType, Y, period);
    const QString name = PackageArchiveName(h.agentCode.trimmed(), formType, Y, period.PeriodCode);
    const QString filing = filingFolder(formType);
    progress.setTotal(2 + 3 * qint64(kinds->recordCount()));
    QString cut = period.PeriodFilter.trimmed();
    cut.remove(0, 3);
    // On a shared database the rows the files are made of are noted first: should another copy
    // change one before the marks, the marks would stand for what the files do not hold.
    const bool shared = GuardedSave::sharedDatabase();
    QByteArray rowsRead;
    QString K, filed;
    for (kinds->first(); !kinds->eof(); kinds->next()) {
        K = QString::number(whole(kinds->fieldByIndex(0).value()));
        if (shared) {
            ReadScope read(DM->IBQ3, rowsToMark(Y, E, K, cut));
            rowsRead = digestOf(read.query());
        }
        {
            WaitCursor wait;
            progress.step(++part, QStringLiteral("Scrierea fișierelor ") + fileNames().join(QStringLiteral(", ")));
            writeFiles(P, h, K, period);
            progress.step(++part, QStringLiteral("Arhivarea în ") + name);
            archive(P, name);
            QDir().mkpath(filing);
        }
        if (offerCopy)
            offerCopyToMedia(P, name);
        progress.step(++part, QStringLiteral("Depunerea arhivei în dosarul ") + QFileInfo(filing).fileName());
        filed = file(P, name, filing);
    }
    progress.step(++part, QStringLiteral("Înregistrarea pachetului și marcarea rândurilor trimise"));

    {
        WriteTransaction write;
        if (shared) {
            // The declarations of the year stay locked until the marks are stored: a monthly row
            // saved by another copy waits for them and then meets the registry row.
            write.lockRows(QStringLiteral("select na_id from name_account where na_year=") + Y
                           + QStringLiteral(" and na_ap in (select ap_id from assured_person where ap_ea=") + E
                           + QStringLiteral(") with lock"));
            IbQuery *rows = write.open(rowsToMark(Y, E, K, cut));
            const bool unchanged = digestOf(rows) == rowsRead;
            rows->close();
            if (!unchanged)
                throw EE(QStringLiteral("Alt utilizator a modificat rîndurile lunare ale perioadei în timp ce se "
                                        "forma pachetul electronic: pachetul nu a fost înregistrat și niciun rînd nu "
                                        "a fost marcat ca trimis. Formați pachetul electronic din nou."));
        }
        write.exec(QStringLiteral(" delete from t_pachet where anul=") + Y + QStringLiteral(" and luna_d=")
                   + period.MonthFrom + QStringLiteral(" and luna_p=") + period.MonthTo + QStringLiteral(" and ae_rf=")
                   + E);
        const qint64 id = whole(write.value(QStringLiteral("select max(pachet_id) from t_pachet "))) + 1;
        write.exec(QStringLiteral(" insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) values(")
                   + QString::number(id) + u',' + SqlText::quoted(name) + u',' + SqlText::quoted(Clock::today())
                   + u',' + Y + u',' + period.MonthFrom + u',' + period.MonthTo + u',' + E + u')');
        write.exec(QStringLiteral(" update saldo_data set sd_pens_fund=-1  where ") + cut
                   + QStringLiteral(" and  sd_na in ( select na_id from  name_account ")
                   + QStringLiteral(" inner join packlabel on(na_pl=pl_id) ") + QStringLiteral(" where na_year=") + Y
                   + QStringLiteral(" and pl_ea=") + E + QStringLiteral(" and pl_kft_rf=") + K + QStringLiteral(")"));
        write.commit();
    }
    kinds->close();
    if (DM->cds3->active())
        DM->cds3->close();
    return filed;
}

} // namespace ElectronicPackage
