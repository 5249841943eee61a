#include "data/docseries.h"
#include "data/win1250.h"

namespace DocSeries {

namespace {

constexpr char16_t kCyrillicA = 0x0410; // А; Я is 0x042F

// The character that Windows-1250 writes as the byte b.
QChar storedChar(unsigned char b)
{
    const char c = char(b);
    return Win1250::decode(&c, 1).at(0);
}

int storedIndex(QChar c)
{
    QByteArray b;
    if (!Win1250::encode(QString(c), &b) || b.size() != 1)
        return -1;
    const auto byte = static_cast<unsigned char>(b[0]);
    return byte >= 0xC0 && byte <= 0xDF ? byte - 0xC0 : -1;
}

} // namespace

QString toStored(const QString &series)
{
    QString out = series;
    const int hyphen = int(out.indexOf(u'-'));
    if (hyphen < 0)
        return out;
    for (int i = hyphen + 1; i < out.size(); ++i) {
        const char16_t u = out[i].unicode();
        if (u >= kCyrillicA && u <= kCyrillicA + 31)
            out[i] = storedChar(static_cast<unsigned char>(0xC0 + (u - kCyrillicA)));
    }
    return out;
}

QString toShown(const QString &series)
{
    QString out = series;
    const int hyphen = int(out.indexOf(u'-'));
    if (hyphen < 0)
        return out;
    for (int i = hyphen + 1; i < out.size(); ++i) {
        const int idx = storedIndex(out[i]);
        if (idx >= 0)
            out[i] = QChar(char16_t(kCyrillicA + idx));
    }
    return out;
}

bool isSeriesLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= kCyrillicA && u <= kCyrillicA + 31) || storedIndex(c) >= 0;
}

} // namespace DocSeries
