#pragma once
// An agent with persons, declarations, monthly rows and packages of 2010 (and a second agent
// whose rows must never show), the agent loaded as the persons workspace holds it, and the
// text of a report as pdftotext reads it from the PDF.

#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "reports/engine/report.h"
#include "reports/engine/reportoutput.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

#include <QProcess>

class FormsFixture : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec(QStringLiteral("insert into econ_agent values(1,'1234567','1002600012345','SRL ALFA','POPESCU DIRECTOR',"
                            "'IONESCU CONTABIL',91,'D','0')"));
        exec("insert into econ_agent values(2,'7654321','2','BETA','F','G',91,'H','0')");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent where ea_id=1");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        ws.year = QStringLiteral("2010");
        // Every report is read back while it is shown or printed.
        ui.onReport = [this](const Report &r) { shown << pdfText(r); };
    }

    void person(int id, const QString &first, const QString &middle, int agent = 1)
    {
        exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_idnp_who,ap_idnp_dt,"
                            "ap_birth_dt,ap_doc_type,ap_doc_seria,ap_doc_number,ap_first_name,ap_middle_name,"
                            "ap_last_name) values(%1,%2,'1234567890%1','200000000000%1','OF. 12','07.09.2001',"
                            "'05.03.1980',1,'A','7654%1','%3','%4','VASILE')")
                 .arg(id)
                 .arg(agent)
                 .arg(first, middle));
    }
    // A package of the agent with its visible number.
    void package(int id, int number, int agent = 1, int year = 2010)
    {
        exec(QStringLiteral("insert into packlabel values(%1,%2,5,%3,'01.02.%3',1,'DA',%4)")
                 .arg(id)
                 .arg(agent)
                 .arg(year)
                 .arg(number));
    }
    // A declaration of a person in a package (0: none), of category 101, primary.
    void declaration(int id, int personId, int packageId, int year = 2010, const QString &publicService = "N")
    {
        exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_ap_category,na_kft_rf,na_rest,"
                            "na_public) values(%1,%2,%3,%4,101,1,1,'%5')")
                 .arg(id)
                 .arg(packageId ? QString::number(packageId) : QStringLiteral("NULL"))
                 .arg(personId)
                 .arg(year)
                 .arg(publicService));
    }
    // A monthly row from `firstDay` to the end of the month; the contributions are fixed
    // fractions of the pay fund.
    void row(int id, int declarationId, int month, double fund, int category = 101, int formType = 1, int firstDay = 1,
             int year = 2010)
    {
        const QDate from(year, month, firstDay);
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,sd_sum_add_ea,"
                            "sd_dela_d,sd_pina_d,sd_zile_n,sd_ap_category,sd_position,sd_kft_rf) values(%1,%2,%3,%4,%5,"
                            "%6,%7,'%8','%9',5,%10,2411,%11)")
                 .arg(id)
                 .arg(declarationId)
                 .arg(month)
                 .arg(Formats::floatText(fund), Formats::floatText(fund / 10), Formats::floatText(fund * 0.06),
                      Formats::floatText(fund * 0.23), Formats::dateText(from),
                      Formats::dateText(QDate(year, month, 1).addMonths(1).addDays(-1)))
                 .arg(category)
                 .arg(formType));
    }

    QString pdfText(const Report &report)
    {
        const QString pdf = db->folder() + QStringLiteral("/report%1.pdf").arg(++m_pdfs);
        QString error;
        EXPECT_TRUE(ReportOutput::exportPdf(report, pdf, &error)) << error.toStdString();
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    // The first line of a text holding `part` once its blanks are squeezed ("" when none).
    static QString lineWith(const QString &text, const QString &part)
    {
        for (const QString &line : text.split(u'\n'))
            if (line.simplified().contains(part))
                return line.simplified();
        return {};
    }

    // The last line holding `part`, blanks squeezed.
    static QString lastLineWith(const QString &text, const QString &part)
    {
        QString found;
        for (const QString &line : text.split(u'\n'))
            if (line.simplified().contains(part))
                found = line.simplified();
        return found;
    }

    TestWorkspace ws;
    ScriptedUserInteraction ui;
    QStringList shown;

private:
    int m_pdfs = 0;
};
