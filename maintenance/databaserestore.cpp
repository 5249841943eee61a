#include "maintenance/databaserestore.h"
#include "data/databasefileerror.h"
#include "data/databaselocation.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "maintenance/databasearchive.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace DatabaseRestore {

namespace {

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo x(a), y(b);
    if (QDir::cleanPath(x.absoluteFilePath()) == QDir::cleanPath(y.absoluteFilePath()))
        return true;
    return !x.canonicalFilePath().isEmpty() && x.canonicalFilePath() == y.canonicalFilePath();
}

// A file, a folder or a dangling link stands at the path.
bool standing(const QString &path)
{
    const QFileInfo f(path);
    return f.exists() || f.isSymLink();
}

EE damagedArchive(const QString &archivePath)
{
    return EE(
        QStringLiteral("Arhiva „%1” este deteriorată și nu poate fi citită.").arg(QFileInfo(archivePath).fileName()));
}

// Writes the archive's database member (the first file named *.gdb) into `out` and returns its
// first bytes, where its header page lies.
QByteArray extractDatabase(const QString &archivePath, QSaveFile &out)
{
    const std::unique_ptr<struct archive, int (*)(struct archive *)> a(archive_read_new(), archive_read_free);
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    const EE damaged = damagedArchive(archivePath);
    if (archive_read_open_filename(a.get(), QFile::encodeName(archivePath).constData(), 1 << 16) != ARCHIVE_OK)
        throw damaged;
    struct archive_entry *entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            throw damaged;
        const char *member = archive_entry_pathname(entry);
        if (archive_entry_filetype(entry) != AE_IFREG || !member
            || !QFile::decodeName(member).endsWith(QLatin1String(".gdb"), Qt::CaseInsensitive))
            continue;
        QByteArray head;
        qint64 written = 0;
        char buffer[1 << 16];
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                throw damaged;
            if (head.size() < 64)
                head.append(buffer, qsizetype(std::min<la_ssize_t>(n, 64 - head.size())));
            if (out.write(buffer, n) != n)
                throw EE(QStringLiteral("Fișierul „%1” nu poate fi scris; baza de date nu a fost restabilită.")
                             .arg(shown(out.fileName())));
            written += n;
        }
        if (archive_entry_size_is_set(entry) && written != archive_entry_size(entry))
            throw damaged;
        return head;
    }
    throw EE(QStringLiteral("Arhiva „%1” nu conține o bază de date.").arg(QFileInfo(archivePath).fileName()));
}

// The name of the restore in the menu, as the user finds it.
const QString kMenuEntry = QStringLiteral("„Restabilire din arhivă” din meniul „Tirvola”");

QString doneText(const Archive &archive, const QString &kept)
{
    QString text = QStringLiteral("Baza de date a fost restabilită din arhiva %1.").arg(archive.shown());
    if (!kept.isEmpty())
        text += QStringLiteral(" Fișierul de dinainte se păstrează ca „%1”.").arg(shown(kept));
    return text;
}

QString keptSentence(const QString &databasePath, const QDateTime &moment)
{
    if (!standing(databasePath))
        return {};
    return QStringLiteral(" Fișierul de acum se păstrează sub numele „%1”.")
        .arg(QFileInfo(keptName(databasePath, moment)).fileName());
}

} // namespace

QString Archive::shown() const
{
    return QStringLiteral("„%1”, din %2 %3")
        .arg(QFileInfo(path).fileName(), Formats::dateText(written.date()),
             written.time().toString(QStringLiteral("HH:mm")));
}

Archive newestArchive(const QString &folder)
{
    Archive newest;
    for (const QFileInfo &f : QDir(folder).entryInfoList({QStringLiteral("bdkolm*.rar")}, QDir::Files, QDir::NoSort))
        if (newest.isNull() || f.lastModified() > newest.written)
            newest = {f.filePath(), f.lastModified()};
    return newest;
}

QString keptName(const QString &databasePath, const QDateTime &moment)
{
    const QFileInfo file(databasePath);
    const QString suffix = file.suffix().isEmpty() ? QString() : u'.' + file.suffix();
    const QString base = file.dir().filePath(file.completeBaseName() + QStringLiteral("_inlocuit_")
                                             + moment.toString(QStringLiteral("yyyyMMdd_HHmmss")));
    QString name = base + suffix;
    for (int n = 2; standing(name) || standing(name + QStringLiteral(".delta")); ++n)
        name = base + u'_' + QString::number(n) + suffix;
    return name;
}

QString restore(const QString &databasePath, const Archive &archive, const QDateTime &moment)
{
    // The archive reader takes a stored member without its checksum; the archiver tests it.
    if (DatabaseArchive::archiverPresent()
        && RunAndWait(Platform::inProgramFolder(QStringLiteral("rar")), {QStringLiteral("t"), archive.path}) != 0)
        throw damagedArchive(archive.path);
    const QString kept = keptName(databasePath, moment);
    const QString delta = databasePath + QStringLiteral(".delta"), keptDelta = kept + QStringLiteral(".delta");
    // Renames never replace a file: what stands in the way of the copy is only moved aside.
    const bool databaseMoved = standing(databasePath);
    if (databaseMoved && !QFile::rename(databasePath, kept))
        throw EE(QStringLiteral("Fișierul „%1” nu poate fi redenumit „%2”; baza de date nu a fost restabilită.")
                     .arg(shown(databasePath), QFileInfo(kept).fileName()));
    const bool deltaMoved = standing(delta) && QFile::rename(delta, keptDelta);
    try {
        QSaveFile out(databasePath);
        if (!out.open(QIODevice::WriteOnly))
            throw EE(QStringLiteral("Fișierul „%1” nu poate fi scris; baza de date nu a fost restabilită.")
                         .arg(shown(databasePath)));
        if (DatabaseArchive::headerState(extractDatabase(archive.path, out)) != DatabaseArchive::FileState::Ordinary)
            throw EE(QStringLiteral("Arhiva „%1” nu conține o bază de date care să poată fi deschisă.")
                         .arg(QFileInfo(archive.path).fileName()));
        if (!out.commit())
            throw EE(QStringLiteral("Fișierul „%1” nu poate fi scris; baza de date nu a fost restabilită.")
                         .arg(shown(databasePath)));
    } catch (...) {
        if (databaseMoved)
            QFile::rename(kept, databasePath);
        if (deltaMoved)
            QFile::rename(keptDelta, delta);
        throw;
    }
    QFile::setPermissions(databasePath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
    return databaseMoved ? kept : QString();
}

QString advice(const DatabaseFileError &error, const QString &databasePath)
{
    if (databasePath.isEmpty() || !error.replaceable() || !sameFile(error.path(), databasePath))
        return {};
    const QString folder = DatabaseArchive::archiveFolder();
    const Archive archive = newestArchive(folder);
    if (archive.isNull())
        return QStringLiteral(
                   "În dosarul „%1” nu este nicio arhivă a bazei de date: puneți în locul fișierului o copie "
                   "a bazei de date păstrată în altă parte.")
            .arg(shown(folder));
    return QStringLiteral("Baza de date poate fi restabilită din cea mai nouă arhivă a ei din dosarul „ARHIVA”, %1, "
                          "cu %2 al programului: fișierul de acum se păstrează sub un nume nou, cu data în el, "
                          "iar în locul lui se pune copia din arhivă.")
        .arg(archive.shown(), kMenuEntry);
}

void openOrOfferRestore(const QString &databasePath, const std::function<void()> &open)
{
    try {
        open();
        return;
    } catch (const DatabaseFileError &e) {
        const QString remedy = advice(e, databasePath);
        if (remedy.isEmpty())
            throw;
        const Archive archive = newestArchive(DatabaseArchive::archiveFolder());
        const QDateTime moment = Clock::now();
        if (archive.isNull()
            || !userInteraction().confirm(
                e.message() + QStringLiteral("\n\nRestabiliți acum baza de date din arhiva %1?").arg(archive.shown())
                + keptSentence(databasePath, moment)))
            throw EE(e.message() + QStringLiteral("\n\n") + remedy);
        QString kept;
        {
            WaitCursor wait;
            kept = restore(databasePath, archive, moment);
        }
        userInteraction().inform(doneText(archive, kept));
    }
    open();
}

void restoreFromMenu(const DatabaseLocation &where, const QDateTime &moment)
{
    if (where.onServer()) {
        userInteraction().inform(QStringLiteral("Baza de date se află pe serverul %1; restabilirea ei se face din "
                                                "copiile de siguranță ale serverului.")
                                     .arg(where.server()));
        return;
    }
    const QString folder = DatabaseArchive::archiveFolder();
    const Archive archive = newestArchive(folder);
    if (archive.isNull()) {
        userInteraction().inform(
            QStringLiteral("În dosarul „%1” nu este nicio arhivă a bazei de date.").arg(shown(folder)));
        return;
    }
    const QString path = where.path();
    if (!userInteraction().confirm(QStringLiteral("Baza de date „%1” se înlocuiește cu copia din arhiva %2.%3 "
                                                  "Continuați?")
                                       .arg(shown(path), archive.shown(), keptSentence(path, moment))))
        return;
    QString kept;
    {
        WaitCursor wait;
        kept = restore(path, archive, moment);
    }
    userInteraction().inform(doneText(archive, kept));
}

} // namespace DatabaseRestore
