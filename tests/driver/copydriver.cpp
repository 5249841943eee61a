// A copy of the program without windows, for the tests of several copies on one server
// database: it connects as the program does (evidenta.ini of the folder given as its argument,
// the account of ISC_USER and ISC_PASSWORD), then reads one command a line on its standard
// input and answers each with one line, "ok" or "error", a tab and what it has to say (the
// messages the rules gave, joined by " | "). The test drives two of them step by step by their
// answers, so that no step waits on a clock.
//
//   open AP YEAR                the agent, the person AP and its declaration of YEAR with its rows
//   edit SET KEY F=V ...        the row of SET whose first field is KEY (0: the current one) takes
//                               the values, not posted
//   append SET F=V ...          a new row of SET, not posted
//   post SET                    the save rule of SET
//   get SET F ...               the current row's values, separated by tabs
//   delete row|declaration|person   the deletion of the persons window (its questions: Yes)
//   hold SQL;SQL... / release   statements in a transaction of its own, left open / committed
//   forming | recalculation     the operation of the agent and year open
//   declarations AP COUNT YEAR  a new declaration of YEAR saved for each of COUNT persons from AP
//   rows AP COUNT YEAR          a new monthly row saved in each declaration of COUNT persons from
//                               AP; answers the rows per second
//   sql SQL                     the first column of the first row of a select
//   quit

#include "app/connection.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "data/recordset.h"
#include "packages/packageannulment.h"
#include "packages/packageforming.h"
#include "persons/deletions.h"
#include "platform/guard.h"
#include "platform/platform.h"
#include "records/detachedhandler.h"
#include "records/recalculation.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testworkspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

RecordSet *setNamed(const QString &name)
{
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
        if (s->name() == name)
            return s;
    throw EE(QStringLiteral("no record set ") + name);
}

void load(RecordSet *set, const QString &sql)
{
    DetachedHandler post(set->beforePost), insert(set->afterInsert), scroll(set->afterScroll);
    ReadScope read(DM->IBQ4, sql);
    CopyToMemTable(read.query(), set, 3);
}

class Driver
{
public:
    explicit Driver(TestWorkspace &ws) : m_ws(ws) { }

    // The answer to one command: true for "ok".
    bool run(const QStringList &words, const QString &rest, QString &said)
    {
        const QString command = words.value(0);
        if (command == QLatin1String("open")) {
            open(words.value(1), words.value(2));
        } else if (command == QLatin1String("edit") || command == QLatin1String("append")) {
            RecordSet *set = setNamed(words.value(1));
            int from = 2;
            if (command == QLatin1String("append")) {
                set->append();
            } else {
                if (words.value(2) != QLatin1String("0"))
                    locate(set, words.value(2));
                set->edit();
                from = 3;
            }
            for (int i = from; i < words.size(); ++i) {
                const qsizetype eq = words[i].indexOf(u'=');
                set->field(words[i].left(eq)).setAsString(words[i].mid(eq + 1));
            }
        } else if (command == QLatin1String("post")) {
            RecordSet *set = setNamed(words.value(1));
            return guarded([set] { set->post(); }, said);
        } else if (command == QLatin1String("get")) {
            RecordSet *set = setNamed(words.value(1));
            QStringList values;
            for (int i = 2; i < words.size(); ++i)
                values << (set->isEmpty() ? QStringLiteral("-") : set->field(words[i]).asString());
            said = values.join(u'\t');
        } else if (command == QLatin1String("delete")) {
            m_ui.answers.assign(3, true);
            const QString what = words.value(1);
            return guarded(what == QLatin1String("row")           ? Deletions::deleteMonthlyRow
                           : what == QLatin1String("declaration") ? Deletions::deleteDeclaration
                                                                  : Deletions::deletePerson,
                           said);
        } else if (command == QLatin1String("hold")) {
            m_held = std::make_unique<IbTransaction>(DM->IDB);
            m_heldQuery = std::make_unique<IbQuery>(m_held.get());
            m_held->startTransaction();
            return guarded(
                [this, rest] {
                    for (const QString &statement : rest.split(u';', Qt::SkipEmptyParts)) {
                        m_heldQuery->setSql(statement);
                        m_heldQuery->execQuery();
                    }
                },
                said);
        } else if (command == QLatin1String("release")) {
            m_heldQuery->close();
            m_held->commit();
        } else if (command == QLatin1String("forming")) {
            return guarded([] { PackageForming::run(); }, said);
        } else if (command == QLatin1String("recalculation")) {
            return guarded([] { Recalculation::run(); }, said);
        } else if (command == QLatin1String("annulment")) {
            // The registry window opened and "Anularea pachetului" chosen: with no package of
            // the year, the year's marks are lifted.
            return guarded(
                [] {
                    RecordSet registry(QStringLiteral("t_pachet"));
                    PackageAnnulment::declareRegistry(&registry);
                    PackageAnnulment::loadRegistry(&registry);
                    PackageAnnulment::annulCurrent(&registry);
                },
                said);
        } else if (command == QLatin1String("declarations") || command == QLatin1String("rows")) {
            return many(command == QLatin1String("rows"), words.value(1).toInt(), words.value(2).toInt(),
                        words.value(3), said);
        } else if (command == QLatin1String("sql")) {
            ReadScope read(DM->IBQ4, rest);
            said = read.found() ? read.value(0).toString() : QString();
        } else {
            said = QStringLiteral("unknown command ") + command;
            return false;
        }
        return true;
    }

    ScriptedUserInteraction m_ui;

private:
    void open(const QString &person, const QString &year)
    {
        m_ws.year = year;
        for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
            if (!s->active())
                s->createDataSet();
        load(DM->assured_person, QStringLiteral("select * from assured_person where ap_id=") + person);
        load(DM->econ_agent,
             QStringLiteral("select * from econ_agent where ea_id=") + DM->assured_person->field("ap_ea").asString());
        load(DM->name_account,
             QStringLiteral("select * from name_account where na_ap=%1 and na_year=%2").arg(person, year));
        load(DM->saldo_data,
             QStringLiteral("select * from saldo_data where sd_na=%1 order by sd_month")
                 .arg(DM->name_account->isEmpty() ? QStringLiteral("0") : DM->name_account->field("na_id").asString()));
    }

    static void locate(RecordSet *set, const QString &key)
    {
        for (set->first(); !set->eof(); set->next())
            if (set->fieldByIndex(0).asString() == key)
                return;
        throw EE(QStringLiteral("no row ") + key + QStringLiteral(" in ") + set->name());
    }

    // Runs a step as the windows run a handler: what the user was told is the answer.
    bool guarded(const std::function<void()> &step, QString &said)
    {
        m_ui.errors.clear();
        m_ui.notices.clear();
        const bool ok = runGuarded(step);
        said = (m_ui.errors + m_ui.notices).join(QStringLiteral(" | "));
        return ok && m_ui.errors.isEmpty();
    }

    // A new declaration, or a new monthly row of March, for each of `count` persons.
    bool many(bool rows, int first, int count, const QString &year, QString &said)
    {
        QElapsedTimer clock;
        clock.start();
        int refused = 0;
        QString firstRefusal;
        for (int ap = first; ap < first + count; ++ap) {
            open(QString::number(ap), year);
            QString why;
            bool ok = false;
            if (rows) {
                RecordSet *S = DM->saldo_data;
                S->append();
                S->field("sd_month").setValue(3);
                S->field("sd_dela_d").setValue(QDate(year.toInt(), 3, 1));
                S->field("sd_pina_d").setValue(QDate(year.toInt(), 3, 31));
                S->field("sd_paym_fond").setValue(800.0);
                S->field("sd_ap_category").setValue(190);
                S->field("sd_zile_n").setValue(5);
                ok = guarded([S] { S->post(); }, why);
            } else {
                DM->name_account->append();
                ok = guarded([] { DM->name_account->post(); }, why);
            }
            if (!ok && refused++ == 0)
                firstRefusal = why;
        }
        const double seconds = double(clock.elapsed()) / 1000.0;
        said = refused ? QStringLiteral("%1 refused: %2").arg(refused).arg(firstRefusal)
                       : QString::number(seconds > 0 ? count / seconds : 0.0, 'f', 1);
        return refused == 0;
    }

    TestWorkspace &m_ws;
    std::unique_ptr<IbTransaction> m_held;
    std::unique_ptr<IbQuery> m_heldQuery;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = QCoreApplication::arguments().value(1);
    Platform::setProgramFolder(folder);
    Platform::setDataFolder(folder);
    Formats::forceDefaults();
    DM = new TDM;
    TestWorkspace ws;
    ws.calculation = true;
    Driver driver(ws);
    QString said;
    bool ok = runGuarded([] {
        Connection::connect(qEnvironmentVariable("ISC_USER"), qEnvironmentVariable("ISC_PASSWORD"), {},
                            QDate(2006, 1, 16));
    });
    said = driver.m_ui.errors.join(QStringLiteral(" | "));
    std::string line;
    const auto answer = [](bool ok, const QString &text) {
        QString flat = text;
        flat.replace(u'\n', u' ').replace(u'\r', u' ');
        std::cout << (ok ? "ok\t" : "error\t") << flat.toStdString() << std::endl;
    };
    answer(ok, said); // the connection's
    while (std::getline(std::cin, line)) {
        const QString text = QString::fromStdString(line).trimmed();
        if (text == QLatin1String("quit"))
            break;
        const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
        const QString rest = text.mid(words.value(0).size()).trimmed();
        said.clear();
        try {
            ok = driver.run(words, rest, said);
        } catch (const std::exception &e) {
            ok = false;
            said = QString::fromUtf8(e.what());
        }
        answer(ok, said);
    }
    Connection::close();
    delete DM;
    DM = nullptr;
    return 0;
}
