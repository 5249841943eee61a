// The delivered database: its tables in the order the program reads them, the identifier
// procedures, the server date, texts in Windows-1250, and the server's own error texts.

#include "data/dberror.h"
#include "data/ee.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include <QSet>
#include "data/ibtransaction.h"
#include "data/ibquery.h"
#include "data/ibdatabase.h"
#include "data/win1250.h"
#include "tests/support/testdatabase.h"

namespace {

class DeliveredDatabase : public DataModuleTest
{
protected:
    QStringList columnsOf(const QString &table)
    {
        return column(QStringLiteral("select trim(rdb$field_name) from rdb$relation_fields where rdb$relation_name='%1' "
                                     "order by rdb$field_position")
                          .arg(table.toUpper()));
    }
};

TEST_F(DeliveredDatabase, RecordTablesKeepTheirColumnOrder)
{
    EXPECT_EQ(columnsOf("econ_agent").join(","),
              "EA_ID,EA_FOSK,EA_IDNO,EA_FULL_NAME,EA_DIRECTOR_NAME,EA_ACCOUNTANT_NAME,EA_KAA2_FOSK,EA_RECEIVING_USR,EA_COD");
    EXPECT_EQ(columnsOf("assured_person").join(","),
              "AP_ID,AP_EA,AP_CPAS,AP_IDNP,AP_IDNP_WHO,AP_IDNP_DT,AP_BIRTH_DT,AP_SEX,AP_DOC_TYPE,AP_DOC_SERIA,"
              "AP_DOC_NUMBER,AP_FIRST_NAME,AP_MIDDLE_NAME,AP_LAST_NAME");
    EXPECT_EQ(columnsOf("name_account").join(","),
              "NA_ID,NA_PL,NA_AP,NA_YEAR,NA_IS_PENS,NA_PERIOD_BEGIN,NA_PERIOD_END,NA_AP_CATEGORY,NA_WB_IN_EA,"
              "NA_WB_SERIA,NA_WB_NUMBER,NA_KFT_RF,NA_ILL,NA_REST,NA_PUBLIC_D,NA_POSITION,NA_PUBLIC");
    EXPECT_EQ(columnsOf("saldo_data").join(","),
              "SD_ID,SD_NA,SD_MONTH,SD_PAYM_FOND,SD_ILL,SD_TARIFF_AP,SD_SUM_ADD,SD_SUM_REAL,SD_TARIFF_EA,"
              "SD_SUM_ADD_EA,SD_SUM_REAL_EA,SD_PENS_FUND,SD_DELA_D,SD_PINA_D,SD_ZILE_N,SD_AP_CATEGORY,SD_POSITION,"
              "SD_KFT_RF");
    EXPECT_EQ(columnsOf("packlabel").join(","), "PL_ID,PL_EA,PL_N,PL_YEAR,PL_FORM_COMPL_DT,PL_KFT_RF,PL_CPAS,PL_NR");
    EXPECT_EQ(columnsOf("t_pachet").join(","),
              "PACHET_ID,NUME,PACHET_D,ANUL,LUNA_D,LUNA_P,AE_RF,CIMP1,CIMP2,CIMP3");
}

TEST_F(DeliveredDatabase, IdentifierProceduresNeverHandOutAHeldValue)
{
    const double first = scalar("select * from get_sd_id").toDouble();
    const double second = scalar("select * from get_sd_id").toDouble();
    EXPECT_GT(second, first);
    // Rows written with the next values by hand are skipped.
    exec("insert into econ_agent values(1,'1234567','1','A','B','C',1,'D','0')");
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values(1,1,'X','Y')");
    exec(QStringLiteral("insert into name_account (na_id, na_ap, na_year) values(1,1,2008)"));
    const double next = second + 1;
    exec(QStringLiteral("insert into saldo_data (sd_id, sd_na, sd_month) values(%1,1,1)").arg(next));
    EXPECT_EQ(scalar("select * from get_sd_id").toDouble(), next + 1);
    EXPECT_FALSE(DM->IBQ4->active()); // closed after the read
}

TEST_F(DeliveredDatabase, TwoConnectionsNeverGetTheSameRowIdentifier)
{
    // A second workstation on the same database, with its own transaction and query.
    IbDatabase other;
    other.params() << "USER_NAME=sysdba" << "PASSWORD=x";
    other.setDatabaseName(db->path());
    other.open();
    IbTransaction otherT(&other);
    IbQuery otherQ(&otherT);
    const auto otherId = [&] {
        otherT.startTransaction();
        otherQ.setSql("select * from get_sd_id");
        otherQ.open();
        const double v = otherQ.value(0).toDouble();
        otherT.commit();
        return v;
    };
    exec("insert into econ_agent values(1,'1234567','1','A','B','C',1,'D','0')");
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values(1,1,'X','Y')");
    exec("insert into name_account (na_id, na_ap, na_year) values(1,1,2008)");

    QSet<double> seen;
    double mine = 0, theirs = 0;
    for (int i = 0; i < 250; ++i) { // across several blocks of both
        mine = scalar("select * from get_sd_id").toDouble();
        theirs = otherId();
        EXPECT_FALSE(seen.contains(mine)) << mine;
        seen.insert(mine);
        EXPECT_FALSE(seen.contains(theirs)) << theirs;
        seen.insert(theirs);
    }
    // The other workstation stores its next identifiers; this one skips them.
    const double next = mine + 1;
    exec(QStringLiteral("insert into saldo_data (sd_id, sd_na, sd_month) values(%1,1,1)").arg(next));
    exec(QStringLiteral("insert into saldo_data (sd_id, sd_na, sd_month) values(%1,1,2)").arg(next + 1));
    EXPECT_EQ(scalar("select * from get_sd_id").toDouble(), next + 2);
    other.close();
}

TEST_F(DeliveredDatabase, PackageNumbersAreReusedAfterTheGeneratorIsReset)
{
    scalar("select * from get_pl_id");
    exec(" set generator gen_pl_id to 5");
    EXPECT_EQ(scalar("select * from get_pl_id").toDouble(), 6.0);
    exec(" set generator gen_pl_id to 5");
    EXPECT_EQ(scalar("select * from get_pl_id").toDouble(), 6.0);
}

TEST_F(DeliveredDatabase, IdentifiersAreReadAsFloatingValuesNamedNRet)
{
    ReadScope read(DM->IBQ1, "select * from get_ea_id");
    EXPECT_EQ(read->columns()[0].name.toUpper(), "NRET");
    EXPECT_EQ(read->columns()[0].type, FieldType::Float);
}

TEST_F(DeliveredDatabase, ServerDateIsTodayWithoutTime)
{
    const QDateTime d = scalar(" select * from get_data").toDateTime();
    EXPECT_EQ(d.date(), scalar("select current_timestamp from rdb$database").toDateTime().date());
    EXPECT_EQ(d.time(), QTime(0, 0));
}

TEST_F(DeliveredDatabase, DatesAreWrittenAsDayMonthYearInEitherQuotes)
{
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) values(1,'X','05.03.2008',2008,1,3,1)");
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) values(2,'Y',\"06.03.2008\",2008,1,3,1)");
    EXPECT_EQ(column("select pachet_d from t_pachet order by pachet_id"),
              (QStringList{"05.03.2008", "06.03.2008"}));
}

TEST_F(DeliveredDatabase, TextsTravelAsWindows1250)
{
    exec(QStringLiteral("insert into k_month (km_id, km_name_ro) values(13, 'ŞĂŢÎÂ şăţîâ')"));
    EXPECT_EQ(scalar("select km_name_ro from k_month where km_id=13").toString(), QStringLiteral("ŞĂŢÎÂ şăţîâ"));
    EXPECT_EQ(scalar("select octet_length(km_name_ro) from k_month where km_id=13").toInt(), 11);
    // Comma-below letters are stored as the code page's cedilla letters.
    exec(QStringLiteral("update k_month set km_name_ro='ș' where km_id=13"));
    EXPECT_EQ(scalar("select km_name_ro from k_month where km_id=13").toString(), QStringLiteral("ş"));
}

TEST_F(DeliveredDatabase, RawBytesInAColumnWithoutCharacterSetReadTheSame)
{
    exec("create table legacy (t varchar(20) character set none)");
    exec(QStringLiteral("insert into legacy values('CHIŞINĂU')"));
    EXPECT_EQ(scalar("select octet_length(t) from legacy").toInt(), 8);
    EXPECT_EQ(scalar("select t from legacy").toString(), QStringLiteral("CHIŞINĂU"));
}

TEST_F(DeliveredDatabase, TextOutsideTheCodePageIsRefusedBeforeAnythingIsWritten)
{
    try {
        exec(QStringLiteral("insert into k_month (km_id, km_name_ro) values(14, 'Иван')"));
        FAIL() << "Cyrillic text was accepted";
    } catch (const EE &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("И"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("Windows-1250")));
    }
    try {
        exec(QStringLiteral("insert into k_month (km_id, km_name_ro) values(14, 'A😀')"));
        FAIL() << "an emoji was accepted";
    } catch (const EE &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("😀")));
    }
    EXPECT_TRUE(scalar("select count(*) from k_month where km_id=14").toInt() == 0);
}

TEST_F(DeliveredDatabase, ServerErrorsCarryTheServersTextAndLeaveTheTransactionUsable)
{
    try {
        ReadScope read(DM->IBQ1, "select * from no_such_table");
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("Table unknown")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("NO_SUCH_TABLE"));
        EXPECT_EQ(e.sqlCode(), -204);
    }
    // The failed statement's transaction stays active; the next read commits it first.
    EXPECT_TRUE(DM->IBT1->active());
    {
        ReadScope read(DM->IBQ1, "select count(*) from k_month");
        EXPECT_EQ(read.value(0).toInt(), 12);
    }
    EXPECT_FALSE(DM->IBT1->active());
}

TEST_F(DeliveredDatabase, AFailedConnectionReportsTheServersMessage)
{
    IbDatabase other;
    other.params() << "USER_NAME=sysdba" << "PASSWORD=quintorez";
    other.setDatabaseName(db->folder() + "/missing.gdb");
    try {
        other.open();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("missing.gdb")) << e.message().toStdString();
    }
    EXPECT_FALSE(other.connected());
}

TEST_F(DeliveredDatabase, SampleClassifiersCoverWhatTheRulesNeed)
{
    EXPECT_EQ(scalar("select count(*) from k_month").toInt(), 12);
    for (int code : {1, 2, 3, 4, 12, 13, 14, 21})
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from k_id_doc_type where kidt_id=%1").arg(code)).toInt(), 1) << code;
    for (int cat : {101, 105, 150, 153, 154, 155, 157, 158, 159, 165})
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from k_tariff_ap where ktap_id=%1").arg(cat)).toInt(), 1) << cat;
    EXPECT_GE(scalar("select count(*) from k_prof").toInt(), 100);
    EXPECT_EQ(scalar("select kft_name_ro from k_form_type where kft_id=1").toString(), QStringLiteral("Primară"));
    EXPECT_EQ(scalar("select kft_name_ro from k_form_type where kft_id=3").toString(), QStringLiteral("De corectare"));
    // A rate of category 101 for every year a user may choose for years to come, and of every
    // category still in use for the years ahead.
    const auto ratesOf = [this](int category, int year) {
        return scalar(QStringLiteral("select count(*) from k_tariff_ap_value where ktapv_ktap=%1 and "
                                     "ktapv_date_start<='01.01.%2' and ktapv_date_stop>='31.12.%2'")
                          .arg(category)
                          .arg(year))
            .toInt();
    };
    for (int y = 1998; y <= 2060; ++y)
        EXPECT_EQ(ratesOf(101, y), 1) << y;
    for (int cat : {101, 103, 105, 150, 153, 154, 155, 157, 158, 159, 165, 170, 171})
        for (int y : {2027, 2040, 2060})
            EXPECT_EQ(ratesOf(cat, y), 1) << cat << ' ' << y;
    EXPECT_EQ(ratesOf(102, 2007), 0);
    EXPECT_EQ(scalar("select count(*) from k_adm_area2 where kaa2_id in (0,99)").toInt(), 0);
}

class OlderDatabase : public DataModuleTest
{
protected:
    DatabaseMaker::Kind kind() const override { return DatabaseMaker::Kind::Older; }
};

TEST_F(OlderDatabase, LacksThePackageRegistryAndTheRowFormType)
{
    EXPECT_THROW(scalar("select pachet_id from t_pachet where pachet_id=1"), DbError);
    EXPECT_THROW(scalar("select sd_kft_rf from saldo_data where sd_id=1"), DbError);
    EXPECT_EQ(scalar("select count(*) from k_adm_area2 where kaa2_id in (0,99)").toInt(), 2);
}

} // namespace
