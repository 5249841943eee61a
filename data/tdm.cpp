#include "data/tdm.h"
#include "data/concurrencyerror.h"


#include <stdexcept>

TDM *DM = nullptr;

RecordSet *TDM::makeSet(const QString &name)
{
    auto *set = new RecordSet(name, this);
    m_sets.push_back(set);
    m_sources.push_back(new DataSource(QStringLiteral("DS") + name, set, this));
    return set;
}

TDM::TDM(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DM"));
    IDB = new IbDatabase(this);
    IDB->setObjectName(QStringLiteral("IDB"));
    IbTransaction **ts[] = {&IBT1, &IBT2, &IBT3, &IBT4, &IBT5};
    IbQuery **qs[] = {&IBQ1, &IBQ2, &IBQ3, &IBQ4, &IBQ5};
    for (int i = 0; i < 5; ++i) {
        *ts[i] = new IbTransaction(IDB, this);
        (*ts[i])->setObjectName(QStringLiteral("IBT%1").arg(i + 1));
        *qs[i] = new IbQuery(*ts[i], this);
        (*qs[i])->setObjectName(QStringLiteral("IBQ%1").arg(i + 1));
    }
    IDB->setDefaultTransaction(IBT1);
    // Only IBQ2 writes; the readers' transactions are read-only.
    for (IbTransaction *t : {IBT1, IBT3, IBT4, IBT5})
        t->setReadOnly(true);

    econ_agent = makeSet(QStringLiteral("econ_agent"));
    assured_person = makeSet(QStringLiteral("assured_person"));
    name_account = makeSet(QStringLiteral("name_account"));
    saldo_data = makeSet(QStringLiteral("saldo_data"));
    k_adm_area2 = makeSet(QStringLiteral("k_adm_area2"));
    k_form_type = makeSet(QStringLiteral("k_form_type"));
    cl_form_type = makeSet(QStringLiteral("cl_form_type"));
    k_month = makeSet(QStringLiteral("k_month"));
    k_prof = makeSet(QStringLiteral("k_prof"));
    k_id_doc_type = makeSet(QStringLiteral("k_id_doc_type"));
    k_tariff_ap = makeSet(QStringLiteral("k_tariff_ap"));
    k_tariff_ap_value = makeSet(QStringLiteral("k_tariff_ap_value"));
    person = makeSet(QStringLiteral("person"));
    saldo = makeSet(QStringLiteral("saldo"));
    stage = makeSet(QStringLiteral("stage"));
    money = makeSet(QStringLiteral("money"));
    pachet = makeSet(QStringLiteral("pachet"));
    rev = makeSet(QStringLiteral("rev"));
    CDS = makeSet(QStringLiteral("CDS"));
    cds1 = makeSet(QStringLiteral("cds1"));
    cds3 = makeSet(QStringLiteral("cds3"));
    cds4 = makeSet(QStringLiteral("cds4"));
    cds5 = makeSet(QStringLiteral("cds5"));
    rev5_pl = makeSet(QStringLiteral("rev5_pl"));
    rev5_na = makeSet(QStringLiteral("rev5_na"));
    rev5_sd = makeSet(QStringLiteral("rev5_sd"));
    Temp = makeSet(QStringLiteral("Temp"));

    declareEconAgent();
    declareAssuredPerson();
    declareNameAccount();
    declareSaldoData();
    declareFormTypes();
    declareTemp();
    declareRev5();
    CDS->addField(QStringLiteral("trim"), FieldType::Integer);

    k_adm_area2->setIndexFieldNames(QStringLiteral("kaa2_name_ro"));
    k_prof->setIndexFieldNames(QStringLiteral("kp_id"));
    k_tariff_ap->setIndexFieldNames(QStringLiteral("ktap_id"));
    name_account->setIndexFieldNames(QStringLiteral("na_ap"));
    name_account->setMaster(assured_person, QStringLiteral("ap_id"), QStringLiteral("na_ap"));
    saldo->setMaster(person, QStringLiteral("na_id"), QStringLiteral("sd_na"));
    stage->setMaster(person, QStringLiteral("na_id"), QStringLiteral("si_na"));
    money->setMaster(person, QStringLiteral("na_id"), QStringLiteral("mu_na"));

    // The package list blanks the declarations grid until it is filled again for the package.
    DataSource *dsrev = dataSource(QStringLiteral("DSrev"));
    pachet->afterScroll = [dsrev](RecordSet &) { dsrev->setEnabled(false); };

    // Create handler.
    workingYear = QStringLiteral("0");
}

TDM::~TDM()
{
    // Destroy handler: nothing half-edited is posted, then the connection ends.
    try {
        cancelPendingEdits();
        IDB->close();
    } catch (...) {
    }
    if (DM == this)
        DM = nullptr;
}

void TDM::cancelPendingEdits()
{
    saldo_data->cancel();
    name_account->cancel();
    assured_person->cancel();
}

RecordSet *TDM::recordSet(const QString &name) const
{
    for (RecordSet *s : m_sets)
        if (s->objectName() == name)
            return s;
    return nullptr;
}

DataSource *TDM::dataSource(const QString &name) const
{
    for (DataSource *s : m_sources)
        if (s->objectName() == name)
            return s;
    return nullptr;
}

DataSource *TDM::dataSourceOf(RecordSet *set) const
{
    for (DataSource *s : m_sources)
        if (s->dataSet() == set)
            return s;
    return nullptr;
}

void TDM::endRead(IbQuery *q)
{
    if (q->inReadScope())
        throw std::logic_error(q->objectName().toStdString() + ": cannot end a read that is still in progress");
    q->transaction()->commitIfActive();
    q->close();
}

void TDM::runWrite(const QString &sql)
{
    IBQ2->close();
    IBQ2->clearSql();
    IBQ2->addSql(sql);
    IBQ2->execQuery();
}

void TDM::execWrite(const QString &sql)
{
    if (m_writeHeld) {
        runWrite(sql);
        return;
    }
    IBT2->commitIfActive();
    // Read committed sees what the other transaction committed only when run again.
    ConcurrencyError::retryWhileBusy(
        IDB->lockTimeout(),
        [&] {
            IBT2->startTransaction();
            runWrite(sql);
        },
        [&] {
            IBQ2->close();
            IBT2->rollback();
        });
    IBT2->commitIfActive();
    IBQ2->close();
}

namespace {

const QString kDateMask = QStringLiteral("!99.99.9999;1;_");

} // namespace

void TDM::declareEconAgent()
{
    RecordSet *s = econ_agent;
    s->clearFields();
    s->addField(QStringLiteral("ea_id"), FieldType::Float);
    s->addField(QStringLiteral("ea_fosk"), FieldType::String, 15, true).editMask = QStringLiteral("0000000;1; ");
    s->addField(QStringLiteral("ea_idno"), FieldType::String, 17, true).editMask =
        QStringLiteral("99999999999999999;1; ");
    s->addField(QStringLiteral("ea_full_name"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ea_director_name"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ea_accountant_name"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ea_kaa2_fosk"), FieldType::Float, 0, true);
    s->addField(QStringLiteral("ea_receiving_usr"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ea_cod"), FieldType::String, 17);
}

void TDM::declareAssuredPerson(RecordSet *set)
{
    RecordSet *s = set ? set : assured_person;
    s->clearFields();
    s->addField(QStringLiteral("ap_id"), FieldType::Float);
    s->addField(QStringLiteral("ap_ea"), FieldType::Float);
    s->addField(QStringLiteral("ap_cpas"), FieldType::String, 13).editMask = QStringLiteral("99999999999;1; ");
    s->addField(QStringLiteral("ap_idnp"), FieldType::String, 13).editMask = QStringLiteral("9999999999999;1; ");
    s->addField(QStringLiteral("ap_idnp_who"), FieldType::String, 254);
    s->addField(QStringLiteral("ap_idnp_dt"), FieldType::Date).editMask = kDateMask;
    s->addField(QStringLiteral("ap_birth_dt"), FieldType::Date).editMask = kDateMask;
    s->addField(QStringLiteral("ap_sex"), FieldType::String, 1);
    s->addField(QStringLiteral("ap_doc_type"), FieldType::Float);
    s->addField(QStringLiteral("ap_doc_seria"), FieldType::String, 9).cyrillicSeries = true;
    s->addField(QStringLiteral("ap_doc_number"), FieldType::String, 13);
    s->addField(QStringLiteral("ap_first_name"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ap_middle_name"), FieldType::String, 254, true);
    s->addField(QStringLiteral("ap_last_name"), FieldType::String, 254);
}

void TDM::declareNameAccount(RecordSet *set)
{
    RecordSet *s = set ? set : name_account;
    s->clearFields();
    s->addField(QStringLiteral("na_id"), FieldType::Float);
    s->addField(QStringLiteral("na_pl"), FieldType::Float);
    s->addField(QStringLiteral("na_ap"), FieldType::Float);
    s->addField(QStringLiteral("na_year"), FieldType::Integer);
    s->addField(QStringLiteral("na_is_pens"), FieldType::String, 1);
    s->addField(QStringLiteral("na_period_begin"), FieldType::Date).editMask = kDateMask;
    s->addField(QStringLiteral("na_period_end"), FieldType::Date).editMask = kDateMask;
    s->addField(QStringLiteral("na_ap_category"), FieldType::Float);
    s->addField(QStringLiteral("na_wb_in_ea"), FieldType::String, 1);
    s->addField(QStringLiteral("na_wb_seria"), FieldType::String, 13);
    s->addField(QStringLiteral("na_wb_number"), FieldType::String, 13);
    s->addField(QStringLiteral("na_kft_rf"), FieldType::Float);
    s->addField(QStringLiteral("na_ill"), FieldType::Float).currency = true;
    s->addField(QStringLiteral("na_rest"), FieldType::Float).currency = true;
    s->addField(QStringLiteral("na_public_d"), FieldType::Date).editMask = kDateMask;
    s->addField(QStringLiteral("na_position"), FieldType::Float);
    s->addField(QStringLiteral("na_public"), FieldType::String, 1);
}

void TDM::declareSaldoData(RecordSet *set)
{
    RecordSet *s = set ? set : saldo_data;
    s->clearFields();
    s->addField(QStringLiteral("SD_ID"), FieldType::Float, 0, true);
    s->addField(QStringLiteral("SD_NA"), FieldType::Float, 0, true);
    s->addField(QStringLiteral("SD_MONTH"), FieldType::SmallInt, 0, true);
    for (const char *n : {"SD_PAYM_FOND", "SD_ILL", "SD_TARIFF_AP", "SD_SUM_ADD", "SD_SUM_REAL", "SD_TARIFF_EA",
                          "SD_SUM_ADD_EA", "SD_SUM_REAL_EA", "SD_PENS_FUND"})
        s->addField(QString::fromLatin1(n), FieldType::Float);
    s->addField(QStringLiteral("SD_DELA_D"), FieldType::DateTime).editMask = kDateMask;
    s->addField(QStringLiteral("SD_PINA_D"), FieldType::DateTime).editMask = kDateMask;
    s->addField(QStringLiteral("SD_ZILE_N"), FieldType::SmallInt);
    s->addField(QStringLiteral("SD_AP_CATEGORY"), FieldType::Float);
    s->addField(QStringLiteral("SD_POSITION"), FieldType::Float);
    s->addField(QStringLiteral("SD_KFT_RF"), FieldType::SmallInt);
    s->addLookupField(QStringLiteral("month"), FieldType::String, 20, QStringLiteral("SD_MONTH"), k_month,
                      QStringLiteral("km_id"), QStringLiteral("km_name_ro"));
    s->addCalculatedField(QStringLiteral("sd_paym_fond_calc"), FieldType::Float);
    s->addLookupField(QStringLiteral("sd_kft_name_ro"), FieldType::String, 20, QStringLiteral("SD_KFT_RF"),
                      cl_form_type, QStringLiteral("kft_id"), QStringLiteral("kft_name_ro"));
}

void TDM::declareFormTypes()
{
    for (RecordSet *s : {k_form_type, cl_form_type}) {
        s->clearFields();
        s->addField(QStringLiteral("kft_id"), FieldType::SmallInt);
        s->addField(QStringLiteral("kft_name_ro"), FieldType::String, 20);
    }
}

void TDM::declareTemp()
{
    Temp->clearFields();
    Temp->addField(QStringLiteral("kft_rf"), FieldType::Float);
    Temp->addField(QStringLiteral("km_rf"), FieldType::SmallInt);
}

void TDM::declareRev5()
{
    rev5_pl->clearFields();
    for (const char *n : {"pl_id", "pl_nr", "doc_cnt"})
        rev5_pl->addField(QString::fromLatin1(n), FieldType::Integer);
    for (const char *n : {"sd_paym_fond", "sd_ill", "sd_sum_add_ea", "sd_sum_add"})
        rev5_pl->addField(QString::fromLatin1(n), FieldType::Currency).currency = true;

    rev5_na->clearFields();
    for (const char *n : {"na_id", "na_pl", "pl_nr"})
        rev5_na->addField(QString::fromLatin1(n), FieldType::Integer);
    rev5_na->addField(QStringLiteral("ap_cpas"), FieldType::String, 20);
    rev5_na->addField(QStringLiteral("ap_first_name"), FieldType::String, 50);
    rev5_na->addField(QStringLiteral("ap_middle_name"), FieldType::String, 50);
    rev5_na->addField(QStringLiteral("ap_last_name"), FieldType::String, 50);
    rev5_na->addField(QStringLiteral("ap_birth_dt"), FieldType::Date);
    rev5_na->addField(QStringLiteral("ap_idnp"), FieldType::String, 13);
    rev5_na->addField(QStringLiteral("ap_doc_type"), FieldType::SmallInt);
    rev5_na->addField(QStringLiteral("ap_doc_seria"), FieldType::String, 9);
    rev5_na->addField(QStringLiteral("ap_doc_number"), FieldType::String, 13);
    rev5_na->addField(QStringLiteral("ap_idnp_who"), FieldType::String, 20);
    rev5_na->addField(QStringLiteral("ap_idnp_dt"), FieldType::Date);
}
