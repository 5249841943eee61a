#pragma once
// An .xlsx file read back as the user's spreadsheet program reads it: the members unpacked by
// bsdtar, the cells of the first sheet with their text, number and number format and weight.

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

class SheetFile
{
public:
    struct Cell {
        QString type;  // "s" shared string, "n" number, "str"/"inlineStr" text
        QString value; // the text of a string, the number as written
        int style = 0;
    };

    explicit SheetFile(const QString &path)
    {
        readStyles(member(path, "xl/styles.xml"));
        readStrings(member(path, "xl/sharedStrings.xml"));
        readSheet(member(path, "xl/worksheets/sheet1.xml"));
    }

    static QByteArray member(const QString &path, const char *name)
    {
        QProcess tar;
        tar.start(QStringLiteral(EVD_BSDTAR), {"-xOf", path, QString::fromLatin1(name)});
        tar.waitForFinished();
        return tar.readAllStandardOutput();
    }

    bool has(const QString &ref) const { return cells.contains(ref); }
    QString text(const QString &ref) const { return cells.value(ref).value; }
    QString type(const QString &ref) const { return cells.value(ref).type; }
    QString format(const QString &ref) const { return formatOfStyle(cells.value(ref).style); }
    bool bold(const QString &ref) const { return boldStyle(cells.value(ref).style); }
    // Cells of a row, "A2", "B2"... in order.
    QStringList row(int r) const
    {
        QStringList out;
        for (auto it = cells.begin(); it != cells.end(); ++it)
            if (it.key().mid(it.key().indexOf(QRegularExpression("[0-9]"))).toInt() == r)
                out << it.key();
        return out;
    }
    // The number format of a style: "@", "dd.mm.yyyy", "General".
    QString formatOfStyle(int style) const
    {
        const int id = style < xfFormats.size() ? xfFormats[style] : 0;
        if (id == 49)
            return QStringLiteral("@");
        if (id == 0)
            return QStringLiteral("General");
        return numFmts.value(id, QString::number(id));
    }
    bool boldStyle(int style) const
    {
        const int font = style < xfFonts.size() ? xfFonts[style] : 0;
        return font < boldFonts.size() && boldFonts[font];
    }

    QMap<QString, Cell> cells;
    QMap<int, int> rowStyles;    // row number -> style of the row (rows with a format of their own)
    QMap<int, int> columnStyles; // column (1-based) -> style given to the whole column
    QMap<int, double> columnWidths;
    int maxRow = 0;

private:
    void readStyles(const QByteArray &xml)
    {
        QXmlStreamReader r(xml);
        QString section;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement())
                continue;
            const auto a = r.attributes();
            if (r.name() == u"numFmt")
                numFmts[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (r.name() == u"fonts" || r.name() == u"cellXfs" || r.name() == u"cellStyleXfs")
                section = r.name().toString();
            else if (r.name() == u"font" && section == u"fonts")
                boldFonts.append(false);
            else if (r.name() == u"b" && section == u"fonts" && !boldFonts.isEmpty())
                boldFonts.last() = true;
            else if (r.name() == u"xf" && section == u"cellXfs") {
                xfFormats.append(a.value("numFmtId").toInt());
                xfFonts.append(a.value("fontId").toInt());
            }
        }
    }
    void readStrings(const QByteArray &xml)
    {
        QXmlStreamReader r(xml);
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"si")
                strings.append(QString());
            else if (r.isStartElement() && r.name() == u"t" && !strings.isEmpty())
                strings.last() += r.readElementText();
        }
    }
    void readSheet(const QByteArray &xml)
    {
        QXmlStreamReader r(xml);
        QString ref;
        while (!r.atEnd()) {
            r.readNext();
            if (!r.isStartElement())
                continue;
            const auto a = r.attributes();
            if (r.name() == u"row") {
                const int n = a.value("r").toInt();
                maxRow = qMax(maxRow, n);
                if (a.value("customFormat") == u"1")
                    rowStyles[n] = a.value("s").toInt();
            } else if (r.name() == u"col") {
                for (int c = a.value("min").toInt(); c <= a.value("max").toInt(); ++c) {
                    columnWidths[c] = a.value("width").toDouble();
                    if (a.hasAttribute("style"))
                        columnStyles[c] = a.value("style").toInt();
                }
            } else if (r.name() == u"c") {
                ref = a.value("r").toString();
                cells[ref] = Cell{a.hasAttribute("t") ? a.value("t").toString() : QStringLiteral("n"),
                                  {},
                                  a.value("s").toInt()};
            } else if ((r.name() == u"v" || r.name() == u"t") && !ref.isEmpty()) {
                Cell &c = cells[ref];
                const QString v = r.readElementText();
                c.value = c.type == u"s" ? strings.value(v.toInt()) : v;
            }
        }
    }

    QStringList strings;
    QMap<int, QString> numFmts;
    QList<bool> boldFonts;
    QList<int> xfFormats, xfFonts;
};
