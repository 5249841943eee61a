// Classifier files in both forms of the data packet: what is written reads back to the same
// fields and rows, the binary bytes are laid out as the format says, a file is told by its
// content, and a file that is not one or that was cut short is refused by name.

#include "data/datapacket.h"
#include "data/ee.h"
#include "data/recordset.h"

#include <QDir>
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
                                                    "3d00" // header, rows from byte 61
                                                    "066b66745f6964"
                                                    "0200"
                                                    "0100"
                                                    "0400"
                                                    "0000" // kft_id: i2, required
                                                    "0b6b66745f6e616d655f726f"
                                                    "1400"
                                                    "4900"
                                                    "0000"
                                                    "0000" // kft_name_ro: varying string(20)
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

} // namespace
