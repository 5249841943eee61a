#pragma once

#include <QByteArray>
#include <QtGlobal>

// The CRC-32 (reflected polynomial 0xEDB88320) that RAR stores for member data and, cut to
// its low 16 bits, for every block header; fed piece by piece so large files stream through.
class Crc32
{
public:
    void update(const char *data, qsizetype size);
    void update(const QByteArray &bytes) { update(bytes.constData(), bytes.size()); }
    quint32 value() const { return ~m_state; }

    static quint32 of(const QByteArray &bytes);

private:
    quint32 m_state = 0xFFFFFFFFu;
};
