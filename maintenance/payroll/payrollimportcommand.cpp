#include "maintenance/payroll/payrollimportcommand.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "maintenance/payroll/payrollimportsession.h"
#include "platform/consoleinteraction.h"
#include "records/chosenagent.h"

#include <QRegularExpression>
#include <QTextStream>

namespace PayrollImportCommand {

QString usage()
{
    return QStringLiteral(
        "Utilizare: evidenta --import-salarii FISIER AN [--agent COD_FOSK] [--verifica-doar] [--persoane-noi]\n"
        "  FISIER           fișierul programului de salarizare: .csv, .txt, .xlsx sau .ods\n"
        "  AN               anul declarațiilor, de exemplu 2024\n"
        "  --agent          codul FOSK al agentului economic (implicit singurul înregistrat)\n"
        "  --verifica-doar  arată ce s-ar face cu fiecare rînd, fără a scrie nimic\n"
        "  --persoane-noi   adaugă persoanele care lipsesc (cu nume, prenume, CPAS și data nașterii)\n");
}

bool parse(const QStringList &arguments, Request *request, QString *error)
{
    Request r;
    QStringList positional;
    bool agentGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--agent")) {
            const QString value = i + 1 < arguments.size() ? arguments.at(++i).trimmed() : QString();
            if (agentGiven || value.isEmpty()) {
                *error = QStringLiteral("Codul agentului economic se indică o singură dată, nevid.");
                return false;
            }
            agentGiven = true;
            r.agent = value;
        } else if (a == QLatin1String("--verifica-doar")) {
            r.checkOnly = true;
        } else if (a == QLatin1String("--persoane-noi")) {
            r.addPersons = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("Opțiune necunoscută: %1.").arg(a);
            return false;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2) {
        *error = QStringLiteral("Se indică fișierul și anul.");
        return false;
    }
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    if (!fourDigits.match(positional.at(1).trimmed()).hasMatch()) {
        *error = QStringLiteral("Anul %1 nu este un an de patru cifre.").arg(positional.at(1));
        return false;
    }
    r.path = positional.at(0);
    r.year = positional.at(1).trimmed().toInt();
    *request = r;
    return true;
}

int main(const QStringList &arguments, QTextStream &out, QTextStream &err,
         const std::function<void(bool writing)> &connect)
{
    Request request;
    QString error;
    if (!parse(arguments, &request, &error)) {
        err << error << Qt::endl << usage();
        err.flush();
        return 2;
    }
    ConsoleInteraction console(err);
    std::optional<PayrollTable> table;
    try {
        table = PayrollFile::read(request.path);
    } catch (const EE &e) {
        err << e.message() << Qt::endl;
        return 2;
    }
    try {
        if (connect)
            connect(!request.checkOnly);
        ChosenAgent::choose(request.agent);
        PayrollImportSession session(std::move(*table), request.year);
        session.setAddPersons(request.addPersons);
        if (const QString problem = session.mappingProblem(); !problem.isEmpty()) {
            err << problem << Qt::endl;
            return 2;
        }
        const PayrollImportResult result = request.checkOnly ? session.preview() : session.import();
        for (const PayrollOutcome &o : result.outcomes)
            if (o.fate == PayrollOutcome::Fate::Refused)
                out << QStringLiteral("rîndul %1: %2").arg(o.line).arg(o.message.simplified()) << '\n';
        out.flush();
        err << result.counts() << Qt::endl;
        if (result.imported)
            err << result.summary() << Qt::endl;
        return result.clean() ? 0 : 1;
    } catch (const EE &e) {
        err << e.message() << Qt::endl;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
    }
    return 1;
}

} // namespace PayrollImportCommand
