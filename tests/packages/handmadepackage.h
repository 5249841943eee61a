#pragma once
// A small electronic package written by hand and packed with the program's archiver: one
// declaration of March 2015 with one monthly row of the given category and no amounts.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

inline QString handMadePackage(const QString &folder, const QByteArray &category = "101")
{
    auto write = [&](const char *name, const QByteArray &lines) {
        QFile f(QDir(folder).filePath(QLatin1String(name)));
        if (f.open(QIODevice::WriteOnly))
            f.write(QByteArray(lines).replace('|', '\xB0'));
    };
    write("REV5_T", "1|2015|03|07|1234567|123|X|15.04.2015|1|0.00|0.00|0.00|0.00|0.00|\r\n");
    write("REV5_IP", "1|1|0.00|0.00|0.00|0.00|0.00|\r\n");
    write("REV5_NA", "100|1|12345678901|POPESCU|ION|||||||||\r\n");
    write("REV5_SD", "100|1|3||" + category
                         + "|5|01.03.2015|31.03.2015|0.00|0.00|0.00|0.00|0.00|\r\n"
                           "100|1|13||||||0.00|0.00|0.00|0.00|0.00|\r\n");
    const QString name = QStringLiteral("REV5_1234567_00101_2015L03.RAR");
    QProcess rar;
    rar.setWorkingDirectory(folder);
    rar.start(QStringLiteral(EVD_RAR_EXE),
              {QStringLiteral("a"), name, QStringLiteral("REV5_T"), QStringLiteral("REV5_IP"),
               QStringLiteral("REV5_NA"), QStringLiteral("REV5_SD")});
    rar.waitForFinished(-1);
    return QDir(folder).filePath(name);
}
