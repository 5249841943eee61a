#include "data/databasefileerror.h"
#include "data/statusvector.h"

#include <ibase.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>

namespace {

// The system refused the access itself.
bool refused(int osError)
{
    return osError == EACCES || osError == EPERM || osError == EROFS;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString rights(QFile::Permissions p)
{
    const std::pair<QFile::Permission, char> bits[] = {
        {QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
        {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
        {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'},
    };
    QString text;
    for (const auto &[bit, letter] : bits)
        text += (p & bit) ? QChar::fromLatin1(letter) : u'-';
    return text;
}

QString permissionText(const QString &path, int osError)
{
    const QFileInfo file(path);
    if (osError == EROFS)
        return QStringLiteral("Fișierul bazei de date „%1” se află pe un disc pe care nu se poate scrie; "
                              "mutați-l (împreună cu dosarul lui) pe un disc pe care se poate scrie.")
            .arg(shown(path));
    if (!file.exists() && osError != 0)
        return QStringLiteral("Dosarul „%1” al bazei de date nu poate fi deschis: lipsește dreptul de acces la el. "
                              "Dați utilizatorului care pornește programul dreptul de a deschide dosarul "
                              "și conectați-vă din nou.")
            .arg(shown(file.absolutePath()));
    QString verb = QStringLiteral("modificat"), right = QStringLiteral("scriere"), letters = QStringLiteral("w");
    QString details;
    if (file.exists()) {
        // The administrator passes the system's checks, yet the engine keeps to the file's own rights.
        const QFile::Permissions p = file.permissions();
        const bool mayRead = file.isReadable() && (p & (QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const bool mayWrite = file.isWritable() && (p & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther));
        if (!mayRead && !mayWrite) {
            verb = QStringLiteral("nici citit, nici modificat");
            right = QStringLiteral("citire și de scriere");
            letters = QStringLiteral("rw");
        } else if (!mayRead) {
            verb = QStringLiteral("citit");
            right = QStringLiteral("citire");
            letters = QStringLiteral("r");
        }
        const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
        details = (user.isEmpty() ? QString() : QStringLiteral(" pentru utilizatorul „%1”").arg(user))
                  + QStringLiteral(" (drepturile fișierului: %1, proprietarul lui: %2)")
                        .arg(rights(p), file.owner().isEmpty() ? QString::number(file.ownerId()) : file.owner());
    }
    return QStringLiteral("Fișierul bazei de date „%1” nu poate fi %2: lipsește dreptul de %3 asupra lui%4. "
                          "Dați acest drept (de exemplu, ca proprietar al fișierului: chmod u+%5 \"%1\") și "
                          "conectați-vă din nou.")
        .arg(shown(path), verb, right, details, letters);
}

} // namespace

DatabaseFileError::DatabaseFileError(Problem problem, const QString &path, const QString &engineText, int sqlCode,
                                     int osError)
    : DbError(describe(problem, path, osError), sqlCode), m_problem(problem), m_path(path), m_engineText(engineText)
{ }

bool DatabaseFileError::replaceable() const
{
    switch (m_problem) {
    case Problem::Missing:
    case Problem::Empty:
    case Problem::CutShort:
    case Problem::NotADatabase:
    case Problem::Folder:
        return true;
    case Problem::NoPermission:
    case Problem::Unreadable:
    case Problem::OtherVersion:
        break;
    }
    return false;
}

QString DatabaseFileError::describe(Problem problem, const QString &path, int osError)
{
    const QString file = shown(path);
    switch (problem) {
    case Problem::Missing:
        return QStringLiteral("Fișierul bazei de date „%1” nu există.").arg(file);
    case Problem::Empty:
        return QStringLiteral("Fișierul bazei de date „%1” este gol (0 octeți): datele lui s-au pierdut.").arg(file);
    case Problem::CutShort: {
        const QFileInfo here(path);
        return QStringLiteral("Fișierul bazei de date „%1” este deteriorat: este mai scurt decât trebuie%2, "
                              "sfârșitul lui s-a pierdut.")
            .arg(file, here.exists() ? QStringLiteral(" (%1 octeți)").arg(here.size()) : QString());
    }
    case Problem::NotADatabase:
        return QStringLiteral("Fișierul „%1” nu este o bază de date: conținutul lui este deteriorat sau a fost "
                              "înlocuit cu alt fișier.")
            .arg(file);
    case Problem::Folder:
        return QStringLiteral("În locul fișierului bazei de date „%1” se află un dosar cu același nume.").arg(file);
    case Problem::NoPermission:
        return permissionText(path, osError);
    case Problem::Unreadable:
        return QStringLiteral("Fișierul bazei de date „%1” nu poate fi citit sau scris: discul a raportat o "
                              "eroare (codul de sistem %2). Verificați discul.")
            .arg(file)
            .arg(osError);
    case Problem::OtherVersion:
        return QStringLiteral("Fișierul bazei de date „%1” a fost făcut de o altă versiune a serverului de baze de "
                              "date și nu poate fi deschis de aceasta.")
            .arg(file);
    }
    return file;
}

std::optional<DatabaseFileError> DatabaseFileError::recognise(const intptr_t *status, const QString &engineText,
                                                              int sqlCode)
{
    const StatusVector vector(status);
    if (vector.empty())
        return std::nullopt;
    const StatusVector::Cluster &first = vector.clusters().front();
    const auto error = [&](Problem problem, const QString &path, int osError = 0) {
        return DatabaseFileError(problem, path, engineText, sqlCode, osError);
    };
    switch (first.code) {
    case isc_io_error: { // "I/O error during "<operation>" operation for file "<path>"", then the detail
        const QString path = first.texts.value(1);
        if (path.isEmpty())
            return std::nullopt;
        const int osError = vector.osError();
        // The system's code tells what happened (the file may be a server's, not on this computer).
        if (osError == EISDIR)
            return error(Problem::Folder, path);
        if (refused(osError))
            return error(Problem::NoPermission, path, osError);
        if (osError == ENOENT || osError == ENOTDIR)
            return error(Problem::Missing, path);
        // A read past the end ("File size is less than expected") carries no system error.
        if (osError == 0 && first.texts.value(0) == QLatin1String("read")) {
            const QFileInfo file(path);
            return error(file.exists() && file.size() == 0 ? Problem::Empty : Problem::CutShort, path);
        }
        return error(Problem::Unreadable, path, osError);
    }
    case isc_bad_db_format: { // "file <path> is not a valid database"
        const QString path = first.texts.value(0);
        if (path.isEmpty())
            return std::nullopt;
        return error(QFileInfo(path).size() == 0 ? Problem::Empty : Problem::NotADatabase, path);
    }
    case isc_no_priv: // "no permission for <access> access to <object kind> <name>"
        if (first.texts.value(1) != QLatin1String("database") || first.texts.value(2).isEmpty())
            return std::nullopt; // a privilege of SQL, not the file's
        return error(Problem::NoPermission, first.texts.value(2));
    case isc_wrong_ods: // "unsupported on-disk structure for file <path>; found ..., support ..."
        if (first.texts.value(0).isEmpty())
            return std::nullopt;
        return error(Problem::OtherVersion, first.texts.value(0));
    default:
        return std::nullopt;
    }
}
