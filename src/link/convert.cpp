#include "link/convert.h"

#include <algorithm>
#include <array>

namespace conv {

namespace {
constexpr char hexDigits[] = "0123456789ABCDEF";
constexpr char signDigits[] = "0123456789-";

QString fourDigits(uint32_t v)
{
    // Thousands from the quotient, capped so 10000 and above show '-' first.
    const uint32_t thousands = std::min<uint32_t>(v / 1000, 10);
    QString s;
    s += QLatin1Char(signDigits[thousands]);
    s += QLatin1Char(char('0' + (v / 100) % 10));
    s += QLatin1Char(char('0' + (v / 10) % 10));
    s += QLatin1Char(char('0' + v % 10));
    return s;
}

QString minusThree(uint32_t magnitude)
{
    const uint32_t v = magnitude % 1000;
    QString s(u'-');
    s += QLatin1Char(char('0' + v / 100));
    s += QLatin1Char(char('0' + (v / 10) % 10));
    s += QLatin1Char(char('0' + v % 10));
    return s;
}

int digitAt(const QString &text, int index)
{
    if (index < 0 || index >= text.size())
        return -1;
    const QChar c = text.at(index);
    return (c >= u'0' && c <= u'9') ? c.unicode() - u'0' : -1;
}
} // namespace

QString byteToHex(uint8_t b)
{
    QString s;
    s += QLatin1Char(hexDigits[b >> 4]);
    s += QLatin1Char(hexDigits[b & 0x0F]);
    return s;
}

void byteToHexChars(uint8_t b, char *out)
{
    out[0] = hexDigits[b >> 4];
    out[1] = hexDigits[b & 0x0F];
}

QString wordToHex(uint16_t w)
{
    return byteToHex(uint8_t(w >> 8)) + byteToHex(uint8_t(w & 0xFF));
}

QString byteToDec3(uint8_t b)
{
    return QStringLiteral("%1").arg(unsigned(b), 3, 10, QLatin1Char('0'));
}

QString u32ToDec8(uint32_t v)
{
    return QStringLiteral("%1").arg(v % 100000000u, 8, 10, QLatin1Char('0'));
}

QString signed16Display(uint16_t v)
{
    if (v < 0x8000)
        return fourDigits(v);
    return minusThree(0x10000u - v);
}

QString signed32Display(uint32_t v)
{
    if (v > 0x80000000u)
        return minusThree(uint32_t(0u - v));
    return fourDigits(v);
}

int hexCharValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

int twoHexToByte(const QString &text, int index)
{
    if (index < 0 || index + 1 >= text.size())
        return -1;
    const int hi = hexCharValue(text.at(index));
    const int lo = hexCharValue(text.at(index + 1));
    if (hi < 0 || lo < 0)
        return -1;
    return hi * 16 + lo;
}

long long hexToU32(const QString &text)
{
    uint32_t v = 0;
    for (QChar c : text) {
        const int d = hexCharValue(c);
        if (d < 0)
            return -1;
        v = (v << 4) | uint32_t(d);
    }
    return v;
}

int hexToByte(const QString &text)
{
    uint8_t v = 0;
    for (QChar c : text) {
        const int d = hexCharValue(c);
        if (d < 0)
            return -1;
        v = uint8_t((v << 4) | d);
    }
    return v;
}

bool isHexText(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return hexCharValue(c) >= 0; });
}

uint16_t signedDisplayToU16(const QString &text)
{
    if (!text.isEmpty() && text.at(0) == u'-') {
        const int a = digitAt(text, 1), b = digitAt(text, 2), c = digitAt(text, 3);
        if (a < 0 || b < 0 || c < 0)
            return 0;
        return uint16_t(0x10000 - (a * 100 + b * 10 + c));
    }
    const int a = digitAt(text, 0), b = digitAt(text, 1), c = digitAt(text, 2), d = digitAt(text, 3);
    if (a < 0 || b < 0 || c < 0 || d < 0)
        return 0;
    return uint16_t(a * 1000 + b * 100 + c * 10 + d);
}

bool isSignedDisplayText(const QString &text)
{
    if (!text.isEmpty() && text.at(0) == u'-')
        return digitAt(text, 1) >= 0 && digitAt(text, 2) >= 0 && digitAt(text, 3) >= 0;
    return digitAt(text, 0) >= 0 && digitAt(text, 1) >= 0 && digitAt(text, 2) >= 0 && digitAt(text, 3) >= 0;
}

QChar charFilter(const QString &text, int pos)
{
    if (pos < 1 || pos > text.size())
        return u' ';
    const QChar c = text.at(pos - 1);
    return ((c >= u'0' && c <= u'9') || c == u'-') ? c : QChar(u' ');
}

uint16_t lowestSetBit(uint16_t v)
{
    return uint16_t(v & uint16_t(-v));
}

namespace {

// Camera code of each 8-bit character.
constexpr std::array<uint16_t, 256> TitleCodes = [] {
    std::array<uint16_t, 256> t{};
    for (auto &code : t)
        code = NoTitleCode;
    auto same = [&t](int from, int to) {
        for (int c = from; c <= to; ++c)
            t[size_t(c)] = uint16_t(c);
    };
    same(0x15, 0x16);
    t[0x20] = 0x007E;
    same(0x22, 0x22);
    same(0x27, 0x3E);
    same(0x41, 0x5B);
    same(0x5D, 0x5D);
    same(0x61, 0x7B);
    same(0x7D, 0x7D);
    t[0x7E] = 0x0018;
    return t;
}();

} // namespace

uint16_t titleCode(QChar c)
{
    // Any code unit beyond 8 bits has no code either.
    return c.unicode() < TitleCodes.size() ? TitleCodes[c.unicode()] : NoTitleCode;
}

QChar titleChar(uint16_t code)
{
    if (code != NoTitleCode)
        for (size_t c = 0; c < TitleCodes.size(); ++c)
            if (TitleCodes[c] == code)
                return QChar(char16_t(c));
    return QChar(u'?');
}

} // namespace conv
