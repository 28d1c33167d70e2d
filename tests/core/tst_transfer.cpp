// Data files: the record lines a read-out writes and the frames a playback reads from them.
#include "transfer/datafile.h"
#include "transfer/playback.h"
#include "transfer/readout.h"
#include "transfer/table.h"

#include "link/link.h"
#include "serial/tcomm.h"
#include "support/frames.h"
#include "support/ptypeer.h"

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

// The link on a pseudo-terminal whose far end only records; replies are handed in by the test
// as the page's decoder would get them.
struct EngineRig
{
    PtyPeer peer;
    TComm comm;
    Link link{comm};

    EngineRig()
    {
        peer.script = [](const Frame7 &) { return std::nullopt; };
        PortMap::setPath(1, peer.path().toStdString());
        comm.setPort(1);
        comm.Open();
    }
    // Waits until the far end has `n` requests.
    bool requests(int n) { return QTest::qWaitFor([&] { return peer.requests.size() >= n; }, 2000); }
    // A reply as the receiver hands it on, the link busy as it is then.
    static ResponseFrame reply(const char *hex)
    {
        ResponseFrame r;
        r.bytes = requestFrame(hex);
        return r;
    }
};
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
    void fileCheck_data();
    void fileCheck();
    void playbackEndsWhenAnotherRequestGoesOut();
    void newPlaybackClosesTheOldFile();
    void readOutEndsAfterItsLastAddress();
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

void TstTransfer::fileCheck_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");   // FileCheck::Result
    QTest::addColumn<int>("line");
    using R = transfer::FileCheck::Result;
    QTest::newRow("data file") << QByteArray("920000ABCD\r\n8F00000000\r\n") << int(R::Sendable) << 0;
    // A line without digits sends the request buffer again: its category (0x90) is one.
    QTest::newRow("CR LF first") << QByteArray("\r\n920000ABCD\r\n") << int(R::Sendable) << 0;
    QTest::newRow("NUL") << QByteArray("920000ABCD\r\n92\0\r\n", 17) << int(R::NotText) << 2;
    QTest::newRow("byte above 7F in a long line")
        << QByteArray("920000ABCD" + QByteArray(40, ' ') + "\x80\r\n") << int(R::NotText) << 1;
    QTest::newRow("in the character a last line loses") << QByteArray("920000ABCD\r\n9200\xFF") << int(R::NotText) << 2;
    QTest::newRow("first byte without bit 7") << QByteArray("920000ABCD\r\n7F00\r\n") << int(R::NotARequest) << 2;
    QTest::newRow("one digit") << QByteArray("7\r\n") << int(R::NotARequest) << 1;
    // The playback ends at an empty line and at an end record after the first line.
    QTest::newRow("after an empty line") << QByteArray("920000ABCD\r\n\n\0\x01\r\n", 18) << int(R::Sendable) << 0;
    QTest::newRow("after an end record") << QByteArray("920000ABCD\r\n8F\r\n12\r\n") << int(R::Sendable) << 0;
    QTest::newRow("an end record first does not end")
        << QByteArray("8F00000000\r\n12\r\n") << int(R::NotARequest) << 2;
}

void TstTransfer::fileCheck()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(int, line);
    QTemporaryDir dir;
    const transfer::FileCheck c = transfer::checkDataFile(fileWith(dir, content), CommandFrame{0x90, 0, 0, 0, 0, 0, 0});
    QCOMPARE(int(c.result), result);
    QCOMPARE(c.line, line);
    if (!c.sendable())
        QVERIFY(c.describe(u"f.dat"_s).contains(u"f.dat is not a data file: line %1 "_s.arg(line)));
    QCOMPARE(int(transfer::checkDataFile(dir.filePath(u"none.dat"_s), {}).result), int(transfer::FileCheck::Result::OpenFailed));
}

void TstTransfer::playbackEndsWhenAnotherRequestGoesOut()
{
    EngineRig rig;
    QTemporaryDir dir;
    transfer::Playback playback(rig.link);
    const int owner = 0;
    QCOMPARE(playback.start(fileWith(dir, "920000ABCD\r\n920001ABCD\r\n920002ABCD\r\n"), &owner),
             transfer::Playback::Start::Sending);
    QVERIFY(rig.requests(1));
    QCOMPARE(playback.onReply(EngineRig::reply("920000ABCD")), transfer::Playback::Step::Sent);
    QVERIFY(rig.requests(2));
    QVERIFY(playback.running());
    // Another page's request (its reply goes to that page) ends the playback for good.
    rig.link.release();
    QVERIFY(rig.link.request(0x86, 0x00, 1));
    QVERIFY(!playback.running());
    rig.link.release();
    QCOMPARE(playback.onReply(EngineRig::reply("920001ABCD")), transfer::Playback::Step::Idle);
    QVERIFY(rig.link.Trans_chk());
    QTest::qWait(30);
    QCOMPARE(texts(rig.peer.requests), requestTexts({"920000ABCD", "920001ABCD", "8600"}));
}

void TstTransfer::newPlaybackClosesTheOldFile()
{
    EngineRig rig;
    QTemporaryDir dir;
    transfer::Playback playback(rig.link);
    const int first = 0, second = 0;
    const QString a = dir.filePath(u"a.dat"_s), b = dir.filePath(u"b.dat"_s);
    for (const auto &[path, line] : {std::pair{a, "9C0000AAAA\r\n9C0001AAAA\r\n"}, std::pair{b, "9E0000BBBB\r\n"}}) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(line);
    }
    QCOMPARE(playback.start(a, &first), transfer::Playback::Start::Sending);
    QCOMPARE(playback.owner(), &first);
    // Busy: nothing is opened or sent.
    QCOMPARE(playback.start(b, &second), transfer::Playback::Start::Busy);
    rig.link.release();
    QCOMPARE(playback.start(b, &second), transfer::Playback::Start::Sending);
    QCOMPARE(playback.owner(), &second);
    // The reply continues the new file, which then ends; the old one is not resumed.
    QCOMPARE(playback.onReply(EngineRig::reply("9E0000BBBB")), transfer::Playback::Step::EndOfFile);
    QCOMPARE(playback.onReply(EngineRig::reply("9E0000BBBB")), transfer::Playback::Step::Idle);
    QVERIFY(rig.requests(2));
    QTest::qWait(30);
    QCOMPARE(texts(rig.peer.requests), requestTexts({"9C0000AAAA", "9E0000BBBB"}));
}

void TstTransfer::readOutEndsAfterItsLastAddress()
{
    EngineRig rig;
    QTemporaryDir dir;
    transfer::ReadOut readOut(rig.link);
    QList<int> positions;
    connect(&readOut, &transfer::ReadOut::progress, this, [&](int p) { positions << p; });
    const QString path = dir.filePath(u"dsp.dat"_s);
    uint8_t option = 1;
    QVERIFY(readOut.start(transfer::DspSend, path, [&] { return option; }));
    QVERIFY(!readOut.start(transfer::DspSend, path));   // a request is outstanding
    for (int a = 0; a <= 0xFF; ++a) {
        if (a == 0x7F)
            option = 0;   // the option is asked for every request
        const QByteArray hex = QString::asprintf("9F%02X%02X%04X", a, a == 0 ? 1 : 0x55, 0x3000 + a).toLatin1();
        const auto step = readOut.onReply(EngineRig::reply(hex.constData()));
        QCOMPARE(step, a < 0xFF ? transfer::ReadOut::Step::Reading : transfer::ReadOut::Step::Written);
    }
    QVERIFY(!readOut.running());
    QVERIFY(rig.link.Trans_chk());
    QCOMPARE(positions.size(), 257);
    QCOMPARE(positions.last(), 0xFF);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QCOMPARE(all.size(), 257 * 12);
    QCOMPARE(all.left(12), QByteArray("9E00003000\r\n"));
    QCOMPARE(all.mid(0xFF * 12, 12), QByteArray("9E00FF30FF\r\n"));
    // The read-out is over: a late reply of its category reads nothing more.
    QCOMPARE(readOut.onReply(EngineRig::reply("9F10000000")), transfer::ReadOut::Step::Idle);
    QVERIFY(rig.requests(256));
    QTest::qWait(30);
    QCOMPARE(rig.peer.requests.size(), 256);
    QCOMPARE(rig.peer.requestText(0x7F), frameText(requestFrame("9F7F01")));
    QCOMPARE(rig.peer.requestText(0x80), frameText(requestFrame("9F8000")));
}

QTEST_GUILESS_MAIN(TstTransfer)
#include "tst_transfer.moc"
