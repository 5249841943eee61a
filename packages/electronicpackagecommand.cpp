#include "packages/electronicpackagecommand.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "packages/electronicpackage.h"
#include "packages/packageperiod.h"
#include "platform/consoleinteraction.h"
#include "records/chosenagent.h"
#include "records/yearworkspace.h"

#include <QRegularExpression>

#include <algorithm>
#include <QTextStream>

namespace ElectronicPackageCommand {

namespace {

// The place of the period in the dialog's list for the year; -1 when the year does not offer it.
int periodItem(int year, const QString &code)
{
    static const QRegularExpression shape(QStringLiteral("^([TL])(\\d\\d)$"));
    const auto m = shape.match(code);
    if (!m.hasMatch())
        return -1;
    const bool month = m.captured(1) == QLatin1String("L");
    const int n = m.captured(2).toInt();
    const int count = int(PackagePeriod::periodCaptions(year).size());
    if (code == QLatin1String("T00"))
        return count - 1; // "Anul intreg" closes every list
    if (year >= 2015)
        return month && n >= 1 && n <= 12 ? n - 1 : -1;
    if (year >= 2013)
        return !month && n >= 1 && n <= 4 ? n - 1 : -1;
    return -1;
}

} // namespace

QString usage()
{
    return QStringLiteral("Utilizare: evidenta --pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK] [--progres]\n"
                          "  AN        anul declarațiilor, de exemplu 2016\n"
                          "  PERIOADA  T00 anul întreg; T01..T04 trimestrul (2013 și 2014); L01..L12 luna (din 2015)\n"
                          "  --tip     1 primară (implicit), 3 de corectare (din 2015)\n"
                          "  --agent   codul FOSK al agentului economic (implicit singurul înregistrat)\n"
                          "  --progres pașii lucrului, pe ieșirea de erori, pe măsură ce încep\n");
}

bool parse(const QStringList &arguments, Request *request, QString *error)
{
    Request r;
    QStringList positional;
    bool typeGiven = false, agentGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--progres")) {
            if (r.progress) {
                *error = QStringLiteral("Opțiunea --progres se indică o singură dată.");
                return false;
            }
            r.progress = true;
        } else if (a == QLatin1String("--tip") || a == QLatin1String("--agent")) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("Lipsește valoarea opțiunii %1.").arg(a);
                return false;
            }
            const QString value = arguments.at(++i).trimmed();
            if (a == QLatin1String("--tip")) {
                if (typeGiven || (value != QLatin1String("1") && value != QLatin1String("3"))) {
                    *error = QStringLiteral("Tipul declarațiilor poate fi 1 sau 3, indicat o singură dată.");
                    return false;
                }
                typeGiven = true;
                r.formType = value.toInt();
            } else {
                if (agentGiven || value.isEmpty()) {
                    *error = QStringLiteral("Codul agentului economic se indică o singură dată, nevid.");
                    return false;
                }
                agentGiven = true;
                r.agent = value;
            }
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("Opțiune necunoscută: %1.").arg(a);
            return false;
        } else {
            positional << a.trimmed();
        }
    }
    if (positional.size() != 2) {
        *error = QStringLiteral("Se indică anul și perioada.");
        return false;
    }
    static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
    if (!fourDigits.match(positional.at(0)).hasMatch()) {
        *error = QStringLiteral("Anul %1 nu este un an de patru cifre.").arg(positional.at(0));
        return false;
    }
    r.year = positional.at(0).toInt();
    r.periodCode = positional.at(1).toUpper();
    r.item = periodItem(r.year, r.periodCode);
    if (r.item < 0) {
        *error = QStringLiteral("Perioada %1 nu se poate alege pentru anul %2.").arg(positional.at(1)).arg(r.year);
        return false;
    }
    const auto types = PackagePeriod::formTypes(r.year);
    if (std::none_of(types.begin(), types.end(), [&](const auto &t) { return t.first == r.formType; })) {
        *error = QStringLiteral("Declarațiile de tipul %1 nu se pot alege pentru anul %2.").arg(r.formType).arg(r.year);
        return false;
    }
    *request = r;
    return true;
}

QString run(const Request &request)
{
    YearWorkspace workspace(request.year, true);
    ChosenAgent::choose(request.agent);
    ElectronicPackage::prepare();
    PackagePeriod period;
    period.choose(request.year, request.item, request.formType);
    return ElectronicPackage::form(period, request.formType, false);
}

int main(const QStringList &arguments, QTextStream &out, QTextStream &err, const std::function<void()> &connect)
{
    Request request;
    QString error;
    if (!parse(arguments, &request, &error)) {
        err << error << Qt::endl << usage();
        err.flush();
        return 2;
    }
    ConsoleInteraction console(err, request.progress);
    try {
        if (connect)
            connect();
        const QString filed = run(request);
        if (filed.isEmpty())
            return 1; // "Nu sint date !" was said
        out << filed << Qt::endl;
        return 0;
    } catch (const EE &e) {
        err << e.message() << Qt::endl;
    } catch (const DbError &e) {
        err << e.message() << Qt::endl;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
    }
    return 1;
}

} // namespace ElectronicPackageCommand
