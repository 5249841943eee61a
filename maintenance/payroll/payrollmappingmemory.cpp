#include "maintenance/payroll/payrollmappingmemory.h"
#include "data/formats.h"
#include "data/tdm.h"
#include "platform/platform.h"

#include <QMap>
#include <QSettings>

namespace PayrollMappingMemory {

namespace {

// The fields by the names the settings file writes them with: never changed once written.
const std::vector<std::pair<PayrollField, const char *>> &keys()
{
    static const std::vector<std::pair<PayrollField, const char *>> k = {
        {PayrollField::Ignored, "nu_se_importa"},
        {PayrollField::Cpas, "cpas"},
        {PayrollField::Idnp, "idnp"},
        {PayrollField::FamilyName, "nume"},
        {PayrollField::GivenName, "prenume"},
        {PayrollField::Patronymic, "patronimic"},
        {PayrollField::BirthDate, "data_nasterii"},
        {PayrollField::Month, "luna"},
        {PayrollField::From, "de_la"},
        {PayrollField::To, "pina_la"},
        {PayrollField::Days, "zile"},
        {PayrollField::PayFund, "fond_de_remunerare"},
        {PayrollField::SickPay, "concediu_medical"},
        {PayrollField::Category, "categoria"},
        {PayrollField::Function, "functia"},
        {PayrollField::FormType, "tip_formular"},
        {PayrollField::IndividualContribution, "contributia_individuala"},
        {PayrollField::EmployerContribution, "contributia_angajatorului"},
    };
    return k;
}

QString keyOf(PayrollField field)
{
    for (const auto &[f, key] : keys())
        if (f == field)
            return QString::fromLatin1(key);
    return {};
}

std::optional<PayrollField> fieldOf(const QString &key)
{
    for (const auto &[f, k] : keys())
        if (key == QLatin1String(k))
            return f;
    return std::nullopt;
}

QString folded(const QString &title)
{
    return title.simplified().toCaseFolded();
}

QString group(const QString &agent)
{
    return QStringLiteral("agent_") + agent;
}

// The agent's titles (folded) with their fields, and the titles as written.
struct Remembered {
    QMap<QString, PayrollField> fields; // in the order of the titles
    QMap<QString, QString> written;
};

Remembered read(QSettings &settings, const QString &agent)
{
    Remembered r;
    settings.beginGroup(group(agent));
    const int n = settings.beginReadArray(QStringLiteral("coloane"));
    for (int i = 0; i < n; ++i) {
        settings.setArrayIndex(i);
        const QString t = settings.value(QStringLiteral("titlu")).toString();
        if (const auto field = fieldOf(settings.value(QStringLiteral("camp")).toString()); field && !t.isEmpty()) {
            r.fields.insert(folded(t), *field);
            r.written.insert(folded(t), t);
        }
    }
    settings.endArray();
    settings.endGroup();
    return r;
}

QSettings settingsFile()
{
    return QSettings(Platform::inDataFolder(fileName()), QSettings::IniFormat);
}

} // namespace

QString fileName()
{
    return QStringLiteral("salarii.ini");
}

QString currentAgent()
{
    RecordSet *agent = DM->econ_agent;
    if (!agent->active() || agent->isEmpty())
        return {};
    const QString fosk = agent->field(QStringLiteral("ea_fosk")).asString().trimmed();
    return fosk.isEmpty() ? Formats::floatText(agent->field(QStringLiteral("ea_id")).asFloat()) : fosk;
}

QString title(const PayrollCell &cell)
{
    if (cell.kind == PayrollCell::Kind::Number && cell.text.isEmpty())
        return Formats::floatText(cell.number);
    if (cell.kind == PayrollCell::Kind::Date && cell.text.isEmpty())
        return Formats::dateText(cell.date);
    return cell.text.trimmed();
}

PayrollMapping recall(const QString &agent, const PayrollRow &header)
{
    PayrollMapping mapping = PayrollColumns::recognise(header);
    if (agent.isEmpty())
        return mapping;
    QSettings settings = settingsFile();
    const Remembered remembered = read(settings, agent);
    std::vector<bool> chosen(header.size(), false);
    for (size_t i = 0; i < header.size(); ++i) {
        const auto it = remembered.fields.constFind(folded(title(header[i])));
        if (it == remembered.fields.constEnd())
            continue;
        mapping[i] = *it;
        chosen[i] = true;
    }
    // A field has one column: the one the user chose over the one recognised, the first of two chosen.
    for (size_t i = 0; i < mapping.size(); ++i)
        for (size_t j = 0; j < mapping.size(); ++j)
            if (i != j && mapping[i] != PayrollField::Ignored && mapping[i] == mapping[j] && chosen[i]
                && (!chosen[j] || i < j))
                mapping[j] = PayrollField::Ignored;
    return mapping;
}

void remember(const QString &agent, const PayrollRow &header, const PayrollMapping &mapping)
{
    if (agent.isEmpty())
        return;
    QSettings settings = settingsFile();
    Remembered r = read(settings, agent);
    for (size_t i = 0; i < header.size() && i < mapping.size(); ++i) {
        const QString t = title(header[i]);
        if (t.isEmpty())
            continue;
        r.fields.insert(folded(t), mapping[i]);
        r.written.insert(folded(t), t);
    }
    settings.beginGroup(group(agent));
    settings.remove(QString());
    settings.beginWriteArray(QStringLiteral("coloane"), int(r.fields.size()));
    int i = 0;
    for (auto it = r.fields.constBegin(); it != r.fields.constEnd(); ++it, ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("titlu"), r.written.value(it.key()));
        settings.setValue(QStringLiteral("camp"), keyOf(*it));
    }
    settings.endArray();
    settings.endGroup();
    settings.sync();
}

} // namespace PayrollMappingMemory
