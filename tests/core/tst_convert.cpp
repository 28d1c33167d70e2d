// Frames, checksum and the text conversions every page uses.
#include "link/convert.h"
#include "link/frame.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TstConvert : public QObject
{
    Q_OBJECT
private slots:
    void frameTextAndChecksum_data();
    void frameTextAndChecksum();
    void signed16Display_data();
    void signed16Display();
    void signed32Display_data();
    void signed32Display();
    void signedDisplayInverse_data();
    void signedDisplayInverse();
    void hexParsing_data();
    void hexParsing();
    void hexToByte_data();
    void hexToByte();
    void twoHexAndFilter();
    void fixedDigits();
    void lowestSetBit_data();
    void lowestSetBit();
};

void TstConvert::frameTextAndChecksum_data()
{
    QTest::addColumn<QByteArray>("head"); // bytes 0-5
    QTest::addColumn<QString>("text");
    QTest::newRow("title read") << QByteArray::fromHex("800001000000") << u"8000 0100 0000 7F"_s;
    QTest::newRow("reset id 0") << QByteArray::fromHex("8f0000000000") << u"8F00 0000 0000 71"_s;
    QTest::newRow("comm read") << QByteArray::fromHex("891100000000") << u"8911 0000 0000 66"_s;
    QTest::newRow("id 255 covered") << QByteArray::fromHex("8911000000ff") << u"8911 0000 00FF 67"_s;
}

void TstConvert::frameTextAndChecksum()
{
    QFETCH(QByteArray, head);
    QFETCH(QString, text);
    Frame7 f{};
    for (int i = 0; i < 6; ++i)
        f[size_t(i)] = uint8_t(head.at(i));
    sealFrame(f);
    QVERIFY(frameSumIsZero(f));
    QCOMPARE(frameText(f), text);
    f[3] ^= 0x01;
    QVERIFY(!frameSumIsZero(f));
}

void TstConvert::signed16Display_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0xFFFF") << 0xFFFF << u"-001"_s;
    QTest::newRow("0x8000") << 0x8000 << u"-768"_s;
    QTest::newRow("1234") << 1234 << u"1234"_s;
    QTest::newRow("7") << 7 << u"0007"_s;
    QTest::newRow("9999") << 9999 << u"9999"_s;
    QTest::newRow("10000 shows minus first") << 10000 << u"-000"_s;
    QTest::newRow("10999") << 10999 << u"-999"_s;
    // Beyond the designed range the text stays four characters, never out of bounds.
    QTest::newRow("32767 bounded") << 32767 << u"-767"_s;
    QTest::newRow("phase 0xFFF0") << 0xFFF0 << u"-016"_s;
}

void TstConvert::signed16Display()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(conv::signed16Display(uint16_t(value)), text);
}

void TstConvert::signed32Display_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << quint32(0) << u"0000"_s;
    QTest::newRow("9999") << quint32(9999) << u"9999"_s;
    QTest::newRow("-1") << quint32(0xFFFFFFFF) << u"-001"_s;
    QTest::newRow("-1234 keeps three digits") << quint32(0u - 1234u) << u"-234"_s;
    QTest::newRow("large positive bounded") << quint32(123456789) << u"-789"_s;
    QTest::newRow("0x80000000 bounded") << quint32(0x80000000u) << u"-648"_s;
}

void TstConvert::signed32Display()
{
    QFETCH(quint32, value);
    QFETCH(QString, text);
    QCOMPARE(conv::signed32Display(value), text);
}

void TstConvert::signedDisplayInverse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("-001") << u"-001"_s << 0xFFFF << true;
    QTest::newRow("0100") << u"0100"_s << 100 << true;
    QTest::newRow("12a4") << u"12a4"_s << 0 << false;
    // The display keeps only three digits, so -768 reads back as 0x10000 - 768.
    QTest::newRow("-768") << u"-768"_s << 0xFD00 << true;
    QTest::newRow("short text") << u"12"_s << 0 << false;
    QTest::newRow("lone minus") << u"-"_s << 0 << false;
    QTest::newRow("empty") << QString() << 0 << false;
}

void TstConvert::signedDisplayInverse()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(bool, valid);
    QCOMPARE(int(conv::signedDisplayToU16(text)), value);
    QCOMPARE(conv::isSignedDisplayText(text), valid);
}

void TstConvert::hexParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("value");
    QTest::newRow("upper") << u"0A1F"_s << qlonglong(0x0A1F);
    QTest::newRow("lower") << u"00a0"_s << qlonglong(0x00A0);
    QTest::newRow("empty is 0") << QString() << qlonglong(0);
    QTest::newRow("bad char") << u"0G00"_s << qlonglong(-1);
    QTest::newRow("32 bit") << u"FFFFFFFF"_s << qlonglong(0xFFFFFFFF);
}

void TstConvert::hexParsing()
{
    QFETCH(QString, text);
    QFETCH(qlonglong, value);
    QCOMPARE(conv::hexToU32(text), value);
    QCOMPARE(conv::isHexText(text), value >= 0 && !text.isEmpty());
}

void TstConvert::hexToByte_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("two digits") << u"7F"_s << 0x7F;
    QTest::newRow("only last two count") << u"1234"_s << 0x34;
    QTest::newRow("bad") << u"1Z"_s << -1;
}

void TstConvert::hexToByte()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(conv::hexToByte(text), value);
}

void TstConvert::twoHexAndFilter()
{
    QCOMPARE(conv::twoHexToByte(u"E4 AGC DMY"_s), 0xE4);
    QCOMPARE(conv::twoHexToByte(u"x4"_s), -1);
    // Beyond the end counts as not a digit.
    QCOMPARE(conv::twoHexToByte(u"E"_s), -1);
    QCOMPARE(conv::charFilter(u"-12a"_s, 1), QChar(u'-'));
    QCOMPARE(conv::charFilter(u"-12a"_s, 4), QChar(u' '));
    QCOMPARE(conv::charFilter(u"-12a"_s, 9), QChar(u' '));
    QCOMPARE(conv::charFilter(QString(), 0), QChar(u' '));
    char out[2];
    conv::byteToHexChars(0x3C, out);
    QCOMPARE(QByteArray(out, 2), QByteArray("3C"));
}

void TstConvert::fixedDigits()
{
    QCOMPARE(conv::byteToHex(0x0A), u"0A"_s);
    QCOMPARE(conv::wordToHex(0x12F7), u"12F7"_s);
    QCOMPARE(conv::byteToDec3(7), u"007"_s);
    QCOMPARE(conv::byteToDec3(255), u"255"_s);
    QCOMPARE(conv::u32ToDec8(1234), u"00001234"_s);
    // Never more than eight characters.
    QCOMPARE(conv::u32ToDec8(4000000000u), u"00000000"_s);
}

void TstConvert::lowestSetBit_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("bit");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("0x00F0") << 0x00F0 << 0x10;
    QTest::newRow("0x8000") << 0x8000 << 0x8000;
    QTest::newRow("0xFFFF") << 0xFFFF << 1;
}

void TstConvert::lowestSetBit()
{
    QFETCH(int, value);
    QFETCH(int, bit);
    QCOMPARE(int(conv::lowestSetBit(uint16_t(value))), bit);
}

QTEST_GUILESS_MAIN(TstConvert)
#include "tst_convert.moc"
