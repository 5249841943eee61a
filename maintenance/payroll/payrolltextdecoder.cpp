#include "maintenance/payroll/payrolltextdecoder.h"
#include "data/ee.h"
#include "data/win1250.h"
#include "maintenance/payroll/payrollmessages.h"

#include <array>

namespace {

// Unicode code points of the bytes 0x80..0xFF of Windows-1251.
constexpr std::array<char16_t, 128> kCyrillicHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

bool isRomanianLetter(char16_t c)
{
    switch (c) {
    case u'ă':
    case u'Ă':
    case u'â':
    case u'Â':
    case u'î':
    case u'Î':
    case u'ș':
    case u'Ș':
    case u'ț':
    case u'Ț':
    case u'ş':
    case u'Ş':
    case u'ţ':
    case u'Ţ':
        return true;
    default:
        return false;
    }
}

bool isCyrillicLetter(char16_t c)
{
    return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451;
}

// Signs outside ASCII that any payroll file may hold.
bool isUsualSign(char16_t c)
{
    switch (c) {
    case 0x00A0:
    case 0x00AB:
    case 0x00BB:
    case 0x00B0:
    case 0x00A7:
    case 0x2116:
    case 0x20AC:
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x2013:
    case 0x2014:
    case 0x2026:
    case 0x2022:
        return true;
    default:
        return false;
    }
}

// The offset of the first byte that does not belong to a well-formed UTF-8 sequence (overlong
// forms, surrogates and code points above U+10FFFF are not), or -1.
qsizetype invalidUtf8At(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length;
        unsigned char low = 0x80, high = 0xBF; // bounds of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        } else {
            return i;
        }
        if (i + length > n)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k < length; ++k) {
            if (p[i + k] < 0x80 || p[i + k] > 0xBF)
                return i;
        }
        i += length;
    }
    return -1;
}

int lineAt(const QByteArray &bytes, qsizetype offset)
{
    return int(QByteArrayView(bytes).first(offset).count('\n')) + 1;
}

bool isAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString PayrollTextDecoder::decodeWindows1251(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = b < 0x80 ? QChar(b) : QChar(kCyrillicHigh[b - 0x80]);
    }
    return out;
}

qsizetype PayrollTextDecoder::implausibleCharacters(const QString &text)
{
    qsizetype odd = 0, romanian = 0, cyrillic = 0;
    bool latin = false; // the current word has a plain Latin letter
    auto endWord = [&] {
        odd += latin ? cyrillic : romanian;
        romanian = cyrillic = 0;
        latin = false;
    };
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (ch.isLetter()) {
            if (c < 0x80)
                latin = true;
            else if (isRomanianLetter(c))
                ++romanian;
            else if (isCyrillicLetter(c))
                ++cyrillic;
            else
                ++odd;
            continue;
        }
        endWord();
        if (c >= 0x80 && !isUsualSign(c))
            ++odd;
    }
    endWord();
    return odd;
}

PayrollTextDecoder::Text PayrollTextDecoder::decode(const QByteArray &bytes, const QString &file)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        throw EE(PayrollMessages::utf16(file));
    if (bytes.contains('\0'))
        throw EE(PayrollMessages::notText(file));
    const QString utf8 = QStringLiteral("UTF-8");
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        const QByteArray body = bytes.mid(3);
        const qsizetype bad = invalidUtf8At(body);
        if (bad >= 0)
            throw EE(PayrollMessages::badUtf8(file, lineAt(body, bad)));
        return {QString::fromUtf8(body), utf8};
    }
    if (isAscii(bytes))
        return {QString::fromLatin1(bytes), utf8};

    // Candidates in the order that wins a tie; each is decoded, counted and let go, so that
    // no more than one decoded copy of a large file is held at a time.
    enum Candidate { Utf8, Win1250, Win1251 };
    auto decoded = [&](Candidate c) {
        switch (c) {
        case Utf8:
            return QString::fromUtf8(bytes);
        case Win1250:
            return Win1250::decode(bytes);
        case Win1251:
            break;
        }
        return decodeWindows1251(bytes);
    };
    const bool validUtf8 = invalidUtf8At(bytes) < 0;
    Candidate best = validUtf8 ? Utf8 : Win1250;
    qsizetype bestCount = implausibleCharacters(decoded(best));
    for (Candidate c : {Win1250, Win1251}) {
        if (c == best || bestCount == 0)
            continue;
        const qsizetype count = implausibleCharacters(decoded(c));
        if (count < bestCount) {
            best = c;
            bestCount = count;
        }
    }
    static const QString names[] = {utf8, QStringLiteral("Windows-1250"), QStringLiteral("Windows-1251")};
    return {decoded(best), names[best]};
}
