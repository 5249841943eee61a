#include "data/concurrencyerror.h"
#include "data/connectionerror.h"
#include "data/statusvector.h"

#include <ibase.h>

#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

QString seconds(int n)
{
    return ConnectionError::seconds(n);
}

// "("PACHET_ID" = 5)", as the engine gives the key of a violated constraint: PACHET_ID = 5.
QString keyShown(const QString &engineKey)
{
    QString key = engineKey.trimmed();
    if (key.startsWith(u'(') && key.endsWith(u')'))
        key = key.mid(1, key.size() - 2);
    key.remove(u'"');
    // Dialect 1 keeps the keys as doubles: "1.000000000000000" is the user's 1.
    static const QRegularExpression wholeNumber(QStringLiteral(R"(\b(\d+)\.0+\b)"));
    key.replace(wholeNumber, QStringLiteral("\\1"));
    static const QRegularExpression trailing(QStringLiteral(R"(\b(\d+\.\d*?[1-9])0+\b)"));
    key.replace(trailing, QStringLiteral("\\1"));
    return key;
}

} // namespace

ConcurrencyError::ConcurrencyError(Kind kind, const QString &table, int waitSeconds, const QString &key,
                                   const QString &engineText, int sqlCode, long gdsCode)
    : DbError(describe(kind, table, waitSeconds, key), sqlCode, gdsCode), m_kind(kind), m_table(table),
      m_engineText(engineText)
{ }

QString ConcurrencyError::tableContents(const QString &table)
{
    static const std::pair<const char *, const char *> names[] = {
        {"saldo_data", "rîndurile lunare ale declarațiilor (salariile)"},
        {"name_account", "declarațiile persoanelor"},
        {"assured_person", "datele persoanelor asigurate"},
        {"econ_agent", "datele agentului economic"},
        {"packlabel", "pachetele de declarații"},
        {"t_pachet", "registrul pachetelor electronice"},
        {"money_util", "datele declarațiilor (money_util)"},
        {"stage_info", "datele declarațiilor (stage_info)"},
        {"k_tariff_ap", "clasificatorul categoriilor (k_tariff_ap)"},
        {"k_tariff_ap_value", "clasificatorul tarifelor (k_tariff_ap_value)"},
        {"k_form_type", "clasificatorul tipurilor de formular (k_form_type)"},
        {"k_prof", "clasificatorul profesiilor (k_prof)"},
        {"k_adm_area2", "clasificatorul sectoarelor (k_adm_area2)"},
    };
    for (const auto &[name, contents] : names)
        if (table.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(contents);
    return table.isEmpty() ? QStringLiteral("datele bazei de date") : QStringLiteral("tabelul ") + table;
}

QString ConcurrencyError::tableOf(const QString &statement)
{
    static const QRegularExpression write(QStringLiteral(R"(^\s*(?:update|delete\s+from|insert\s+into)\s+(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression locked(QStringLiteral(R"(^\s*select\b.*?\bfrom\s+(\w+).*\bwith\s+lock\s*$)"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpression *re : {&write, &locked}) {
        const QRegularExpressionMatch m = re->match(statement);
        if (m.hasMatch())
            return m.captured(1).toLower();
    }
    return {};
}

QString ConcurrencyError::describe(Kind kind, const QString &table, int waitSeconds, const QString &key)
{
    const QString what = tableContents(table);
    switch (kind) {
    case Kind::Busy:
        return QStringLiteral("Alt utilizator modifică chiar acum %1 și nu și-a încheiat modificarea timp de %2. "
                              "Operația s-a oprit fără să scrie pasul la care ajunsese; repetați-o peste "
                              "cîteva clipe.")
            .arg(what, seconds(waitSeconds));
    case Kind::Deadlock:
        return QStringLiteral("Operația și o operație a altui utilizator asupra datelor din %1 s-au așteptat una "
                              "pe alta; aceasta s-a oprit fără să scrie pasul la care ajunsese. Repetați-o.")
            .arg(what);
    case Kind::KeyTaken:
        return QStringLiteral("Alt utilizator a salvat între timp în %1 o înregistrare cu aceeași cheie%2. Nimic "
                              "nu a fost scris; repetați operația, ca să primească altă cheie.")
            .arg(what, key.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(keyShown(key)));
    case Kind::TargetGone:
        return QStringLiteral("Alt utilizator a șters între timp înregistrarea de care țin %1 de salvat. Nimic nu a "
                              "fost scris; căutați din nou datele și repetați.")
            .arg(what);
    case Kind::Referenced:
        return QStringLiteral("Alt utilizator a adăugat între timp date care țin de înregistrarea din %1 de "
                              "șters. Nimic nu a fost șters; căutați din nou datele și repetați.")
            .arg(what);
    case Kind::RecordChanged:
        return QStringLiteral("Înregistrarea a fost modificată de alt utilizator. Datele au fost citite din nou; "
                              "repetați modificarea.");
    case Kind::RecordDeleted:
        return QStringLiteral("Înregistrarea a fost ștearsă de alt utilizator. Datele au fost citite din nou.");
    case Kind::RecordBusy:
        return QStringLiteral("Înregistrarea este modificată chiar acum de alt utilizator, care nu și-a încheiat "
                              "modificarea timp de %1. Modificarea dumneavoastră a rămas pe ecran; salvați-o din nou "
                              "peste cîteva clipe.")
            .arg(seconds(waitSeconds));
    }
    return what;
}

std::optional<ConcurrencyError> ConcurrencyError::recognise(const intptr_t *status, const QString &engineText,
                                                            int sqlCode, const QString &statement, int waitSeconds)
{
    const StatusVector vector(status);
    if (vector.empty())
        return std::nullopt;
    const QString table = tableOf(statement);
    const long first = long(vector.first());
    const auto error = [&](Kind kind, const QString &key = {}) {
        return ConcurrencyError(kind, table, waitSeconds, key, engineText, sqlCode, first);
    };
    switch (first) {
    case isc_deadlock: // with a conflict or the lock's time-out: the row is another's, held or changed meanwhile
        return error(vector.has(isc_update_conflict) || vector.has(isc_lock_timeout)
                             || vector.has(isc_concurrent_transaction)
                         ? Kind::Busy
                         : Kind::Deadlock);
    case isc_update_conflict:
    case isc_lock_conflict:
    case isc_lock_timeout:
        return error(Kind::Busy);
    case isc_unique_key_violation:
    case isc_no_dup: {
        // "Problematic key value is (...)" follows the constraint's name.
        const StatusVector::Cluster *key = vector.find(isc_idx_key_value);
        return error(Kind::KeyTaken, key ? key->texts.value(0) : QString());
    }
    case isc_foreign_key:
        if (vector.has(isc_foreign_key_target_doesnt_exist))
            return error(Kind::TargetGone);
        if (vector.has(isc_foreign_key_references_present))
            return error(Kind::Referenced);
        return std::nullopt;
    case isc_random: // the engine's words for a row that another transaction deleted meanwhile
        if (vector.clusters().front().texts.value(0).contains(QLatin1String("erased record")))
            return error(Kind::TargetGone);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void ConcurrencyError::retryWhileBusy(int waitSeconds, const std::function<void()> &attempt,
                                      const std::function<void()> &onConflict)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        try {
            attempt();
            return;
        } catch (const ConcurrencyError &e) {
            if (onConflict)
                onConflict();
            if (!e.retryable() || waited.elapsed() >= qint64(waitSeconds) * 1000)
                throw;
        }
    }
}
