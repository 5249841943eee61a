#include "data/datapacket.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/recordset.h"
#include "data/win1250.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cstring>

namespace DataPacket {

namespace {

// ---------------------------------------------------------------- binary layout
//
// Little-endian throughout.
//   header (24 bytes): u32 signature, i32 1, i32 18, u16 field count, i32 row count, i32 3,
//                      u16 header size (where the rows start)
//   field descriptor:  u8 name length, name, u16 width, u16 type, u16 attributes, u16 property
//                      count, the properties (a SUBTYPE of "Money" or "FixedChar" makes a
//                      floating field money or a text field fixed-length)
//   then u16 count of the packet's properties, and those properties
//   property:          u8 name length, name, i16 value size, i16 type, the value's bytes
//   row: u8 row status, 2 bits per field of null/blank flags (0 value, 1 null, 2 unchanged),
//        then the values of the fields that have one
// A type is a base type, with kVarying for values stored with a length prefix (1 byte when the
// width is below 256, 2 below 65536, else 4).

constexpr quint16 kInt = 1, kUInt = 2, kBool = 3, kFloat = 4, kDate = 6, kTime = 7, kTimestamp = 8, kZString = 9,
                  kUnicode = 10, kBytes = 11;
constexpr quint16 kVarying = 0x40;
constexpr quint16 kBaseMask = 0x3F;
constexpr quint16 kAttrRequired = 0x0004;
// Day number of 01.01.0001 when days are counted from 1 on that day, as the format does.
const QDate kDayOne(1, 1, 1);
constexpr double kMsPerDay = 86400000.0;

struct BinType {
    quint16 type;
    quint16 width;
};

BinType binType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::SmallInt:
        return {kInt, 2};
    case FieldType::Integer:
        return {kInt, 4};
    case FieldType::LargeInt:
        return {kInt, 8};
    case FieldType::Float:
    case FieldType::Currency:
        return {kFloat, 8};
    case FieldType::Date:
        return {kDate, 4};
    case FieldType::Time:
        return {kTime, 4};
    case FieldType::DateTime:
        return {kTimestamp, 8};
    case FieldType::Boolean:
        return {kBool, 2};
    case FieldType::WideString:
        return {quint16(kUnicode | kVarying), quint16(qBound(2, f.size * 2, 65534))};
    case FieldType::Memo:
        return {quint16(kBytes | kVarying), 0xFFFF};
    default:
        return {quint16(kZString | kVarying), quint16(qBound(1, f.size, 65535))};
    }
}

int prefixBytes(quint16 width)
{
    return width < 256 ? 1 : 2;
}

class Reader
{
public:
    Reader(const QByteArray &b, const QString &fileName) : m_b(b), m_file(fileName) { }

    const char *take(qsizetype n)
    {
        if (n < 0 || m_pos + n > m_b.size())
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
    bool atEnd() const { return m_pos >= m_b.size(); }
    qsizetype position() const { return m_pos; }

private:
    const QByteArray &m_b;
    QString m_file;
    qsizetype m_pos = 0;
};

template <typename T> void put(QByteArray &out, T v)
{
    out.append(reinterpret_cast<const char *>(&v), sizeof(T));
}

FieldType fieldTypeOf(quint16 type, quint16 width, const QString &fileName)
{
    switch (type & kBaseMask) {
    case kInt:
    case kUInt:
        return width <= 2 ? FieldType::SmallInt : width <= 4 ? FieldType::Integer : FieldType::LargeInt;
    case kBool:
        return FieldType::Boolean;
    case kFloat:
        return FieldType::Float;
    case kDate:
        return FieldType::Date;
    case kTime:
        return FieldType::Time;
    case kTimestamp:
        return FieldType::DateTime;
    case kZString:
        return FieldType::String;
    case kUnicode:
        return FieldType::WideString;
    case kBytes:
        return FieldType::Memo;
    default:
        throw EE(notAPacketMessage(fileName));
    }
}

QVariant readValue(Reader &r, quint16 type, quint16 width, const QString &fileName)
{
    if (type & kVarying) {
        const int pb = (type & kBaseMask) == kBytes ? 4 : prefixBytes(width);
        const quint32 len = pb == 1 ? r.get<quint8>() : pb == 2 ? r.get<quint16>() : r.get<quint32>();
        const QByteArray b = r.bytes(qsizetype(len));
        switch (type & kBaseMask) {
        case kUnicode:
            return QString::fromUtf16(reinterpret_cast<const char16_t *>(b.constData()), b.size() / 2);
        default:
            return Win1250::decode(b);
        }
    }
    switch (type & kBaseMask) {
    case kInt:
        switch (width) {
        case 1:
            return int(r.get<qint8>());
        case 2:
            return int(r.get<qint16>());
        case 4:
            return int(r.get<qint32>());
        case 8:
            return qint64(r.get<qint64>());
        default:
            throw EE(notAPacketMessage(fileName));
        }
    case kUInt:
        switch (width) {
        case 1:
            return int(r.get<quint8>());
        case 2:
            return int(r.get<quint16>());
        case 4:
            return qint64(r.get<quint32>());
        default:
            throw EE(notAPacketMessage(fileName));
        }
    case kBool:
        return r.get<quint16>() != 0;
    case kFloat:
        if (width == 4)
            return double(r.get<float>());
        return r.get<double>();
    case kDate:
        return kDayOne.addDays(r.get<qint32>() - 1);
    case kTime:
        return QTime(0, 0).addMSecs(r.get<qint32>());
    case kTimestamp: {
        const double ms = r.get<double>();
        const qint64 days = qint64(ms / kMsPerDay);
        const qint64 rest = qint64(ms - double(days) * kMsPerDay + 0.5);
        return QDateTime(kDayOne.addDays(days - 1), QTime(0, 0).addMSecs(int(rest)));
    }
    default:
        throw EE(notAPacketMessage(fileName));
    }
}

QDate dateOf(const QVariant &v)
{
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

void writeValue(QByteArray &out, const FieldDef &f, const QVariant &v)
{
    const BinType bt = binType(f);
    if (bt.type & kVarying) {
        QByteArray b;
        if (f.type == FieldType::WideString) {
            const QString s = v.toString();
            b = QByteArray(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
        } else {
            b = Win1250::encodeOrThrow(v.toString());
        }
        const int pb = f.type == FieldType::Memo ? 4 : prefixBytes(bt.width);
        if (pb == 1)
            put<quint8>(out, quint8(b.size()));
        else if (pb == 2)
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

// Reads a property (u8 name length, name, i16 size, i16 type, the value's bytes).
std::pair<QByteArray, QByteArray> readProperty(Reader &r)
{
    const quint8 len = r.get<quint8>();
    QByteArray name = r.bytes(len);
    const qint16 size = r.get<qint16>();
    r.get<qint16>(); // type
    return {name, r.bytes(size)};
}

void writeProperty(QByteArray &out, const QByteArray &name, const QByteArray &value)
{
    put<quint8>(out, quint8(name.size()));
    out.append(name);
    put<qint16>(out, qint16(value.size()));
    put<qint16>(out, qint16(kZString));
    out.append(value);
}

// The SUBTYPE property that tells money from other floating values and fixed from varying text.
QByteArray subtypeOf(FieldType t)
{
    return t == FieldType::Currency    ? QByteArray("Money")
           : t == FieldType::FixedChar ? QByteArray("FixedChar")
                                       : QByteArray();
}

Packet parseBinary(const QByteArray &bytes, const QString &fileName)
{
    Reader r(bytes, fileName);
    if (r.get<quint32>() != kSignature)
        throw EE(notAPacketMessage(fileName));
    r.get<qint32>(); // usually 1
    r.get<qint32>(); // usually 18
    const quint16 fieldCount = r.get<quint16>();
    const qint32 rowCount = r.get<qint32>();
    r.get<qint32>(); // usually 3
    const quint16 headerSize = r.get<quint16>();
    Packet p;
    std::vector<BinType> types;
    for (int i = 0; i < fieldCount; ++i) {
        FieldDef f;
        const quint8 len = r.get<quint8>();
        f.name = Win1250::decode(r.bytes(len));
        const quint16 width = r.get<quint16>();
        const quint16 type = r.get<quint16>();
        const quint16 attrs = r.get<quint16>();
        f.type = fieldTypeOf(type, width, fileName);
        f.size = f.type == FieldType::String ? width : f.type == FieldType::WideString ? width / 2 : 0;
        f.required = (attrs & kAttrRequired) != 0;
        const quint16 props = r.get<quint16>();
        for (int k = 0; k < props; ++k) {
            const auto [name, value] = readProperty(r);
            if (name == "SUBTYPE" && value.startsWith("Money") && f.type == FieldType::Float)
                f.type = FieldType::Currency;
            else if (name == "SUBTYPE" && value.startsWith("FixedChar") && f.type == FieldType::String)
                f.type = FieldType::FixedChar;
        }
        if (f.name.isEmpty())
            throw EE(notAPacketMessage(fileName));
        p.fields.push_back(f);
        types.push_back({type, width});
    }
    const quint16 packetProps = r.get<quint16>();
    for (int k = 0; k < packetProps; ++k)
        readProperty(r);
    // The rows start where the header says, after whatever it holds that is not read here.
    if (headerSize > r.position())
        r.take(headerSize - r.position());
    const int flagBytes = (fieldCount * 2 + 7) / 8;
    for (qint32 row = 0; rowCount < 0 ? !r.atEnd() : row < rowCount; ++row) {
        r.get<quint8>(); // row status
        const QByteArray flags = r.bytes(flagBytes);
        std::vector<QVariant> values(fieldCount);
        for (int i = 0; i < fieldCount; ++i) {
            const int flag = (quint8(flags[i / 4]) >> ((i % 4) * 2)) & 3;
            if (flag == 0)
                values[size_t(i)] = readValue(r, types[size_t(i)].type, types[size_t(i)].width, fileName);
        }
        p.rows.push_back(std::move(values));
    }
    return p;
}

QByteArray serializeBinary(const Packet &p)
{
    QByteArray out;
    put<quint32>(out, kSignature);
    put<qint32>(out, 1);
    put<qint32>(out, 18);
    put<quint16>(out, quint16(p.fields.size()));
    put<qint32>(out, qint32(p.rows.size()));
    put<qint32>(out, 3);
    const qsizetype headerSizeAt = out.size();
    put<quint16>(out, 0); // the header's size, known at its end
    for (const FieldDef &f : p.fields) {
        const QByteArray name = Win1250::encodeOrThrow(f.name).left(255);
        put<quint8>(out, quint8(name.size()));
        out.append(name);
        const BinType bt = binType(f);
        put<quint16>(out, bt.width);
        put<quint16>(out, bt.type);
        put<quint16>(out, f.required ? kAttrRequired : 0);
        const QByteArray subtype = subtypeOf(f.type);
        put<quint16>(out, subtype.isEmpty() ? 0 : 1);
        if (!subtype.isEmpty())
            writeProperty(out, "SUBTYPE", subtype);
    }
    put<quint16>(out, 0); // no properties of the packet
    const quint16 headerSize = quint16(out.size());
    std::memcpy(out.data() + headerSizeAt, &headerSize, sizeof headerSize);
    const int n = int(p.fields.size());
    for (const auto &row : p.rows) {
        put<quint8>(out, 0);
        QByteArray flags((n * 2 + 7) / 8, '\0');
        for (int i = 0; i < n; ++i)
            if (size_t(i) >= row.size() || row[size_t(i)].isNull())
                flags[i / 4] = char(quint8(flags[i / 4]) | (1 << ((i % 4) * 2)));
        out.append(flags);
        for (int i = 0; i < n; ++i)
            if (size_t(i) < row.size() && !row[size_t(i)].isNull())
                writeValue(out, p.fields[size_t(i)], row[size_t(i)]);
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
                inFields = true;
            } else if (n == QLatin1String("FIELD") && inFields) {
                const auto a = x.attributes();
                FieldDef f;
                f.name = a.value(QLatin1String("attrname")).toString();
                if (f.name.isEmpty())
                    f.name = a.value(QLatin1String("fieldname")).toString();
                f.type = fieldTypeOfXml(a.value(QLatin1String("fieldtype")).toString(),
                                        a.value(QLatin1String("SUBTYPE")).toString(), fileName);
                const int width = a.value(QLatin1String("WIDTH")).toInt();
                f.size = f.type == FieldType::WideString                     ? width / 2
                         : isStringType(f.type) && f.type != FieldType::Memo ? width
                                                                             : 0;
                f.required = a.value(QLatin1String("required")).compare(QLatin1String("true"), Qt::CaseInsensitive)
                             == 0;
                if (f.name.isEmpty())
                    throw EE(notAPacketMessage(fileName));
                p.fields.push_back(f);
                x.skipCurrentElement();
            } else if (n == QLatin1String("ROWDATA")) {
                inRows = seenRows = true;
            } else if (n == QLatin1String("ROW") && inRows) {
                const auto a = x.attributes();
                std::vector<QVariant> values(p.fields.size());
                for (size_t i = 0; i < p.fields.size(); ++i)
                    if (a.hasAttribute(p.fields[i].name))
                        values[i] = parseXmlValue(p.fields[i], a.value(p.fields[i].name).toString(), fileName);
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
    if (!done || !seenRows)
        throw EE(cutShortMessage(fileName));
    if (p.fields.empty())
        throw EE(notAPacketMessage(fileName));
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

Packet parse(const QByteArray &bytes, const QString &fileName)
{
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
    return parse(f.readAll(), path);
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

void intoRecordSet(const Packet &packet, RecordSet &set)
{
    set.clearFields();
    for (const FieldDef &f : packet.fields)
        set.addField(f);
    set.createDataSet();
    set.disableControls();
    try {
        for (const auto &row : packet.rows)
            set.appendValues(row);
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
