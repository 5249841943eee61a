#pragma once
// Every declaration belongs to a package of its agent and year from its first save: the newest
// package of the year takes it while it has room, otherwise the next package is created.

#include <QDate>
#include <QString>

// Declarations one package holds.
inline constexpr int kPackageCapacity = 50;

// pl_id of the package into which one more declaration of the selected year and the current
// agent goes: the newest package of that year while it holds fewer than kPackageCapacity
// declarations, otherwise a package created now. Only database errors stop it.
qint64 FindOpenPackage();

// The INSERT of a new package, its values in the column order of packlabel: the identifier,
// the agent, kind 5, the year, the forming date, form type 1, "DA" and the visible number,
// which starts equal to the identifier.
QString NewPackageStatement(qint64 id, const QString &agent, const QString &year, const QDate &formed);
