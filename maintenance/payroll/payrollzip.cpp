#include "maintenance/payroll/payrollzip.h"
#include "data/ee.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

using Archive = std::unique_ptr<struct archive, decltype(&archive_read_free)>;

QString reason(struct archive *a)
{
    const char *s = archive_error_string(a);
    return s ? QString::fromLocal8Bit(s) : QStringLiteral("arhiva nu poate fi citită");
}

Archive open(const QString &path, const QString &file)
{
    Archive a(archive_read_new(), &archive_read_free);
    // The central directory is read, as the spreadsheet programs read it.
    archive_read_support_format_zip_seekable(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 1 << 16) != ARCHIVE_OK)
        throw EE(PayrollMessages::notSpreadsheet(file));
    return a;
}

QString entryName(struct archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *name = archive_entry_pathname(entry);
    return name ? QString::fromLocal8Bit(name) : QString();
}

} // namespace

PayrollZip::PayrollZip(const QString &path, const QString &file) : m_path(path), m_file(file)
{
    Archive a = open(path, file);
    struct archive_entry *entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            throw EE(m_names.isEmpty() ? PayrollMessages::notSpreadsheet(file)
                                       : PayrollMessages::damaged(file, reason(a.get())));
        if (m_names.size() >= PayrollLimits::kMembers)
            throw EE(PayrollMessages::damaged(file, QStringLiteral("are peste %1 de părți")
                                                        .arg(PayrollMessages::grouped(PayrollLimits::kMembers))));
        if (archive_entry_filetype(entry) == AE_IFREG)
            m_names.append(entryName(entry));
    }
}

QString PayrollZip::find(const QString &name) const
{
    if (m_names.contains(name))
        return name;
    for (const QString &n : m_names) {
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            return n;
    }
    return QString();
}

QByteArray PayrollZip::read(const QString &name)
{
    const QString wanted = find(name);
    if (wanted.isEmpty())
        return QByteArray();
    Archive a = open(m_path, m_file);
    struct archive_entry *entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            return QByteArray();
        if (r < ARCHIVE_WARN)
            throw EE(PayrollMessages::damaged(m_file, reason(a.get())));
        if (archive_entry_filetype(entry) == AE_IFREG && entryName(entry) == wanted)
            break;
    }
    if (archive_entry_is_encrypted(entry))
        throw EE(PayrollMessages::legacySpreadsheet(m_file));
    // A zip archive says how large each part is; a part larger than the bound is refused before
    // it is unpacked, and one that unpacks to more than it says is damaged, so that the memory
    // taken is the size declared and no more.
    const bool declared = archive_entry_size_is_set(entry);
    const la_int64_t size = declared ? archive_entry_size(entry) : 0;
    if (size > PayrollLimits::kMemberBytes || m_unpacked + size > PayrollLimits::kUnpackedBytes)
        throw EE(PayrollMessages::partTooLarge(m_file, wanted));
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    char buffer[1 << 16];
    for (;;) {
        const la_ssize_t n = archive_read_data(a.get(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0)
            throw EE(PayrollMessages::damaged(m_file, reason(a.get())));
        if (declared && bytes.size() + n > size)
            throw EE(
                PayrollMessages::damaged(m_file,
                                         QStringLiteral("partea „%1” are mai mult decît spune arhiva").arg(wanted)));
        if (bytes.size() + n > PayrollLimits::kMemberBytes || m_unpacked + n > PayrollLimits::kUnpackedBytes)
            throw EE(PayrollMessages::partTooLarge(m_file, wanted));
        bytes.append(buffer, n);
        m_unpacked += n;
    }
    return bytes;
}
