#include "crc32.h"

#include <array>

namespace {

constexpr std::array<quint32, 256> makeTable()
{
    std::array<quint32, 256> table{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[i] = c;
    }
    return table;
}

constexpr std::array<quint32, 256> crcTable = makeTable();

} // namespace

void Crc32::update(const char *data, qsizetype size)
{
    quint32 c = m_state;
    for (qsizetype i = 0; i < size; ++i)
        c = crcTable[(c ^ static_cast<quint8>(data[i])) & 0xFF] ^ (c >> 8);
    m_state = c;
}

quint32 Crc32::of(const QByteArray &bytes)
{
    Crc32 crc;
    crc.update(bytes);
    return crc.value();
}
