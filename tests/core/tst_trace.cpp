// The frame trace: what each recorded frame shows, the round trip, the ring bound, and the
// saved text and CSV.
#include "link/dispatch.h"
#include "link/link.h"
#include "link/trace.h"
#include "serial/tcomm.h"
#include "support/frames.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using trace::Kind;

namespace {
QByteArray bytes(const Frame7 &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.data()), 7);
}

Frame7 reply(uint8_t c, uint8_t i, uint8_t d1 = 0)
{
    Frame7 f{c, i, d1, 0, 0, 0, 0};
    sealFrame(f);
    return f;
}
} // namespace

class TstTrace : public QObject
{
    Q_OBJECT
private slots:
    void meanings_data();
    void meanings();
    void linkAndDispatchAreRecorded();
    void ringKeepsTheNewest();
    void savedAsTextAndCsv();
};

void TstTrace::meanings_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("a read") << int(Kind::Sent) << bytes(requestFrame("8110")) << u"exposure: read 10"_s;
    QTest::newRow("a write") << int(Kind::Sent) << bytes(requestFrame("86800100")) << u"other: write 80"_s;
    QTest::newRow("a memory read carries an address") << int(Kind::Sent) << bytes(requestFrame("900312"))
                                                       << u"EEPROM 1 read: 03"_s;
    QTest::newRow("an error reply") << int(Kind::ErrorReply) << bytes(reply(0xC1, 0x10)) << u"exposure: read 10 (error reply)"_s;
    QTest::newRow("no decoder") << int(Kind::Undelivered) << bytes(reply(0x83, 0x00)) << u"lens: read 00 (no decoder)"_s;
    QTest::newRow("bad checksum") << int(Kind::BadChecksum) << QByteArray(7, '\x81') << u"bad checksum"_s;
    QTest::newRow("stray") << int(Kind::Stray) << QByteArray("AB") << u"stray bytes"_s;
}

void TstTrace::meanings()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, frame);
    QFETCH(QString, meaning);
    trace::TraceLog log;
    log.record(Kind(kind), frame);
    QCOMPARE(trace::meaning(log.at(0)), meaning);
    QCOMPARE(log.data(log.index(0, trace::TraceLog::Meaning)).toString(), meaning);
}

void TstTrace::linkAndDispatchAreRecorded()
{
    TComm comm;   // never opened: requests cannot be written, replies are fed in
    Link link(comm);
    Dispatcher dispatch(link);
    trace::TraceLog log;
    log.attach(link, &dispatch);

    log.recordSent(requestFrame("8110"));
    QTest::qWait(15);
    const Frame7 r = reply(0x81, 0x10, 1);
    link.receiveBytes(QByteArray(reinterpret_cast<const char *>(r.data()), 7));
    QCOMPARE(log.count(), 2);
    QCOMPARE(log.at(1).kind, Kind::Received);
    QVERIFY(log.at(1).roundTripMs >= 15);
    QCOMPARE(log.data(log.index(1, trace::TraceLog::Bytes)).toString(), frameText(r));

    dispatch.Trans_end(ResponseFrame{r});   // no page is shown
    QCOMPARE(log.at(2).kind, Kind::Undelivered);
}

void TstTrace::ringKeepsTheNewest()
{
    trace::TraceLog log(3);
    int inserted = 0, removed = 0;
    connect(&log, &QAbstractItemModel::rowsInserted, this, [&] { ++inserted; });
    connect(&log, &QAbstractItemModel::rowsRemoved, this, [&] { ++removed; });
    for (uint8_t i = 0; i < 5; ++i)
        log.record(Kind::Sent, bytes(requestFrame(QByteArray("81") + QByteArray::number(i, 16).rightJustified(2, '0'))));
    QCOMPARE(log.count(), 3);
    QCOMPARE(log.rowCount(), 3);
    QCOMPARE(inserted, 5);
    QCOMPARE(removed, 2);
    QCOMPARE(trace::meaning(log.at(0)), u"exposure: read 02"_s);
    QCOMPARE(trace::meaning(log.at(2)), u"exposure: read 04"_s);
}

void TstTrace::savedAsTextAndCsv()
{
    trace::TraceLog log;
    log.record(Kind::Sent, bytes(requestFrame("8110")));
    log.record(Kind::Stray, QByteArray("\x41\x42", 2));
    QTemporaryDir dir;
    const QString text = dir.filePath(u"t.txt"_s), csv = dir.filePath(u"t.csv"_s);
    QVERIFY(log.save(text, false));
    QVERIFY(log.save(csv, true));
    QFile t(text), c(csv);
    QVERIFY(t.open(QIODevice::ReadOnly) && c.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = t.readAll().split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].contains("\t->\t"));
    QVERIFY(lines[0].contains("8110 0000 0000 6F"));
    QVERIFY(lines[1].endsWith("41 42\t\tstray bytes"));
    const QList<QByteArray> rows = c.readAll().split('\n');
    QCOMPARE(rows[0], trace::csvHeader().toUtf8());
    QVERIFY(rows[1].endsWith(",->,0,1,8110 0000 0000 6F,,exposure: read 10"));
}

QTEST_GUILESS_MAIN(TstTrace)
#include "tst_trace.moc"
