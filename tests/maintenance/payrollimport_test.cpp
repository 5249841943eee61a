// The import of monthly pay from the lines of a payroll file: the fate of every line shown
// beforehand and then done, the rows, persons and declarations written through their rules,
// read back from the database.

#include "tests/maintenance/payrollimportfixture.h"

#include <tuple>

namespace {

using PayrollImportTest = PayrollImportFixture;

const QString kPopescu = QStringLiteral("12345678901"), kIonescu = QStringLiteral("12345678902");
const QString kWarning = QStringLiteral(
    "Indicati corect suma contributiilor individuale calculate sau efectuati procedura de recalcul");

TEST_F(PayrollImportTest, EveryLineMeetsTheRulesOfATypedRowWithTheLinesAboveItWritten)
{
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(1,'REV5_1234567_00101_2010L06.RAR','05.07.2010',2010,6,6,1)");
    exec("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_dela_d,sd_pina_d,sd_zile_n,"
         "sd_ap_category,sd_kft_rf) values(500,10,12,800,0,'01.12.2010','31.12.2010',5,101,1)");
    PayrollLine refusedByTheReader = line(4, kPopescu, 1);
    refusedByTheReader.refusal = QStringLiteral("Luna 13 nu există");
    PayrollLine byIdnp = line(5, QString(), 3);
    byIdnp.idnp = QStringLiteral("2001234567890");
    PayrollLine unknownIdnp = line(7, QString(), 3);
    unknownIdnp.idnp = QStringLiteral("2009999999999");
    PayrollLine twoPersons = line(8, kIonescu, 3);
    twoPersons.idnp = QStringLiteral("2001234567890");
    PayrollLine noRate = line(10, kPopescu, 4);
    noRate.category = 102;
    PayrollLine sevenDays = line(11, kPopescu, 4);
    sevenDays.days = 7;
    PayrollLine function = line(12, kPopescu, 4);
    function.function = 999999;
    PayrollLine benefitBeside = line(13, kPopescu, 5);
    benefitBeside.sickPay = 200.0;
    PayrollLine nextMonth = line(14, kPopescu, 5);
    nextMonth.from = QDate(2010, 6, 1);
    PayrollLine benefitOnly = line(18, kPopescu, 7, std::nullopt);
    benefitOnly.sickPay = 300.0;

    const std::vector<PayrollLine> lines = {
        line(2, kPopescu, 1),
        line(3, kPopescu, 1), // the line above is taken as written
        refusedByTheReader,
        byIdnp,
        line(6, QStringLiteral("99999999999"), 3),
        unknownIdnp,
        twoPersons,
        line(9, QStringLiteral("12345678909"), 3), // a person of the other agent
        noRate,
        sevenDays,
        function,
        benefitBeside,
        nextMonth,
        period(line(15, kPopescu, 2), 1, 15),
        period(line(16, kPopescu, 2), 10, 28),
        line(17, kPopescu, 6),
        benefitOnly,
        line(19, kIonescu, 3), // no declaration of 2010 yet: one is made
        line(20, kPopescu, 12, 800.0),
    };
    const QStringList expected = {
        "2: rînd nou",
        "3: există deja",
        "4: Luna 13 nu există",
        "5: rînd nou",
        "6: Persoana cu CPAS 99999999999 nu este înregistrată",
        "7: Persoana cu IDNP 2009999999999 nu este înregistrată",
        "8: CPAS 12345678902 și IDNP 2001234567890 sînt ale unor persoane diferite",
        "9: Persoana cu CPAS 12345678909 nu este înregistrată",
        "10: Nu este tarif pentru aceasta categorie in acest an",
        "11: Indicati corect zilele lucratoare in saptamina ",
        "12: Asa cod a  profesiei nu este !",
        "13: Buletinele si salariul se indica in rinduri separate !",
        "14: Indicati corect perioada de munca !",
        "15: rînd nou",
        "16: Asa perioada este deja introdusa !",
        "17: Este deja format pachetul electronic  !",
        "18: rînd nou",
        "19: rînd nou",
        "20: există deja",
    };
    const PayrollImportResult shown = preview(lines);
    EXPECT_EQ(fates(shown), expected) << fates(shown).join('\n').toStdString();
    EXPECT_EQ(shown.counts(), "Rînduri: 19; rînduri noi: 5; persoane noi: 0; există deja: 2; refuzate: 12");
    EXPECT_EQ(shown.outcomes[0].person, "POPESCU ION");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(scalar("select count(*) from name_account").toInt(), 2);

    const PayrollImportResult done = run(lines);
    EXPECT_EQ(fates(done), expected) << fates(done).join('\n').toStdString();
    EXPECT_EQ(done.writtenLines(), (std::vector<int>{2, 5, 15, 18, 19}));
    const QString made = scalar("select na_id from name_account where na_ap=2 and na_year=2010").toString();
    EXPECT_EQ(table("select sd_na,sd_month,sd_paym_fond,sd_ill,sd_dela_d,sd_pina_d from saldo_data where sd_id<>500 "
                    "order by sd_id"),
              (QStringList{"10|1|1000|0|01.01.2010|31.01.2010", "10|3|1000|0|01.03.2010|31.03.2010",
                           "10|2|1000|0|01.02.2010|15.02.2010", "10|7|300|300|01.07.2010|31.07.2010",
                           made + "|3|1000|0|01.03.2010|31.03.2010"}));
    // The declaration made for IONESCU ANA starts from her latest one, as a typed one would.
    EXPECT_EQ(table("select na_ap_category,na_position,na_kft_rf,na_period_begin,na_period_end from name_account "
                    "where na_ap=2 and na_year=2010"),
              QStringList{"105|112001|1|01.01.2010|31.12.2010"});
    EXPECT_TRUE(ui.notices.isEmpty());

    // The same file again adds nothing.
    const PayrollImportResult again = run(lines);
    EXPECT_EQ(again.count(PayrollOutcome::Fate::Present), 7);
    EXPECT_TRUE(again.writtenLines().empty());
    EXPECT_EQ(rows(), 6);
}

TEST_F(PayrollImportTest, ContributionsAreThoseOfTheSameRowTyped)
{
    // The typed row goes to the other person's declaration of the year, in the grid's record set.
    exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
         "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
         "values(30,NULL,2,2010,'N','01.01.2010','31.12.2010',101,'N',1,0,'N')");
    DM->assured_person->locate("ap_id", 2); // the declarations shown follow the person
    useDeclaration(30, 2010);
    struct Case {
        bool automatic;
        int month;
        double pay;
        std::optional<double> individual, employer;
    };
    // 10 000 is over the ceiling of 500 a month, of which January left 79.98 unused; typed
    // contributions count only without the calculation.
    for (const Case &c :
         {Case{true, 1, 7000.25, 1.0, 2.0}, Case{true, 2, 10000, {}, {}}, Case{false, 3, 5000, 600.0, 1150.0}}) {
        SCOPED_TRACE(c.month);
        ws.calculation = c.automatic;
        PayrollLine l = line(c.month + 1, kPopescu, c.month, c.pay);
        l.individual = c.individual;
        l.employer = c.employer;
        const PayrollImportResult done = run({l});
        ASSERT_EQ(done.writtenLines(), std::vector<int>{c.month + 1}) << fates(done).join(';').toStdString();
        // The over-ceiling warning of the rule is kept with its line rather than shown for each row.
        EXPECT_EQ(done.outcomes[0].notice, c.automatic ? "" : kWarning);
        EXPECT_EQ(done.summary().contains("rîndul 4: " + kWarning.trimmed()), !c.automatic);

        DM->saldo_data->append();
        for (auto [field, value] : {std::pair{"sd_month", QVariant(c.month)},
                                    {"sd_dela_d", QVariant(l.from)},
                                    {"sd_pina_d", QVariant(l.to)},
                                    {"sd_paym_fond", QVariant(c.pay)},
                                    {"sd_ap_category", QVariant(101)},
                                    {"sd_zile_n", QVariant(5)},
                                    {"sd_sum_add", c.individual ? QVariant(*c.individual) : QVariant()},
                                    {"sd_sum_add_ea", c.employer ? QVariant(*c.employer) : QVariant()}})
            DM->saldo_data->field(field).setValue(value);
        ASSERT_EQ(post(DM->saldo_data), "");
        const QString amounts = "sd_paym_fond,sd_ill,sd_sum_add,sd_sum_add_ea,sd_tariff_ap,sd_tariff_ea,sd_kft_rf";
        const QStringList imported = table(
            QStringLiteral("select %1 from saldo_data where sd_na=10 and sd_month=%2").arg(amounts).arg(c.month));
        const QStringList typed = table(
            QStringLiteral("select %1 from saldo_data where sd_na=30 and sd_month=%2").arg(amounts).arg(c.month));
        EXPECT_EQ(imported, typed) << imported.join(' ').toStdString() << " / " << typed.join(' ').toStdString();
        EXPECT_EQ(imported.size(), 1);
        if (c.month == 2) {
            EXPECT_EQ(imported, QStringList{"10000|0|579.98|2300|10113|10113|1"}) << imported.join(' ').toStdString();
        }
    }
    EXPECT_EQ(ui.notices, QStringList{kWarning + ' '}); // the typed row's
    EXPECT_EQ(scalar("select sd_sum_add from saldo_data where sd_na=10 and sd_month=3").toDouble(), 600);
}

TEST_F(PayrollImportTest, MissingPersonsAreAddedOnlyWhenAskedAndWithWhatTheRuleNeeds)
{
    PayrollLine complete = line(2, "11122233344", 1);
    complete.familyName = "Bălan";
    complete.givenName = "Ştefan";
    complete.patronymic = "Ion";
    complete.idnp = "2002223334445";
    complete.birthDate = QDate(1985, 4, 2);
    complete.category = 105;
    complete.function = 112002;
    PayrollLine second = line(3, QString(), 2);
    second.idnp = "2002223334445";
    PayrollLine noBirth = complete;
    noBirth.line = 4;
    noBirth.cpas = "11122233355";
    noBirth.idnp.clear();
    noBirth.birthDate = QDate();
    PayrollLine idnpOnly = complete;
    idnpOnly.line = 5;
    idnpOnly.cpas.clear();
    idnpOnly.idnp = "2002223334466";
    PayrollLine cyrillic = complete;
    cyrillic.line = 6;
    cyrillic.cpas = "11122233366";
    cyrillic.idnp.clear();
    cyrillic.familyName = QStringLiteral("Иванов");
    const std::vector<PayrollLine> lines = {complete, second, noBirth, idnpOnly, cyrillic};

    EXPECT_EQ(fates(preview(lines)).mid(0, 2), (QStringList{"2: Persoana cu CPAS 11122233344 nu este înregistrată",
                                                            "3: Persoana cu IDNP 2002223334445 nu este înregistrată"}));
    const QStringList expected = {
        "2: persoană nouă",
        "3: rînd nou",
        "4: Persoana cu CPAS 11122233355 nu este înregistrată; pentru a o adăuga lipsesc: data nașterii",
        "5: Introduceti CPAS !",
        "6: Caracterul \"И\" nu poate fi păstrat în baza de date (codificarea Windows-1250).\n"
        "Corectaţi textul: \"ИВАНОВ\"",
    };
    EXPECT_EQ(fates(preview(lines, true)), expected);
    EXPECT_EQ(scalar("select count(*) from assured_person").toInt(), 3);

    const PayrollImportResult done = run(lines, true);
    EXPECT_EQ(fates(done), expected);
    EXPECT_EQ(done.outcomes[0].person, "BĂLAN ŞTEFAN");
    EXPECT_EQ(table("select ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name,ap_last_name,ap_birth_dt,ap_sex "
                    "from assured_person where ap_id>3"),
              QStringList{"1|11122233344|2002223334445|BĂLAN|ŞTEFAN|ION|02.04.1985|M"});
    EXPECT_EQ(table("select na_ap_category,na_position,na_kft_rf,na_period_begin,na_period_end,na_public "
                    "from name_account n join assured_person a on n.na_ap=a.ap_id where a.ap_cpas='11122233344'"),
              QStringList{"105|112002|1|01.01.2010|31.12.2010|N"});
    EXPECT_EQ(table("select s.sd_month,s.sd_ap_category,s.sd_position from saldo_data s join name_account n on "
                    "s.sd_na=n.na_id join assured_person a on n.na_ap=a.ap_id where a.ap_cpas='11122233344' "
                    "order by s.sd_month"),
              (QStringList{"1|105|112002", "2|105|112002"}));
    EXPECT_EQ(fates(run(lines, true)).mid(0, 2), (QStringList{"2: există deja", "3: există deja"}));
}

TEST_F(PayrollImportTest, ALineIsWrittenWholeOrNotAtAll)
{
    // A package formed as soon as a declaration of the month's person is made: the row's rule
    // then refuses what the checks beforehand let through. And a server that refuses a row.
    exec("create trigger formed_at_once for name_account after insert as begin "
         "if (new.na_ap = 1 or exists (select 1 from assured_person where ap_id = new.na_ap and ap_cpas = "
         "'11122233344')) then insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(9,'X','01.01.2011',2010,4,4,1); end");
    exec("create exception refused_row 'Rîndul nu se primeşte'");
    exec("create trigger refused_row for saldo_data before insert as begin "
         "if (new.sd_paym_fond = 666) then exception refused_row; end");
    exec("delete from saldo_data");
    exec("delete from name_account where na_id=10");
    PayrollLine newPerson = line(2, "11122233344", 4);
    newPerson.familyName = "NOU";
    newPerson.givenName = "ION";
    newPerson.birthDate = QDate(1990, 1, 1);
    const std::vector<PayrollLine> lines = {newPerson, line(3, kIonescu, 5), line(4, kIonescu, 6, 666.0),
                                            line(5, kIonescu, 7)};
    EXPECT_EQ(fates(preview(lines, true)),
              (QStringList{"2: persoană nouă", "3: rînd nou", "4: rînd nou", "5: rînd nou"}));

    const PayrollImportResult done = run(lines, true);
    EXPECT_EQ(fates(done), (QStringList{"2: Este deja format pachetul electronic  !", "3: rînd nou", "4: rînd nou"}));
    EXPECT_EQ(done.stoppedAt, 4);
    EXPECT_TRUE(done.stoppedBy.contains("Rîndul nu se primeşte")) << done.stoppedBy.toStdString();
    EXPECT_TRUE(done.summary().startsWith("Importul s-a oprit la rîndul 4 din cauza erorii bazei de date:\n"))
        << done.summary().toStdString();
    EXPECT_TRUE(done.summary().endsWith("\nS-au scris rîndurile: 3.")) << done.summary().toStdString();
    // Neither the new person nor the declaration made for the refused line stays.
    EXPECT_EQ(column("select ap_cpas from assured_person where ap_id>3"), QStringList{});
    EXPECT_EQ(table("select na_ap,na_year from name_account order by na_year"), (QStringList{"2|2009", "2|2010"}));
    EXPECT_EQ(column("select sd_month from saldo_data"), QStringList{"5"});
}

TEST_F(PayrollImportTest, StoppedBetweenTwoLinesTheImportSaysBeforeWhichAndWhatWasWritten)
{
    exec("delete from saldo_data");
    const std::vector<PayrollLine> lines = {line(2, kPopescu, 4), line(3, kIonescu, 5), line(4, kIonescu, 6),
                                            line(5, kIonescu, 7)};
    // The check beforehand counts every line and is not stopped.
    ui.stopWhen = [](const ScriptedUserInteraction::ProgressStep &s) { return s.done == 2; };
    EXPECT_EQ(preview(lines).outcomes.size(), 4u);
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].name, "Verificarea rîndurilor");
    EXPECT_EQ(std::tuple(ui.progress[0].done, ui.progress[0].total, ui.progress[0].mayStop), std::tuple(4, 4, false));

    ui.progress.clear();
    const PayrollImportResult done = run(lines);
    EXPECT_EQ(done.cancelledAt, 4);
    EXPECT_FALSE(done.clean());
    EXPECT_TRUE(done.summary().startsWith("Importul a fost anulat înainte de rîndul 4.\nS-au scris rîndurile: 2-3."))
        << done.summary().toStdString();
    EXPECT_EQ(column("select sd_month from saldo_data order by sd_month"), (QStringList{"4", "5"}));
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].name, "Importul salariilor");
    EXPECT_EQ(std::tuple(ui.progress[0].done, ui.progress[0].total, ui.progress[0].ended), std::tuple(2, 4, true));
}

} // namespace
