#pragma once
// The codes and rates the package fuzz targets check against: those of the packages in the
// seeds, so that the checks of codes and rates run as they do with a database.

#include "packages/packageclassifiers.h"

inline PackageClassifiers fuzzClassifiers()
{
    PackageClassifiers c;
    for (qint64 type : {1, 2, 3})
        c.addDocumentType(type);
    for (qint64 category : {101, 105, 150, 153, 154, 157, 158})
        c.addCategory(category);
    c.addFunction(111201);
    c.addFunction(2141);
    c.addFunction(999999, true);
    PackageClassifiers::Rate rate;
    rate.individualUnit = QStringLiteral("P");
    rate.individualValue = 6;
    rate.employerUnit = QStringLiteral("P");
    rate.employerValue = 23;
    c.addRate(101, 2010, 2016, rate);
    rate.ceiling = 10000;
    c.addRate(105, 2012, 2016, rate);
    rate.individualUnit = QStringLiteral("L");
    rate.individualValue = 1000;
    c.addRate(154, 2012, 2016, rate);
    return c;
}
