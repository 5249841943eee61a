// Fuzz target: the settings file evidenta.ini, which names the server database. Whatever it
// holds, the program either opens a database that the name read back names again, or refuses
// with a message of bounded length in which every character can be printed.

#include "data/databaselocation.h"
#include "data/ee.h"
#include "data/messagetext.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString ini = QStringLiteral("/home/ana/.local/share/evidenta/evidenta.ini");
    static const QString local = QStringLiteral("/home/ana/.local/share/evidenta/bdkolm.gdb");
    try {
        const DatabaseLocation l = DatabaseLocation::fromSettings(QByteArray(reinterpret_cast<const char *>(data),
                                                                             qsizetype(size)),
                                                                  ini, local);
        if (!l.onServer()) {
            if (l.connectionName() != local)
                std::abort();
            return 0;
        }
        const DatabaseLocation back = DatabaseLocation::ofConnectionName(l.connectionName());
        if (!back.onServer() || back.host() != l.host() || back.port() != l.port() || back.path() != l.path())
            std::abort();
    } catch (const EE &e) {
        if (e.message().size() > 4096 || MessageText::shown(e.message(), e.message().size()) != e.message())
            std::abort();
    }
    return 0;
}
