// The text conversions on any text: results stay in their ranges, every display has its
// width, what is shown parses back to the value shown, and title codes go both ways.
#include "check.h"
#include "link/convert.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any UTF-16 text, and the same bytes as Latin-1 (where the hex digits are likelier).
    QString utf16(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    QString latin1 = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &text : {utf16, latin1}) {
        const long long v = conv::hexToU32(text);
        check(v >= -1);
        check(conv::isHexText(text) == (!text.isEmpty() && v != -1));
        const int b = conv::hexToByte(text);
        check(b >= -1 && b <= 255);
        for (int index : {-1, 0, 1, int(text.size()) - 1, int(text.size())}) {
            const int two = conv::twoHexToByte(text, index);
            check(two >= -1 && two <= 255);
        }
        (void)conv::signedDisplayToU16(text);
        (void)conv::isSignedDisplayText(text);
        for (int pos : {-1, 0, 1, 2, 3, 4, 5, int(text.size()) + 1}) {
            const QChar c = conv::charFilter(text, pos);
            check(c == u' ' || c == u'-' || c.isDigit());
        }
        for (const QChar c : text) {
            const int h = conv::hexCharValue(c);
            check(h >= -1 && h <= 15);
            // A title character's code, where it has one, reads back as that character.
            const uint16_t code = conv::titleCode(c);
            check(code == conv::NoTitleCode || conv::titleChar(code) == c);
        }
    }

    uint32_t word = 0;
    std::memcpy(&word, data, std::min(size, sizeof word));
    const auto w16 = uint16_t(word);
    check(conv::hexToByte(conv::byteToHex(uint8_t(word))) == uint8_t(word));
    check(conv::hexToU32(conv::wordToHex(w16)) == w16);
    check(conv::byteToDec3(uint8_t(word)).size() == 3);
    check(conv::u32ToDec8(word).size() == 8);
    const QString shown = conv::signed16Display(w16);
    check(shown.size() == 4);
    check(conv::signed32Display(word).size() == 4);
    // 0-9999 and -1 to -999 show exactly and parse back.
    if (w16 <= 9999 || w16 >= 0x10000 - 999)
        check(conv::signedDisplayToU16(shown) == w16);
    const uint16_t low = conv::lowestSetBit(w16);
    check(w16 == 0 ? low == 0 : (low & w16) == low && (low & (low - 1)) == 0 && (w16 & (low - 1)) == 0);
    // A code the camera sends shows as '?' or as the one character that has it.
    const QChar title = conv::titleChar(w16);
    check(title == u'?' || conv::titleCode(title) == w16);
    char chars[2];
    conv::byteToHexChars(uint8_t(word), chars);
    check(QString::fromLatin1(chars, 2) == conv::byteToHex(uint8_t(word)));
    return 0;
}
