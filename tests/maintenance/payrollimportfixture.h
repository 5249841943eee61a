#pragma once
// The agent of the declaration fixture with its two persons in 2010: POPESCU ION (CPAS
// 12345678901, IDNP 2001234567890) with a declaration of the year, IONESCU ANA (12345678902)
// with one of 2009 in category 105 and function 112001 only; a person of the other agent
// (12345678909). Lines of a payroll file are made here as the reader would give them.

#include "maintenance/payroll/payrollimport.h"
#include "tests/records/declarationfixture.h"

class PayrollImportFixture : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        exec("update assured_person set ap_idnp='2001234567890' where ap_id=1");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
             "values(3,2,'12345678909','RUSU','DAN')");
        declaration(10, 2010);
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
             "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public,na_position) "
             "values(20,NULL,2,2009,'N','01.01.2009','31.12.2009',105,'N',1,0,'N',112001)");
    }

    // A line of a whole month of 2010 with a pay fund.
    static PayrollLine line(int number, const QString &cpas, int month, std::optional<double> pay = 1000.0)
    {
        PayrollLine l;
        l.line = number;
        l.cpas = cpas;
        l.month = month;
        l.from = QDate(2010, month, 1);
        l.to = l.from.addMonths(1).addDays(-1);
        l.payFund = pay;
        return l;
    }
    static PayrollLine period(PayrollLine l, int firstDay, int lastDay)
    {
        l.from = QDate(2010, l.month, firstDay);
        l.to = QDate(2010, l.month, lastDay);
        return l;
    }

    PayrollImportResult preview(const std::vector<PayrollLine> &lines, bool addPersons = false)
    {
        return PayrollImport::preview(lines, {2010, addPersons});
    }
    PayrollImportResult run(const std::vector<PayrollLine> &lines, bool addPersons = false)
    {
        return PayrollImport::run(lines, {2010, addPersons});
    }
    static QStringList fates(const PayrollImportResult &result)
    {
        QStringList f;
        for (const PayrollOutcome &o : result.outcomes)
            f << QStringLiteral("%1: %2").arg(o.line).arg(o.fateText());
        return f;
    }
    int rows() { return scalar("select count(*) from saldo_data").toInt(); }
};
