// Prints a classifier file as text before it is applied: its fields (name, type, size), an
// empty line, then its rows, one a line, values separated by tabs (dates dd.mm.yyyy, numbers
// with "."; an empty value stands for null).

#include "data/datapacket.h"
#include "data/ee.h"
#include "data/formats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <cstdio>

namespace {

QString text(const FieldDef &f, const QVariant &v)
{
    if (v.isNull())
        return {};
    switch (f.type) {
    case FieldType::Float:
    case FieldType::Currency:
        return Formats::floatText(v.toDouble());
    case FieldType::Date:
        return Formats::dateText(v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate());
    case FieldType::DateTime:
        return Formats::dateTimeText(v.toDateTime());
    case FieldType::Time:
        return v.toTime().toString(QStringLiteral("hh:mm:ss"));
    case FieldType::Boolean:
        return v.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    default: {
        QString s = v.toString();
        // One row a line: line breaks and tabs inside a value would split it.
        s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
        return s;
    }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        std::fprintf(stderr, "utilizare: cdsdump FISIER.cds\n");
        return 1;
    }
    try {
        const DataPacket::Packet p = DataPacket::read(args.first());
        QString out;
        for (const FieldDef &f : p.fields)
            out += f.name + u'\t' + DataPacket::typeName(f.type) + u'\t' + QString::number(f.size) + u'\n';
        out += u'\n';
        for (const auto &row : p.rows) {
            QStringList values;
            for (size_t i = 0; i < p.fields.size(); ++i)
                values << text(p.fields[i], i < row.size() ? row[i] : QVariant());
            out += values.join(u'\t') + u'\n';
        }
        const QByteArray bytes = out.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } catch (const EE &e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
