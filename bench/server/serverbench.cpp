// Monthly rows saved through their save rule on a database of the test server: one copy of the
// program alone, then two copies at once, then one alone again (the first run also warms the
// server's cache), each into persons of its own of one agent. Prints the
// rows per second of each, and checks that no save was refused and no row is missing.
//
//   build/bench/bench_server [ROWS]   (1000 rows a copy by default)

#include "tests/support/firebirdserver.h"
#include "tests/support/programcopy.h"
#include "tests/support/testdatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    FirebirdServer &server = FirebirdServer::shared();
    if (!server.running()) {
        std::fprintf(stderr, "no server: %s\n", qPrintable(server.error()));
        return 1;
    }
    TestDatabase db;
    QTemporaryDir folder;
    QFile ini(folder.filePath(QStringLiteral("evidenta.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("[Baza de date]\nCale=" + server.connectionName(db.path()).toUtf8() + "\n");
    ini.close();

    // One agent, 4 x ROWS persons each with a declaration of 2005, and the rate of the year.
    QString sql = QStringLiteral(
        "insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0');\n"
        "insert into k_tariff_ap_value values(19008,190,'01.01.2005','31.12.2005','P',6,NULL,'P',23);\n");
    for (int i = 1; i <= 4 * rows; ++i)
        sql += QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                              "values(%1,1,'%2','POPESCU','ION');\n"
                              "insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,"
                              "na_period_end,na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                              "values(%1,NULL,%1,2005,'N','01.01.2005','31.12.2005',190,'N',1,0,'N');\n")
                   .arg(i)
                   .arg(10000000000LL + i);
    const QString seeded = server.isql(db.path(), sql + QStringLiteral("commit;\n"));
    if (seeded.startsWith(QLatin1String("isql: "))) {
        std::fprintf(stderr, "%s\n", qPrintable(seeded));
        return 1;
    }

    int failures = 0;
    const auto report = [&failures](const char *what, const QString &answer) {
        if (answer.startsWith(QLatin1String("error: ")))
            ++failures;
        std::printf("%-28s %s rows/s\n", what, qPrintable(answer));
    };
    {
        ProgramCopy alone(folder.path());
        report("one copy alone", QString::fromStdString(alone.ask(QStringLiteral("rows 1 %1 2005").arg(rows))));
    }
    {
        ProgramCopy a(folder.path()), b(folder.path());
        a.send(QStringLiteral("rows %1 %2 2005").arg(rows + 1).arg(rows));
        b.send(QStringLiteral("rows %1 %2 2005").arg(2 * rows + 1).arg(rows));
        report("copy A of two at once", a.answer());
        report("copy B of two at once", b.answer());
    }
    {
        ProgramCopy alone(folder.path());
        report("one copy alone, again",
               QString::fromStdString(alone.ask(QStringLiteral("rows %1 %2 2005").arg(3 * rows + 1).arg(rows))));
    }
    const QString stored = server
                               .isql(db.path(),
                                     QStringLiteral(
                                         "set heading off;\nselect count(*)||' '||count(distinct sd_na) from "
                                         "saldo_data where sd_month=3;\n"))
                               .simplified();
    const QString expected = QStringLiteral("%1 %1").arg(4 * rows);
    std::printf("rows stored (rows, declarations): %s, expected %s\n", qPrintable(stored), qPrintable(expected));
    return failures == 0 && stored == expected ? 0 : 1;
}
