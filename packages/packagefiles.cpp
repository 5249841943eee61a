#include "packages/packagefiles.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/recordset.h"
#include "data/win1250.h"
#include "packages/topackagecharset.h"

#include <QDir>
#include <QHash>
#include <QSaveFile>

#include <charconv>
#include <functional>
#include <cmath>

namespace {

const char Separator = '\xB0';

// One line of a file: each field is followed by the separator; a text value is checked for
// what would break the line before it is taken.
class Line
{
public:
    // `owner` names who the line belongs to; it is asked only when a value is refused.
    Line(QByteArray &out, std::function<QString()> owner) : m_out(out), m_owner(std::move(owner)) { }
    Line(QByteArray &out, const QString &owner) : m_out(out), m_owner([owner] { return owner; }) { }
    ~Line() { m_out.append("\r\n", 2); }

    // Digits, points and signs the program made itself.
    void plain(const QString &ascii)
    {
        m_out.append(ascii.toLatin1());
        m_out.append(Separator);
    }
    void text(const QString &value, const QString &field) { bytes(encode(value, field), field); }
    void bytes(const QByteArray &value, const QString &field)
    {
        if (value.contains(Separator) || value.contains('\r') || value.contains('\n'))
            refuse(field,
                   value.contains(Separator) ? QStringLiteral("caracterul °") : QStringLiteral("un sfârșit de rând"));
        m_out.append(value);
        m_out.append(Separator);
    }
    QByteArray encode(const QString &value, const QString &field) const
    {
        QByteArray b;
        QString bad;
        if (!Win1250::encode(value, &b, &bad))
            refuse(field, QStringLiteral("caracterul „%1”, care nu există în codificarea Windows-1250").arg(bad));
        return b;
    }

private:
    [[noreturn]] void refuse(const QString &field, const QString &what) const
    {
        throw EE(QStringLiteral("%1: câmpul „%2” conține %3, care nu poate fi scris în pachetul "
                                "electronic.\nCorectați datele și formați din nou pachetul.")
                     .arg(m_owner(), field, what));
    }

    QByteArray &m_out;
    std::function<QString()> m_owner;
};

QString wholeText(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Double)
        return Formats::floatText(v.toDouble());
    return v.toString().trimmed();
}

QString dateText(const QVariant &v)
{
    if (v.isNull())
        return {};
    const QDate d = v.typeId() == QMetaType::QDate ? v.toDate() : v.toDateTime().date();
    return d.isValid() ? Formats::dateText(d) : QString();
}

// The text of a value of any type, as the database gives it.
QString valueText(const QVariant &v, FieldType type)
{
    if (v.isNull())
        return {};
    if (isDateType(type))
        return dateText(v);
    if (isIntegerType(type) || isFloatType(type))
        return wholeText(v);
    return v.toString();
}

qint64 whole(const QVariant &v)
{
    return v.isNull() ? 0 : qint64(std::llround(v.toDouble()));
}

// Trimmed and cut to the field's size.
QString cut(RecordSet *set, int row, int field)
{
    const QString s = set->valueAt(row, field).toString().trimmed();
    const int size = set->fieldDef(field).size;
    return size > 0 ? s.left(size) : s;
}

// Upper case by the letters the code page holds: a letter whose capital it lacks stays.
QString upperCase(const QString &s)
{
    QString out = s;
    for (QChar &c : out) {
        const QChar u = c.toUpper();
        if (u != c && Win1250::canEncode(QString(u)))
            c = u;
    }
    return out;
}

int need(RecordSet *set, const char *name)
{
    const int i = set->fieldIndex(QString::fromLatin1(name));
    if (i < 0)
        throw EE(QStringLiteral("Lipsește câmpul %1 din %2.").arg(QString::fromLatin1(name), set->name()));
    return i;
}

struct NaFields {
    int id, pl, plNr, cpas, first, middle, last, birth, idnp, docType, seria, number, who, issued;
    explicit NaFields(RecordSet *s)
        : id(need(s, "na_id")), pl(need(s, "na_pl")), plNr(need(s, "pl_nr")), cpas(need(s, "ap_cpas")),
          first(need(s, "ap_first_name")), middle(need(s, "ap_middle_name")), last(need(s, "ap_last_name")),
          birth(need(s, "ap_birth_dt")), idnp(need(s, "ap_idnp")), docType(need(s, "ap_doc_type")),
          seria(need(s, "ap_doc_seria")), number(need(s, "ap_doc_number")), who(need(s, "ap_idnp_who")),
          issued(need(s, "ap_idnp_dt"))
    { }
};

QString personText(RecordSet *s, const NaFields &f, int row)
{
    QStringList name;
    for (int i : {f.first, f.middle, f.last}) {
        const QString part = cut(s, row, i);
        if (!part.isEmpty())
            name << part;
    }
    return QStringLiteral("Persoana cu CPAS %1, %2").arg(cut(s, row, f.cpas), name.join(u' '));
}

} // namespace

PackageFiles::PackageFiles(const QString &folder, const Header &header, RecordSet *packages, RecordSet *declarations)
    : m_folder(folder), m_header(header), m_packages(packages), m_declarations(declarations)
{ }

QString PackageFiles::moneyText(double v)
{
    double r = Formats::round2(v);
    if (r == 0)
        r = 0; // no "-0.00"
    if (std::fabs(r) < 1e10)
        return QString::number(r, 'f', 2);
    // Too many digits before the point: exponent form with 10 significant digits.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, r, std::chars_format::scientific, 9);
    std::string s(buf, res.ptr);
    const size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    while (mantissa.back() == '0')
        mantissa.pop_back();
    if (mantissa.back() == '.')
        mantissa.pop_back();
    return QString::fromStdString(mantissa) + u'E' + QString::number(std::stoi(s.substr(e + 1)));
}

QByteArray PackageFiles::nameBytes(const QString &name)
{
    return ToPackageCharset(Win1250::encodeOrThrow(upperCase(name.trimmed())));
}

void PackageFiles::checkValues(RecordSet *monthlyRows) const
{
    const_cast<PackageFiles *>(this)->sdBytes(monthlyRows, false);
    checkHeaderAndDeclarations(monthlyRows);
}

void PackageFiles::checkHeaderAndDeclarations(RecordSet *monthlyRows) const
{
    tBytes();
    QSet<qint64> withRows;
    if (const int id = monthlyRows->fieldIndex(QStringLiteral("na_id")); id >= 0)
        for (int r = 0; r < monthlyRows->recordCount(); ++r)
            withRows.insert(whole(monthlyRows->valueAt(r, id)));
    naBytes(&withRows);
}

QByteArray PackageFiles::sdBytes(RecordSet *rows, bool addToPackages)
{
    QByteArray out;
    const int n = rows->recordCount();
    if (n == 0)
        return out;
    const int naId = need(rows, "na_id"), naPl = need(rows, "na_pl"), plNr = need(rows, "pl_nr"),
              month = need(rows, "sd_month"), fond = need(rows, "sd_paym_fond"), ill = need(rows, "sd_ill"),
              addEa = need(rows, "sd_sum_add_ea"), add = need(rows, "sd_sum_add"), from = need(rows, "sd_dela_d"),
              until = need(rows, "sd_pina_d"), position = need(rows, "sd_position"), days = need(rows, "sd_zile_n"),
              category = need(rows, "sd_ap_category");

    // Who a row belongs to, for a refusal.
    auto ownerOf = [this](const QVariant &id) {
        if (m_declarations) {
            const NaFields f(m_declarations);
            for (int r = 0; r < m_declarations->recordCount(); ++r)
                if (whole(m_declarations->valueAt(r, f.id)) == whole(id))
                    return personText(m_declarations, f, r);
        }
        return QStringLiteral("Declarația %1").arg(wholeText(id));
    };

    int plSums[4] = {0, 0, 0, 0}; // by PackageAmounts::Amount
    if (addToPackages) {
        need(m_packages, "pl_id");
        plSums[PackageAmounts::PayFund] = need(m_packages, "sd_paym_fond");
        plSums[PackageAmounts::Ill] = need(m_packages, "sd_ill");
        plSums[PackageAmounts::Individual] = need(m_packages, "sd_sum_add");
        plSums[PackageAmounts::Employer] = need(m_packages, "sd_sum_add_ea");
    }

    QVariant curId, curPl, curNr;
    PackageAmounts sums;
    const QString noOwner;
    auto totalLine = [&] {
        Line line(out, noOwner);
        line.plain(wholeText(curId));
        line.plain(wholeText(curNr));
        line.plain(QStringLiteral("13"));
        for (int i = 0; i < 5; ++i)
            line.plain(QString());
        line.plain(moneyText(sums.payFund));
        line.plain(moneyText(sums.ill));
        line.plain(moneyText(sums.individual));
        line.plain(moneyText(sums.employer));
        line.plain(moneyText(sums.total()));
        if (addToPackages && m_packages->locate(QStringLiteral("pl_id"), curPl)) {
            PackageAmounts package;
            for (int i = 0; i < 4; ++i)
                package[i] = m_packages->fieldByIndex(plSums[i]).asFloat();
            package.add(sums);
            m_packages->edit();
            for (int i = 0; i < 4; ++i)
                m_packages->fieldByIndex(plSums[i]).setValue(package[i]);
            m_packages->post();
        }
    };

    for (int r = 0; r < n; ++r) {
        const QVariant id = rows->valueAt(r, naId);
        if (r == 0) {
            curId = id;
            curPl = rows->valueAt(r, naPl);
            curNr = rows->valueAt(r, plNr);
        } else if (whole(id) != whole(curId)) {
            totalLine();
            curId = id;
            curPl = rows->valueAt(r, naPl);
            curNr = rows->valueAt(r, plNr);
            sums = PackageAmounts();
        }
        const double vFond = rows->valueAt(r, fond).toDouble(), vIll = rows->valueAt(r, ill).toDouble(),
                     vAdd = rows->valueAt(r, add).toDouble(), vEa = rows->valueAt(r, addEa).toDouble();
        sums.addRow(vFond, vIll, vAdd, vEa, whole(rows->valueAt(r, category)));

        Line line(out, [&ownerOf, id] { return ownerOf(id); });
        auto field = [&](int i) {
            const FieldType t = rows->fieldDef(i).type;
            const QString v = valueText(rows->valueAt(r, i), t);
            if (isStringType(t))
                line.text(v, rows->fieldDef(i).name);
            else
                line.plain(v);
        };
        for (int i : {naId, plNr, month, position, category, days, from, until})
            field(i);
        line.plain(moneyText(vFond));
        line.plain(moneyText(vIll));
        line.plain(moneyText(vAdd));
        line.plain(moneyText(vEa));
        line.plain(moneyText(PackageAmounts::rowTotal(vAdd, vEa)));
    }
    totalLine();
    return out;
}

QByteArray PackageFiles::ipBytes()
{
    QByteArray out;
    const int nr = need(m_packages, "pl_nr"), cnt = need(m_packages, "doc_cnt"),
              fond = need(m_packages, "sd_paym_fond"), ill = need(m_packages, "sd_ill"),
              add = need(m_packages, "sd_sum_add"), ea = need(m_packages, "sd_sum_add_ea");
    m_grand = PackageAmounts();
    const QString noOwner;
    for (int r = 0; r < m_packages->recordCount(); ++r) {
        PackageAmounts package;
        package.payFund = m_packages->valueAt(r, fond).toDouble();
        package.ill = m_packages->valueAt(r, ill).toDouble();
        package.individual = m_packages->valueAt(r, add).toDouble();
        package.employer = m_packages->valueAt(r, ea).toDouble();
        Line line(out, noOwner);
        line.plain(wholeText(m_packages->valueAt(r, nr)));
        line.plain(wholeText(m_packages->valueAt(r, cnt)));
        line.plain(moneyText(package.payFund));
        line.plain(moneyText(package.ill));
        line.plain(moneyText(package.individual));
        line.plain(moneyText(package.employer));
        line.plain(moneyText(package.total()));
        m_grand.addRounded(package);
    }
    return out;
}

QByteArray PackageFiles::tBytes() const
{
    QByteArray out;
    const QString owner = QStringLiteral("Agentul economic cu codul %1").arg(m_header.agentCode.trimmed());
    Line line(out, owner);
    line.plain(QString::number(m_header.formType));
    line.text(m_header.year.trimmed(), QStringLiteral("Anul"));
    line.plain(m_header.periodCode.mid(1, 2));
    line.plain(m_header.office >= 0 && m_header.office < 10 ? QStringLiteral("0") + QString::number(m_header.office)
                                                            : QString::number(m_header.office));
    line.text(m_header.agentCode, QStringLiteral("Codul agentului"));
    line.text(m_header.fiscalCode, QStringLiteral("Codul fiscal"));
    const QString responsible = QStringLiteral("Persoana responsabilă");
    line.bytes(ToPackageCharset(line.encode(m_header.responsible, responsible)), responsible);
    line.plain(m_header.date.isValid() ? Formats::dateText(m_header.date) : QString());
    line.plain(QString::number(m_packages ? m_packages->recordCount() : 0));
    line.plain(moneyText(m_grand.payFund));
    line.plain(moneyText(m_grand.ill));
    line.plain(moneyText(m_grand.individual));
    line.plain(moneyText(m_grand.employer));
    line.plain(moneyText(m_grand.total()));
    return out;
}

QByteArray PackageFiles::naBytes(const QSet<qint64> *only) const
{
    QByteArray out;
    RecordSet *s = m_declarations;
    const NaFields f(s);
    for (int r = 0; r < s->recordCount(); ++r) {
        if (only && !only->contains(whole(s->valueAt(r, f.id))))
            continue;
        const QString owner = personText(s, f, r);
        Line line(out, owner);
        line.plain(wholeText(s->valueAt(r, f.id)));
        line.plain(wholeText(s->valueAt(r, f.plNr)));
        line.text(cut(s, r, f.cpas), QStringLiteral("CPAS"));
        const QString names[3] = {QStringLiteral("Numele"), QStringLiteral("Prenumele"),
                                  QStringLiteral("Patronimicul")};
        int k = 0;
        for (int i : {f.first, f.middle, f.last}) {
            const QString &caption = names[k++];
            line.bytes(ToPackageCharset(line.encode(upperCase(cut(s, r, i)), caption)), caption);
        }
        line.plain(dateText(s->valueAt(r, f.birth)));
        line.text(cut(s, r, f.idnp), QStringLiteral("IDNP"));
        const qint64 docType = whole(s->valueAt(r, f.docType));
        line.plain(docType == 0 ? QString() : QString::number(docType));
        line.text(upperCase(cut(s, r, f.seria)), QStringLiteral("Seria documentului"));
        line.text(cut(s, r, f.number), QStringLiteral("Numărul documentului"));
        line.text(upperCase(cut(s, r, f.who)), QStringLiteral("Eliberat de"));
        line.plain(dateText(s->valueAt(r, f.issued)));
    }
    return out;
}

void PackageFiles::save(const QString &fileName, const QByteArray &bytes) const
{
    const QString path = QDir(m_folder).filePath(fileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EE(QStringLiteral("Eroare la scrierea fișierului %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void PackageFiles::writeSd(RecordSet *monthlyRows, RecordSet *copies)
{
    // Every value is looked at before the first file is written: the rows as their lines are
    // made (a refusal leaves the package sums half added, and nothing written), then the
    // header and the declarations that have rows.
    const QByteArray bytes = sdBytes(monthlyRows, true);
    checkHeaderAndDeclarations(monthlyRows);
    save(QStringLiteral("REV5_SD"), bytes);
    if (copies && copies != monthlyRows) {
        copies->close();
        copies->clearFields();
        std::vector<int> stored;
        for (int i = 0; i < monthlyRows->fieldCount(); ++i) {
            if (monthlyRows->fieldDef(i).kind == FieldKind::Data) {
                copies->addField(monthlyRows->fieldDef(i));
                stored.push_back(i);
            }
        }
        copies->createDataSet();
        std::vector<QVariant> values(stored.size());
        for (int r = 0; r < monthlyRows->recordCount(); ++r) {
            for (size_t k = 0; k < stored.size(); ++k)
                values[k] = monthlyRows->valueAt(r, stored[k]);
            copies->appendValues(values);
        }
        copies->endAppendValues();
    }
}

void PackageFiles::writeIp()
{
    save(QStringLiteral("REV5_IP"), ipBytes());
}

void PackageFiles::writeT()
{
    save(QStringLiteral("REV5_T"), tBytes());
}

void PackageFiles::writeNa()
{
    save(QStringLiteral("REV5_NA"), naBytes());
}
