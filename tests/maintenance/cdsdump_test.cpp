// cdsdump, run as a user runs it: what a classifier file holds, as text, and the refusal of a
// file that is not one.

#include "data/datapacket.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using DataPacket::makeField;

namespace {

struct Outcome {
    int exitCode;
    QString out, err;
};

Outcome cdsdump(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(EVD_CDSDUMP_EXE), args);
    p.waitForFinished(30000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

TEST(CdsDump, PrintsFieldsThenOneRowALineSeparatedByTabs)
{
    QTemporaryDir dir;
    DataPacket::Packet p;
    p.fields = {makeField("ktapv_id", FieldType::Integer), makeField("ktapv_ap_unit", FieldType::String, 1),
                makeField("ktapv_date_start", FieldType::Date), makeField("ktapv_ap_value", FieldType::Float)};
    p.rows = {{10101, QStringLiteral("P"), QDate(2008, 3, 5), 12.5},
              {10102, QVariant(), QVariant(), 1234567.25},
              {10103, QStringLiteral("Ş"), QDate(2015, 12, 31), 0.0}};
    for (auto f : {DataPacket::Format::Binary, DataPacket::Format::Xml}) {
        const QString path = dir.filePath(f == DataPacket::Format::Binary ? "b.cds" : "x.cds");
        DataPacket::write(path, p, f);
        const Outcome r = cdsdump({path});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, QStringLiteral("ktapv_id\tinteger\t0\n"
                                        "ktapv_ap_unit\tstring\t1\n"
                                        "ktapv_date_start\tdate\t0\n"
                                        "ktapv_ap_value\tfloat\t0\n"
                                        "\n"
                                        "10101\tP\t05.03.2008\t12.5\n"
                                        "10102\t\t\t1234567.25\n"
                                        "10103\tŞ\t31.12.2015\t0\n"));
    }
}

TEST(CdsDump, AFileThatIsNotAClassifierFileExitsWithOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("k_prof.cds");
    // Ten thousand rows of nothing: no fields, and the rows counted -1.
    const QByteArray noFields = QByteArray::fromHex("9619e0bd"
                                                    "0100"
                                                    "0000"
                                                    "12000000"
                                                    "0000"     // fields
                                                    "ffffffff" // rows
                                                    "01000000"
                                                    "0000"
                                                    "0000") // packet properties
                                + QByteArray(10000, '\0');
    for (const auto &[bytes, message] :
         {std::pair{QByteArray("kp_id;kp_name_ro\n"), DataPacket::notAPacketMessage(path)},
          std::pair{noFields, DataPacket::noFieldsMessage(path)}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const Outcome r = cdsdump({path});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.trimmed(), message);
    }
    EXPECT_EQ(cdsdump({}).exitCode, 1);
}

} // namespace
