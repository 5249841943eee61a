#include "packages/packageannulment.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "data/writetransaction.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "records/workspacestate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace PackageAnnulment {

namespace {

const QString kCorrectionMonth = QStringLiteral("Declaratiile de corectare din acest pachet vor fi trecute in "
                                                "declaratii primare !");

QString agentId()
{
    return DM->econ_agent->field(QStringLiteral("ea_id")).asString();
}

QString selectedYear()
{
    const WorkspaceState *ws = workspaceState();
    return ws ? ws->selectedYear() : QString();
}

// The agent's declarations of a year, as the statements select them.
QString agentDeclarations(const QString &year, const QString &agent)
{
    return QStringLiteral(" sd_na in ( select na_id from  name_account ")
           + QStringLiteral(" inner join packlabel on(na_pl=pl_id) ") + QStringLiteral(" where na_year=") + year
           + QStringLiteral(" and pl_ea=") + agent + QStringLiteral(")");
}

// A monthly correction package: form type "003" and a period "L..".
bool correctionOfMonth(const QString &name)
{
    return name.mid(13, 3) == QLatin1String("003") && name.size() >= 24 && name.at(23) == u'L';
}

} // namespace

void deleteArchive(const QString &name)
{
    const QString folder = Platform::inDataFolder(QStringLiteral("Primara"));
    QDir().mkpath(folder);
    if (name.isEmpty() || !Platform::fileExistsNoCase(folder, name))
        return;
    const QString path = Platform::findFileNoCase(folder, name);
    if (!QFileInfo(path).isFile() || !QFile::remove(path))
        throw EE(QStringLiteral("Fisierul '") + QDir::toNativeSeparators(path)
                 + QStringLiteral("' nu poate fi sters !"));
}

QString packageType(const QString &name)
{
    const QString piece = name.mid(13, 3);
    if (piece == QLatin1String("001"))
        return QStringLiteral("PRIMAR");
    if (piece == QLatin1String("003"))
        return QStringLiteral("DE CORECTARE");
    return QStringLiteral("NEDETERMINAT");
}

QString clearYearMarksStatement(const QString &year, const QString &agent)
{
    return QStringLiteral(" update saldo_data set sd_pens_fund=0  where  sd_na in ( select na_id from  name_account  "
                          "inner join packlabel on(na_pl=pl_id)  where na_year=")
           + year + QStringLiteral(" and pl_ea=") + agent + QStringLiteral(")");
}

QString resetPackagedStatement()
{
    return QStringLiteral(" update name_account set na_rest=0   where na_id not in ( select sd_na from saldo_data "
                          "where sd_pens_fund = -1 )");
}

void declareRegistry(RecordSet *set)
{
    set->clearFields();
    set->addField(QStringLiteral("pachet_id"), FieldType::Integer);
    set->addField(QStringLiteral("nume"), FieldType::String, 80);
    set->addField(QStringLiteral("pachet_d"), FieldType::Date);
    set->addField(QStringLiteral("anul"), FieldType::SmallInt);
    set->addField(QStringLiteral("luna_d"), FieldType::SmallInt);
    set->addField(QStringLiteral("luna_p"), FieldType::SmallInt);
    set->addField(QStringLiteral("ae_rf"), FieldType::Integer);
    set->addField(QStringLiteral("cimp1"), FieldType::Integer);
    set->addField(QStringLiteral("cimp2"), FieldType::String, 50);
    set->addField(QStringLiteral("cimp3"), FieldType::Float);
    set->addCalculatedField(QStringLiteral("tip"), FieldType::String, 15);
    set->onCalcFields = [](RecordSet &r) {
        r[QStringLiteral("tip")].setValue(packageType(r[QStringLiteral("nume")].asString()));
    };
    set->createDataSet();
}

void loadRegistry(RecordSet *set)
{
    const QString year = selectedYear(), agent = agentId();
    {
        ReadScope read(DM->IBQ1, QStringLiteral(" select * from t_pachet where anul=") + year
                                     + QStringLiteral(" and ae_rf=") + agent + QStringLiteral(" order by pachet_d "));
        CopyToMemTable(read.query(), set, 3);
    }
    set->first();
    if (set->isEmpty())
        DM->execWrite(clearYearMarksStatement(year, agent));
}

QString annul(RecordSet *set)
{
    const QString agent = agentId();
    QString name;
    if (set->isEmpty()) {
        WriteTransaction write;
        write.exec(clearYearMarksStatement(selectedYear(), agent));
        write.exec(resetPackagedStatement());
        write.commit();
    } else if (userInteraction().confirm(QStringLiteral("Confirmati anularea pachetului electronic ?"))) {
        const QString candidate = set->field(QStringLiteral("nume")).asString();
        const QString from = set->field(QStringLiteral("luna_d")).asString();
        const QString to = set->field(QStringLiteral("luna_p")).asString();
        const QString year = set->field(QStringLiteral("anul")).asString();
        const QString id = set->field(QStringLiteral("pachet_id")).asString();
        WriteTransaction write;
        if (correctionOfMonth(candidate)) {
            userInteraction().inform(kCorrectionMonth);
            write.exec(QStringLiteral(" update saldo_data set sd_kft_rf=1  where sd_month =") + from
                       + QStringLiteral(" and ") + agentDeclarations(year, agent));
        }
        write.exec(QStringLiteral(" update saldo_data set sd_pens_fund=0  where sd_month between ") + from
                   + QStringLiteral(" and ") + to + QStringLiteral(" and ") + agentDeclarations(year, agent));
        write.exec(resetPackagedStatement());
        write.exec(QStringLiteral(" delete from t_pachet where pachet_id=") + id);
        write.commit();
        set->deleteRecord();
        name = candidate;
    }
    return name;
}

QString annulCurrent(RecordSet *set)
{
    const QString name = annul(set);
    deleteArchive(name);
    return name;
}

} // namespace PackageAnnulment
