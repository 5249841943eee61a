#include "reports/spreadsheetexport.h"
#include "data/ee.h"
#include "data/recordset.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "reports/officesheet.h"
#include "reports/xlsxsheet.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace SpreadsheetExport {

bool isIdentityCode(const QString &displayName)
{
    const QString name = displayName.toUpper();
    return name == QLatin1String("AP_IDNP") || name == QLatin1String("AP_CPAS");
}

QVariant cell(RecordSet *set, int field, bool asText)
{
    const Field f = set->fieldByIndex(field);
    if (f.isNull())
        return {};
    const FieldType type = f.type();
    if (asText || isStringType(type) || type == FieldType::Time) {
        const QString text = f.displayText();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    if (type == FieldType::Date)
        return f.asDate();
    if (type == FieldType::DateTime)
        return f.asDateTime();
    if (type == FieldType::Boolean)
        return f.value().toBool() ? 1.0 : 0.0;
    return f.asFloat();
}

void write(RecordSet *set, SheetTarget &target)
{
    set->first();
    set->disableControls();
    const auto enable = qScopeGuard([set] { set->enableControls(); });

    std::vector<int> fields;
    std::vector<bool> asText;
    std::vector<QVariant> header;
    for (int i = 0; i < set->fieldCount(); ++i) {
        const FieldDef &def = set->fieldDef(i);
        if (!def.visible)
            continue;
        fields.push_back(i);
        header.push_back(def.displayName());
        asText.push_back(isIdentityCode(def.displayName()));
        if (asText.back())
            target.setTextColumn(int(fields.size()));
    }
    target.setBoldRow(2);
    target.writeRow(2, header);

    std::vector<QVariant> cells(fields.size());
    int row = 3;
    for (; !set->eof(); set->next(), ++row) {
        for (size_t c = 0; c < fields.size(); ++c)
            cells[c] = cell(set, fields[c], asText[c]);
        target.writeRow(row, cells);
    }
    target.fitColumns();
}

QString fileName(const QString &folder, const QString &name, const QDateTime &moment, const QString &extension)
{
    QString base = name.trimmed();
    for (QChar &c : base)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>'
            || c == u'|' || c.unicode() < 32)
            c = u'_';
    if (base.isEmpty())
        base = QStringLiteral("Export");
    base += u' ' + moment.toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString path = folder + u'/' + base + u'.' + extension;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + u'/' + base + QStringLiteral(" (%1).").arg(n) + extension;
    return path;
}

} // namespace SpreadsheetExport

void ExportToExcel(RecordSet *set, const QString &templatePath, const QString &reportName)
{
    WaitCursor wait;
    const bool fromTemplate = !templatePath.isEmpty() && QFileInfo(templatePath).isFile();
    std::unique_ptr<OfficeSheet> office;
    // An office built to run without a display cannot show the document on a desktop: it is
    // passed over at once, like a missing one.
    const bool visible = userInteraction().windowsCanBeSeen();
    try {
        if (!visible || OfficeSheet::canShowWindows())
            office = OfficeSheet::open(fromTemplate ? templatePath : QString(), visible);
    } catch (const EE &) {
        // An office that cannot make the document is passed over like a missing one.
    }
    if (office) {
        SpreadsheetExport::write(set, *office);
        office->show();
        if (fromTemplate)
            office->runMacro(QStringLiteral("macro1"));
        return;
    }

    // Without an office the sheet becomes an .xlsx file, opened in the desktop's application.
    const QString folder = Platform::inDataFolder(QStringLiteral("Export"));
    if (!QDir().mkpath(folder))
        throw EE(SpreadsheetExport::kNoSpreadsheet);
    const QString path = SpreadsheetExport::fileName(folder, reportName.isEmpty() ? set->name() : reportName,
                                                     Clock::now());
    {
        XlsxSheet sheet(path);
        SpreadsheetExport::write(set, sheet);
        sheet.save();
    }
    if (!userInteraction().openDocument(path))
        userInteraction().inform(QStringLiteral("Foaia de calcul a fost salvata in fisierul ") + path);
}
