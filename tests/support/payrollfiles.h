#pragma once
// Spreadsheet files for the payroll import tests, made the way the programs that write them lay
// them out: a zip archive of parts, an OpenDocument spreadsheet from its tables written as XML.

#include <QByteArray>
#include <QString>
#include <vector>

namespace PayrollFiles {

struct Member {
    QString name;
    QByteArray bytes;
    qint64 zeros = 0; // that many zero bytes after `bytes`, written without holding them
};

// A zip archive at `path` holding the members in their order, the first one stored (an .ods
// wants its "mimetype" so), the others deflated.
void writeZip(const QString &path, const std::vector<Member> &members);

// An .ods at `path` whose spreadsheet holds `tables`: table:table elements, with the prefixes
// office:, table: and text: declared.
void writeOds(const QString &path, const QString &tables);

} // namespace PayrollFiles
