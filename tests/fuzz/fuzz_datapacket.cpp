// Fuzz target: a classifier file the user brings, binary or XML data packet, read as the
// classifier update and cdsdump read it. A file that is not a packet is refused with EE;
// anything else (a crash, another exception, a packet whose rows do not fit its fields) is a
// fault.

#include "data/datapacket.h"
#include "data/ee.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const DataPacket::Packet p = DataPacket::parse(QByteArray(reinterpret_cast<const char *>(data),
                                                                  qsizetype(size)),
                                                       QStringLiteral("k_prof.cds"));
        for (const auto &row : p.rows)
            if (row.size() != p.fields.size())
                std::abort();
    } catch (const EE &) { }
    return 0;
}
