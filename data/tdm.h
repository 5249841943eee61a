#pragma once
// The data module: the one connection, the five queries with their transactions, and every
// in-memory record set that windows show and rules check. One instance, DM, lives for the run.

#include "data/datasource.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/recordset.h"

#include <QDateTime>
#include <QObject>
#include <vector>

class TDM : public QObject
{
    Q_OBJECT
public:
    explicit TDM(QObject *parent = nullptr);
    ~TDM() override;

    IbDatabase *IDB;
    IbTransaction *IBT1, *IBT2, *IBT3, *IBT4, *IBT5;
    IbQuery *IBQ1, *IBQ2, *IBQ3, *IBQ4, *IBQ5;

    RecordSet *econ_agent, *assured_person, *name_account, *saldo_data;
    RecordSet *k_adm_area2, *k_form_type, *cl_form_type, *k_month, *k_prof, *k_id_doc_type, *k_tariff_ap,
        *k_tariff_ap_value;
    RecordSet *person, *saldo, *stage, *money, *pachet, *rev;
    RecordSet *CDS, *cds1, *cds3, *cds4, *cds5;
    RecordSet *rev5_pl, *rev5_na, *rev5_sd, *Temp;

    // The record sets in the order they were created (the classifier walk follows it).
    const std::vector<RecordSet *> &recordSets() const { return m_sets; }
    RecordSet *recordSet(const QString &name) const;
    // "DS" + the record set's name.
    DataSource *dataSource(const QString &name) const;
    DataSource *dataSourceOf(RecordSet *set) const;

    // The year chosen in the persons workspace; "0" until it sets one.
    QString workingYear = QStringLiteral("0");
    // The server's date, read at connection.
    QDateTime serverDate;

    // Ends whatever read was left open on the query (reads themselves go through ReadScope):
    // commit if active, close the query. Refused with std::logic_error while a ReadScope
    // reads on it.
    void endRead(IbQuery *q);
    // Write sequence on IBQ2 in IBT2, committed at once. Inside a GuardedSave the statement
    // joins the save's transaction instead. On a server database a statement that meets another
    // copy's transaction runs again once that ends, for the lock timeout at most.
    void execWrite(const QString &sql);

    // Declared fields of the record sets that have them (kept apart so they can be rebuilt). A
    // record set of an operation's own that holds rows of the same table is given the same
    // fields by passing it; none means the data module's own.
    void declareEconAgent();
    void declareAssuredPerson(RecordSet *set = nullptr);
    void declareNameAccount(RecordSet *set = nullptr);
    void declareSaldoData(RecordSet *set = nullptr);
    void declareFormTypes();
    void declareTemp();
    void declareRev5();

    // Cancels the edits of saldo_data, name_account and assured_person, in that order.
    void cancelPendingEdits();

private:
    friend class GuardedSave;
    RecordSet *makeSet(const QString &name);
    void runWrite(const QString &sql);

    std::vector<RecordSet *> m_sets;
    std::vector<DataSource *> m_sources;
    bool m_writeHeld = false; // a GuardedSave holds IBT2
};

// The single data module of the run.
extern TDM *DM;
