#include "tests/reports/engine/reporttestsupport.h"
#include "reports/registerreport.h"

#include <QApplication>
#include <QProcess>

namespace ReportTestSupport {

void ensureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "evd_report_tests";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives until the process ends
}

QString pdfText(const QString &pdfPath)
{
    QProcess p;
    p.start(QStringLiteral(EVD_PDFTOTEXT), {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                            pdfPath, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList pdfPages(const QString &pdfPath)
{
    QStringList pages = pdfText(pdfPath).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

ReportTable registerTable()
{
    return ReportTable({QStringLiteral("AP_FIRST_NAME"), QStringLiteral("AP_MIDDLE_NAME"), QStringLiteral("AP_LAST_NAME"),
                        QStringLiteral("AP_CPAS"), QStringLiteral("AP_IDNP"), QStringLiteral("AP_DOC_SERIA"),
                        QStringLiteral("AP_DOC_NUMBER"), QStringLiteral("AP_BIRTH_DT")});
}

void addPerson(ReportTable &table, const QString &first, const QString &middle, const QString &last,
               const QString &cpas, const QString &idnp, const QString &seria, const QString &number,
               const QDate &birth)
{
    table.addRow({first, middle, last, cpas, idnp, seria, number, birth});
}

void buildRegister(Report &report, ReportTable &rows, const QString &agentName)
{
    RegisterReport::build(report, rows, RegisterReport::quotedAgentName(agentName));
}

} // namespace ReportTestSupport
