#include "maintenance/payroll/payrollfacts.h"
#include "data/formats.h"
#include "data/readscope.h"
#include "data/tdm.h"

#include <QDateTime>

namespace {

QString joined(const QVariant &first, const QVariant &second)
{
    QString name = first.toString().trimmed();
    const QString given = second.toString().trimmed();
    if (!given.isEmpty())
        name += (name.isEmpty() ? QString() : QStringLiteral(" ")) + given;
    return name;
}

// A date as the statements write it (dd.mm.yyyy, that is midnight) against a stored value.
std::pair<QDate, QTime> atMidnight(const QDate &d)
{
    return {d, QTime(0, 0)};
}

std::pair<QDate, QTime> moment(const QVariant &v)
{
    const QDateTime dt = v.toDateTime();
    return {dt.date(), dt.time()};
}

} // namespace

PayrollFacts::PayrollFacts(double agentId, int year) : m_agent(agentId), m_year(year)
{
    readPersons();
    readDeclarations();
    readRows();
}

void PayrollFacts::readPersons()
{
    ReadScope read(DM->IBQ1,
                   QStringLiteral("select ap_id,ap_cpas,ap_idnp,ap_first_name,ap_middle_name from assured_person "
                                  "where ap_ea=")
                       + Formats::floatText(m_agent));
    for (; !read->eof(); read->next())
        addPerson({read.value(0).toDouble(), read.value(1).toString().trimmed(), read.value(2).toString().trimmed(),
                   joined(read.value(3), read.value(4))});
}

void PayrollFacts::readDeclarations()
{
    ReadScope read(DM->IBQ1, QStringLiteral("select n.na_id,n.na_ap,n.na_year,n.na_ap_category,n.na_position "
                                            "from name_account n inner join assured_person a on n.na_ap=a.ap_id "
                                            "where a.ap_ea=")
                                 + Formats::floatText(m_agent));
    for (; !read->eof(); read->next())
        addDeclaration(
            {read.value(0).toDouble(), read.value(1).toDouble(), read.value(2).toInt(), read.value(3), read.value(4)});
}

void PayrollFacts::readRows()
{
    ReadScope read(DM->IBQ1, QStringLiteral("select s.sd_id,s.sd_na,s.sd_month,s.sd_ap_category,s.sd_dela_d,"
                                            "s.sd_pina_d,s.sd_zile_n from saldo_data s "
                                            "inner join name_account n on s.sd_na=n.na_id "
                                            "inner join assured_person a on n.na_ap=a.ap_id where n.na_year=")
                                 + QString::number(m_year) + QStringLiteral(" and a.ap_ea=")
                                 + Formats::floatText(m_agent));
    for (; !read->eof(); read->next())
        m_rows[read.value(1).toDouble()].push_back({read.value(0).toDouble(), read.value(2).toInt(),
                                                    read.value(3).toDouble(), moment(read.value(4)),
                                                    moment(read.value(5)), read.value(6).toInt()});
}

void PayrollFacts::addPerson(const Person &person)
{
    const int at = int(m_persons.size());
    m_persons.push_back(person);
    if (!person.cpas.isEmpty())
        m_byCpas[person.cpas].push_back(at);
    if (!person.idnp.isEmpty())
        m_byIdnp[person.idnp].push_back(at);
}

void PayrollFacts::addDeclaration(const Declaration &declaration)
{
    const int at = int(m_declarations.size());
    m_declarations.push_back(declaration);
    // The first declaration of the year found is the one a window would show.
    if (declaration.year == m_year && !m_ofYear.contains(declaration.person))
        m_ofYear.insert(declaration.person, at);
    const auto latest = m_latest.constFind(declaration.person);
    if (latest == m_latest.constEnd() || m_declarations[size_t(*latest)].year < declaration.year)
        m_latest.insert(declaration.person, at);
}

void PayrollFacts::addRow(double declaration, double id, int month, double category, const QDate &from, const QDate &to,
                          int days)
{
    m_rows[declaration].push_back({id, month, category, atMidnight(from), atMidnight(to), days});
}

const PayrollFacts::Person *PayrollFacts::personByCpas(const QString &cpas) const
{
    const auto it = m_byCpas.constFind(cpas.trimmed());
    return it == m_byCpas.constEnd() ? nullptr : &m_persons[size_t(it->front())];
}

const PayrollFacts::Person *PayrollFacts::personByIdnp(const QString &idnp) const
{
    const auto it = m_byIdnp.constFind(idnp.trimmed());
    return it == m_byIdnp.constEnd() ? nullptr : &m_persons[size_t(it->front())];
}

const PayrollFacts::Declaration *PayrollFacts::declarationOfYear(double person) const
{
    const auto it = m_ofYear.constFind(person);
    return it == m_ofYear.constEnd() ? nullptr : &m_declarations[size_t(*it)];
}

bool PayrollFacts::rowPresent(double declaration, int month, double category, const QDate &from, const QDate &to,
                              int days) const
{
    const auto rows = m_rows.constFind(declaration);
    if (rows == m_rows.constEnd())
        return false;
    for (const Row &r : *rows)
        if (r.month == month && r.category == category && r.from.first == from && r.to.first == to && r.days == days)
            return true;
    return false;
}

bool PayrollFacts::personCodeTaken(const QString &column, const QString &code, double agentId, double personId)
{
    if (agentId != m_agent)
        return m_database.personCodeTaken(column, code, agentId, personId);
    const auto &byCode = column == QLatin1String("ap_idnp") ? m_byIdnp : m_byCpas;
    const auto holders = byCode.constFind(code.trimmed());
    if (holders == byCode.constEnd())
        return false;
    for (int at : *holders)
        if (m_persons[size_t(at)].id != personId)
            return true;
    return false;
}

bool PayrollFacts::declarationExists(const QString &person, const QString &year)
{
    if (year.trimmed().toInt() != m_year)
        return m_database.declarationExists(person, year);
    return m_ofYear.contains(person.toDouble());
}

std::optional<RecordQuestions::LatestDeclaration> PayrollFacts::latestDeclaration(const QString &person)
{
    const auto it = m_latest.constFind(person.toDouble());
    if (it == m_latest.constEnd())
        return std::nullopt;
    const Declaration &d = m_declarations[size_t(*it)];
    return LatestDeclaration{d.position, d.category};
}

std::optional<QString> PayrollFacts::professionName(const QString &code)
{
    auto it = m_professions.find(code);
    if (it == m_professions.end())
        it = m_professions.insert(code, m_database.professionName(code));
    return *it;
}

bool PayrollFacts::periodTaken(const QString &declaration, const QString &month, const QString &category,
                               const QString &rowId, const QDate &from, const QDate &to)
{
    const auto rows = m_rows.constFind(declaration.toDouble());
    if (rows == m_rows.constEnd())
        return false;
    // The conditions of DatabaseQuestions::periodStatement, one by one.
    const Moment D = atMidnight(from), P = atMidnight(to);
    const int m = month.toInt();
    const double c = category.toDouble();
    for (const Row &r : *rows) {
        if (r.month != m || r.category != c || (!rowId.isEmpty() && r.id == rowId.toDouble()))
            continue;
        if ((r.to >= D && r.to <= P) || (r.from >= D && r.from <= P) || (r.from >= D && r.to <= P)
            || (r.from <= D && r.to >= P))
            return true;
    }
    return false;
}

bool PayrollFacts::packageFormed(const QString &year, const QString &month)
{
    const QString key = year + u'|' + month;
    auto it = m_packages.find(key);
    if (it == m_packages.end())
        it = m_packages.insert(key, m_database.packageFormed(year, month));
    return *it;
}

std::optional<RecordQuestions::Rate> PayrollFacts::rate(const QString &year, const QString &category)
{
    const QString key = year + u'|' + category;
    auto it = m_rates.find(key);
    if (it == m_rates.end())
        it = m_rates.insert(key, m_database.rate(year, category));
    return *it;
}
