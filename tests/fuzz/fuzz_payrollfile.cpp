// Whatever bytes the fuzzer makes, read as a payroll file: a text file, a workbook or an
// OpenDocument spreadsheet by its first byte ('c', 't', 'x' and 'o' in the seeds, any other byte
// by its value), then its header recognised and its lines read, with the recognised columns and
// with columns chosen from the bytes. A refusal (EE) is an answer; anything else is a fault.

#include "data/ee.h"
#include "maintenance/payroll/payrollcolumns.h"
#include "maintenance/payroll/payrollfile.h"
#include "maintenance/payroll/payrollline.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory where the system offers it: the files are written and read a million times.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/payrollfile_fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/payrollfile_fuzz-XXXXXX"));
    static const char *const suffixes[] = {"csv", "txt", "xlsx", "ods"};
    if (size == 0 || !folder.isValid())
        return 0;
    int kind = data[0] % 4;
    switch (data[0]) {
    case 'c':
        kind = 0;
        break;
    case 't':
        kind = 1;
        break;
    case 'x':
        kind = 2;
        break;
    case 'o':
        kind = 3;
        break;
    }
    const QString path = folder.filePath(QStringLiteral("salarii.") + QLatin1String(suffixes[kind]));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data) + 1, qint64(size) - 1);
    }
    try {
        const PayrollTable table = PayrollFile::read(path);
        const PayrollMapping recognised = PayrollColumns::recognise(table.rows.front());
        try {
            PayrollColumns::requireUsable(recognised);
        } catch (const EE &) { }
        PayrollLines::parse(table, recognised, 2024);
        // Every field tried on some column: the bytes at the end of the input choose them.
        const std::vector<PayrollField> fields = PayrollColumns::all();
        PayrollMapping chosen(table.rows.front().size());
        for (size_t i = 0; i < chosen.size(); ++i)
            chosen[i] = fields[data[size - 1 - (i % size)] % fields.size()];
        PayrollLines::parse(table, chosen, 2024);
    } catch (const EE &) { }
    return 0;
}
