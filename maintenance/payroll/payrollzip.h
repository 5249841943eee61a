#pragma once
// The parts of a spreadsheet file (.xlsx and .ods are zip archives), unpacked one at a time and
// only as far as the bounds allow: the sizes an archive declares are not trusted, the bytes are
// counted as they come out.

#include <QByteArray>
#include <QString>
#include <QStringList>

class PayrollZip
{
public:
    // Lists the parts of the archive at `path`; `file` names it in the refusals. Raises EE
    // when it is no zip archive or is damaged.
    PayrollZip(const QString &path, const QString &file);

    const QStringList &names() const { return m_names; }
    // The name of the part as the archive spells it, found without regard to case; empty when
    // there is none.
    QString find(const QString &name) const;
    // The part's bytes; raises EE when it cannot be unpacked, or when it (or all parts read so
    // far together) would pass the bounds. An empty array when there is no such part.
    QByteArray read(const QString &name);

private:
    QString m_path, m_file;
    QStringList m_names;
    qint64 m_unpacked = 0;
};
