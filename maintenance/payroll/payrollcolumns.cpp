#include "maintenance/payroll/payrollcolumns.h"
#include "data/ee.h"
#include "maintenance/payroll/payrollmessages.h"
#include "maintenance/payroll/payrollvalue.h"

#include <QHash>

namespace {

struct Known {
    PayrollField field;
    const char *caption;
    // Other names the header may give, folded (PayrollValue::folded); the caption's own
    // folded form is always known. The program's own column titles are among them.
    std::vector<const char *> names;
};

const std::vector<Known> &known()
{
    static const std::vector<Known> fields = {
        {PayrollField::Ignored, "Nu se importă", {}},
        {PayrollField::Cpas, "CPAS", {"codulcpas", "codcpas"}},
        {PayrollField::Idnp, "IDNP", {"codulidnp", "codidnp", "codulpersonal"}},
        {PayrollField::FamilyName, "Nume", {"numele", "numedefamilie"}},
        {PayrollField::GivenName, "Prenume", {"prenumele"}},
        {PayrollField::Patronymic, "Patronimic", {"patronimicul"}},
        {PayrollField::BirthDate, "Data nașterii", {"datadenastere", "datanastere"}},
        {PayrollField::Month, "Luna", {"lunii"}},
        {PayrollField::From, "De la", {"deladata", "datainceput", "inceputul"}},
        {PayrollField::To,
         "Pînă la",
         {"panala", "pinaladata", "panaladata", "datasfirsit", "datasfarsit", "sfirsitul", "sfarsitul"}},
        {PayrollField::Days, "Zile", {"zilelucratoare", "zilelucratoareinsaptamina", "zilelucratoareinsaptamana"}},
        {PayrollField::PayFund,
         "Fond de remunerare",
         {"salariu", "salariul", "fondulderemunerare", "fondderetribuire",
          "fondulderetribuireamunciisiconcediulmedical"}},
        {PayrollField::SickPay,
         "Concediu medical",
         {"concediulmedical", "inclusivconcediulmedical", "indemnizatii",
          "indemnizatiepentruincapacitateadetemporaradamunca"}},
        {PayrollField::Category,
         "Categoria",
         {"categorie", "categoriapersoaneiangajate", "categoriapersoaneiasigurate"}},
        {PayrollField::Function, "Funcția", {"functie", "codulfunctiei", "codfunctie"}},
        {PayrollField::FormType, "Tip formular", {"tipulformularului", "tipformularului"}},
        {PayrollField::IndividualContribution,
         "Contribuția individuală",
         {"contributieindividuala", "contributiiindividuale", "contributiiindividualedeasigurarecalculate"}},
        {PayrollField::EmployerContribution,
         "Contribuția angajatorului",
         {"contributieangajator", "contributiaangajator", "contributiiangajator",
          "contributiidatoratedeangajatorcalculate"}},
    };
    return fields;
}

const QHash<QString, PayrollField> &byName()
{
    static const QHash<QString, PayrollField> names = [] {
        QHash<QString, PayrollField> h;
        for (const Known &k : known()) {
            if (k.field == PayrollField::Ignored)
                continue;
            h.insert(PayrollValue::folded(QString::fromUtf8(k.caption)), k.field);
            for (const char *n : k.names)
                h.insert(QString::fromLatin1(n), k.field);
        }
        return h;
    }();
    return names;
}

} // namespace

namespace PayrollColumns {

std::vector<PayrollField> all()
{
    std::vector<PayrollField> fields;
    for (const Known &k : known())
        fields.push_back(k.field);
    return fields;
}

QString caption(PayrollField field)
{
    for (const Known &k : known()) {
        if (k.field == field)
            return QString::fromUtf8(k.caption);
    }
    return QString();
}

PayrollMapping recognise(const PayrollRow &header)
{
    PayrollMapping mapping(header.size(), PayrollField::Ignored);
    std::vector<bool> taken(known().size(), false);
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i].kind != PayrollCell::Kind::Text)
            continue;
        const auto found = byName().constFind(PayrollValue::folded(header[i].text));
        if (found == byName().constEnd() || taken[size_t(*found)])
            continue;
        taken[size_t(*found)] = true;
        mapping[i] = *found;
    }
    return mapping;
}

void requireUsable(const PayrollMapping &mapping)
{
    auto has = [&](PayrollField f) { return std::find(mapping.begin(), mapping.end(), f) != mapping.end(); };
    QStringList problems;
    if (!has(PayrollField::Cpas) && !has(PayrollField::Idnp))
        problems.append(PayrollMessages::noPersonColumn());
    if (!has(PayrollField::Month))
        problems.append(PayrollMessages::noMonthColumn());
    if (!has(PayrollField::PayFund) && !has(PayrollField::SickPay))
        problems.append(PayrollMessages::noAmountColumn());
    for (size_t i = 0; i < mapping.size(); ++i) {
        if (mapping[i] == PayrollField::Ignored)
            continue;
        const auto again = std::find(mapping.begin() + qsizetype(i) + 1, mapping.end(), mapping[i]);
        const bool first = std::find(mapping.begin(), mapping.begin() + qsizetype(i), mapping[i])
                           == mapping.begin() + qsizetype(i);
        if (again != mapping.end() && first)
            problems.append(
                PayrollMessages::fieldTwice(caption(mapping[i]), int(i) + 1, int(again - mapping.begin()) + 1));
    }
    if (!problems.isEmpty())
        throw EE(problems.join(u'\n'));
}

} // namespace PayrollColumns
