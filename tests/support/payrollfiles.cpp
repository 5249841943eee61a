#include "tests/support/payrollfiles.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <stdexcept>

namespace PayrollFiles {

void writeZip(const QString &path, const std::vector<Member> &members)
{
    struct archive *a = archive_write_new();
    auto check = [&](bool ok) {
        if (!ok)
            throw std::runtime_error(archive_error_string(a) ? archive_error_string(a) : "zip");
    };
    check(archive_write_set_format_zip(a) == ARCHIVE_OK);
    check(archive_write_open_filename(a, QFile::encodeName(path).constData()) == ARCHIVE_OK);
    bool first = true;
    const QByteArray block(1 << 20, '\0');
    for (const Member &m : members) {
        check((first ? archive_write_zip_set_compression_store(a) : archive_write_zip_set_compression_deflate(a))
              == ARCHIVE_OK);
        first = false;
        struct archive_entry *e = archive_entry_new();
        archive_entry_set_pathname_utf8(e, m.name.toUtf8().constData());
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, m.bytes.size() + m.zeros);
        check(archive_write_header(a, e) == ARCHIVE_OK);
        check(archive_write_data(a, m.bytes.constData(), size_t(m.bytes.size())) == m.bytes.size());
        for (qint64 left = m.zeros; left > 0; left -= block.size())
            check(archive_write_data(a, block.constData(), size_t(qMin<qint64>(left, block.size()))) > 0);
        archive_entry_free(e);
    }
    check(archive_write_close(a) == ARCHIVE_OK);
    archive_write_free(a);
}

void writeOds(const QString &path, const QString &tables)
{
    const QString content
        = QStringLiteral(
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
              "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
              "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
              "<office:body><office:spreadsheet>%1</office:spreadsheet></office:body></office:document-content>")
              .arg(tables);
    const QByteArray manifest
        = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
          "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
          "manifest:version=\"1.2\"><manifest:file-entry manifest:full-path=\"/\" "
          "manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/><manifest:file-entry "
          "manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/></manifest:manifest>";
    writeZip(path, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
                    {QStringLiteral("content.xml"), content.toUtf8()},
                    {QStringLiteral("META-INF/manifest.xml"), manifest}});
}

} // namespace PayrollFiles
