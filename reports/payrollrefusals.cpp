#include "reports/payrollrefusals.h"
#include "data/ee.h"
#include "data/formats.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "reports/engine/report.h"
#include "reports/engine/reporttable.h"
#include "reports/listcolumns.h"
#include "reports/spreadsheetexport.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringList>

namespace PayrollRefusals {

namespace {

QString oneLine(const QString &text)
{
    return text.simplified();
}

QString cellText(const PayrollCell &cell)
{
    switch (cell.kind) {
    case PayrollCell::Kind::Empty:
        return {};
    case PayrollCell::Kind::Text:
        return cell.text;
    case PayrollCell::Kind::Number:
        return cell.text.isEmpty() ? Formats::floatText(cell.number) : cell.text;
    case PayrollCell::Kind::Date:
        return cell.text.isEmpty() ? Formats::dateText(cell.date) : cell.text;
    }
    return {};
}

QString csvField(const QString &text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')
        && text.trimmed() == text)
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString csvLine(const QStringList &fields, QChar separator)
{
    QStringList quoted;
    for (const QString &f : fields)
        quoted << csvField(f, separator);
    return quoted.join(separator) + QStringLiteral("\r\n");
}

} // namespace

std::unique_ptr<ReportSource> rows(const PayrollImportResult &result)
{
    auto table = std::make_unique<ReportTable>(QStringList{QStringLiteral("rindul"), QStringLiteral("cpas"),
                                                           QStringLiteral("idnp"), QStringLiteral("persoana"),
                                                           QStringLiteral("luna"), QStringLiteral("motivul")});
    for (const PayrollOutcome &o : result.outcomes)
        if (o.fate == PayrollOutcome::Fate::Refused)
            table->addRow({o.line, o.cpas, o.idnp, o.person, o.month > 0 ? QVariant(o.month) : QVariant(QString()),
                           oneLine(o.message)});
    return table;
}

void build(Report &report, ReportSource &rows, const QString &file, int year, const PayrollImportResult &result)
{
    report.setName(QStringLiteral("Rîndurile refuzate la importul salariilor"));
    report.setToday(Clock::today());
    report.setSource(QStringLiteral("refuzate"), &rows);
    report.setMargins(QMarginsF(15, 10, 10, 10));
    report.setPrintWhenEmpty(true);

    ReportBand &title = report.title(24);
    title.label(0, 0, 185, 8, QStringLiteral("Rîndurile refuzate la importul salariilor")).center().bold().size(13);
    title.label(0, 8, 185, 7, QStringLiteral("%1, anul %2").arg(QFileInfo(file).fileName()).arg(year))
        .center()
        .size(11);
    title.label(0, 15, 185, 7, result.counts()).center().size(9);

    ReportBand &detail = report.detail(6);
    detail.stretch();
    ListColumns::layOut(report.columnHeader(8), detail,
                        {{14, "Rîndul", "rindul"},
                         {24, "CPAS", "cpas"},
                         {30, "IDNP", "idnp"},
                         {45, "Persoana", "persoana", true},
                         {10, "Luna", "luna"},
                         {62, "Motivul", "motivul", true}});
    report.pageFooter(8)
        .expression(0, 2, 185, 6, QStringLiteral("'Pagina ' + PAGENUMBER + ' din ' + PAGECOUNT"))
        .right()
        .size(8);
}

void show(const QString &file, int year, const PayrollImportResult &result)
{
    const std::unique_ptr<ReportSource> source = rows(result);
    Report report;
    build(report, *source, file, year, result);
    userInteraction().showReport(report);
}

QByteArray csv(const PayrollTable &table, const PayrollImportResult &result)
{
    const QChar separator = table.separator.isNull() ? QChar(u';') : table.separator;
    QHash<int, size_t> byLine;
    for (size_t i = 0; i < table.rows.size() && i < table.lineNumbers.size(); ++i)
        byLine.insert(table.lineNumbers[i], i);
    auto fields = [](const PayrollRow &row) {
        QStringList f;
        for (const PayrollCell &cell : row)
            f << cellText(cell);
        return f;
    };
    const size_t width = table.rows.empty() ? 0 : table.rows.front().size();
    auto padded = [width](QStringList f) {
        while (size_t(f.size()) < width)
            f << QString();
        return f;
    };
    QString text;
    if (!table.rows.empty())
        text += csvLine(padded(fields(table.rows.front())) << QStringLiteral("Motivul"), separator);
    for (const PayrollOutcome &o : result.outcomes) {
        if (o.fate != PayrollOutcome::Fate::Refused)
            continue;
        const auto at = byLine.constFind(o.line);
        const QStringList cells = at == byLine.constEnd() ? QStringList() : fields(table.rows[*at]);
        text += csvLine(padded(cells) << oneLine(o.message), separator);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString exportCsv(const PayrollTable &table, const PayrollImportResult &result, const QDateTime &moment)
{
    const QString folder = Platform::inDataFolder(QStringLiteral("Export"));
    const QString path = SpreadsheetExport::fileName(folder,
                                                     QStringLiteral("Rînduri refuzate ")
                                                         + QFileInfo(table.path).completeBaseName(),
                                                     moment, QStringLiteral("csv"));
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || file.write(csv(table, result)) < 0
        || !file.commit())
        throw EE(QStringLiteral("Fișierul %1 nu poate fi scris.").arg(QDir::toNativeSeparators(path)));
    return path;
}

} // namespace PayrollRefusals
