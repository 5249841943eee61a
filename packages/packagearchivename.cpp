#include "packages/packagearchivename.h"

QString PackageArchiveName(const QString &agentCode, int formType, const QString &year, const QString &periodCode)
{
    return QStringLiteral("REV5_") + agentCode + QStringLiteral("_00") + QString::number(formType)
           + QStringLiteral("01_") + year.trimmed() + periodCode + QStringLiteral(".RAR");
}
