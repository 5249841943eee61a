// Classifier files in both forms of the data packet: what is written reads back to the same
// fields and rows, the binary bytes are laid out as the format says, a file is told by its
// content, and a file that is not one or that was cut short is refused by name.

#include "data/datapacket.h"
#include "data/ee.h"
#include "data/recordset.h"

#include <QDir>
#include <QStringList>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace DataPacket;

namespace {

// One field of every type a classifier uses, with a row of values, a row of nulls and a row of
// text that needs the code page and the XML escapes.
Packet sample()
{
    Packet p;
    p.fields = {makeField("kp_id", FieldType::Integer, 0, true),
                makeField("kp_name_ro", FieldType::String, 250),
                makeField("small", FieldType::SmallInt),
                makeField("big", FieldType::LargeInt),
                makeField("rate", FieldType::Float),
                makeField("money", FieldType::Currency),
                makeField("start", FieldType::Date),
                makeField("stamp", FieldType::DateTime),
                makeField("flag", FieldType::Boolean),
                makeField("code", FieldType::FixedChar, 3)};
    p.rows.push_back({1, QStringLiteral("ŞEF DE SECŢIE \"A\" & <B>"), 7, qint64(5000000000LL), 12.5, 1234.56,
                      QDate(2008, 3, 5), QDateTime(QDate(2015, 12, 31), QTime(13, 45, 10, 250)), true,
                      QStringLiteral("AB1")});
    p.rows.push_back({2, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant()});
    p.rows.push_back({3, QStringLiteral("o'neil"), -3, qint64(-1), -0.25, 0.0, QDate(1, 1, 1),
                      QDateTime(QDate(1999, 1, 1), QTime(0, 0)), false, QStringLiteral("X")});
    return p;
}

void expectSame(const Packet &a, const Packet &b)
{
    ASSERT_EQ(a.fields.size(), b.fields.size());
    for (size_t i = 0; i < a.fields.size(); ++i) {
        EXPECT_EQ(a.fields[i].name, b.fields[i].name);
        EXPECT_EQ(int(a.fields[i].type), int(b.fields[i].type)) << a.fields[i].name.toStdString();
        EXPECT_EQ(a.fields[i].size, b.fields[i].size) << a.fields[i].name.toStdString();
        EXPECT_EQ(a.fields[i].required, b.fields[i].required) << a.fields[i].name.toStdString();
    }
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (size_t r = 0; r < a.rows.size(); ++r)
        for (size_t i = 0; i < a.fields.size(); ++i) {
            const QVariant &x = a.rows[r][i], &y = b.rows[r][i];
            EXPECT_EQ(x.isNull(), y.isNull()) << r << " " << i;
            if (!x.isNull() && !y.isNull()) {
                EXPECT_EQ(x.toString(), y.toString()) << r << " " << a.fields[i].name.toStdString();
            }
        }
}

class DataPacketFiles : public ::testing::Test
{
protected:
    QString file(const char *name) { return dir.filePath(QString::fromLatin1(name)); }
    void put(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString refusal(const QString &path)
    {
        try {
            read(path);
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
    QTemporaryDir dir;
};

TEST_F(DataPacketFiles, BothFormsReadBackToTheSameFieldsAndRows)
{
    const Packet p = sample();
    write(file("b.cds"), p, Format::Binary);
    write(file("x.cds"), p, Format::Xml);
    const Packet fromBinary = read(file("b.cds"));
    const Packet fromXml = read(file("x.cds"));
    expectSame(p, fromBinary);
    expectSame(p, fromXml);
    expectSame(fromBinary, fromXml);
}

TEST_F(DataPacketFiles, BinaryHeaderDescriptorsAndNullFlagsAreLaidOutAsTheFormatSays)
{
    Packet p;
    p.fields = {makeField("kft_id", FieldType::SmallInt, 0, true), makeField("kft_name_ro", FieldType::String, 20)};
    p.rows.push_back({3, QStringLiteral("Ş")});
    p.rows.push_back({4, QVariant()});
    const QByteArray b = serialize(p, Format::Binary);
    const QByteArray expected = QByteArray::fromHex("9619e0bd"
                                                    "01000000"
                                                    "12000000"
                                                    "0200"
                                                    "02000000"
                                                    "03000000"
                                                    "4900" // header, rows from byte 73
                                                    "066b66745f6964"
                                                    "0200"
                                                    "0100"
                                                    "0400"
                                                    "0000" // kft_id: i2, required
                                                    "0b6b66745f6e616d655f726f"
                                                    "0100"
                                                    "4900"
                                                    "0000"
                                                    "0100" // kft_name_ro: varying string, 1-byte prefix
                                                    "055749445448"
                                                    "0200"
                                                    "0200"
                                                    "1400" // WIDTH = 20, a 2-byte unsigned
                                                    "0000" // no packet properties
                                                    "00"
                                                    "00"
                                                    "0300"
                                                    "01aa" // 3, "Ş" (Windows-1250 0xAA)
                                                    "00"
                                                    "04"
                                                    "0400"); // 4, name null
    EXPECT_EQ(b.toHex().toStdString(), expected.toHex().toStdString());
}

TEST_F(DataPacketFiles, MoneyIsAFloatingFieldWithItsSubtypeProperty)
{
    Packet p;
    p.fields = {makeField("suma", FieldType::Currency)};
    const QByteArray b = serialize(p, Format::Binary);
    EXPECT_EQ(b.mid(24).toHex().toStdString(),
              QByteArray::fromHex("0473756d61"
                                  "0800"
                                  "0400"
                                  "0000"
                                  "0100" // float of 8 bytes, one property
                                  "0753554254595045"
                                  "0500"
                                  "0900"
                                  "4d6f6e6579" // SUBTYPE = Money
                                  "0000")
                  .toHex()
                  .toStdString());
    EXPECT_EQ(int(parse(b, QStringLiteral("m.cds")).fields[0].type), int(FieldType::Currency));
}

TEST_F(DataPacketFiles, XmlFormCarriesTheDataPacketElements)
{
    Packet p;
    p.fields = {makeField("kp_id", FieldType::Integer), makeField("kp_name_ro", FieldType::String, 250)};
    p.rows.push_back({5, QStringLiteral("MAI")});
    p.rows.push_back({6, QVariant()});
    const QString xml = QString::fromUtf8(serialize(p, Format::Xml));
    EXPECT_TRUE(xml.contains(QStringLiteral("<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                                            "<FIELD attrname=\"kp_id\" fieldtype=\"i4\"/>"
                                            "<FIELD attrname=\"kp_name_ro\" fieldtype=\"string\" WIDTH=\"250\"/>"
                                            "</FIELDS><PARAMS/></METADATA><ROWDATA>"
                                            "<ROW kp_id=\"5\" kp_name_ro=\"MAI\"/><ROW kp_id=\"6\"/>"
                                            "</ROWDATA></DATAPACKET>")))
        << xml.toStdString();
}

TEST_F(DataPacketFiles, FilesAreToldByContentNotByName)
{
    const Packet p = sample();
    put(file("k_prof.xml"), serialize(p, Format::Binary));
    put(file("k_prof.bin"), serialize(p, Format::Xml));
    expectSame(p, read(file("k_prof.xml")));
    expectSame(p, read(file("k_prof.bin")));
}

TEST_F(DataPacketFiles, XmlInTheWindows1250CodePageIsDecoded)
{
    put(file("k_prof.cds"), QByteArray("<?xml version=\"1.0\" encoding=\"windows-1250\" standalone=\"yes\"?>\r\n"
                                       "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                                       "<FIELD attrname=\"kp_id\" fieldtype=\"i4\"/>"
                                       "<FIELD attrname=\"kp_name_ro\" fieldtype=\"string\" WIDTH=\"250\"/>"
                                       "</FIELDS><PARAMS LCID=\"1048\"/></METADATA><ROWDATA>"
                                       "<ROW RowState=\"4\" kp_id=\"7\" kp_name_ro=\"\xaa"
                                       "EF\"/>"
                                       "</ROWDATA></DATAPACKET>"));
    const Packet p = read(file("k_prof.cds"));
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0][0].toInt(), 7);
    EXPECT_EQ(p.rows[0][1].toString(), QStringLiteral("ŞEF"));
}

TEST_F(DataPacketFiles, FilesCutInHalfOrOfAnotherKindAreRefusedByName)
{
    Packet p = sample();
    for (int i = 0; i < 20; ++i)
        p.rows.push_back(p.rows[0]);
    for (Format f : {Format::Binary, Format::Xml}) {
        const QByteArray whole = serialize(p, f);
        const QString path = file(f == Format::Binary ? "half_b.cds" : "half_x.cds");
        put(path, whole.left(whole.size() / 2));
        EXPECT_EQ(refusal(path), cutShortMessage(path));
        EXPECT_EQ(refusal(path), QStringLiteral("Fisierul \"%1\" este incomplet (trunchiat) !").arg(path));
    }
    put(file("text.cds"), "kp_id;kp_name_ro\n1;PRIMAR\n");
    EXPECT_EQ(refusal(file("text.cds")),
              QStringLiteral("Fisierul \"%1\" nu este un fisier de clasificator !").arg(file("text.cds")));
    put(file("other.cds"), "<?xml version=\"1.0\"?><html><body/></html>");
    EXPECT_EQ(refusal(file("other.cds")), notAPacketMessage(file("other.cds")));
    put(file("empty.cds"), "");
    EXPECT_EQ(refusal(file("empty.cds")), notAPacketMessage(file("empty.cds")));
    put(file("sig.cds"), QByteArray::fromHex("9619e0bd0100"));
    EXPECT_EQ(refusal(file("sig.cds")), cutShortMessage(file("sig.cds")));
    EXPECT_EQ(refusal(file("missing.cds")),
              QStringLiteral("Fisierul \"%1\" nu poate fi citit !").arg(file("missing.cds")));
    {
        QFile big(file("big.cds"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(serialize(sample(), Format::Binary));
        big.resize(8 * 1024 * 1024 + 1);
    }
    EXPECT_EQ(refusal(file("big.cds")), QStringLiteral("Fisierul \"%1\" este prea mare pentru un fisier de "
                                                       "clasificator !")
                                            .arg(file("big.cds")));
}

TEST_F(DataPacketFiles, RecordSetSavesAndLoadsItsFieldsAndRows)
{
    RecordSet set(QStringLiteral("k_month"));
    set.addField(QStringLiteral("km_id"), FieldType::Integer);
    set.addField(QStringLiteral("km_name_ro"), FieldType::String, 20);
    set.createDataSet();
    for (auto [id, name] : {std::pair{5, "mai"}, std::pair{6, "iunie"}}) {
        set.append();
        set.field(QStringLiteral("km_id")).setValue(id);
        set.field(QStringLiteral("km_name_ro")).setValue(QString::fromLatin1(name));
        set.post();
    }
    for (Format f : {Format::Binary, Format::Xml}) {
        const QString path = file(f == Format::Binary ? "m_b.cds" : "m_x.cds");
        set.saveToFile(path, f);
        RecordSet back(QStringLiteral("k_month"));
        back.loadFromFile(path);
        ASSERT_EQ(back.fieldCount(), 2);
        EXPECT_EQ(back.fieldDef(1).name, "km_name_ro");
        EXPECT_EQ(back.fieldDef(1).size, 20);
        ASSERT_EQ(back.recordCount(), 2);
        EXPECT_EQ(back.field(QStringLiteral("km_name_ro")).asString(), "mai");
        back.next();
        EXPECT_EQ(back.field(QStringLiteral("km_id")).asInteger(), 6);
    }
    // A refused file leaves the set as it was.
    put(file("bad.cds"), "nothing");
    RecordSet kept(QStringLiteral("k_month"));
    kept.loadFromFile(file("m_x.cds"));
    EXPECT_THROW(kept.loadFromFile(file("bad.cds")), EE);
    EXPECT_EQ(kept.recordCount(), 2);
}

// ---- packets as other writers lay them out, put together here byte by byte

QByteArray le(quint64 v, int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b += char((v >> (8 * i)) & 0xFF);
    return b;
}
QByteArray lenName(const QByteArray &name)
{
    return le(quint64(name.size()), 1) + name;
}
QByteArray property(const QByteArray &name, int base, const QByteArray &value)
{
    return lenName(name) + le(quint64(value.size()), 2) + le(quint64(base), 2) + value;
}
QByteArray width(int w)
{
    return property("WIDTH", 2, le(quint64(w), 2));
}
// A field descriptor: the size (a fixed value's width, or a varying value's prefix bytes), the
// type (base | flags), the attributes and the properties.
QByteArray field(const QByteArray &name, int size, int type, int attrs = 0, const QList<QByteArray> &props = {})
{
    QByteArray b = lenName(name) + le(quint64(size), 2) + le(quint64(type), 2) + le(quint64(attrs), 2)
                   + le(quint64(props.size()), 2);
    for (const QByteArray &prop : props)
        b += prop;
    return b;
}
// A row: its status, a flag per field (0 value, 1 or 3 null, 2 unchanged) and the values.
QByteArray row(int status, const QList<int> &flags, const QByteArray &values)
{
    QByteArray f((flags.size() * 2 + 7) / 8, '\0');
    for (int i = 0; i < flags.size(); ++i)
        f[i / 4] = char(quint8(f[i / 4]) | (flags[i] << ((i % 4) * 2)));
    return le(quint64(status), 1) + f + values;
}
QByteArray text1(const QByteArray &s)
{
    return le(quint64(s.size()), 1) + s;
}
// Header, descriptors and the packet's properties, then the rows: without an offset in the
// header when `padding` is negative, else with the rows `padding` bytes after the properties.
QByteArray packet(int fields, quint32 rows, const QByteArray &descriptors, const QByteArray &data,
                  const QList<QByteArray> &packetProps = {}, int padding = -1)
{
    QByteArray meta = descriptors + le(quint64(packetProps.size()), 2);
    for (const QByteArray &prop : packetProps)
        meta += prop;
    const int offset = padding < 0 ? 0 : 24 + int(meta.size()) + padding;
    return QByteArray::fromHex("9619e0bd") + le(1, 2) + le(0, 2) + le(18, 4) + le(quint64(fields), 2) + le(rows, 4)
           + le(padding < 0 ? 1 : 3, 4) + le(quint64(offset), 2) + meta + QByteArray(qMax(0, padding), '\x7f') + data;
}

// What a packet read holds, as "name type size" for each field, then one line a row.
QString listing(const Packet &p)
{
    QStringList out;
    for (const FieldDef &f : p.fields)
        out << f.name + u' ' + typeName(f.type) + u' ' + QString::number(f.size) + (f.required ? "*" : "");
    for (const auto &r : p.rows) {
        QStringList values;
        for (const QVariant &v : r)
            values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        out << values.join(u'|');
    }
    return out.join(u'\n');
}

TEST(DataPacketLayout, PacketsOfOtherWritersReadAsTheirLayoutSays)
{
    const QByteArray long300(260, 'L');
    const QByteArray idNameCode = field("kp_id", 4, 1, 4) + field("kp_name_ro", 2, 9 | 0x40, 0, {width(300)})
                                  + field("kp_cod", 1, 9 | 0x40, 0, {width(20)});
    const QByteArray idNameRate = field("id", 4, 1) + field("name", 1, 9 | 0x40, 0, {width(20)}) + field("rate", 8, 4);
    auto rate = [](double d) { return QByteArray(reinterpret_cast<const char *>(&d), 8); };
    const struct {
        const char *what;
        QByteArray bytes;
        QString listing;
    } cases[] = {
        {"a 2-byte prefix for a width of 255 or more, a 1-byte one below",
         packet(3, 2, idNameCode,
                row(0, {0, 0, 0}, le(1, 4) + le(260, 2) + long300 + text1("AB"))
                    + row(0, {0, 1, 0}, le(2, 4) + text1("C"))),
         "kp_id integer 0*\nkp_name_ro string 300\nkp_cod string 20\n1|" + QString(260, u'L') + "|AB\n2|NULL|C"},
        {"a change log: the original row lends the unchanged values, deleted and unused rows are gone",
         packet(3, 6, idNameRate,
                row(0, {0, 0, 0}, le(1, 4) + text1("UNU") + rate(1.5))
                    + row(1, {0, 0, 0}, le(2, 4) + text1("DOI") + rate(2.5)) + row(8, {2, 2, 0}, rate(3.5))
                    + row(2, {0, 0, 0}, le(3, 4) + text1("TREI") + rate(3)) + row(4, {0, 1, 3}, le(4, 4))
                    + row(0x20, {0, 1, 1}, le(5, 4))),
         "id integer 0\nname string 20\nrate float 0\n1|UNU|1.5\n2|DOI|3.5\n4|NULL|NULL"},
        {"rows where the header's offset says, after properties of the packet; money, wide and fixed "
         "text, dates",
         packet(5, 1,
                field("suma", 8, 4, 0, {property("SUBTYPE", 9, "Money")}) + field("nume", 1, 10 | 0x40, 0, {width(20)})
                    + field("cod", 5, 9, 0, {}) + field("zi", 4, 6)
                    + field("fix", 1, 9 | 0x40, 0, {property("SUBTYPE", 9, "FixedChar"), width(3)}),
                row(0, {0, 0, 0, 0, 0},
                    rate(12.25) + le(4, 1) + QByteArray("\x5e\x01\x61\x00", 4) + QByteArray("AB\0\0\0", 5)
                        + le(733106, 4) + text1("XY")),
                {property("LCID", 2, le(1048, 4)), property("CHANGE_LOG", 2 | 0x80, le(0, 4))}, 3),
         QStringLiteral("suma currency 0\nnume widestring 10\ncod string 5\nzi date 0\nfix fixedchar 3\n"
                        "12.25|Şa|AB|2008-03-05|XY")},
        {"a varying text without WIDTH is as wide as its longest value",
         packet(1, 2, field("n", 1, 9 | 0x40), row(0, {0}, text1("ABCD")) + row(0, {0}, text1("A"))),
         "n string 4\nABCD\nA"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(listing(parse(c.bytes, QStringLiteral("k.cds"))).toStdString(), c.listing.toStdString());
    }
}

TEST(DataPacketLayout, CountsTheBytesCannotHoldAndShapesNoClassifierHasAreRefusedByName)
{
    const QString name = QStringLiteral("k_prof.cds");
    const QByteArray one = field("kp_id", 4, 1);
    const QByteArray aRow = row(0, {0}, le(7, 4));
    QByteArray manyFields = "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
    for (int i = 0; i < 2000; ++i)
        manyFields += "<FIELD attrname=\"f" + QByteArray::number(i) + "\" fieldtype=\"i4\"/>";
    manyFields += "</FIELDS></METADATA><ROWDATA>" + QByteArray(200 * 6, ' ').replace("      ", "<ROW/>")
                  + "</ROWDATA></DATAPACKET>";
    QByteArray forty, nullRows;
    for (int i = 0; i < 40; ++i)
        forty += field("f" + QByteArray::number(i), 4, 1);
    for (int r = 0; r < 10000; ++r)
        nullRows += row(0, QList<int>(40, 1), {});
    const struct {
        const char *what;
        QByteArray bytes;
        QString message;
    } cases[] = {
        {"no fields", packet(0, 0, {}, {}), noFieldsMessage(name)},
        {"no fields, rows counted -1 and ten thousand bytes of them",
         packet(0, 0xFFFFFFFF, {}, QByteArray(10000, '\0')), noFieldsMessage(name)},
        {"XML without fields",
         "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS/></METADATA><ROWDATA><ROW/><ROW/></ROWDATA></DATAPACKET>",
         noFieldsMessage(name)},
        {"rows counted -1", packet(1, 0xFFFFFFFF, one, aRow + aRow), cutShortMessage(name)},
        {"more rows counted than there are", packet(1, 3, one, aRow + aRow), cutShortMessage(name)},
        {"fewer rows counted than there are", packet(1, 1, one, aRow + aRow), notAPacketMessage(name)},
        {"more fields counted than descriptors fit in the file", packet(1000, 0, one, {}), cutShortMessage(name)},
        {"a value unchanged with no original row before it", packet(1, 1, one, row(8, {2}, {})),
         notAPacketMessage(name)},
        {"a length prefix of 3 bytes", packet(1, 1, field("n", 3, 9 | 0x40), row(0, {0}, "\1\0\0A")),
         notAPacketMessage(name)},
        {"an array field", packet(1, 0, field("a", 4, 1 | 0x80), {}), notAPacketMessage(name)},
        {"a composite field", packet(1, 0, field("a", 4, 12), {}), notAPacketMessage(name)},
        {"two fields of one name", packet(2, 0, one + field("KP_ID", 4, 1), {}), notAPacketMessage(name)},
        {"the rows' offset inside the descriptors", packet(1, 1, one, aRow, {}, 0).replace(22, 2, le(30, 2)),
         notAPacketMessage(name)},
        {"XML of 2000 fields and rows that name none of them", manyFields, notAPacketMessage(name)},
        {"binary rows of 40 nulls, more values than bytes", packet(40, 10000, forty, nullRows),
         notAPacketMessage(name)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parse(c.bytes, name);
            ADD_FAILURE() << "read";
        } catch (const EE &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
    EXPECT_EQ(noFieldsMessage(name), QStringLiteral("Fisierul \"k_prof.cds\" nu contine nici un camp !"));
}

// A reader of our binary packets written from the published layout alone: it checks each
// descriptor's size, type and properties, and reads each value by the prefix its descriptor gives.
TEST(DataPacketLayout, OurBinaryPacketsReadByTheLayoutAlone)
{
    const struct {
        FieldDef def;
        int size, type, width;
        const char *subtype;
        QVariant value;
        QByteArray stored; // the value's bytes after its prefix, or whole for fixed values
    } cols[] = {
        {makeField("i2", FieldType::SmallInt), 2, 1, 0, nullptr, -2, le(0xFFFE, 2)},
        {makeField("i4", FieldType::Integer, 0, true), 4, 1, 0, nullptr, 70000, le(70000, 4)},
        {makeField("s20", FieldType::String, 20), 1, 0x49, 20, nullptr, QStringLiteral("Ţ"), "\xde"},
        {makeField("s254", FieldType::String, 254), 1, 0x49, 254, nullptr, QStringLiteral("AB"), "AB"},
        {makeField("s255", FieldType::String, 255), 2, 0x49, 255, nullptr, QString(255, u'x'), QByteArray(255, 'x')},
        {makeField("s10", FieldType::String, 10), 2, 0x49, 300, nullptr, QString(300, u'y'), QByteArray(300, 'y')},
        {makeField("w10", FieldType::WideString, 10), 1, 0x4A, 20, nullptr, QStringLiteral("Ş"), "\x5e\x01"},
        {makeField("w200", FieldType::WideString, 200), 2, 0x4A, 400, nullptr, QStringLiteral("a"),
         QByteArray("a\0", 2)},
        {makeField("fix", FieldType::FixedChar, 3), 1, 0x49, 3, "FixedChar", QStringLiteral("AB1"), "AB1"},
        {makeField("memo", FieldType::Memo), 4, 0x4B, 0, "Text", QStringLiteral("text"), "text"},
        {makeField("money", FieldType::Currency), 8, 4, 0, "Money", 0.5, QByteArray::fromHex("000000000000e03f")},
        {makeField("day", FieldType::Date), 4, 6, 0, nullptr, QDate(2008, 3, 5), le(733106, 4)},
        {makeField("yes", FieldType::Boolean), 2, 3, 0, nullptr, true, le(1, 2)},
    };
    Packet p;
    std::vector<QVariant> values;
    for (const auto &c : cols) {
        p.fields.push_back(c.def);
        values.push_back(c.value);
    }
    p.rows = {values};
    const QByteArray b = serialize(p, Format::Binary);

    qsizetype at = 0;
    auto take = [&](qsizetype n) {
        EXPECT_LE(at + n, b.size());
        const QByteArray part = b.mid(at, n);
        at += n;
        return part;
    };
    auto num = [&](int n) {
        quint64 v = 0;
        const QByteArray part = take(n);
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | quint8(part[i]);
        return v;
    };
    EXPECT_EQ(take(4).toHex(), "9619e0bd");
    EXPECT_EQ(num(2), 1u);  // major version
    EXPECT_EQ(num(2), 0u);  // minor version
    EXPECT_EQ(num(4), 18u); // header size
    const int n = int(num(2));
    ASSERT_EQ(n, int(std::size(cols)));
    EXPECT_EQ(num(4), 1u); // rows
    EXPECT_EQ(num(4), 3u); // metadata, and where the rows start
    const quint64 dataAt = num(2);
    std::vector<int> prefix;
    for (const auto &c : cols) {
        SCOPED_TRACE(c.def.name.toStdString());
        EXPECT_EQ(QString::fromLatin1(take(qsizetype(num(1)))), c.def.name);
        EXPECT_EQ(int(num(2)), c.size);
        EXPECT_EQ(int(num(2)), c.type);
        EXPECT_EQ(int(num(2)), c.def.required ? 4 : 0);
        const int props = int(num(2));
        int gotWidth = 0;
        QByteArray gotSubtype;
        for (int k = 0; k < props; ++k) {
            const QByteArray pname = take(qsizetype(num(1)));
            const int psize = int(num(2)), pbase = int(num(2));
            const QByteArray value = take(psize);
            if (pname == "WIDTH") {
                EXPECT_EQ(psize, 2);
                EXPECT_EQ(pbase, 2);
                gotWidth = int(quint8(value[0]) | quint8(value[1]) << 8);
            } else {
                EXPECT_EQ(pname, "SUBTYPE");
                EXPECT_EQ(pbase, 9);
                gotSubtype = value;
            }
        }
        EXPECT_EQ(gotWidth, c.width);
        EXPECT_EQ(gotSubtype, QByteArray(c.subtype));
        prefix.push_back(c.type & 0x40 ? c.size : 0);
    }
    EXPECT_EQ(num(2), 0u); // no properties of the packet
    EXPECT_EQ(quint64(at), dataAt);
    EXPECT_EQ(num(1), 0u);                                               // status: unmodified
    EXPECT_EQ(take((n * 2 + 7) / 8), QByteArray((n * 2 + 7) / 8, '\0')); // every field has a value
    for (size_t i = 0; i < std::size(cols); ++i) {
        SCOPED_TRACE(cols[i].def.name.toStdString());
        const qsizetype len = prefix[i] ? qsizetype(num(prefix[i])) : cols[i].stored.size();
        EXPECT_EQ(take(len).toHex(), cols[i].stored.toHex());
    }
    EXPECT_EQ(at, b.size());
    // And our reader takes back what our writer wrote, the widths of values wider than their
    // field included.
    const Packet back = parse(b, QStringLiteral("k.cds"));
    EXPECT_EQ(back.fields[5].size, 300);
    EXPECT_EQ(back.rows[0][4].toString(), QString(255, u'x'));
}

} // namespace
