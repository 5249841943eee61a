#pragma once
// The classifier files the authority ships: one table's field definitions and rows in the
// record-set data packet format, binary or XML. Read by content, written for tests and users.

#include "data/fielddef.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <vector>

class RecordSet;

namespace DataPacket {

enum class Format { Binary, Xml };

struct Packet {
    std::vector<FieldDef> fields; // data fields only: name, type, size, required
    std::vector<std::vector<QVariant>> rows;
};

// A field definition as a file carries it.
FieldDef makeField(const QString &name, FieldType type, int size = 0, bool required = false);

// The first bytes of a binary packet: 96 19 E0 BD.
inline constexpr quint32 kSignature = 0xBDE01996u;

// Reads a whole packet, binary or XML by its first bytes: the rows of its data set (the original
// and deleted rows of a change log left out). A file that is neither, that has no fields, that
// ends before its last row or counts fewer rows than it holds, or whose counts are more than its
// bytes can hold, raises EE with a Romanian message naming `fileName`; nothing is kept.
Packet parse(const QByteArray &bytes, const QString &fileName);
// Reads the file; a file that cannot be opened, or larger than any classifier (8 MB), is
// refused the same way.
Packet read(const QString &path);

QByteArray serialize(const Packet &packet, Format format);
// Writes through QSaveFile: a failed write leaves no half file behind. Raises EE on failure.
void write(const QString &path, const Packet &packet, Format format);

// The stored fields and visible rows of a record set, and the reverse: the set takes the
// packet's fields and rows (a row the set refuses leaves it empty and raises). Pass a packet
// that is no longer needed with std::move: its rows are let go as the set takes them.
Packet fromRecordSet(RecordSet &set);
void intoRecordSet(Packet packet, RecordSet &set);

// A short type name for listings: "string", "integer", "float", "date" ...
QString typeName(FieldType type);

// The Romanian refusals, shared by the readers and their callers.
QString notAPacketMessage(const QString &fileName);
QString cutShortMessage(const QString &fileName);
QString noFieldsMessage(const QString &fileName);
QString tooLargeMessage(const QString &fileName);

} // namespace DataPacket
