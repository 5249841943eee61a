#include "records/databasequestions.h"
#include "data/formats.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "records/formedpackage.h"
#include "records/ratewindow.h"

bool DatabaseQuestions::personCodeTaken(const QString &column, const QString &code, double agentId, double personId)
{
    ReadScope read(DM->IBQ1, QStringLiteral("select * from assured_person where %1=").arg(column)
                                 + SqlText::quoted(code.trimmed()) + QStringLiteral(" and ap_ea=")
                                 + Formats::floatText(agentId) + QStringLiteral(" and ap_id<>")
                                 + Formats::floatText(personId));
    return read.found();
}

bool DatabaseQuestions::declarationExists(const QString &person, const QString &year)
{
    ReadScope read(DM->IBQ1, QStringLiteral("select * from name_account where na_ap=") + person
                                 + QStringLiteral(" and na_year=") + year);
    return read.found();
}

std::optional<RecordQuestions::LatestDeclaration> DatabaseQuestions::latestDeclaration(const QString &person)
{
    ReadScope latest(DM->IBQ3,
                     QStringLiteral(" select na_position,na_year,na_ap_category from name_account  where na_ap=")
                         + person + QStringLiteral(" order by na_year desc "));
    if (!latest.found())
        return std::nullopt;
    return LatestDeclaration{latest.value(QStringLiteral("na_position")),
                             latest.value(QStringLiteral("na_ap_category"))};
}

std::optional<QString> DatabaseQuestions::professionName(const QString &code)
{
    ReadScope read(DM->IBQ1, QStringLiteral(" select kp_name_ro from k_prof where kp_id=") + code);
    if (!read.found())
        return std::nullopt;
    return read.value(0).toString();
}

QString DatabaseQuestions::periodStatement(const QString &declaration, const QString &month, const QString &category,
                                           const QString &rowId, const QDate &from, const QDate &to)
{
    const QString D = SqlText::quoted(from), P = SqlText::quoted(to);
    QString sql = QStringLiteral(" select * from saldo_data where sd_na=") + declaration
                  + QStringLiteral(" and sd_month=") + month + QStringLiteral(" and sd_ap_category=") + category;
    if (!rowId.isEmpty())
        sql += QStringLiteral(" and sd_id<>") + rowId;
    sql += QStringLiteral(" and ((sd_pina_d>=") + D + QStringLiteral(" and sd_pina_d<=") + P
           + QStringLiteral(" ) or (sd_dela_d>=") + D + QStringLiteral(" and sd_dela_d<=") + P + QStringLiteral(")")
           + QStringLiteral(" or (sd_dela_d>=") + D + QStringLiteral(" and sd_pina_d<=") + P + QStringLiteral(")")
           + QStringLiteral(" or (sd_dela_d<=") + D + QStringLiteral(" and sd_pina_d>=") + P + QStringLiteral("))");
    return sql;
}

bool DatabaseQuestions::periodTaken(const QString &declaration, const QString &month, const QString &category,
                                    const QString &rowId, const QDate &from, const QDate &to)
{
    ReadScope read(DM->IBQ1, periodStatement(declaration, month, category, rowId, from, to));
    return read.found();
}

bool DatabaseQuestions::packageFormed(const QString &year, const QString &month)
{
    return FormedPackage::covers(year, month);
}

std::optional<RecordQuestions::Rate> DatabaseQuestions::rate(const QString &year, const QString &category)
{
    ReadScope read(DM->IBQ1,
                   RateWindow::statement(QStringLiteral("ktapv_id,ktapv_ktap"), u'"', year.trimmed(), year, category));
    if (!read.found())
        return std::nullopt;
    return Rate{read.value(QStringLiteral("ktapv_id")), read.value(QStringLiteral("ktapv_ktap")).toDouble()};
}
