// Creates the delivered database file when it is missing; an existing file is never touched.
// --older makes one as an older release shipped it, --predecessor the predecessor program's
// file (its agents and persons tables) that the import reads.

#include "data/databasemaker.h"
#include "data/dberror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    DatabaseMaker::Kind kind = DatabaseMaker::Kind::Delivered;
    if (args.removeAll(QStringLiteral("--older")))
        kind = DatabaseMaker::Kind::Older;
    if (args.removeAll(QStringLiteral("--predecessor")))
        kind = DatabaseMaker::Kind::Predecessor;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: mkdb [--older | --predecessor] DATABASE-FILE\n");
        return 2;
    }
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    if (QFileInfo::exists(path)) {
        std::printf("%s exists; left as it is\n", qPrintable(path));
        return 0;
    }
    try {
        DatabaseMaker::create(path, kind);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        QFile::remove(path);
        return 1;
    }
    std::printf("created %s\n", qPrintable(path));
    return 0;
}
