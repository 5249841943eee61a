#include "data/datapacket.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/recordset.h"
#include "data/win1250.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>
#include <cstring>
#include <limits>

namespace DataPacket {

namespace {

// The most a classifier file may weigh: the longest one, ten thousand professions, takes half a
// megabyte as XML. Within the bounds below, rows read cost some sixty times their bytes at worst
// (millions of rows of a null each), so this also bounds the memory a file can take.
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

// Whether a packet would hold more values (fields by rows, nulls included) than one a byte of its
// file, beyond a margin for small files. A row that stores a value spends a byte on it at least,
// but a null costs an XML row nothing and a binary row two bits, so that a small file could
// otherwise stand for millions of nulls.
bool tooManyValues(qsizetype fields, qsizetype rows, qsizetype fileSize)
{
    constexpr qsizetype kMargin = 65536;
    return fields > 0 && rows > (fileSize + kMargin) / fields;
}

// ---------------------------------------------------------------- binary layout
//
// Little-endian throughout.
//   header (24 bytes): u32 signature, u16 major version, u16 minor version, u32 header size,
//                      u16 field count, u32 row count, u32 packet properties (1 metadata
//                      included, 2 the u16 at offset 22 holds where the rows start), that u16
//   field descriptor:  u8 name length, name, u32 field type, u16 attributes, u16 property
//                      count, the properties
//   field type:        low u16 the size, high u16 the base type ORed with flags (kVarying: the
//                      value has a length prefix; 0x80 and above: arrays, composite and pseudo
//                      fields, which no classifier has).
//                      The size of a fixed value is its width in bytes; of a varying one, the
//                      bytes of its length prefix (1, 2 or 4). The width of a text field is its
//                      WIDTH property; SUBTYPE tells money, fixed text and memo text apart.
//   then u16 count of the packet's properties, and those properties
//   property:          u8 name length, name, u32 type as above (the size is the value's), the
//                      value's bytes
//   row: u8 row status, 2 bits per field, four a byte from the lowest bits (0 a value follows,
//        1 or 3 null, 2 unchanged: the value of the original row before it), then the values
//        of the fields that have one. Original, deleted and unused rows are not in the data set.

constexpr quint16 kInt = 1, kUInt = 2, kBool = 3, kFloat = 4, kDate = 6, kTime = 7, kTimestamp = 8, kZString = 9,
                  kUnicode = 10, kBytes = 11;
constexpr quint16 kVarying = 0x40;
constexpr quint16 kBaseMask = 0x3F;
constexpr quint16 kAttrRequired = 0x0004;
constexpr quint32 kMetadataIncluded = 1, kDataOffsetGiven = 2;
constexpr quint8 kRowOriginal = 0x01, kRowDeleted = 0x02, kRowUnused = 0x20;
constexpr int kFlagValue = 0, kFlagUnchanged = 2;
// The least a field descriptor takes: name length, a one-byte name, type, attributes, property
// count.
constexpr qsizetype kMinDescriptor = 1 + 1 + 4 + 2 + 2;
// Day number of 01.01.0001 when days are counted from 1 on that day, as the format does.
const QDate kDayOne(1, 1, 1);
constexpr double kMsPerDay = 86400000.0;

// How the values of one field are stored.
struct Storage {
    quint16 base = 0;
    bool varying = false;
    quint16 size = 0; // width of a fixed value, or bytes of a varying value's length prefix
};

class Reader
{
public:
    Reader(const QByteArray &b, const QString &fileName) : m_b(b), m_file(fileName) { }

    const char *take(qsizetype n)
    {
        if (n < 0 || n > remaining())
            throw EE(cutShortMessage(m_file));
        const char *p = m_b.constData() + m_pos;
        m_pos += n;
        return p;
    }
    template <typename T> T get()
    {
        T v;
        std::memcpy(&v, take(sizeof(T)), sizeof(T)); // the machine is little-endian, as the format
        return v;
    }
    QByteArray bytes(qsizetype n) { return QByteArray(take(n), n); }
    // An unsigned number of 1, 2 or 4 bytes.
    quint32 unsignedOf(int size) { return size == 1 ? get<quint8>() : size == 2 ? get<quint16>() : get<quint32>(); }
    qsizetype remaining() const { return m_b.size() - m_pos; }
    qsizetype position() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }

private:
    const QByteArray &m_b;
    QString m_file;
    qsizetype m_pos = 0;
};

template <typename T> void put(QByteArray &out, T v)
{
    out.append(reinterpret_cast<const char *>(&v), sizeof(T));
}

struct Property {
    QByteArray name;
    quint16 base;
    QByteArray value;
};

Property readProperty(Reader &r)
{
    Property p;
    p.name = r.bytes(r.get<quint8>());
    const quint16 size = r.get<quint16>();
    p.base = r.get<quint16>();
    p.value = r.bytes(size);
    return p;
}

void writeProperty(QByteArray &out, const QByteArray &name, quint16 base, const QByteArray &value)
{
    put<quint8>(out, quint8(name.size()));
    out.append(name);
    put<quint16>(out, quint16(value.size()));
    put<quint16>(out, base);
    out.append(value);
}

// The number a WIDTH property holds: an integer of 1, 2 or 4 bytes.
int widthOf(const Property &p, const QString &fileName)
{
    const int size = int(p.value.size());
    if ((p.base != kUInt && p.base != kInt) || (size != 1 && size != 2 && size != 4))
        throw EE(notAPacketMessage(fileName));
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | quint8(p.value[i]);
    if (v > 0xFFFF)
        throw EE(notAPacketMessage(fileName));
    return int(v);
}

// The field a stored type makes, before its properties; a type no classifier has is refused.
FieldType fieldTypeOf(const Storage &s, const QString &fileName)
{
    const auto refuse = [&]() -> FieldType { throw EE(notAPacketMessage(fileName)); };
    if (s.varying) {
        if (s.size != 1 && s.size != 2 && s.size != 4)
            return refuse();
        switch (s.base) {
        case kZString:
            return FieldType::String;
        case kUnicode:
            return FieldType::WideString;
        case kBytes:
            return FieldType::Memo;
        default:
            return refuse();
        }
    }
    switch (s.base) {
    case kInt:
    case kUInt:
        return s.size == 1 || s.size == 2 ? FieldType::SmallInt
               : s.size == 4              ? FieldType::Integer
               : s.size == 8              ? FieldType::LargeInt
                                          : refuse();
    case kBool:
        return s.size == 1 || s.size == 2 || s.size == 4 ? FieldType::Boolean : refuse();
    case kFloat:
        return s.size == 4 || s.size == 8 ? FieldType::Float : refuse();
    case kDate:
        return s.size == 4 ? FieldType::Date : refuse();
    case kTime:
        return s.size == 4 ? FieldType::Time : refuse();
    case kTimestamp:
        return s.size == 8 ? FieldType::DateTime : refuse();
    case kZString:
        return s.size > 0 ? FieldType::String : refuse();
    case kUnicode:
        return s.size > 0 && s.size % 2 == 0 ? FieldType::WideString : refuse();
    case kBytes:
        return s.size > 0 ? FieldType::Memo : refuse();
    default:
        return refuse();
    }
}

QString fromUtf16(const QByteArray &b)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(b.constData()), b.size() / 2);
}

QVariant readValue(Reader &r, const Storage &s, const QString &fileName)
{
    if (s.varying) {
        const QByteArray b = r.bytes(qsizetype(r.unsignedOf(s.size)));
        return s.base == kUnicode ? QVariant(fromUtf16(b)) : QVariant(Win1250::decode(b));
    }
    switch (s.base) {
    case kInt:
        switch (s.size) {
        case 1:
            return int(r.get<qint8>());
        case 2:
            return int(r.get<qint16>());
        case 4:
            return int(r.get<qint32>());
        default:
            return qint64(r.get<qint64>());
        }
    case kUInt:
        switch (s.size) {
        case 1:
            return int(r.get<quint8>());
        case 2:
            return int(r.get<quint16>());
        case 4:
            return qint64(r.get<quint32>());
        default: {
            const quint64 v = r.get<quint64>();
            if (v > quint64(std::numeric_limits<qint64>::max()))
                throw EE(notAPacketMessage(fileName));
            return qint64(v);
        }
        }
    case kBool:
        return r.unsignedOf(s.size) != 0;
    case kFloat:
        return s.size == 4 ? double(r.get<float>()) : r.get<double>();
    case kDate:
        return kDayOne.addDays(qint64(r.get<qint32>()) - 1);
    case kTime:
        return QTime(0, 0).addMSecs(r.get<qint32>());
    case kTimestamp: {
        const double ms = r.get<double>();
        if (!std::isfinite(ms) || std::abs(ms) > 1e17)
            throw EE(notAPacketMessage(fileName));
        const qint64 days = qint64(ms / kMsPerDay);
        const qint64 rest = qint64(ms - double(days) * kMsPerDay + 0.5);
        return QDateTime(kDayOne.addDays(days - 1), QTime(0, 0).addMSecs(int(rest)));
    }
    case kUnicode: { // fixed width: the text ends at its first zero
        const QString text = fromUtf16(r.bytes(s.size));
        const qsizetype zero = text.indexOf(QChar(0));
        return zero < 0 ? text : text.left(zero);
    }
    default: { // fixed-width text or bytes, ended by their first zero
        const QByteArray b = r.bytes(s.size);
        const qsizetype zero = b.indexOf('\0');
        return Win1250::decode(zero < 0 ? b : b.left(zero));
    }
    }
}

QDate dateOf(const QVariant &v)
{
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

// A value of a varying field as its bytes.
QByteArray varyingBytes(const FieldDef &f, const QVariant &v)
{
    if (f.type == FieldType::WideString) {
        const QString s = v.toString();
        return QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
    }
    return Win1250::encodeOrThrow(v.toString());
}

// How a field is stored, and the width that its WIDTH property gives (the bytes of its longest
// value when that is more than the field's size, so that every value fits its length prefix).
Storage storageOf(const FieldDef &f, int longest, int *width)
{
    *width = 0;
    switch (f.type) {
    case FieldType::SmallInt:
        return {kInt, false, 2};
    case FieldType::Integer:
        return {kInt, false, 4};
    case FieldType::LargeInt:
        return {kInt, false, 8};
    case FieldType::Float:
    case FieldType::Currency:
        return {kFloat, false, 8};
    case FieldType::Date:
        return {kDate, false, 4};
    case FieldType::Time:
        return {kTime, false, 4};
    case FieldType::DateTime:
        return {kTimestamp, false, 8};
    case FieldType::Boolean:
        return {kBool, false, 2};
    case FieldType::Memo:
        return {kBytes, true, 4};
    case FieldType::WideString:
        *width = qMax(qMax(2, f.size * 2), longest);
        break;
    default:
        *width = qMax(qMax(1, f.size), longest);
        break;
    }
    if (*width > 0xFFFF)
        throw EE(
            QStringLiteral("Valoarea campului \"%1\" este prea lunga pentru un fisier de clasificator !").arg(f.name));
    return {f.type == FieldType::WideString ? kUnicode : kZString, true, quint16(*width < 255 ? 1 : 2)};
}

void writeValue(QByteArray &out, const FieldDef &f, const Storage &s, const QVariant &v)
{
    if (s.varying) {
        const QByteArray b = varyingBytes(f, v);
        if (s.size == 1)
            put<quint8>(out, quint8(b.size()));
        else if (s.size == 2)
            put<quint16>(out, quint16(b.size()));
        else
            put<quint32>(out, quint32(b.size()));
        out.append(b);
        return;
    }
    switch (f.type) {
    case FieldType::SmallInt:
        put<qint16>(out, qint16(v.toInt()));
        break;
    case FieldType::Integer:
        put<qint32>(out, qint32(v.toLongLong()));
        break;
    case FieldType::LargeInt:
        put<qint64>(out, v.toLongLong());
        break;
    case FieldType::Boolean:
        put<quint16>(out, v.toBool() ? 1 : 0);
        break;
    case FieldType::Date:
        put<qint32>(out, qint32(kDayOne.daysTo(dateOf(v)) + 1));
        break;
    case FieldType::Time:
        put<qint32>(out, qint32(QTime(0, 0).msecsTo(v.toTime())));
        break;
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        put<double>(out, double(kDayOne.daysTo(dt.date()) + 1) * kMsPerDay + QTime(0, 0).msecsTo(dt.time()));
        break;
    }
    default:
        put<double>(out, v.toDouble());
        break;
    }
}

// The SUBTYPE property that tells money from other floating values, fixed from varying text,
// and text from other bytes.
QByteArray subtypeOf(FieldType t)
{
    return t == FieldType::Currency    ? QByteArray("Money")
           : t == FieldType::FixedChar ? QByteArray("FixedChar")
           : t == FieldType::Memo      ? QByteArray("Text")
                                       : QByteArray();
}

// Two fields of one name would make the merge's statements ambiguous.
void refuseRepeatedName(QSet<QString> &names, const QString &name, const QString &fileName)
{
    const QString key = name.toLower();
    if (names.contains(key))
        throw EE(notAPacketMessage(fileName));
    names.insert(key);
}

Packet parseBinary(const QByteArray &bytes, const QString &fileName)
{
    Reader r(bytes, fileName);
    if (r.get<quint32>() != kSignature)
        throw EE(notAPacketMessage(fileName));
    r.get<quint16>(); // major version
    r.get<quint16>(); // minor version
    r.get<quint32>(); // header size
    const quint16 fieldCount = r.get<quint16>();
    const quint32 rowCount = r.get<quint32>();
    const quint32 packetProperties = r.get<quint32>();
    const quint16 dataOffset = r.get<quint16>();
    if (fieldCount == 0)
        throw EE(noFieldsMessage(fileName));
    if (qsizetype(fieldCount) * kMinDescriptor > r.remaining())
        throw EE(cutShortMessage(fileName));
    Packet p;
    std::vector<Storage> storage;
    QSet<QString> names;
    for (int i = 0; i < fieldCount; ++i) {
        FieldDef f;
        f.name = Win1250::decode(r.bytes(r.get<quint8>()));
        Storage s;
        s.size = r.get<quint16>();
        const quint16 type = r.get<quint16>();
        s.base = type & kBaseMask;
        s.varying = (type & kVarying) != 0;
        if (type & ~(kBaseMask | kVarying)) // arrays, composite and pseudo fields
            throw EE(notAPacketMessage(fileName));
        f.required = (r.get<quint16>() & kAttrRequired) != 0;
        f.type = fieldTypeOf(s, fileName);
        int width = s.varying ? 0 : s.size;
        const quint16 props = r.get<quint16>();
        for (int k = 0; k < props; ++k) {
            const Property prop = readProperty(r);
            if (prop.name == "WIDTH")
                width = widthOf(prop, fileName);
            else if (prop.name == "SUBTYPE" && prop.value.startsWith("Money") && f.type == FieldType::Float)
                f.type = FieldType::Currency;
            else if (prop.name == "SUBTYPE" && prop.value.startsWith("FixedChar") && f.type == FieldType::String)
                f.type = FieldType::FixedChar;
        }
        f.size = f.type == FieldType::WideString                                 ? width / 2
                 : f.type == FieldType::String || f.type == FieldType::FixedChar ? width
                                                                                 : 0;
        if (f.name.isEmpty())
            throw EE(notAPacketMessage(fileName));
        refuseRepeatedName(names, f.name, fileName);
        p.fields.push_back(f);
        storage.push_back(s);
    }
    const qsizetype packetPropertiesAt = r.position();
    if (packetProperties & kDataOffsetGiven) {
        // The rows start where the header says, after packet properties not read here.
        if (dataOffset < packetPropertiesAt + 2)
            throw EE(notAPacketMessage(fileName));
        if (dataOffset > bytes.size())
            throw EE(cutShortMessage(fileName));
        r.seek(dataOffset);
    } else {
        const quint16 count = r.get<quint16>();
        for (int k = 0; k < count; ++k)
            readProperty(r);
    }
    // Every stored row takes its status and flag bytes at least.
    const qsizetype flagBytes = (fieldCount * 2 + 7) / 8;
    if (qsizetype(rowCount) > r.remaining() / (1 + flagBytes))
        throw EE(cutShortMessage(fileName));
    if (tooManyValues(fieldCount, qsizetype(rowCount), bytes.size()))
        throw EE(notAPacketMessage(fileName));
    std::vector<QVariant> original; // of the modified row that follows it
    bool hasOriginal = false;
    for (quint32 row = 0; row < rowCount; ++row) {
        const quint8 status = r.get<quint8>();
        const char *flags = r.take(flagBytes);
        std::vector<QVariant> values(fieldCount);
        for (int i = 0; i < fieldCount; ++i) {
            const int flag = (quint8(flags[i / 4]) >> ((i % 4) * 2)) & 3;
            if (flag == kFlagValue) {
                values[size_t(i)] = readValue(r, storage[size_t(i)], fileName);
            } else if (flag == kFlagUnchanged) {
                if (!hasOriginal)
                    throw EE(notAPacketMessage(fileName));
                values[size_t(i)] = original[size_t(i)];
            }
        }
        if (status & kRowOriginal) {
            original = std::move(values);
            hasOriginal = true;
            continue;
        }
        hasOriginal = false;
        if (!(status & (kRowDeleted | kRowUnused)))
            p.rows.push_back(std::move(values));
    }
    if (r.remaining() > 0) // more rows than the header counts, or something else
        throw EE(notAPacketMessage(fileName));
    // A text field whose width the file does not give is as wide as its longest value.
    for (size_t i = 0; i < p.fields.size(); ++i)
        if (isStringType(p.fields[i].type) && p.fields[i].type != FieldType::Memo && p.fields[i].size == 0) {
            int longest = 1;
            for (const auto &row : p.rows)
                longest = qMax(longest, int(row[i].toString().size()));
            p.fields[i].size = longest;
        }
    return p;
}

QByteArray serializeBinary(const Packet &p)
{
    const int n = int(p.fields.size());
    std::vector<Storage> storage;
    std::vector<int> widths;
    for (int i = 0; i < n; ++i) {
        const FieldDef &f = p.fields[size_t(i)];
        int longest = 0;
        if (isStringType(f.type) && f.type != FieldType::Memo)
            for (const auto &row : p.rows)
                if (size_t(i) < row.size() && !row[size_t(i)].isNull())
                    longest = qMax(longest, int(varyingBytes(f, row[size_t(i)]).size()));
        int width = 0;
        storage.push_back(storageOf(f, longest, &width));
        widths.push_back(width);
    }
    QByteArray out;
    put<quint32>(out, kSignature);
    put<quint16>(out, 1);  // major version
    put<quint16>(out, 0);  // minor version
    put<quint32>(out, 18); // header size
    put<quint16>(out, quint16(n));
    put<quint32>(out, quint32(p.rows.size()));
    const qsizetype propertiesAt = out.size();
    put<quint32>(out, kMetadataIncluded | kDataOffsetGiven);
    const qsizetype offsetAt = out.size();
    put<quint16>(out, 0); // where the rows start, known at the header's end
    for (int i = 0; i < n; ++i) {
        const FieldDef &f = p.fields[size_t(i)];
        const Storage &s = storage[size_t(i)];
        const QByteArray name = Win1250::encodeOrThrow(f.name).left(255);
        put<quint8>(out, quint8(name.size()));
        out.append(name);
        put<quint16>(out, s.size);
        put<quint16>(out, quint16(s.base | (s.varying ? kVarying : 0)));
        put<quint16>(out, f.required ? kAttrRequired : 0);
        const QByteArray subtype = subtypeOf(f.type);
        const int width = widths[size_t(i)];
        put<quint16>(out, quint16((width > 0 ? 1 : 0) + (subtype.isEmpty() ? 0 : 1)));
        if (width > 0) {
            QByteArray value;
            put<quint16>(value, quint16(width));
            writeProperty(out, "WIDTH", kUInt, value);
        }
        if (!subtype.isEmpty())
            writeProperty(out, "SUBTYPE", kZString, subtype);
    }
    put<quint16>(out, 0); // no properties of the packet
    if (out.size() <= 0xFFFF) {
        const quint16 offset = quint16(out.size());
        std::memcpy(out.data() + offsetAt, &offset, sizeof offset);
    } else { // too far for the header to say: the rows follow the packet's properties
        const quint32 properties = kMetadataIncluded;
        std::memcpy(out.data() + propertiesAt, &properties, sizeof properties);
    }
    for (const auto &row : p.rows) {
        put<quint8>(out, 0);
        QByteArray flags((n * 2 + 7) / 8, '\0');
        for (int i = 0; i < n; ++i)
            if (size_t(i) >= row.size() || row[size_t(i)].isNull())
                flags[i / 4] = char(quint8(flags[i / 4]) | (1 << ((i % 4) * 2)));
        out.append(flags);
        for (int i = 0; i < n; ++i)
            if (size_t(i) < row.size() && !row[size_t(i)].isNull())
                writeValue(out, p.fields[size_t(i)], storage[size_t(i)], row[size_t(i)]);
    }
    return out;
}

// ---------------------------------------------------------------- XML form

struct XmlType {
    const char *name;
    const char *subtype;
};

XmlType xmlType(FieldType t)
{
    switch (t) {
    case FieldType::SmallInt:
        return {"i2", nullptr};
    case FieldType::Integer:
        return {"i4", nullptr};
    case FieldType::LargeInt:
        return {"i8", nullptr};
    case FieldType::Float:
        return {"r8", nullptr};
    case FieldType::Currency:
        return {"r8", "Money"};
    case FieldType::Date:
        return {"date", nullptr};
    case FieldType::DateTime:
        return {"dateTime", nullptr};
    case FieldType::Time:
        return {"time", nullptr};
    case FieldType::Boolean:
        return {"boolean", nullptr};
    case FieldType::WideString:
        return {"string.uni", nullptr};
    case FieldType::FixedChar:
        return {"string", "FixedChar"};
    case FieldType::Memo:
        return {"bin.hex", "Text"};
    default:
        return {"string", nullptr};
    }
}

QString xmlValue(const FieldDef &f, const QVariant &v)
{
    switch (f.type) {
    case FieldType::Float:
    case FieldType::Currency:
        return QString::number(v.toDouble(), 'g', 17);
    case FieldType::Date:
        return dateOf(v).toString(QStringLiteral("yyyyMMdd"));
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyyMMdd'T'hh:mm:sszzz"));
    case FieldType::Time:
        return v.toTime().toString(QStringLiteral("hh:mm:sszzz"));
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case FieldType::Memo:
        return QString::fromLatin1(Win1250::encodeOrThrow(v.toString()).toHex().toUpper());
    default:
        return v.toString();
    }
}

QVariant parseXmlValue(const FieldDef &f, const QString &text, const QString &fileName)
{
    bool ok = true;
    QVariant v;
    switch (f.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        v = text.trimmed().toInt(&ok);
        break;
    case FieldType::LargeInt:
        v = text.trimmed().toLongLong(&ok);
        break;
    case FieldType::Float:
    case FieldType::Currency:
        v = text.trimmed().toDouble(&ok);
        break;
    case FieldType::Date: {
        const QDate d = QDate::fromString(text.trimmed().left(8), QStringLiteral("yyyyMMdd"));
        ok = d.isValid();
        v = d;
        break;
    }
    case FieldType::DateTime: {
        const QString t = text.trimmed();
        const QDate d = QDate::fromString(t.left(8), QStringLiteral("yyyyMMdd"));
        QTime time(0, 0);
        if (t.size() > 9) {
            time = QTime::fromString(t.mid(9, 8), QStringLiteral("hh:mm:ss"));
            if (time.isValid() && t.size() > 17)
                time = time.addMSecs(t.mid(17, 3).toInt());
        }
        ok = d.isValid() && time.isValid();
        v = QDateTime(d, time);
        break;
    }
    case FieldType::Time: {
        QTime time = QTime::fromString(text.trimmed().left(8), QStringLiteral("hh:mm:ss"));
        ok = time.isValid();
        if (ok && text.trimmed().size() > 8)
            time = time.addMSecs(text.trimmed().mid(8, 3).toInt());
        v = time;
        break;
    }
    case FieldType::Boolean:
        v = text.trimmed().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
        break;
    case FieldType::Memo:
        v = Win1250::decode(QByteArray::fromHex(text.toLatin1()));
        break;
    default:
        v = text;
        break;
    }
    if (!ok)
        throw EE(notAPacketMessage(fileName));
    return v;
}

FieldType fieldTypeOfXml(const QString &type, const QString &subtype, const QString &fileName)
{
    const QString t = type.toLower();
    if (t == QLatin1String("i1") || t == QLatin1String("ui1") || t == QLatin1String("i2") || t == QLatin1String("ui2"))
        return FieldType::SmallInt;
    if (t == QLatin1String("i4") || t == QLatin1String("ui4"))
        return FieldType::Integer;
    if (t == QLatin1String("i8"))
        return FieldType::LargeInt;
    if (t == QLatin1String("r8") || t == QLatin1String("r4") || t.startsWith(QLatin1String("fixed")))
        return subtype.compare(QLatin1String("Money"), Qt::CaseInsensitive) == 0 ? FieldType::Currency
                                                                                 : FieldType::Float;
    if (t == QLatin1String("date"))
        return FieldType::Date;
    if (t == QLatin1String("datetime") || t == QLatin1String("sql.timestamp"))
        return FieldType::DateTime;
    if (t == QLatin1String("time"))
        return FieldType::Time;
    if (t == QLatin1String("boolean"))
        return FieldType::Boolean;
    if (t == QLatin1String("string.uni"))
        return FieldType::WideString;
    if (t == QLatin1String("string"))
        return subtype.compare(QLatin1String("FixedChar"), Qt::CaseInsensitive) == 0 ? FieldType::FixedChar
                                                                                     : FieldType::String;
    if (t == QLatin1String("bin.hex") && subtype.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0)
        return FieldType::Memo;
    throw EE(notAPacketMessage(fileName));
}

// The text of an XML file: UTF-8 unless its declaration names the Windows-1250 code page (as
// files written on the authority's computers do); the reader then gets the decoded text.
QByteArray asUtf8(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf("?>");
    if (!bytes.startsWith("<?xml") || end < 0)
        return bytes;
    const QByteArray decl = bytes.left(end);
    static const QRegularExpression enc(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']*)[\"']"));
    const auto m = enc.match(QString::fromLatin1(decl));
    if (!m.hasMatch())
        return bytes;
    const QString name = m.captured(1).toLower();
    if (name == QLatin1String("windows-1250") || name == QLatin1String("cp1250") || name == QLatin1String("win1250"))
        return "<?xml version=\"1.0\"?>" + Win1250::decode(bytes.mid(end + 2)).toUtf8();
    return bytes;
}

Packet parseXml(const QByteArray &raw, const QString &fileName)
{
    QXmlStreamReader x(asUtf8(raw));
    Packet p;
    QHash<QString, int> indexOf; // a row's attribute names to its fields
    QSet<QString> names;
    bool inPacket = false, inFields = false, inRows = false, seenRows = false, done = false;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView n = x.name();
            if (!inPacket) {
                if (n != QLatin1String("DATAPACKET"))
                    throw EE(notAPacketMessage(fileName));
                inPacket = true;
            } else if (n == QLatin1String("METADATA")) {
                // holds FIELDS and PARAMS
            } else if (n == QLatin1String("FIELDS")) {
                if (seenRows) // the rows were read with other fields
                    throw EE(notAPacketMessage(fileName));
                inFields = true;
            } else if (n == QLatin1String("FIELD") && inFields) {
                const auto a = x.attributes();
                FieldDef f;
                f.name = a.value(QLatin1String("attrname")).toString();
                if (f.name.isEmpty())
                    f.name = a.value(QLatin1String("fieldname")).toString();
                f.type = fieldTypeOfXml(a.value(QLatin1String("fieldtype")).toString(),
                                        a.value(QLatin1String("SUBTYPE")).toString(), fileName);
                const int width = qMax(0, a.value(QLatin1String("WIDTH")).toInt());
                f.size = f.type == FieldType::WideString                     ? width / 2
                         : isStringType(f.type) && f.type != FieldType::Memo ? width
                                                                             : 0;
                f.required = a.value(QLatin1String("required")).compare(QLatin1String("true"), Qt::CaseInsensitive)
                             == 0;
                if (f.name.isEmpty())
                    throw EE(notAPacketMessage(fileName));
                refuseRepeatedName(names, f.name, fileName);
                indexOf.insert(f.name, int(p.fields.size()));
                p.fields.push_back(f);
                x.skipCurrentElement();
            } else if (n == QLatin1String("ROWDATA")) {
                if (p.fields.empty())
                    throw EE(noFieldsMessage(fileName));
                inRows = seenRows = true;
            } else if (n == QLatin1String("ROW") && inRows) {
                if (tooManyValues(qsizetype(p.fields.size()), qsizetype(p.rows.size()) + 1, raw.size()))
                    throw EE(notAPacketMessage(fileName));
                std::vector<QVariant> values(p.fields.size());
                for (const QXmlStreamAttribute &a : x.attributes()) {
                    const auto it = indexOf.constFind(a.name().toString());
                    if (it != indexOf.constEnd())
                        values[size_t(*it)] = parseXmlValue(p.fields[size_t(*it)], a.value().toString(), fileName);
                }
                p.rows.push_back(std::move(values));
                x.skipCurrentElement();
            } else {
                x.skipCurrentElement();
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView n = x.name();
            if (n == QLatin1String("FIELDS"))
                inFields = false;
            else if (n == QLatin1String("ROWDATA"))
                inRows = false;
            else if (n == QLatin1String("DATAPACKET"))
                done = true;
        }
    }
    if (x.hasError()) {
        if (x.error() == QXmlStreamReader::PrematureEndOfDocumentError && inPacket)
            throw EE(cutShortMessage(fileName));
        throw EE(notAPacketMessage(fileName));
    }
    if (!inPacket)
        throw EE(notAPacketMessage(fileName));
    if (done && p.fields.empty())
        throw EE(noFieldsMessage(fileName));
    if (!done || !seenRows)
        throw EE(cutShortMessage(fileName));
    return p;
}

QByteArray serializeXml(const Packet &p)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeStartElement(QStringLiteral("DATAPACKET"));
    w.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    w.writeStartElement(QStringLiteral("METADATA"));
    w.writeStartElement(QStringLiteral("FIELDS"));
    for (const FieldDef &f : p.fields) {
        w.writeStartElement(QStringLiteral("FIELD"));
        w.writeAttribute(QStringLiteral("attrname"), f.name);
        const XmlType t = xmlType(f.type);
        w.writeAttribute(QStringLiteral("fieldtype"), QString::fromLatin1(t.name));
        if (f.required)
            w.writeAttribute(QStringLiteral("required"), QStringLiteral("true"));
        if (t.subtype)
            w.writeAttribute(QStringLiteral("SUBTYPE"), QString::fromLatin1(t.subtype));
        if (f.type == FieldType::WideString)
            w.writeAttribute(QStringLiteral("WIDTH"), QString::number(f.size * 2));
        else if (isStringType(f.type) && f.type != FieldType::Memo)
            w.writeAttribute(QStringLiteral("WIDTH"), QString::number(f.size));
        w.writeEndElement();
    }
    w.writeEndElement(); // FIELDS
    w.writeEmptyElement(QStringLiteral("PARAMS"));
    w.writeEndElement(); // METADATA
    w.writeStartElement(QStringLiteral("ROWDATA"));
    for (const auto &row : p.rows) {
        w.writeEmptyElement(QStringLiteral("ROW"));
        for (size_t i = 0; i < p.fields.size() && i < row.size(); ++i)
            if (!row[i].isNull())
                w.writeAttribute(p.fields[i].name, xmlValue(p.fields[i], row[i]));
    }
    w.writeEndElement(); // ROWDATA
    w.writeEndElement(); // DATAPACKET
    w.writeEndDocument();
    return out;
}

} // namespace

FieldDef makeField(const QString &name, FieldType type, int size, bool required)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.required = required;
    return f;
}

QString notAPacketMessage(const QString &fileName)
{
    return QStringLiteral("Fisierul \"%1\" nu este un fisier de clasificator !").arg(fileName);
}

QString cutShortMessage(const QString &fileName)
{
    return QStringLiteral("Fisierul \"%1\" este incomplet (trunchiat) !").arg(fileName);
}

QString noFieldsMessage(const QString &fileName)
{
    return QStringLiteral("Fisierul \"%1\" nu contine nici un camp !").arg(fileName);
}

QString tooLargeMessage(const QString &fileName)
{
    return QStringLiteral("Fisierul \"%1\" este prea mare pentru un fisier de clasificator !").arg(fileName);
}

Packet parse(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() > kMaxFileSize)
        throw EE(tooLargeMessage(fileName));
    if (bytes.size() >= 4 && quint8(bytes[0]) == 0x96 && quint8(bytes[1]) == 0x19 && quint8(bytes[2]) == 0xE0
        && quint8(bytes[3]) == 0xBD)
        return parseBinary(bytes, fileName);
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size() && QChar::isSpace(uchar(bytes[start])))
        ++start;
    if (start < bytes.size() && bytes[start] == '<')
        return parseXml(bytes.mid(start), fileName);
    throw EE(notAPacketMessage(fileName));
}

Packet read(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EE(QStringLiteral("Fisierul \"%1\" nu poate fi citit !").arg(path));
    if (f.size() > kMaxFileSize)
        throw EE(tooLargeMessage(path));
    return parse(f.read(kMaxFileSize + 1), path);
}

QByteArray serialize(const Packet &packet, Format format)
{
    return format == Format::Binary ? serializeBinary(packet) : serializeXml(packet);
}

void write(const QString &path, const Packet &packet, Format format)
{
    const QByteArray bytes = serialize(packet, format);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EE(QStringLiteral("Fisierul \"%1\" nu poate fi scris !").arg(path));
}

Packet fromRecordSet(RecordSet &set)
{
    Packet p;
    std::vector<int> index;
    for (int i = 0; i < set.fieldCount(); ++i)
        if (set.fieldDef(i).kind == FieldKind::Data) {
            FieldDef f;
            f.name = set.fieldDef(i).name;
            f.type = set.fieldDef(i).type;
            f.size = set.fieldDef(i).size;
            f.required = set.fieldDef(i).required;
            if (f.type == FieldType::Float && set.fieldDef(i).currency)
                f.type = FieldType::Currency;
            p.fields.push_back(f);
            index.push_back(i);
        }
    for (int r = 0; r < set.recordCount(); ++r) {
        std::vector<QVariant> row;
        for (int i : index)
            row.push_back(set.valueAt(r, i));
        p.rows.push_back(std::move(row));
    }
    return p;
}

void intoRecordSet(Packet packet, RecordSet &set)
{
    set.clearFields();
    for (const FieldDef &f : packet.fields)
        set.addField(f);
    set.createDataSet();
    set.disableControls();
    try {
        // Each row leaves the packet as the set takes it, so that the rows are not held twice.
        for (auto &row : packet.rows) {
            set.appendValues(row);
            std::vector<QVariant>().swap(row);
        }
    } catch (...) {
        set.emptyDataSet();
        set.endAppendValues();
        set.enableControls();
        throw;
    }
    set.endAppendValues();
    set.enableControls();
    set.first();
}

QString typeName(FieldType type)
{
    switch (type) {
    case FieldType::String:
        return QStringLiteral("string");
    case FieldType::FixedChar:
        return QStringLiteral("fixedchar");
    case FieldType::WideString:
        return QStringLiteral("widestring");
    case FieldType::SmallInt:
        return QStringLiteral("smallint");
    case FieldType::Integer:
        return QStringLiteral("integer");
    case FieldType::LargeInt:
        return QStringLiteral("largeint");
    case FieldType::Float:
        return QStringLiteral("float");
    case FieldType::Currency:
        return QStringLiteral("currency");
    case FieldType::Date:
        return QStringLiteral("date");
    case FieldType::DateTime:
        return QStringLiteral("datetime");
    case FieldType::Time:
        return QStringLiteral("time");
    case FieldType::Boolean:
        return QStringLiteral("boolean");
    case FieldType::Memo:
        return QStringLiteral("memo");
    default:
        return QStringLiteral("unknown");
    }
}

} // namespace DataPacket

// ---------------------------------------------------------------- RecordSet

void RecordSet::loadFromFile(const QString &path)
{
    DataPacket::intoRecordSet(DataPacket::read(path), *this);
}

void RecordSet::saveToFile(const QString &path, DataPacket::Format format)
{
    DataPacket::write(path, DataPacket::fromRecordSet(*this), format);
}
