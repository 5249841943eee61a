#pragma once

#include <QByteArray>
#include <QtGlobal>

// Constants of the RAR 4 block layout shared by the reader and the writer, and the
// little-endian field access that every block uses.
namespace RarFormat {

inline constexpr char marker[] = {'R', 'a', 'r', '!', '\x1a', '\x07', '\x00'};
inline constexpr char rar5Marker[] = {'R', 'a', 'r', '!', '\x1a', '\x07', '\x01', '\x00'};
inline constexpr int markerSize = 7;
inline constexpr int baseHeaderSize = 7;        // HEAD_CRC, HEAD_TYPE, HEAD_FLAGS, HEAD_SIZE
inline constexpr int mainHeaderSize = 13;
inline constexpr int fileHeaderFixedSize = 32;  // up to and including ATTR

enum BlockType : quint8 {
    MainHeader = 0x73,
    FileHeader = 0x74,
    EndOfArchive = 0x7b
};

enum Flags : quint16 {
    MainVolume = 0x0001,
    MainLocked = 0x0004,
    MainSolid = 0x0008,
    MainEncryptedHeaders = 0x0080,
    FileSplitBefore = 0x0001,
    FileSplitAfter = 0x0002,
    FileLarge = 0x0100,
    SkipIfUnknown = 0x4000,
    LongBlock = 0x8000
};

inline constexpr quint8 hostWin32 = 2;
inline constexpr quint8 versionToExtract = 29;  // RAR 2.9, the RAR 4 archive format
inline constexpr quint8 methodStore = 0x30;
inline constexpr quint32 attrArchive = 0x20;
inline constexpr quint32 attrReadOnly = 0x01;

inline quint16 u16(const QByteArray &b, int at)
{
    return quint16(quint8(b[at])) | quint16(quint8(b[at + 1])) << 8;
}

inline quint32 u32(const QByteArray &b, int at)
{
    return quint32(u16(b, at)) | quint32(u16(b, at + 2)) << 16;
}

inline void put16(QByteArray &b, quint16 v)
{
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

inline void put32(QByteArray &b, quint32 v)
{
    put16(b, quint16(v & 0xFFFF));
    put16(b, quint16(v >> 16));
}

} // namespace RarFormat
