#include "app/commandline.h"
#include "app/connection.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/ibdatabase.h"
#include "data/tdm.h"
#include "maintenance/payroll/payrollimportcommand.h"
#include "packages/electronicpackagecommand.h"
#include "packages/packagecheck.h"
#include "packages/packageclassifiers.h"
#include "platform/instancelock.h"
#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <memory>

namespace CommandLine {

namespace {

// The account: ISC_USER and ISC_PASSWORD when set, as the Firebird tools take them.
QString user()
{
    const QByteArray v = qgetenv("ISC_USER");
    return v.isEmpty() ? QStringLiteral("sysdba") : QString::fromLocal8Bit(v);
}
QString password()
{
    const QByteArray v = qgetenv("ISC_PASSWORD");
    return v.isEmpty() ? QStringLiteral("masterkey") : QString::fromLocal8Bit(v);
}

// The data folder's lock while a command uses the embedded database, so that the windows of
// the program do not start on it meanwhile (nothing to take with a database on a server).
class RunningCopyLock
{
public:
    RunningCopyLock() : m_lock(Platform::dataFolder()) {}
    bool acquire() { return Connection::isServerDatabase() || m_lock.acquire(); }

private:
    InstanceLock m_lock;
};

// A data module of its own, connected to the data folder's database, while the command runs;
// none when the folder holds no database or it cannot be opened.
class CommandDatabase
{
public:
    explicit CommandDatabase(QTextStream &err)
    {
        if (DM && DM->IDB->connected())
            return; // the caller's own connection
        const QString folder = Platform::dataFolder();
        if (!Platform::fileExistsNoCase(folder, QStringLiteral("bdkolm.gdb")))
            return;
        const QString path = Platform::findFileNoCase(folder, QStringLiteral("bdkolm.gdb"));
        // The windows of the program hold the database file while they run.
        if (!m_lock.acquire()) {
            err << QStringLiteral("Baza de date %1 este deschisă de program; codurile și tarifele nu se verifică.")
                       .arg(QDir::toNativeSeparators(path))
                << Qt::endl;
            return;
        }
        m_own = std::make_unique<TDM>();
        m_previous = DM;
        DM = m_own.get();
        try {
            DM->IDB->params() = QStringList{QStringLiteral("USER_NAME=") + user(),
                                            QStringLiteral("PASSWORD=") + password()};
            DM->IDB->setDatabaseName(path);
            DM->IDB->open();
            for (RecordSet *s : {DM->k_id_doc_type, DM->k_prof, DM->k_tariff_ap, DM->k_tariff_ap_value})
                LoadClassifier(s);
        } catch (const std::exception &e) {
            err << QStringLiteral("Baza de date %1 nu poate fi deschisă (%2); codurile și tarifele nu se verifică.")
                       .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what()))
                << Qt::endl;
            release();
        }
    }
    ~CommandDatabase() { release(); }

private:
    void release()
    {
        if (!m_own)
            return;
        DM = m_previous;
        m_own.reset();
    }
    RunningCopyLock m_lock;
    std::unique_ptr<TDM> m_own;
    TDM *m_previous = nullptr;
};

int usageError(QTextStream &err, const QString &why)
{
    err << why << Qt::endl << Qt::endl << usage();
    err.flush();
    return 2;
}

int verify(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1)
        return usageError(err, QStringLiteral("--verifica cere numele unei singure arhive."));
    std::optional<PackageClassifiers> classifiers;
    {
        CommandDatabase database(err);
        classifiers = PackageClassifiers::fromDataModule();
    }
    if (!classifiers)
        err << QStringLiteral("Fără baza de date a programului: codurile categoriilor, funcțiilor și documentelor "
                              "și tarifele nu se verifică.")
            << Qt::endl;
    const PackageCheck::Result result = PackageCheck::checkArchive(args[0], classifiers ? &*classifiers : nullptr);
    for (const PackageFinding &f : result.findings)
        out << f.text() << (f.severity == PackageFinding::Warning ? QStringLiteral(" (avertisment)") : QString())
            << '\n';
    out.flush();
    if (!result.readable)
        return 2;
    err << QStringLiteral("Erori: %1, avertismente: %2.").arg(result.errors()).arg(result.warnings()) << Qt::endl;
    return result.clean() ? 0 : 1;
}

// Runs a command on a data module of its own, connected by `run` to the data folder's database,
// while no window of the program holds it.
int onOwnConnection(QTextStream &err, const std::function<int()> &run)
{
    RunningCopyLock lock;
    if (!lock.acquire()) {
        err << QStringLiteral("Programul este pornit pe aceeași bază de date; închideți-l și repetați comanda.")
            << Qt::endl;
        return 1;
    }
    TDM *previous = DM;
    auto own = std::make_unique<TDM>();
    DM = own.get();
    const int rc = run();
    try {
        Connection::close();
    } catch (const std::exception &) {
        // the run's result stands
    }
    DM = previous;
    return rc;
}

// Forms the electronic package of a period on the data folder's database, connected as
// the program connects (the daily archive and the schema upgrade included).
int electronicPackage(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return onOwnConnection(err, [&] {
        return ElectronicPackageCommand::main(args, out, err, [] { Connection::connect(user(), password(), {}); });
    });
}

// Imports a payroll file into the data folder's database: connected as the program connects
// when it writes, only opened when it checks.
int payrollImport(const QStringList &args, QTextStream &out, QTextStream &err)
{
    return onOwnConnection(err, [&] {
        return PayrollImportCommand::main(args, out, err, [](bool writing) {
            if (writing)
                Connection::connect(user(), password(), {});
            else
                Connection::connectToRead(user(), password());
        });
    });
}

int version(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (!args.isEmpty())
        return usageError(err, QStringLiteral("--version nu primește argumente."));
    out << QStringLiteral("evidenta %1").arg(QStringLiteral(EVD_VERSION)) << Qt::endl;
    return 0;
}

int help(const QStringList &, QTextStream &out, QTextStream &)
{
    out << usage();
    out.flush();
    return 0;
}

// The options: each takes the arguments after it. A new option is one more row.
// `data`: the option reads or writes the user's data, so the data folder is made ready first.
struct Command {
    const char *option;
    int (*run)(const QStringList &args, QTextStream &out, QTextStream &err);
    bool data;
};
const Command Commands[] = {
    {"--verifica", verify, true},
    {"--pachet-electronic", electronicPackage, true},
    {"--import-salarii", payrollImport, true},
    {"--version", version, false},
    {"--help", help, false},
};

} // namespace

bool wanted(const QStringList &arguments)
{
    return !arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"));
}

QString usage()
{
    return QStringLiteral(
        "Utilizare:\n"
        "  evidenta                         pornește programul cu ferestrele lui\n"
        "  evidenta --verifica ARHIVA.RAR   verifică un pachet electronic și scrie cîte o constatare pe rînd;\n"
        "                                   ieșirea: 0 fără erori, 1 cu erori, 2 arhiva nu poate fi citită\n"
        "  evidenta --pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK] [--progres]\n"
        "                                   formează pachetul electronic al perioadei;\n"
        "                                   cu --progres îi scrie pașii pe ieșirea de erori\n"
        "  evidenta --import-salarii FISIER AN [--agent COD_FOSK] [--verifica-doar] [--persoane-noi]\n"
        "                                   importă salariile lunare din fișierul programului de salarizare\n"
        "                                   (.csv, .txt, .xlsx, .ods) și scrie cîte un rînd refuzat pe rînd;\n"
        "                                   ieșirea: 0 toate importate sau existente, 1 rînduri refuzate,\n"
        "                                   2 fișierul nu poate fi citit\n"
        "  evidenta --version               versiunea programului\n"
        "  evidenta --help                  acest text\n"
        "Baza de date bdkolm.gdb din dosarul de date, cînd există, dă clasificatoarele și tarifele.\n");
}

int run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty())
        return usageError(err, QStringLiteral("Nu este indicată nicio opțiune."));
    for (const Command &c : Commands)
        if (arguments.first() == QLatin1String(c.option)) {
            if (c.data) {
                const QString problem = Connection::prepareDataFolder();
                if (!problem.isEmpty())
                    err << problem << Qt::endl;
            }
            try {
                return c.run(arguments.mid(1), out, err);
            } catch (const std::exception &e) {
                err << QString::fromUtf8(e.what()) << Qt::endl;
                return 1;
            }
        }
    return usageError(err, QStringLiteral("Opțiune necunoscută: %1").arg(arguments.first()));
}

} // namespace CommandLine
