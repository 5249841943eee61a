#include "maintenance/payroll/payrollxlsx.h"
#include "data/ee.h"
#include "data/formats.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrolltablebuilder.h"
#include "maintenance/payroll/payrollxml.h"
#include "maintenance/payroll/payrollzip.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>

namespace {

// Formats and cell formats beyond these counts are not looked at: no workbook has as many.
constexpr size_t kMaxFormats = 100000;
constexpr size_t kMaxCellFormats = 1000000;
// What a text of a cell may take in UTF-8 before it is surely too long for a cell.
constexpr size_t kMaxTextBytes = size_t(PayrollLimits::kCellChars + 1) * 4;

void appendBounded(std::string &to, std::string_view text)
{
    if (to.size() < kMaxTextBytes)
        to.append(text.substr(0, kMaxTextBytes - to.size()));
}

// "_x000D_" and the like: how the format writes characters XML cannot hold.
QString unescaped(const QString &s)
{
    if (!s.contains(QStringLiteral("_x")))
        return s;
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i) == u'_' && i + 6 < s.size() && s.at(i + 1) == u'x' && s.at(i + 6) == u'_') {
            bool ok = false;
            const uint code = QStringView(s).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out.append(QChar(char16_t(code)));
                i += 6;
                continue;
            }
        }
        out.append(s.at(i));
    }
    return out;
}

bool toDouble(std::string_view s, double *v)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '+'))
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    const auto res = std::from_chars(s.data(), s.data() + s.size(), *v);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && std::isfinite(*v);
}

bool toIndex(std::string_view s, std::int64_t *v)
{
    const auto res = std::from_chars(s.data(), s.data() + s.size(), *v);
    return res.ec == std::errc() && res.ptr == s.data() + s.size() && *v >= 0;
}

// "2024-03-15" or "2024-03-15T10:20:30": a date written as such.
QDate isoDate(std::string_view s)
{
    if (s.size() < 10 || s[4] != '-' || s[7] != '-' || (s.size() > 10 && s[10] != 'T'))
        return QDate();
    return QDate::fromString(QString::fromLatin1(s.data(), 10), Qt::ISODate);
}

QString folderOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash);
}

// A relationship's target, relative to the folder of the part that names it, as a part name.
QString resolved(const QString &folder, const QString &target)
{
    const QString joined = target.startsWith(u'/') ? target : folder + u'/' + target;
    QStringList parts;
    for (const QString &p : joined.split(u'/')) {
        if (p.isEmpty() || p == u'.')
            continue;
        if (p == QStringLiteral("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(p);
    }
    return parts.join(u'/');
}

QString relationshipsOf(const QString &part)
{
    const QString folder = folderOf(part);
    const QString name = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + u'/') + QStringLiteral("_rels/") + name + QStringLiteral(".rels");
}

struct Relationship {
    QString type, target;
};

class RelationshipsReader : public PayrollXml::Handler
{
public:
    explicit RelationshipsReader(const QString &folder) : m_folder(folder) { }
    void start(std::string_view name, const PayrollXml::Attributes &a) override
    {
        if (name == "Relationship" && a.value("TargetMode") != "External" && m_rels.size() < kMaxFormats)
            m_rels[PayrollXml::text(a.value("Id"))] = {PayrollXml::text(a.value("Type")),
                                                       resolved(m_folder, PayrollXml::text(a.value("Target")))};
    }
    void end(std::string_view) override { }
    void text(std::string_view) override { }

    // The target of the first relationship whose type ends in `/kind`.
    QString targetOf(const QString &kind) const
    {
        for (const auto &[id, r] : m_rels) {
            if (r.type.endsWith(u'/' + kind))
                return r.target;
        }
        return QString();
    }
    const std::map<QString, Relationship> &all() const { return m_rels; }

private:
    QString m_folder;
    std::map<QString, Relationship> m_rels;
};

class WorkbookReader : public PayrollXml::Handler
{
public:
    struct Sheet {
        QString name, relationship;
    };
    void start(std::string_view name, const PayrollXml::Attributes &a) override
    {
        if (name == "workbookPr")
            m_1904 = a.value("date1904") == "1" || a.value("date1904") == "true";
        else if (name == "sheet" && m_sheets.size() < size_t(PayrollLimits::kMembers))
            m_sheets.push_back({PayrollXml::text(a.value("name")), PayrollXml::text(a.value("id"))});
    }
    void end(std::string_view) override { }
    void text(std::string_view) override { }

    bool calendar1904() const { return m_1904; }
    const std::vector<Sheet> &sheets() const { return m_sheets; }

private:
    bool m_1904 = false;
    std::vector<Sheet> m_sheets;
};

class StylesReader : public PayrollXml::Handler
{
public:
    void start(std::string_view name, const PayrollXml::Attributes &a) override
    {
        std::int64_t id = 0;
        if (name == "numFmts") {
            m_inFormats = true;
        } else if (name == "cellXfs") {
            m_inCellFormats = true;
        } else if (name == "numFmt" && m_inFormats && m_formats.size() < kMaxFormats) {
            if (toIndex(a.value("numFmtId"), &id))
                m_formats[id] = PayrollXml::text(a.value("formatCode"));
        } else if (name == "xf" && m_inCellFormats && m_cellFormats.size() < kMaxCellFormats) {
            m_cellFormats.push_back(toIndex(a.value("numFmtId"), &id) ? id : 0);
        }
    }
    void end(std::string_view name) override
    {
        if (name == "numFmts")
            m_inFormats = false;
        else if (name == "cellXfs")
            m_inCellFormats = false;
    }
    void text(std::string_view) override { }

    // For each cell format, whether it shows a date.
    std::vector<bool> dateFormats() const
    {
        std::vector<bool> dates;
        dates.reserve(m_cellFormats.size());
        for (const std::int64_t id : m_cellFormats) {
            const auto code = m_formats.find(id);
            dates.push_back(PayrollXlsx::isDateFormat(int(qMin<std::int64_t>(id, 1 << 20)),
                                                      code == m_formats.end() ? QString() : code->second));
        }
        return dates;
    }

private:
    bool m_inFormats = false, m_inCellFormats = false;
    std::map<std::int64_t, QString> m_formats;
    std::vector<std::int64_t> m_cellFormats;
};

// The workbook's shared texts, kept as the UTF-8 they are written in until a cell takes one.
class SharedStringsReader : public PayrollXml::Handler
{
public:
    explicit SharedStringsReader(const QString &file) : m_file(file) { }
    void start(std::string_view name, const PayrollXml::Attributes &) override
    {
        if (name == "si") {
            m_current.clear();
            m_phonetic = 0;
        } else if (name == "rPh") {
            ++m_phonetic;
        } else if (name == "t") {
            m_inText = true;
        }
    }
    void end(std::string_view name) override
    {
        if (name == "t") {
            m_inText = false;
        } else if (name == "rPh") {
            --m_phonetic;
        } else if (name == "si") {
            if (std::int64_t(m_starts.size()) >= PayrollLimits::kCells)
                throw EE(PayrollMessages::tooManyCells(m_file));
            m_starts.push_back(m_pool.size());
            m_pool.append(m_current);
        }
    }
    void text(std::string_view t) override
    {
        if (m_inText && m_phonetic <= 0)
            appendBounded(m_current, t);
    }

    size_t count() const { return m_starts.size(); }
    QString at(size_t i) const
    {
        const size_t end = i + 1 < m_starts.size() ? m_starts[i + 1] : m_pool.size();
        return unescaped(PayrollXml::text(std::string_view(m_pool).substr(m_starts[i], end - m_starts[i])));
    }

private:
    QString m_file;
    std::string m_pool, m_current;
    std::vector<size_t> m_starts;
    bool m_inText = false;
    int m_phonetic = 0;
};

class SheetReader : public PayrollXml::Handler
{
public:
    SheetReader(PayrollTableBuilder &builder, const SharedStringsReader &strings, const std::vector<bool> &dates,
                bool calendar1904, const QString &file)
        : m_builder(builder), m_strings(strings), m_dates(dates), m_1904(calendar1904), m_file(file)
    { }

    void start(std::string_view name, const PayrollXml::Attributes &a) override
    {
        if (name == "sheetData") {
            m_inData = true;
        } else if (!m_inData) {
        } else if (name == "row") {
            std::int64_t r = 0;
            m_row = a.has("r") ? (toIndex(a.value("r"), &r) ? r - 1 : -1) : m_row + 1;
            m_column = -1;
        } else if (name == "c") {
            m_inCell = true;
            reference(a.value("r"));
            m_type = a.value("t");
            std::int64_t xf = 0;
            m_date = toIndex(a.value("s"), &xf) && size_t(xf) < m_dates.size() && m_dates[size_t(xf)];
            m_value.clear();
            m_formula.clear();
            m_inline.clear();
            m_hasValue = m_hasFormula = false;
        } else if (!m_inCell) {
        } else if (name == "v") {
            m_in = &m_value;
            m_hasValue = true;
        } else if (name == "f") {
            m_in = &m_formula;
            m_hasFormula = true;
        } else if (name == "is") {
            m_inInline = true;
        } else if (name == "rPh") {
            ++m_phonetic;
        } else if (name == "t" && m_inInline && m_phonetic <= 0) {
            m_in = &m_inline;
        }
    }

    void end(std::string_view name) override
    {
        if (name == "sheetData") {
            m_inData = false;
        } else if (name == "c" && m_inCell) {
            m_inCell = m_inInline = false;
            m_phonetic = 0;
            m_in = nullptr;
            if (m_row < 0)
                throw EE(PayrollMessages::damaged(m_file, QStringLiteral("un rînd fără număr")));
            m_builder.add(m_row, m_column, cell());
        } else if (name == "v" || name == "f" || name == "t") {
            m_in = nullptr;
        } else if (name == "is") {
            m_inInline = false;
        } else if (name == "rPh") {
            --m_phonetic;
        }
    }

    void text(std::string_view t) override
    {
        if (m_in)
            appendBounded(*m_in, t);
    }

private:
    // "AB12": column AB of row 12; without a reference, the cell after the previous one.
    void reference(std::string_view ref)
    {
        if (ref.empty()) {
            ++m_column;
            return;
        }
        std::int64_t column = 0;
        size_t i = 0;
        for (; i < ref.size() && std::isalpha(static_cast<unsigned char>(ref[i])); ++i)
            column = qMin<std::int64_t>(column * 26 + (std::toupper(static_cast<unsigned char>(ref[i])) - 'A' + 1),
                                        std::int64_t(1) << 40);
        std::int64_t row = 0;
        if (i == 0 || (i < ref.size() && !toIndex(ref.substr(i), &row)) || (i < ref.size() && row == 0))
            throw EE(PayrollMessages::damaged(m_file, QStringLiteral("celula „%1”").arg(PayrollXml::text(ref))));
        m_column = column - 1;
        if (i < ref.size())
            m_row = row - 1;
    }

    PayrollCell cell() const
    {
        PayrollCell c;
        if (m_type == "s") {
            std::int64_t i = 0;
            if (!m_hasValue)
                return c;
            if (!toIndex(m_value, &i) || size_t(i) >= m_strings.count())
                throw EE(PayrollMessages::damaged(m_file, QStringLiteral("lipsește textul comun %1")
                                                              .arg(PayrollXml::text(m_value))));
            return PayrollTableBuilder::textCell(m_strings.at(size_t(i)));
        }
        if (m_type == "inlineStr")
            return PayrollTableBuilder::textCell(unescaped(PayrollXml::text(m_inline)));
        if (m_type == "str" || m_type == "e")
            return m_hasValue ? PayrollTableBuilder::textCell(unescaped(PayrollXml::text(m_value))) : formula();
        if (m_type == "b")
            return m_hasValue ? PayrollTableBuilder::textCell(m_value == "1" ? QStringLiteral("TRUE")
                                                                             : QStringLiteral("FALSE"))
                              : formula();
        if (m_type == "d") {
            const QDate d = isoDate(m_value);
            if (!d.isValid())
                return PayrollTableBuilder::textCell(PayrollXml::text(m_value));
            c.kind = PayrollCell::Kind::Date;
            c.date = d;
            c.text = Formats::dateText(d);
            return c;
        }
        if (!m_hasValue)
            return formula();
        double v = 0;
        if (!toDouble(m_value, &v))
            return PayrollTableBuilder::textCell(PayrollXml::text(m_value));
        const QDate d = m_date ? PayrollXlsx::serialDate(v, m_1904) : QDate();
        if (d.isValid()) {
            c.kind = PayrollCell::Kind::Date;
            c.date = d;
            c.text = Formats::dateText(d);
        } else {
            c.kind = PayrollCell::Kind::Number;
            c.number = v;
            c.text = Formats::floatText(v);
        }
        return c;
    }

    // A formula whose result the file does not hold: shown as the formula, never as nothing.
    PayrollCell formula() const
    {
        if (!m_hasFormula)
            return PayrollCell();
        PayrollCell c;
        c.kind = PayrollCell::Kind::Text;
        c.text = u'=' + PayrollXml::text(m_formula);
        return c;
    }

    PayrollTableBuilder &m_builder;
    const SharedStringsReader &m_strings;
    const std::vector<bool> &m_dates;
    bool m_1904;
    QString m_file;
    bool m_inData = false, m_inCell = false, m_inInline = false, m_date = false;
    bool m_hasValue = false, m_hasFormula = false;
    int m_phonetic = 0;
    std::int64_t m_row = -1, m_column = -1;
    std::string m_type, m_value, m_formula, m_inline;
    std::string *m_in = nullptr;
};

void parsePart(PayrollZip &zip, const QString &part, PayrollXml::Handler &handler, const QString &file)
{
    QString error;
    if (!PayrollXml::parse(zip.read(part), handler, &error))
        throw EE(PayrollMessages::damaged(file, QStringLiteral("partea „%1”: %2").arg(part, error)));
}

} // namespace

bool PayrollXlsx::isDateFormat(int id, const QString &code)
{
    if (code.isEmpty())
        return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
    // The first section, without its quoted texts, escaped characters, fills, paddings and
    // brackets (colours, conditions, locales; [h] and the like are durations, not dates).
    QString kept;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == u';') {
            break;
        } else if (c == u'"') {
            const qsizetype close = code.indexOf(u'"', i + 1);
            i = close < 0 ? code.size() : close;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype close = code.indexOf(u']', i + 1);
            const QString inside = code.mid(i + 1, close < 0 ? -1 : close - i - 1).toLower();
            if (!inside.isEmpty() && QStringLiteral("hms").contains(inside.at(0)))
                return false;
            i = close < 0 ? code.size() : close;
        } else {
            kept.append(c.toLower());
        }
    }
    if (kept.contains(u'y') || kept.contains(u'd'))
        return true;
    return kept.contains(u'm') && !kept.contains(u'h') && !kept.contains(u's');
}

QDate PayrollXlsx::serialDate(double serial, bool calendar1904)
{
    // 31.12.9999, the last day the programs show.
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466)
        return QDate();
    const qint64 day = qint64(std::floor(serial));
    if (calendar1904)
        return QDate(1904, 1, 1).addDays(day);
    if (day == 0 || day == 60)
        return QDate(); // 0 January and 29 February 1900 are shown, but are no days
    return day < 60 ? QDate(1899, 12, 31).addDays(day) : QDate(1899, 12, 30).addDays(day);
}

void PayrollXlsx::read(PayrollZip &zip, const QString &file, const QString &sheet, PayrollTable *table)
{
    RelationshipsReader root{QString()};
    if (!zip.find(QStringLiteral("_rels/.rels")).isEmpty())
        parsePart(zip, QStringLiteral("_rels/.rels"), root, file);
    QString workbook = root.targetOf(QStringLiteral("officeDocument"));
    if (workbook.isEmpty() || zip.find(workbook).isEmpty())
        workbook = QStringLiteral("xl/workbook.xml");
    if (zip.find(workbook).isEmpty())
        throw EE(PayrollMessages::notSpreadsheet(file));
    WorkbookReader book;
    parsePart(zip, workbook, book, file);
    const QString folder = folderOf(workbook);
    RelationshipsReader rels(folder);
    if (!zip.find(relationshipsOf(workbook)).isEmpty())
        parsePart(zip, relationshipsOf(workbook), rels, file);

    std::vector<std::pair<QString, QString>> sheets; // name, part
    for (const auto &s : book.sheets()) {
        const auto r = rels.all().find(s.relationship);
        if (r != rels.all().end() && r->second.type.endsWith(QStringLiteral("/worksheet"))) {
            sheets.emplace_back(s.name, r->second.target);
            table->sheets.append(s.name);
        }
    }
    if (sheets.empty())
        throw EE(PayrollMessages::noSheets(file));

    auto partOf = [&](const QString &kind, const QString &usual) {
        const QString target = rels.targetOf(kind);
        return target.isEmpty() ? resolved(folder, usual) : target;
    };
    StylesReader styles;
    const QString stylesPart = partOf(QStringLiteral("styles"), QStringLiteral("styles.xml"));
    if (!zip.find(stylesPart).isEmpty())
        parsePart(zip, stylesPart, styles, file);
    const std::vector<bool> dates = styles.dateFormats();
    SharedStringsReader strings(file);
    const QString stringsPart = partOf(QStringLiteral("sharedStrings"), QStringLiteral("sharedStrings.xml"));
    if (!zip.find(stringsPart).isEmpty())
        parsePart(zip, stringsPart, strings, file);

    PayrollTableBuilder builder(file);
    auto readSheet = [&](const std::pair<QString, QString> &s) {
        builder.clear();
        SheetReader reader(builder, strings, dates, book.calendar1904(), file);
        if (!zip.find(s.second).isEmpty())
            parsePart(zip, s.second, reader, file);
        table->sheet = s.first;
        return !builder.isEmpty();
    };
    if (!sheet.isEmpty()) {
        const auto named = std::find_if(sheets.begin(), sheets.end(), [&](const auto &s) { return s.first == sheet; });
        if (named == sheets.end())
            throw EE(PayrollMessages::noSheet(file, sheet));
        if (!readSheet(*named))
            throw EE(PayrollMessages::emptySheet(file, named->first));
    } else if (std::none_of(sheets.begin(), sheets.end(), readSheet)) {
        throw EE(PayrollMessages::empty(file));
    }
    builder.moveTo(table);
}
