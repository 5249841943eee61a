#pragma once
// The archive of an electronic package is found again (and annulled) by its name, which holds
// the agent, the form type, the year and the period at fixed places.

#include <QString>

// "REV5_" + agent code + "_00" + form type + "01_" + year + period code + ".RAR", for example
// REV5_1234567_00101_2015L03.RAR.
QString PackageArchiveName(const QString &agentCode, int formType, const QString &year, const QString &periodCode);
