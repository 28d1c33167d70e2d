// Data files: the record lines a read-out writes and the frames a playback reads from them.
#include "transfer/datafile.h"
#include "transfer/table.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
QString fileWith(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(u"f.dat"_s);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write the test file");
    return path;
}

QString hex5(const CommandFrame &f)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(f.data()), 5).toHex().toUpper());
}
} // namespace

class TstTransfer : public QObject
{
    Q_OBJECT
private slots:
    void recordLines();
    void playbackFrames_data();
    void playbackFrames();
    void noFileReadsNothing();
    void writtenFileIsByteExact();
    void failedWriteKeepsTheOldFile();
    void tableKnowsWhatWasRead();
};

void TstTransfer::recordLines()
{
    QCOMPARE(transfer::recordLine(0x92, 0x012, 0xABCD), QByteArray("920012ABCD\r\n"));
    QCOMPARE(transfer::endRecordLine(), QByteArray("8F00000000\r\n"));
}

void TstTransfer::playbackFrames_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("frames");   // bytes 0-4 after each make_frec that gave 1
    QTest::newRow("two records and the end")
        << QByteArray("920000ABCD\r\n920001EF01\r\n8F00000000\r\n")
        << QStringList{u"920000ABCD"_s, u"920001EF01"_s, u"8F00000000"_s};
    QTest::newRow("lower case") << QByteArray("9e00ff12ab\r\n") << QStringList{u"9E00FF12AB"_s};
    // A short line keeps the bytes the previous line left; an odd digit fills a low half.
    QTest::newRow("short line") << QByteArray("920000ABCD\r\n931\r\n") << QStringList{u"920000ABCD"_s, u"931000ABCD"_s};
    QTest::newRow("CR LF only resends") << QByteArray("920000ABCD\r\n\r\n") << QStringList{u"920000ABCD"_s, u"920000ABCD"_s};
    QTest::newRow("empty line ends") << QByteArray("920000ABCD\r\n\n920001ABCD\r\n") << QStringList{u"920000ABCD"_s};
    QTest::newRow("text after the digits") << QByteArray("9200 01 ABCD\r\n") << QStringList{u"9200000000"_s};
    QTest::newRow("more than ten digits") << QByteArray("920000ABCDEF\r\n") << QStringList{u"920000ABCD"_s};
    QTest::newRow("last line without LF loses a character") << QByteArray("920000ABCD\r\n9311") << QStringList{u"920000ABCD"_s, u"931000ABCD"_s};
}

void TstTransfer::playbackFrames()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, frames);
    QTemporaryDir dir;
    transfer::DataFileReader reader;
    QVERIFY(reader.open(fileWith(dir, content)));
    QCOMPARE(reader.size(), content.size());
    CommandFrame frame{};
    QStringList got;
    while (reader.make_frec(frame) == 1)
        got << hex5(frame);
    QCOMPARE(got, frames);
    QVERIFY(!reader.failed());
}

void TstTransfer::noFileReadsNothing()
{
    transfer::DataFileReader reader;
    CommandFrame frame{0x92, 1, 2, 3, 4, 0, 0};
    QCOMPARE(reader.make_frec(frame), 0);
    reader.close();
    reader.close();
    QCOMPARE(frame[0], uint8_t(0x92));
    QVERIFY(!reader.open(u"/nonexistent/file.dat"_s));
}

void TstTransfer::writtenFileIsByteExact()
{
    QTemporaryDir dir;
    transfer::TransferTable table;
    table.clear();
    for (int a = 0; a < 1024; ++a)
        table.store(a, uint16_t(a * 7));
    table.store(0x012, 0xABCD);
    const QString path = dir.filePath(u"eep1.dat"_s);
    QVERIFY(transfer::writeDataFile(path, 0x92, 0x3FE, table));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QCOMPARE(all.size(), 12288);
    QCOMPARE(all.mid(0x12 * 12, 12), QByteArray("920012ABCD\r\n"));
    QCOMPARE(all.mid(0x3FE * 12, 12), transfer::recordLine(0x92, 0x3FE, uint16_t(0x3FE * 7)));
    QVERIFY(all.endsWith("8F00000000\r\n"));
}

void TstTransfer::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    // A name so long that no temporary file can stand beside it: the write fails before
    // anything reaches the old file.
    const QString path = dir.filePath(QString(250, u'x'));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    transfer::TransferTable table;
    table.clear();
    QString error;
    QVERIFY(!transfer::writeDataFile(path, 0x9E, 0xFF, table, &error));
    QVERIFY(!error.isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
}

void TstTransfer::tableKnowsWhatWasRead()
{
    transfer::TransferTable table;
    table.clear();
    QVERIFY(!table.filledUpTo(0));
    for (int a = 0; a <= 0xFF; ++a)
        QVERIFY(table.store(a, 0));
    QVERIFY(table.filledUpTo(0xFF));
    QVERIFY(!table.filledUpTo(0x100));
    QVERIFY(!table.store(1024, 1));
    table.clear();
    QVERIFY(!table.filledUpTo(0xFF));
}

QTEST_GUILESS_MAIN(TstTransfer)
#include "tst_transfer.moc"
