// The data module's helpers on a real database: statement building, copying query rows into
// record sets, loading classifiers, and running external programs.

#include "data/dberror.h"
#include "data/helpers.h"
#include "data/romanianorder.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>

namespace {

class HelpersOnDatabase : public DataModuleTest
{
};

RecordSet &oneRow(RecordSet &s)
{
    s.createDataSet();
    s.append();
    return s;
}

TEST_F(HelpersOnDatabase, SqlLiteralOfEachKindOfField)
{
    RecordSet s("t");
    s.addField("txt", FieldType::String, 40);
    s.addField("num", FieldType::Float);
    s.addField("day", FieldType::Date);
    s.addField("cnt", FieldType::Integer);
    oneRow(s);
    s["txt"].setValue(QStringLiteral("  o'neil ş  "));
    s["num"].setValue(1234.5);
    s["day"].setValue(QDate(2008, 3, 5));
    s["cnt"].setValue(42);
    EXPECT_EQ(SqlLiteral(&s, 0), QStringLiteral("'O''NEIL ş'"));
    EXPECT_EQ(SqlLiteral(&s, 1), "1234.5");
    EXPECT_EQ(SqlLiteral(&s, 2), "'05.03.2008'");
    EXPECT_EQ(SqlLiteral(&s, 3), "42");
    s["num"].setValue(0.0);
    EXPECT_EQ(SqlLiteral(&s, 1), "0");
    s["txt"].setValue("   ");
    EXPECT_EQ(SqlLiteral(&s, 0), "NULL");
    s["txt"].setValue(QVariant());
    s["num"].setValue(QVariant());
    s["day"].setValue(QVariant());
    EXPECT_EQ(SqlLiteral(&s, 0), "NULL");
    EXPECT_EQ(SqlLiteral(&s, 1), "NULL");
    EXPECT_EQ(SqlLiteral(&s, 2), "NULL");
}

TEST_F(HelpersOnDatabase, SqlLiteralCapitalisesExactlyTheLettersAToZ)
{
    RecordSet s("t");
    s.addField("txt", FieldType::String, 40);
    oneRow(s);
    s["txt"].setValue("xyz");
    EXPECT_EQ(SqlLiteral(&s, 0), "'XYZ'");
    s["txt"].setValue("zabyZ");
    EXPECT_EQ(SqlLiteral(&s, 0), "'ZABYZ'");
    // The characters either side of a..z and A..Z stay as they are.
    s["txt"].setValue("`a{@A[");
    EXPECT_EQ(SqlLiteral(&s, 0), "'`A{@A['");
}

TEST(SqlText, ValuesQuotedAsGivenOrAsStoredText)
{
    // Quoting alone keeps the text as it is: blanks, small letters and all.
    EXPECT_EQ(SqlText::quoted(QStringLiteral(" o'neil ")), "' o''neil '");
    EXPECT_EQ(SqlText::quoted(QString()), "''");
    EXPECT_EQ(SqlText::quoted(QDate(2008, 3, 5)), "'05.03.2008'");
    // The literal of a stored text: trimmed, a..z in capitals, NULL when blank.
    EXPECT_EQ(SqlText::literal(QStringLiteral("  o'neil ş  ")), QStringLiteral("'O''NEIL ş'"));
    EXPECT_EQ(SqlText::literal("xyz"), "'XYZ'");
    EXPECT_EQ(SqlText::literal("z`{Z"), "'Z`{Z'");
    EXPECT_EQ(SqlText::literal(" \t "), "NULL");
    EXPECT_EQ(SqlText::literal(QString()), "NULL");
}

TEST_F(HelpersOnDatabase, BuildInsertOrUpdateOverTheDeclaredFields)
{
    RecordSet s("k_month");
    s.addField("km_id", FieldType::Float);
    s.addField("km_name_ro", FieldType::String, 20);
    s.addCalculatedField("extra", FieldType::Float);
    oneRow(s);
    s["km_id"].setValue(5);
    s["km_name_ro"].setValue("mai");
    EXPECT_EQ(BuildInsertOrUpdate(&s, 0, 1), "Insert into k_month (km_id,km_name_ro) values(5,'MAI')");
    EXPECT_EQ(BuildInsertOrUpdate(&s, 0, 2), "update k_month set km_name_ro='MAI' where km_id=5");
}

TEST_F(HelpersOnDatabase, BuiltStatementsRoundTripAnApostropheThroughTheDatabase)
{
    RecordSet s("k_month");
    s.addField("km_id", FieldType::Float);
    s.addField("km_name_ro", FieldType::String, 20);
    oneRow(s);
    s["km_id"].setValue(20);
    s["km_name_ro"].setValue(QStringLiteral("d'aprilie ţ"));
    exec(BuildInsertOrUpdate(&s, 0, 1));
    EXPECT_EQ(scalar("select km_name_ro from k_month where km_id=20").toString(), QStringLiteral("D'APRILIE ţ"));
}

TEST_F(HelpersOnDatabase, CopyMode1NamesColumnsByPositionWithTheSourcesTypes)
{
    ReadScope read(DM->IBQ1, "select km_id, km_name_ro, cast('01.02.2003' as date) from k_month order by km_id");
    CopyToMemTable(read.query(), DM->cds1, 1);
    ASSERT_EQ(DM->cds1->fieldCount(), 3);
    EXPECT_EQ(DM->cds1->fieldDef(0).name, "COLUMN1");
    EXPECT_EQ(DM->cds1->fieldDef(1).name, "COLUMN2");
    EXPECT_EQ(DM->cds1->fieldDef(2).name, "COLUMN3");
    EXPECT_EQ(DM->cds1->fieldDef(1).type, FieldType::String);
    EXPECT_GT(DM->cds1->fieldDef(1).size, 0);
    EXPECT_EQ(DM->cds1->recordCount(), 12);
    EXPECT_EQ(DM->cds1->recNo(), 0);
    EXPECT_FALSE(DM->IBT1->active()); // the query's transaction is committed
    EXPECT_FALSE(DM->IBQ1->active());
}

TEST_F(HelpersOnDatabase, CopyMode2KeepsTheSourcesNames)
{
    {
        ReadScope read(DM->IBQ3, "select km_id, km_name_ro from k_month where km_id<4");
        CopyToMemTable(read.query(), DM->CDS, 2);
    }
    EXPECT_EQ(DM->CDS->fieldDef(0).name, "KM_ID");
    EXPECT_EQ(DM->CDS->fieldDef(1).name, "KM_NAME_RO");
    EXPECT_EQ(DM->CDS->recordCount(), 3);
    // A second copy replaces the rows and the fields.
    ReadScope read(DM->IBQ3, "select kidt_id from k_id_doc_type");
    CopyToMemTable(read.query(), DM->CDS, 2);
    EXPECT_EQ(DM->CDS->fieldCount(), 1);
    EXPECT_EQ(DM->CDS->fieldDef(0).name, "KIDT_ID");
}

TEST_F(HelpersOnDatabase, CopyMode3FillsTheDeclaredFieldsByPosition)
{
    exec("insert into econ_agent values(3,'1234567','1002600012345','SRL ''NUFĂRUL''','DIR','CONT',91,'RESP',NULL)");
    ReadScope read(DM->IBQ1, "select * from econ_agent order by ea_id ");
    CopyToMemTable(read.query(), DM->econ_agent, 3);
    ASSERT_EQ(DM->econ_agent->recordCount(), 1);
    EXPECT_EQ(DM->econ_agent->field("ea_full_name").asString(), QStringLiteral("SRL 'NUFĂRUL'"));
    EXPECT_EQ(DM->econ_agent->field("ea_kaa2_fosk").asFloat(), 91.0);
    EXPECT_TRUE(DM->econ_agent->field("ea_cod").isNull());
    EXPECT_EQ(DM->econ_agent->fieldDef(1).editMask, "0000000;1; ");
}

TEST_F(HelpersOnDatabase, CopyMode3RunsTheBeforePostHandlerOfEveryRowUnlessDetached)
{
    exec("insert into econ_agent values(3,'1234567','1','A','B','C',91,'D','0')");
    exec("insert into econ_agent values(4,'7654321','2','E','F','G',92,'H','0')");
    int posts = 0;
    DM->econ_agent->beforePost = [&](RecordSet &) { ++posts; };
    ReadScope read(DM->IBQ1, "select * from econ_agent order by ea_id ");
    CopyToMemTable(read.query(), DM->econ_agent, 3);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(DM->econ_agent->recordCount(), 2);
}

TEST_F(HelpersOnDatabase, CopyMode3RefusesASourceWiderThanTheTarget)
{
    ReadScope read(DM->IBQ1, "select km_id, km_name_ro, km_id from k_month");
    RecordSet narrow("narrow");
    narrow.addField("a", FieldType::Integer);
    narrow.addField("b", FieldType::String, 30);
    EXPECT_THROW(CopyToMemTable(read.query(), &narrow, 3), DbError);
}

TEST_F(HelpersOnDatabase, CopyFromARecordSetKeepsItsRowsAndTypes)
{
    LoadClassifier(DM->k_month);
    CopyToMemTable(DM->k_month, DM->cds3, 2);
    EXPECT_EQ(DM->cds3->fieldDef(1).name.toLower(), "km_name_ro");
    EXPECT_EQ(DM->cds3->recordCount(), 12);
    EXPECT_EQ(DM->cds3->displayTextAt(11, 1), DM->k_month->displayTextAt(11, 1));
    CopyToMemTable(DM->k_month, DM->cds4, 1);
    EXPECT_EQ(DM->cds4->fieldDef(0).name, "COLUMN1");
    EXPECT_EQ(DM->cds4->fieldDef(0).type, DM->k_month->fieldDef(0).type);
    EXPECT_EQ(DM->cds4->recordCount(), 12);
}

TEST_F(HelpersOnDatabase, CopyFromAnEmptyResultLeavesAnEmptyOpenSet)
{
    ReadScope read(DM->IBQ1, "select * from name_account where na_id=-1");
    CopyToMemTable(read.query(), DM->name_account, 3);
    EXPECT_TRUE(DM->name_account->active());
    EXPECT_TRUE(DM->name_account->isEmpty());
}

TEST_F(HelpersOnDatabase, LoadClassifierOfCategoriesFollowsTheWorkingYear)
{
    const int all = scalar("select count(*) from k_tariff_ap").toInt();
    DM->workingYear = "0";
    LoadClassifier(DM->k_tariff_ap);
    EXPECT_EQ(DM->k_tariff_ap->recordCount(), all);
    EXPECT_EQ(DM->k_tariff_ap->fieldDef(0).name, "KTAP_ID");

    DM->workingYear = "2008";
    LoadClassifier(DM->k_tariff_ap);
    const int in2008 = scalar("select count(*) from k_tariff_ap where ktap_id in (select ktapv_ktap from "
                              "k_tariff_ap_value where ktapv_date_start<='01.01.2008' and ktapv_date_stop>='31.12.2008')")
                           .toInt();
    EXPECT_EQ(DM->k_tariff_ap->recordCount(), in2008);
    EXPECT_LT(in2008, all);
    // Ordered by code.
    double last = -1;
    for (int r = 0; r < DM->k_tariff_ap->recordCount(); ++r) {
        EXPECT_GT(DM->k_tariff_ap->valueAt(r, 0).toDouble(), last);
        last = DM->k_tariff_ap->valueAt(r, 0).toDouble();
    }

    // A working year that is not set yet loads every category instead of failing.
    DM->workingYear = "";
    LoadClassifier(DM->k_tariff_ap);
    EXPECT_EQ(DM->k_tariff_ap->recordCount(), all);
}

TEST_F(HelpersOnDatabase, ClassifierStatementsAreTheFixedOnes)
{
    EXPECT_EQ(ClassifierStatement("k_tariff_ap", "2008", ""),
              "Select * from k_tariff_ap where ktap_id in ( select ktapv_ktap  from k_tariff_ap_value where "
              "ktapv_date_start<='01.01.2008'  and ktapv_date_stop >='31.12.2008')");
    EXPECT_EQ(ClassifierStatement("k_adm_area2", "0", ""), "Select * from k_adm_area2 where kaa2_id<=95 order by kaa2_id ");
    EXPECT_EQ(ClassifierStatement("k_form_type", "0", ""), " select * from k_form_type where kft_id<>2 ");
    EXPECT_EQ(ClassifierStatement("k_tariff_ap_value", "0", "where ktapv_ktap=101"),
              "Select * from k_tariff_ap_value where ktapv_ktap=101");
    EXPECT_EQ(ClassifierStatement("k_month", "2008", ""), "Select * from k_month");
}

TEST_F(HelpersOnDatabase, LoadClassifierUpperCasesProfessionsDiacriticsIncluded)
{
    exec(QStringLiteral("insert into k_prof (kp_id, kp_name_ro) values(99999901, 'învăţătoare şefă')"));
    LoadClassifier(DM->k_prof);
    ASSERT_TRUE(DM->k_prof->locate("kp_id", 99999901));
    EXPECT_EQ(DM->k_prof->field("kp_name_ro").asString(), QStringLiteral("ÎNVĂŢĂTOARE ŞEFĂ"));
    // Other classifiers keep their case.
    exec(QStringLiteral("update k_month set km_name_ro='martie' where km_id=3"));
    LoadClassifier(DM->k_month);
    ASSERT_TRUE(DM->k_month->locate("km_id", 3));
    EXPECT_EQ(DM->k_month->field("km_name_ro").asString(), "martie");
}

TEST_F(HelpersOnDatabase, LoadClassifierOfTerritoriesHidesCodesAbove95AndOrdersByName)
{
    LoadClassifier(DM->k_adm_area2);
    const int n = DM->k_adm_area2->recordCount();
    EXPECT_EQ(n, scalar("select count(*) from k_adm_area2 where kaa2_id<=95").toInt());
    for (int r = 1; r < n; ++r)
        EXPECT_LE(RomanianOrder::compare(DM->k_adm_area2->displayTextAt(r - 1, 1), DM->k_adm_area2->displayTextAt(r, 1)), 0);
    EXPECT_FALSE(DM->k_adm_area2->locate("kaa2_id", 96));
}

TEST_F(HelpersOnDatabase, PostPendingEditsPostsTheThreeEditSetsInOrder)
{
    QStringList order;
    for (RecordSet *s : {DM->saldo_data, DM->name_account, DM->assured_person}) {
        s->createDataSet();
        s->beforePost = [&order](RecordSet &r) {
            order << r.name();
            r.cancel();
        };
        s->append();
        s->fieldByIndex(2).setValue(1);
    }
    PostPendingEdits();
    EXPECT_EQ(order.join(","), "assured_person,name_account,saldo_data");
}

TEST_F(HelpersOnDatabase, RunAndWaitReportsStartFailureAndExitCodes)
{
    EXPECT_EQ(RunAndWait(db->folder() + "/no-such-program", {}), 1);
    EXPECT_EQ(RunAndWait("no-such-program-anywhere arg"), 1);
    // A program in a folder whose name has blanks.
    QDir(db->folder()).mkpath("Program Files/evidenta");
    const QString script = db->folder() + "/Program Files/evidenta/tool";
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n[ \"$1\" = \"a b\" ] && exit 0\nexit 3\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(RunAndWait(script, {"a b"}), 0);
    EXPECT_EQ(RunAndWait(script, {"other"}), 1);
    EXPECT_EQ(RunAndWait("\"" + script + "\" \"a b\""), 0);
}

} // namespace
