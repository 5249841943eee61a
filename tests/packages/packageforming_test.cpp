// Regrouping a year's declarations into packages of at most 50, against a real database:
// the state left behind on several starting points, the statements, the messages and the
// wait cursor.

#include "packages/findopenpackage.h"
#include "packages/packageforming.h"
#include "tests/packages/packagesfixture.h"

#include "data/dberror.h"

#include <functional>
#include <map>

namespace {

class FormingPackages : public PackagesFixture
{
protected:
    // Runs the operation and remembers what each query last ran when each step began.
    void form()
    {
        PackageForming::run([this](int step) {
            for (IbQuery *q : {DM->IBQ1, DM->IBQ2, DM->IBQ3, DM->IBQ4})
                seen[step][q->objectName()] = q->sqlText();
        });
    }
    std::map<int, std::map<QString, QString>> seen;
};

using Sizes = QMap<qint64, int>;

QStringList range(int first, int count)
{
    QStringList out;
    for (int i = first; i < first + count; ++i)
        out << QString::number(i);
    return out;
}

TEST_F(FormingPackages, AYearWithoutPackagesIsSplitInto50_50_20InStatementsAsWritten)
{
    declarations(1000, 120, 0);
    form();
    EXPECT_EQ(sizes(), (Sizes{{1, 50}, {2, 50}, {3, 20}}));
    EXPECT_EQ(idsIn(1), range(1000, 50)); // the smallest identifiers stay in the first package
    EXPECT_EQ(idsIn(2), range(1050, 50));
    EXPECT_EQ(idsIn(3), range(1100, 20));
    EXPECT_EQ(brokenRules(), QStringList());
    EXPECT_EQ(column("select cast(pl_id as integer)||'|'||cast(pl_ea as integer)||'|'||pl_n||'|'||pl_year||'|'"
                     "||pl_kft_rf||'|'||pl_cpas||'|'||pl_nr from packlabel order by pl_id"),
              QStringList({"1|1|5|2010|1|DA|1", "2|1|5|2010|1|DA|2", "3|1|5|2010|1|DA|3"}));
    EXPECT_EQ(column("select distinct pl_form_compl_dt from packlabel"), QStringList("15.06.2010"));
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
    for (IbTransaction *t : {DM->IBT1, DM->IBT2, DM->IBT3, DM->IBT4, DM->IBT5})
        EXPECT_FALSE(t->active()) << t->objectName().toStdString();

    const QString emptyDeclarations = "delete from name_account where na_id not in (select sd_na from saldo_data)";
    EXPECT_EQ(seen[3]["IBQ2"], emptyDeclarations);
    EXPECT_EQ(seen[4]["IBQ2"], "update packlabel set pl_kft_rf=1 where pl_ea=1");
    EXPECT_EQ(seen[5]["IBQ2"], emptyDeclarations);
    EXPECT_EQ(seen[6]["IBQ2"], " update name_account set na_rest=0   where na_id not in ( select sd_na from saldo_data "
                               "where sd_pens_fund = -1 )");
    EXPECT_EQ(seen[7]["IBQ1"], " select distinct na_pl from name_account  inner join  assured_person "
                               "on(ap_id=na_ap)  where na_year=2010 and ap_ea=1");
    EXPECT_EQ(seen[8]["IBQ1"], " select pl_id from packlabel  where pl_year=2010 and pl_ea=1");
    EXPECT_EQ(seen[8]["IBQ3"], "select * from get_pl_id");
    EXPECT_EQ(seen[8]["IBQ2"], "update name_account set na_pl=1 where  na_year=2010 and na_ap in ( select ap_id from  "
                               "assured_person  where ap_ea=1)");
    EXPECT_EQ(seen[9]["IBQ2"], "update name_account set na_pl=3 where na_id=1119");
    EXPECT_EQ(seen[10]["IBQ1"], " select na_pl,count(*) as cnt  from name_account  inner join  assured_person "
                                "on(ap_id=na_ap)   where na_year=2010 and ap_ea=1 group by na_pl having count(*)<50 "
                                "order by na_pl ");
    EXPECT_EQ(seen[11]["IBQ2"], " update name_account set na_rest=1  where na_year=2010 and na_ap in ( select ap_id "
                                "from assured_person where     ap_ea=1)");
    EXPECT_EQ(seen[13]["IBQ4"], " select  max(pl_id) as pl_id from packlabel ");
    EXPECT_EQ(seen[13]["IBQ2"], " set generator gen_pl_id to 3");
    EXPECT_EQ(seen[14]["IBQ4"], " select  ap_id from assured_person  where ap_birth_dt>'15.06.2010' and ap_ea=1");
}

TEST_F(FormingPackages, TheFirstUnderfullPackageTakesTheSmallestLaterDeclarationsWhereverTheySit)
{
    filledPackages({{101, 2000, 30}, {102, 3000, 50}, {103, 1000, 40}}); // smaller identifiers in the last
    form();
    EXPECT_EQ(seen[9]["IBQ1"], " select na_pl,count(*) as cnt  from name_account  inner join  assured_person "
                               "on(ap_id=na_ap)   where na_year=2010 and ap_ea=1 group by na_pl having count(*)>50 "
                               "order by na_pl ");
    EXPECT_EQ(sizes(), (Sizes{{101, 50}, {102, 50}, {103, 20}}));
    EXPECT_EQ(idsIn(101), range(1000, 20) + range(2000, 30));
    EXPECT_EQ(idsIn(103), range(1020, 20));
    EXPECT_EQ(seen[10]["IBQ2"], "update name_account set na_pl=101 where na_id=1019");
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_F(FormingPackages, FillingRepeatsUntilOneUnderfullPackageIsLeftAndEmptyOnesGo)
{
    filledPackages({{101, 2000, 10}, {102, 3000, 45}, {103, 1000, 45}});
    form();
    // 40 of the last package fill the first, its 5 others fill the second, and it goes.
    EXPECT_EQ(sizes(), (Sizes{{101, 50}, {102, 50}}));
    EXPECT_EQ(idsIn(101), range(1000, 40) + range(2000, 10));
    EXPECT_EQ(idsIn(102), range(1040, 5) + range(3000, 45));
    EXPECT_EQ(generator(), 102);
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_F(FormingPackages, TheStepsAreNamedAndTheDeclarationsMovedCounted)
{
    // The moves of the steps that move declarations (those without a package, the splitting,
    // the filling), as total|done each, for the steps that have any to move.
    const struct {
        const char *start;
        std::function<void()> make;
        QStringList moves;
    } cases[] = {
        {"120 without packages", [this] { declarations(1000, 120, 0); }, {"70|70"}},
        {"30, 50, 40",
         [this] {
             filledPackages({{101, 2000, 30}, {102, 3000, 50}, {103, 1000, 40}});
         },
         {"20|20"}},
        {"10, 45, 45",
         [this] {
             filledPackages({{101, 2000, 10}, {102, 3000, 45}, {103, 1000, 45}});
         },
         {"45|45"}},
        {"51, 75 and 10 without",
         [this] {
             filledPackages({{101, 1000, 51}, {102, 2000, 75}});
             declarations(500, 10, 0);
         },
         {"10|10", "26|26"}},
    };
    const QStringList steps{"Ștergerea declarațiilor fără rânduri lunare",
                            "Pachetele agentului devin primare",
                            "Ștergerea declarațiilor fără rânduri lunare",
                            "Declarațiile netrimise se marchează neîmpachetate",
                            "Citirea pachetelor anului",
                            "Primul pachet al anului",
                            "Împărțirea pachetelor cu peste 50 de declarații",
                            "Completarea pachetelor cu mai puțin de 50 de declarații",
                            "Declarațiile anului se marchează împachetate",
                            "Ștergerea pachetelor rămase goale",
                            "Generatorul numerelor de pachet",
                            "Verificarea datelor de naștere"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.start);
        exec("delete from saldo_data");
        exec("delete from name_account");
        exec("delete from packlabel");
        ui.progress.clear();
        c.make();
        form();
        ASSERT_FALSE(ui.progress.empty());
        const auto &forming = ui.progress.front();
        EXPECT_EQ(forming.name, "Formarea pachetelor");
        EXPECT_EQ(forming.parts, steps);
        EXPECT_EQ(forming.done, 12);
        EXPECT_EQ(forming.total, 12);
        QStringList moves;
        for (const auto &m : ui.progressNamed("Mutarea declarațiilor")) {
            EXPECT_EQ(m.depth, 1);
            moves << QStringLiteral("%1|%2").arg(m.total).arg(m.done);
        }
        EXPECT_EQ(moves, c.moves);
        EXPECT_EQ(ui.progress.size(), size_t(c.moves.size() + 1));
        EXPECT_EQ(ui.openProgress(), 0);
        EXPECT_EQ(brokenRules(), QStringList());
    }
}

TEST_F(FormingPackages, FullAndSingleUnderfullPackagesStayAsTheyAre)
{
    filledPackages({{101, 1000, 50}, {102, 2000, 50}, {103, 3000, 49}});
    form();
    EXPECT_EQ(sizes(), (Sizes{{101, 50}, {102, 50}, {103, 49}}));
    EXPECT_EQ(idsIn(101), range(1000, 50));
    EXPECT_EQ(idsIn(102), range(2000, 50));
    EXPECT_EQ(idsIn(103), range(3000, 49));
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_F(FormingPackages, PackagesOverFiftyKeepTheirSmallestFiftyAndTheRestFillNewOnes)
{
    filledPackages({{101, 1000, 51}, {102, 2000, 75}});
    declarations(500, 10, 0); // older data left these without a package
    form();
    EXPECT_EQ(idsIn(101), range(1000, 50));
    EXPECT_EQ(idsIn(102), range(2000, 50));
    // The ten without a package opened a new one, which took the 26 moved out as well.
    EXPECT_EQ(sizes(), (Sizes{{101, 50}, {102, 50}, {103, 36}}));
    EXPECT_EQ(idsIn(103), range(500, 10) + range(1050, 1) + range(2050, 25));
    EXPECT_EQ(brokenRules(), QStringList());
    EXPECT_EQ(scalar("select count(*) from name_account where na_year=2010").toInt(), 136);
}

TEST_F(FormingPackages, DeclarationsWithoutMonthlyRowsGoWithThePackagesTheyLeaveEmpty)
{
    package(101);
    package(102);
    package(103, 2, 2009);
    declarations(1000, 20, 101);
    declarations(2000, 2, 102, 2010, 1, false);
    declarations(3000, 1, 103, 2009, 2, false); // of another agent and year: removed as well
    declarations(4000, 1, 0, 2011, 2);          // elsewhere without a package: no reason to keep empty ones
    form();
    EXPECT_EQ(sizes(), (Sizes{{101, 20}}));
    EXPECT_EQ(scalar("select count(*) from name_account where na_id in (2000,2001,3000)").toInt(), 0);
    EXPECT_EQ(scalar("select count(*) from packlabel where pl_id=103").toInt(), 1); // not of the year
    EXPECT_EQ(generator(), 103);
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_F(FormingPackages, IdentifiersOfDeletedPackagesAreHandedOutAgain)
{
    for (int id = 1; id <= 5; ++id)
        package(id);
    declarations(1000, 50, 1);
    declarations(2000, 50, 2);
    declarations(3000, 50, 3);
    declarations(4000, 3, 4, 2010, 1, false);
    declarations(5000, 3, 5, 2010, 1, false);
    ASSERT_EQ(generator(), 5);
    form();
    EXPECT_EQ(sizes(), (Sizes{{1, 50}, {2, 50}, {3, 50}}));
    EXPECT_EQ(generator(), 3);
    EXPECT_EQ(FindOpenPackage(), 4);
    EXPECT_EQ(scalar("select pl_nr from packlabel where pl_id=4").toInt(), 4);
}

TEST_F(FormingPackages, TheGeneratorFollowsTheLargestPackageOfAnyAgent)
{
    package(1);
    package(9, 2, 2011);
    package(4);
    declarations(1000, 5, 1);
    declarations(2000, 5, 9, 2011, 2);
    exec("set generator gen_pl_id to 20");
    form();
    EXPECT_EQ(sizes(), (Sizes{{1, 5}}));
    EXPECT_EQ(generator(), 9);
}

TEST_F(FormingPackages, OtherAgentsAndYearsKeepTheirPackages)
{
    package(101);
    package(201, 2);
    package(301, 1, 2009, 3);
    package(401, 2, 2009, 3);
    declarations(1000, 10, 101);
    declarations(2000, 60, 201, 2010, 2);
    declarations(3000, 70, 301, 2009, 1);
    declarations(4000, 5, 401, 2009, 2);
    exec("update saldo_data set sd_pens_fund=-1 where sd_na in (3000,4000)"); // sent
    exec("update name_account set na_rest=1");
    form();
    EXPECT_EQ(sizes(), (Sizes{{101, 10}}));
    EXPECT_EQ(brokenRules(), QStringList());
    EXPECT_EQ(scalar("select count(*) from name_account where na_pl=201").toInt(), 60);
    EXPECT_EQ(scalar("select count(*) from name_account where na_pl=301").toInt(), 70);
    // Every package of the agent becomes primary, of every year; those of others do not.
    EXPECT_EQ(column("select pl_kft_rf from packlabel order by pl_id"), QStringList({"1", "1", "1", "3"}));
    // Outside the year only declarations with a sent row stay marked as packaged.
    EXPECT_EQ(column("select na_id from name_account where na_rest=1 and na_year=2009 order by na_id"),
              QStringList({"3000", "4000"}));
    EXPECT_EQ(scalar("select count(*) from name_account where na_rest=1 and na_ap=2").toInt(), 1);
}

TEST_F(FormingPackages, AYearWithoutDeclarationsEndsSilentlyAfterTheCleaning)
{
    package(101, 1, 2010, 3);
    package(102, 1, 2009);
    declarations(1000, 10, 102, 2009);
    declarations(2000, 1, 101, 2010, 1, false);
    exec("update name_account set na_rest=1");
    form();
    EXPECT_EQ(seen.rbegin()->first, 6); // stopped at the year's declarations
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(scalar("select pl_kft_rf from packlabel where pl_id=101").toInt(), 1);
    EXPECT_EQ(column("select pl_id from packlabel order by pl_id"), QStringList({"101", "102"}));
    EXPECT_EQ(scalar("select count(*) from name_account where na_id=2000").toInt(), 0);
    EXPECT_EQ(scalar("select count(*) from name_account where na_rest=0").toInt(), 10);
    EXPECT_FALSE(DM->IBT1->active());
}

TEST_F(FormingPackages, APersonBornAfterTheServerDateIsReportedOnceThePackagesAreFormed)
{
    exec("update assured_person set ap_birth_dt='16.06.2010' where ap_id=3");
    exec("update assured_person set ap_birth_dt='01.01.2011' where ap_id=2"); // of another agent
    declarations(1000, 60, 0);
    int depthWhenTold = -1;
    struct Telling : ScriptedUserInteraction {
        int *depth;
        void inform(const QString &text) override
        {
            *depth = waitDepth;
            ScriptedUserInteraction::inform(text);
        }
    } telling;
    telling.depth = &depthWhenTold;
    form();
    EXPECT_EQ(telling.notices, QStringList("Eroare ! Data nasterii la persoana asigurata mai mare decit 15.06.2010"));
    EXPECT_EQ(depthWhenTold, 0); // the wait cursor is gone before the message shows
    EXPECT_EQ(telling.waitDepth, 0);
    EXPECT_EQ(sizes(), (Sizes{{1, 50}, {2, 10}}));
    EXPECT_EQ(brokenRules(), QStringList());
}

TEST_F(FormingPackages, BornOnTheServerDateIsNoError)
{
    exec("update assured_person set ap_birth_dt='15.06.2010' where ap_id=3");
    exec("update assured_person set ap_birth_dt='16.06.2010' where ap_id=2");
    declarations(1000, 5, 0);
    form();
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(FormingPackages, ASecondRunChangesNothing)
{
    filledPackages({{101, 1000, 70}, {102, 2000, 12}, {103, 3000, 33}});
    package(104, 1, 2009);
    declarations(4000, 8, 0);
    declarations(5000, 4, 104, 2009, 3);
    declarations(6000, 2, 102, 2010, 3, false);
    form();
    EXPECT_EQ(brokenRules(), QStringList());
    const QStringList packages = contents("packlabel", "pl_id"), accounts = contents("name_account", "na_id");
    const qint64 gen = generator();
    form();
    EXPECT_EQ(contents("packlabel", "pl_id"), packages);
    EXPECT_EQ(contents("name_account", "na_id"), accounts);
    EXPECT_EQ(generator(), gen);
}

TEST_F(FormingPackages, ADeclarationElsewhereWithoutAPackageDoesNotKeepEmptyPackages)
{
    package(101);
    package(102);
    declarations(1000, 50, 101);
    declarations(2000, 3, 102, 2010, 1, false);
    declarations(3000, 2, 0, 2008, 2); // another agent's, left without a package by older data
    form();
    EXPECT_EQ(sizes(), (Sizes{{101, 50}}));
    EXPECT_EQ(brokenRules(), QStringList());
    EXPECT_EQ(scalar("select count(*) from name_account where na_year=2008 and na_pl is null").toInt(), 2);
}

TEST_F(FormingPackages, AFailingStepStopsWithTheWaitCursorRestoredAndEarlierStepsKept)
{
    package(101, 1, 2010, 3);
    declarations(1000, 1, 101, 2010, 1, false);
    ws.year = QString(); // no year chosen: the read of the year's declarations fails
    EXPECT_THROW(PackageForming::run(), DbError);
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(scalar("select pl_kft_rf from packlabel where pl_id=101").toInt(), 1);
    EXPECT_EQ(scalar("select count(*) from name_account").toInt(), 0);
    // The next run, with a year, completes.
    ws.year = QStringLiteral("2010");
    declarations(1000, 3, 0);
    PackageForming::run();
    EXPECT_EQ(sizes(), (Sizes{{101, 3}}));
}

} // namespace
