#include "maintenance/payroll/payrollfile.h"
#include "data/ee.h"
#include "maintenance/payroll/payrollcolumns.h"
#include "maintenance/payroll/payrollcsv.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrollods.h"
#include "maintenance/payroll/payrollxlsx.h"
#include "maintenance/payroll/payrollzip.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// How far down a title above the header line may reach.
constexpr size_t kTitleLines = 10;

// The first `limit` bytes of the file; with `refuseLonger`, a file longer than that (grown since
// its size was looked at, too) is refused instead.
QByteArray head(const QString &path, qint64 limit, const QString &file, bool refuseLonger = false)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EE(PayrollMessages::unreadable(file, f.errorString()));
    QByteArray bytes;
    bytes.reserve(qsizetype(qMin(f.size(), limit)));
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = f.read(buffer, qMin<qint64>(sizeof buffer, limit + 1 - bytes.size()));
        if (n < 0)
            throw EE(PayrollMessages::unreadable(file, f.errorString()));
        if (n == 0)
            break;
        bytes.append(buffer, qsizetype(n));
        if (bytes.size() > limit) {
            if (refuseLonger)
                throw EE(PayrollMessages::tooLarge(file));
            bytes.truncate(qsizetype(limit));
            break;
        }
    }
    return bytes;
}

void readSpreadsheet(const QString &path, const QString &file, bool ods, const QString &sheet, PayrollTable *table)
{
    const QByteArray signature = head(path, 8, file);
    if (signature.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        throw EE(PayrollMessages::legacySpreadsheet(file));
    if (!signature.startsWith("PK"))
        throw EE(PayrollMessages::notSpreadsheet(file));
    PayrollZip zip(path, file);
    // What the archive holds decides, whatever the file's name says.
    const bool hasContent = !zip.find(QStringLiteral("content.xml")).isEmpty();
    const bool hasWorkbook = !zip.find(QStringLiteral("_rels/.rels")).isEmpty();
    if (hasContent && (ods || !hasWorkbook))
        PayrollOds::read(zip, file, sheet, table);
    else if (hasWorkbook || !zip.find(QStringLiteral("xl/workbook.xml")).isEmpty())
        PayrollXlsx::read(zip, file, sheet, table);
    else
        throw EE(PayrollMessages::notSpreadsheet(file));
}

bool namesPerson(const PayrollRow &row)
{
    const PayrollMapping mapping = PayrollColumns::recognise(row);
    return std::any_of(mapping.begin(), mapping.end(),
                       [](PayrollField f) { return f == PayrollField::Cpas || f == PayrollField::Idnp; });
}

// A title above the header is left out: the header is the first of the first lines that names
// a CPAS or IDNP column, or the first line when none does.
void dropTitle(PayrollTable *table)
{
    if (table->rows.empty() || namesPerson(table->rows.front()))
        return;
    for (size_t i = 1; i < table->rows.size() && i < kTitleLines; ++i) {
        if (namesPerson(table->rows[i])) {
            table->rows.erase(table->rows.begin(), table->rows.begin() + qsizetype(i));
            table->lineNumbers.erase(table->lineNumbers.begin(), table->lineNumbers.begin() + qsizetype(i));
            return;
        }
    }
}

} // namespace

namespace PayrollFile {

PayrollTable read(const QString &path, const QString &sheet)
{
    const QFileInfo info(path);
    const QString file = info.fileName();
    if (!info.exists() || !info.isFile())
        throw EE(PayrollMessages::missing(file));
    if (info.size() > PayrollLimits::kFileBytes)
        throw EE(PayrollMessages::tooLarge(file));
    const QString suffix = info.suffix().toLower();
    PayrollTable table;
    table.path = path;
    if (suffix == u"csv" || suffix == u"txt") {
        PayrollCsv::read(head(path, PayrollLimits::kFileBytes, file, true), file, &table);
    } else if (suffix == u"xlsx" || suffix == u"ods") {
        readSpreadsheet(path, file, suffix == u"ods", sheet, &table);
    } else {
        throw EE(PayrollMessages::unknownKind(file));
    }
    if (table.rows.empty())
        throw EE(PayrollMessages::empty(file));
    dropTitle(&table);
    if (table.rows.size() < 2)
        throw EE(PayrollMessages::headerOnly(file));
    return table;
}

} // namespace PayrollFile
