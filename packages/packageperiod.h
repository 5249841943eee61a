#pragma once
// The period of an electronic package: which months and which form type it carries, chosen in
// the dialog from the year's list of periods and kept for the forming that follows.

#include <QList>
#include <QPair>
#include <QStringList>
#include <QMetaType>
#include <QVariant>

struct PackagePeriod
{
    QString PeriodCode;   // "T00".."T04", "L01".."L12"; empty when no period was chosen
    QString PeriodFilter; // restricts the monthly rows (sd_month, and sd_kft_rf from 2015)
    QString MonthFrom;    // "1".."12"
    QString MonthTo;      // "1".."12"

    // The periods the year offers, in the order of the list.
    static QStringList periodCaptions(int year);
    // The form types the year offers: (kft_id, kft_name_ro).
    static QList<QPair<int, QString>> formTypes(int year);

    // Sets the period from the year, the position of the chosen period (-1: none) and the
    // chosen form type (null: none). Raises EE when the choice cannot form a package.
    void choose(int year, int item, const QVariant &formType);
};
Q_DECLARE_METATYPE(PackagePeriod)
