// The package of a new declaration: the newest package of the agent's year while it has room,
// otherwise a new one, against a real database.

#include "packages/findopenpackage.h"
#include "tests/records/declarationfixture.h"

namespace {

class OpenPackage : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        ws.year = QStringLiteral("2010");
    }
    void package(int id, int agent, int year)
    {
        exec(QStringLiteral("insert into packlabel values(%1,%2,5,%3,'01.02.%3',1,'DA',%1)").arg(id).arg(agent).arg(year));
    }
    void declarations(int count, int packageId)
    {
        for (int i = 0; i < count; ++i, ++m_next)
            exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year) values(%1,%2,1,2010)")
                     .arg(m_next)
                     .arg(packageId));
    }
    int packages() { return scalar("select count(*) from packlabel").toInt(); }

    int m_next = 5000;
};

TEST_F(OpenPackage, AYearWithoutPackagesGetsANewOne)
{
    package(101, 1, 2009);
    package(102, 2, 2010);
    declarations(3, 102);
    const qint64 id = FindOpenPackage();
    EXPECT_EQ(id, 1); // the generator's next value
    EXPECT_EQ(packages(), 3);
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from get_pl_id");
    EXPECT_FALSE(DM->IBT1->active());
    EXPECT_EQ(DM->IBQ2->sqlText(), "insert into packlabel values(1,1,5,2010,'15.06.2010',1,'DA',1)");
    const QStringList row = column("select pl_id||'|'||pl_ea||'|'||pl_n||'|'||pl_year||'|'||pl_form_compl_dt||'|'"
                                   "||pl_kft_rf||'|'||pl_cpas||'|'||pl_nr from packlabel where pl_id=1");
    ASSERT_EQ(row.size(), 1);
    const QStringList v = row[0].split('|');
    ASSERT_EQ(v.size(), 8);
    EXPECT_EQ(v[0].toDouble(), 1);
    EXPECT_EQ(v[1].toDouble(), 1);
    EXPECT_EQ(v[2], "5");
    EXPECT_EQ(v[3], "2010");
    EXPECT_EQ(scalar("select pl_form_compl_dt from packlabel where pl_id=1").toDate(), QDate(2010, 6, 15));
    EXPECT_EQ(v[5], "1");
    EXPECT_EQ(v[6], "DA");
    EXPECT_EQ(v[7], "1"); // the visible number starts equal to the identifier
    // The package now exists: the next declaration goes into it.
    EXPECT_EQ(FindOpenPackage(), 1);
    EXPECT_EQ(packages(), 3);
}

TEST_F(OpenPackage, TheNewestPackageTakesUpTo50Declarations)
{
    package(101, 1, 2010);
    declarations(49, 101);
    EXPECT_EQ(FindOpenPackage(), 101);
    EXPECT_EQ(DM->IBQ1->sqlText(),
              "select count(*) as cnt from name_account,packlabel  where na_pl=pl_id and pl_ea=1 and pl_year=2010 and "
              "na_pl=101");
    EXPECT_EQ(packages(), 1);
    EXPECT_FALSE(DM->IBT1->active());
    declarations(1, 101);
    const qint64 id = FindOpenPackage();
    EXPECT_NE(id, 101);
    EXPECT_EQ(packages(), 2);
    EXPECT_EQ(scalar(QStringLiteral("select pl_nr from packlabel where pl_id=%1").arg(id)).toLongLong(), id);
    EXPECT_EQ(scalar(QStringLiteral("select pl_year from packlabel where pl_id=%1").arg(id)).toInt(), 2010);
}

TEST_F(OpenPackage, APackageHoldingMoreThan50IsFullToo)
{
    package(101, 1, 2010);
    declarations(51, 101); // an older program filled it beyond 50
    const qint64 id = FindOpenPackage();
    EXPECT_NE(id, 101);
    EXPECT_EQ(packages(), 2);
}

TEST_F(OpenPackage, ADeclarationSavedIntoANewestPackageWithRoomJoinsIt)
{
    package(101, 1, 2010);
    declarations(49, 101);
    DM->assured_person->next();
    RecordSet *N = DM->name_account;
    N->append();
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(N->field("na_pl").asFloat(), 101);
    EXPECT_EQ(packages(), 1);
    EXPECT_EQ(scalar("select count(*) from name_account where na_pl=101").toInt(), 50);
}

TEST_F(OpenPackage, AnOlderPackageWithRoomIsIgnored)
{
    package(101, 1, 2010);
    package(102, 1, 2010);
    package(103, 2, 2010); // another agent's newer package does not count
    declarations(10, 101);
    declarations(50, 102);
    EXPECT_EQ(FindOpenPackage(), 1);
    EXPECT_EQ(packages(), 4);
    EXPECT_EQ(scalar("select pl_ea from packlabel where pl_id=1").toDouble(), 1);
}

TEST_F(OpenPackage, ADeclarationSavedIntoAFullYearOpensTheNextPackage)
{
    package(101, 1, 2010);
    declarations(50, 101); // of the first person
    DM->assured_person->next();
    RecordSet *N = DM->name_account;
    N->append();
    ASSERT_EQ(post(N), "");
    const double pl = N->field("na_pl").asFloat();
    EXPECT_EQ(pl, 1);
    EXPECT_EQ(scalar(QStringLiteral("select na_pl from name_account where na_id=%1").arg(N->field("na_id").asString()))
                  .toDouble(),
              1);
    EXPECT_EQ(packages(), 2);
    // A package created for a declaration stays when the declaration's INSERT then fails.
    ws.year = QStringLiteral("2011");
    N->append();
    // The person is gone from the database meanwhile: the database refuses the declaration.
    const QString person = DM->assured_person->field("ap_id").asString();
    exec("delete from name_account where na_ap=" + person);
    exec("delete from assured_person where ap_id=" + person);
    EXPECT_TRUE(post(N).startsWith("database error: "));
    EXPECT_EQ(N->state(), RecordSet::State::Insert);
    EXPECT_EQ(packages(), 3);
    EXPECT_EQ(scalar("select count(*) from packlabel where pl_year=2011").toInt(), 1);
    EXPECT_EQ(scalar("select count(*) from name_account where na_year=2011").toInt(), 0);
}

} // namespace
