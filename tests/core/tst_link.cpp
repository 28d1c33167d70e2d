// The byte receiver and the completion steps of the link, fed directly with bytes.
#include "link/link.h"
#include "link/trace.h"
#include "serial/tcomm.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QByteArray frameBytes(uint8_t c, uint8_t i, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0, uint8_t id = 1)
{
    Frame7 f{c, i, d1, d2, d3, id, 0};
    sealFrame(f);
    return QByteArray(reinterpret_cast<const char *>(f.data()), 7);
}

// The link alone, with a host that counts the hourglass and a handler that collects frames.
struct LinkRig : LinkHost, FrameHandler
{
    TComm comm;
    Link link{comm};
    bool oneToOneMode = true;
    int cursorOn = 0, cursorOff = 0;
    QList<Frame7> dispatched;
    QStringList exceptions;
    std::function<void(const ResponseFrame &)> onFrame;

    LinkRig()
    {
        link.setHost(this);
        link.setFrameHandler(this);
    }
    int cameraId() const override { return 0; }
    bool oneToOne() const override { return oneToOneMode; }
    void showBusy(bool busy) override { (busy ? cursorOn : cursorOff)++; }
    void showException(const QString &message) override { exceptions << message; }
    void handleFrame(const ResponseFrame &r) override
    {
        dispatched.append(r.bytes);
        if (onFrame)
            onFrame(r);
    }
};

// A pseudo-terminal whose slave side the link's TComm opens; the test is the camera.
struct Pty
{
    int master = -1;
    QString slave;
    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {};
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0)
            qFatal("cannot create a pseudo-terminal: %s", strerror(errno));
        slave = QString::fromLocal8Bit(name);
    }
    ~Pty() { ::close(master); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;
    bool send(const QByteArray &bytes) const
    {
        return ::write(master, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }
};

// A port whose receive event reports more bytes than are waiting.
class OverReportingComm : public TComm
{
public:
    void DoCommReceive() override
    {
        if (OnCommReceive && !reported_.exchange(true))
            OnCommReceive(*this, 10);
    }
private:
    std::atomic<bool> reported_{false};
};

} // namespace

class TstLink : public QObject
{
    Q_OBJECT
private slots:
    void assembly_data();
    void assembly();
    void strayBytesTraced();
    void strayTraceIsCapped();
    void badChecksumRearmsOnlyInOneToOne_data();
    void badChecksumRearmsOnlyInOneToOne();
    void goodFrameStepsInOrder();
    void dispatchIsNotReentered();
    void busyGuardLeavesBufferAlone();
    void exceptionInHandlingIsShownAndReceptionGoesOn();
    void handOverKeepsOrder_data();
    void handOverKeepsOrder();
    void ownThreadStopsWatchingALineThatWentAway();
    void abandonedFrameStaysAbandoned();
    void onlyBytesReadAreHandedOver();
    void writeTheLineRefusesFreesTheLink();
    void bytesWaitingBehindAReplyAreBounded_data();
    void bytesWaitingBehindAReplyAreBounded();
    void lineFaultsReachTheTrace();
};

void TstLink::assembly_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<int>("frames");
    const QByteArray a = frameBytes(0x81, 0x10, 1, 2, 3);
    const QByteArray b = frameBytes(0x86, 0x00, 0, 1, 0);
    QTest::newRow("one read") << QList<QByteArray>{a} << 1;
    QTest::newRow("split over three reads") << QList<QByteArray>{a.left(2), a.mid(2, 3), a.mid(5)} << 1;
    QTest::newRow("two frames in one read") << QList<QByteArray>{a + b} << 2;
    QTest::newRow("ack before frame") << QList<QByteArray>{QByteArray("\x06", 1) + a} << 1;
    QTest::newRow("nak between frames") << QList<QByteArray>{a + QByteArray("\x15", 1) + b} << 2;
    // A byte with bit 7 inside a frame is data, not a new start.
    QTest::newRow("high data byte") << QList<QByteArray>{frameBytes(0x88, 0x11, 0xB0, 0x80, 0xFF)} << 1;
}

void TstLink::assembly()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(int, frames);
    LinkRig rig;
    for (const QByteArray &c : chunks)
        rig.link.receiveBytes(c);
    QCOMPARE(rig.dispatched.size(), frames);
    QCOMPARE(rig.link.receiver().state(), RxState::Idle);
    // Acknowledgement bytes leave no trace; panel 2 shows the last frame.
    QCOMPARE(rig.link.panel(2), frameText(rig.dispatched.last()));
}

void TstLink::strayBytesTraced()
{
    LinkRig rig;
    rig.link.receiveBytes(QByteArray("\x41\x06\x42", 3));
    QCOMPARE(rig.link.panel(2), u"4142"_s);
    QVERIFY(rig.dispatched.isEmpty());
    // A frame after stray bytes still completes and replaces the trace.
    rig.link.receiveBytes(frameBytes(0x89, 0x11));
    QCOMPARE(rig.dispatched.size(), 1);
}

void TstLink::strayTraceIsCapped()
{
    LinkRig rig;
    rig.link.receiveBytes(QByteArray(5000, '\x41'));
    QCOMPARE(rig.link.panel(2).size(), 4096);
    QVERIFY(rig.link.panel(2).endsWith(u"4141"_s));
}

void TstLink::badChecksumRearmsOnlyInOneToOne_data()
{
    QTest::addColumn<bool>("oneToOne");
    QTest::newRow("1:1 re-arms") << true;
    QTest::newRow("1:N leaves the flag") << false;
}

void TstLink::badChecksumRearmsOnlyInOneToOne()
{
    QFETCH(bool, oneToOne);
    LinkRig rig;
    rig.oneToOneMode = oneToOne;
    QByteArray bad = frameBytes(0x81, 0x10, 1, 2, 3);
    bad[6] = char(bad[6] + 1);
    rig.link.receiveBytes(bad);
    QVERIFY(rig.dispatched.isEmpty());
    QCOMPARE(rig.link.panel(2), QString());
    QCOMPARE(rig.link.LinkBusy, uint8_t(oneToOne ? 1 : 0));
    QCOMPARE(rig.cursorOn, oneToOne ? 1 : 0);
    QCOMPARE(rig.link.receiver().state(), RxState::Idle);
}

void TstLink::goodFrameStepsInOrder()
{
    LinkRig rig;
    QString panelSeen;
    uint8_t busySeen = 0;
    int cursorOffSeen = -1;
    rig.onFrame = [&](const ResponseFrame &) {
        panelSeen = rig.link.panel(2);
        busySeen = rig.link.LinkBusy;
        cursorOffSeen = rig.cursorOff;
    };
    rig.link.receiveBytes(frameBytes(0x81, 0x00, 1, 2, 3));
    // Traced, re-armed ('1:1' keeps the link busy while the reply is applied), cursor back.
    QCOMPARE(panelSeen, u"8100 0102 0301 78"_s);
    QCOMPARE(busySeen, uint8_t(1));
    QCOMPARE(cursorOffSeen, 1);
}

void TstLink::dispatchIsNotReentered()
{
    LinkRig rig;
    int depth = 0, maxDepth = 0;
    QList<uint8_t> order;
    rig.onFrame = [&](const ResponseFrame &r) {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        order.append(r.item());
        // As if a modal box in the decoder let the next bytes in.
        if (r.item() == 1)
            rig.link.receiveBytes(frameBytes(0x80, 3));
        --depth;
    };
    rig.link.receiveBytes(frameBytes(0x80, 1) + frameBytes(0x80, 2));
    QCOMPARE(maxDepth, 1);
    QCOMPARE(order, (QList<uint8_t>{1, 2, 3}));
}

void TstLink::busyGuardLeavesBufferAlone()
{
    LinkRig rig;
    rig.link.LinkBusy = 1;
    rig.link.frame = {0x90, 0x01, 0x02, 0x03, 0x04, 0, 0};
    QVERIFY(!rig.link.request(0x81, 0x10, 1));
    QCOMPARE(rig.link.frame[0], uint8_t(0x90));
    QCOMPARE(rig.link.StxCommand(1), 0);
    QCOMPARE(rig.link.frame[4], uint8_t(0x04));
    QCOMPARE(rig.link.panel(1), QString());
}

void TstLink::exceptionInHandlingIsShownAndReceptionGoesOn()
{
    LinkRig rig;
    rig.onFrame = [](const ResponseFrame &r) {
        if (r.item() == 1)
            throw std::runtime_error("\xE5\x85\xA5\xE5\x87\xBA\xE5\x8A\x9B\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC");
    };
    rig.link.receiveBytes(frameBytes(0x80, 1) + frameBytes(0x80, 2));
    QCOMPARE(rig.exceptions, QStringList{u"入出力エラー"_s});
    QCOMPARE(rig.dispatched.size(), 2);
}

void TstLink::handOverKeepsOrder_data()
{
    QTest::addColumn<QList<int>>("splits");   // chunk sizes; the last one repeats
    QTest::addColumn<Link::ReadOn>("readOn");
    QList<int> random;
    QRandomGenerator gen(21);
    for (int i = 0; i < 200; ++i)
        random << int(gen.bounded(1, 40));
    for (const auto &[where, name] : {std::pair{Link::ReadOn::WatchThread, "watch thread"}, {Link::ReadOn::OwnThread, "own thread"}}) {
        QTest::addRow("%s: one at a time", name) << QList<int>{1} << where;
        QTest::addRow("%s: all at once", name) << QList<int>{100000} << where;
        QTest::addRow("%s: random splits", name) << random << where;
    }
}

// Bytes through the real watch thread and hand-over, or read on the link's own thread:
// whatever the line's chunks, every frame and every stray byte comes out once, in order.
void TstLink::handOverKeepsOrder()
{
    QFETCH(QList<int>, splits);
    QFETCH(Link::ReadOn, readOn);
    Pty pty;
    PortMap::setPath(1, pty.slave.toStdString());
    LinkRig rig;
    QByteArray strays;
    QObject::connect(&rig.link, &Link::strayBytes, &rig.link, [&](const QByteArray &run) { strays += run; });
    rig.link.attachReceiver(readOn);
    rig.comm.Open();
    rig.link.lineOpened();

    QByteArray stream, expectedStrays;
    QList<Frame7> expected;
    for (int i = 0; i < 120; ++i) {
        const QByteArray f = frameBytes(uint8_t(0x80 + i % 32), uint8_t(i), uint8_t(i * 7), 0x80, uint8_t(255 - i));
        stream += f;
        Frame7 fr{};
        std::memcpy(fr.data(), f.constData(), 7);
        expected << fr;
        if (i % 5 == 0)
            stream += '\x06';
        if (i % 7 == 0) {
            stream += "\x41\x42"_ba;
            expectedStrays += "\x41\x42"_ba;
        }
    }
    qsizetype at = 0;
    for (int k = 0; at < stream.size(); ++k) {
        const int n = int(std::min<qsizetype>(splits.value(k, splits.last()), stream.size() - at));
        QVERIFY(pty.send(stream.mid(at, n)));
        at += n;
        QCoreApplication::processEvents();
    }
    // The last stray run may come in a hand-over of its own, after the last frame.
    QTRY_COMPARE(strays, expectedStrays);
    QTRY_COMPARE(rig.dispatched.size(), expected.size());
    QCOMPARE(rig.dispatched, expected);
    rig.link.closeLine();
}

// Read on the link's own thread, the device goes away with a reply waiting: the reply is
// taken, the watch thread reports the loss once, and the dead line, readable for ever, is
// no longer watched (watching it would spin).
void TstLink::ownThreadStopsWatchingALineThatWentAway()
{
    auto pty = std::make_unique<Pty>();
    PortMap::setPath(1, pty->slave.toStdString());
    LinkRig rig;
    QStringList errors;
    QObject::connect(&rig.link, &Link::commError, &rig.link, [&](const QString &m) { errors << m; });
    rig.link.attachReceiver(Link::ReadOn::OwnThread);
    rig.comm.Open();
    rig.link.lineOpened();
    const auto watches = [&] { return rig.link.findChildren<QSocketNotifier *>().size(); };
    QCOMPARE(watches(), 1);
    QVERIFY(pty->send(frameBytes(0x81, 0x10, 1, 2, 3)));
    QTRY_COMPARE(rig.dispatched.size(), 1);
    pty.reset();
    QTRY_COMPARE(errors.size(), 1);
    QTRY_COMPARE(watches(), 0);
    QTest::qWait(200);
    QCOMPARE(errors.size(), 1);
    QCOMPARE(rig.dispatched.size(), 1);
    rig.link.closeLine();
    QVERIFY(!rig.comm.IsOpen());
}

// Part of a frame, then the receiver is reset (a new connection attempt, Cancel): the next
// frame completes on its own, nothing of the abandoned one mixed in.
void TstLink::abandonedFrameStaysAbandoned()
{
    Pty pty;
    PortMap::setPath(1, pty.slave.toStdString());
    LinkRig rig;
    rig.link.attachReceiver();
    rig.comm.Open();
    QVERIFY(pty.send(frameBytes(0x81, 0x10, 1, 2, 3).left(3)));
    QTest::qWait(100);
    rig.link.receiver().setIdle();
    const QByteArray f = frameBytes(0x82, 0x10, 4, 5, 6);
    QVERIFY(pty.send(f));
    QTRY_COMPARE(rig.dispatched.size(), 1);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(rig.dispatched.first().data()), 7), f);
    QCOMPARE(rig.link.badChecksumCount(), 0);
    QCOMPARE(rig.link.strayRunCount(), 0);
    rig.comm.Close();
}

// A receive event that reports more than arrives: only the bytes that came are handed on.
void TstLink::onlyBytesReadAreHandedOver()
{
    Pty pty;
    PortMap::setPath(1, pty.slave.toStdString());
    OverReportingComm comm;
    Link link(comm);
    LinkRig rig;
    link.setHost(&rig);
    link.setFrameHandler(&rig);
    link.attachReceiver();
    comm.Open();
    const QByteArray f = frameBytes(0x81, 0x10, 1, 2, 3);
    QVERIFY(pty.send(f));
    QTRY_COMPARE(rig.dispatched.size(), 1);
    // The read gave up on the three bytes that never came: nothing made up follows.
    QTest::qWait(1200);
    QCOMPARE(link.panel(2), frameText(rig.dispatched.first()));
    QCOMPARE(link.strayRunCount(), 0);
    comm.Close();
}

void TstLink::writeTheLineRefusesFreesTheLink()
{
    Pty pty;
    PortMap::setPath(1, pty.slave.toStdString());
    LinkRig rig;
    int sent = 0;
    QObject::connect(&rig.link, &Link::frameSent, &rig.link, [&] { ++sent; });
    rig.comm.setFlowControls(flowBit(cfcXonXoff));
    rig.comm.Open();
    // Nobody reads the other end, and it holds the line off.
    const QByteArray block(4096, 's');
    for (int i = 0; i < 3; ++i)
        rig.comm.Write(block.constData(), 4096);
    QVERIFY(pty.send("\x13"_ba));
    QTest::qWait(50);

    QString raised;
    try {
        rig.link.request(0x81, 0x10, 1);
    } catch (const ECommReadWriteError &e) {
        raised = QString::fromUtf8(e.what());
    }
    QCOMPARE(raised.section(u'\n', 0, 0), u"入出力エラー ErrorCode = %1"_s.arg(ETIMEDOUT));
    QVERIFY2(raised.section(u'\n', 1).startsWith(pty.slave + u": "_s), qPrintable(raised));
    // Not shown as sent, nothing outstanding, the hourglass gone: the next request may go.
    QCOMPARE(rig.link.panel(1), QString());
    QCOMPARE(sent, 0);
    QCOMPARE(rig.link.LinkBusy, uint8_t(0));
    QCOMPARE(rig.cursorOn, rig.cursorOff);
    QVERIFY(rig.link.Trans_chk());
    rig.comm.Close();
}

void TstLink::bytesWaitingBehindAReplyAreBounded_data()
{
    QTest::addColumn<int>("frames");     // frames arriving while the first is handled
    QTest::addColumn<int>("strayBytes"); // stray bytes before each of them
    QTest::addColumn<int>("framesLost");
    // Stray bytes go first: every frame survives.
    QTest::newRow("strays make room") << 100 << 1000 << 0;
    // Only frames: the oldest go, and are counted.
    const int fit = int(Link::pendingLimit / 7);
    QTest::newRow("frames beyond the bound") << fit + 50 << 0 << 50;
}

void TstLink::bytesWaitingBehindAReplyAreBounded()
{
    QFETCH(int, frames);
    QFETCH(int, strayBytes);
    QFETCH(int, framesLost);
    LinkRig rig;
    qint64 droppedSignalled = 0;
    QObject::connect(&rig.link, &Link::bytesDropped, &rig.link,
                     [&](const QByteArray &b) { droppedSignalled += b.size(); });
    QByteArray flood;
    for (int i = 0; i < frames; ++i)
        flood += QByteArray(strayBytes, '\x41') + frameBytes(0x81, uint8_t(i & 0x7F), uint8_t(i >> 8), uint8_t(i));
    rig.onFrame = [&](const ResponseFrame &r) {
        // As if a modal box in the decoder let the flood in, one line read at a time.
        if (r.item() == 0xFF)
            for (qsizetype at = 0; at < flood.size(); at += 4096)
                rig.link.receiveBytes(flood.mid(at, 4096));
    };
    rig.link.receiveBytes(frameBytes(0x81, 0xFF));

    const qint64 total = 1 + frames;
    QCOMPARE(rig.dispatched.size(), total - framesLost);
    // The frames kept are the newest, in order.
    QCOMPARE(rig.dispatched.last(), [&] {
        Frame7 f{};
        std::memcpy(f.data(), flood.constData() + flood.size() - 7, 7);
        return f;
    }());
    // Exactly what was over the bound went, and all of it was signalled.
    const qint64 arrived = flood.size();
    QCOMPARE(rig.link.droppedByteCount(), framesLost ? 7 * qint64(framesLost) : arrived - Link::pendingLimit);
    QCOMPARE(droppedSignalled, rig.link.droppedByteCount());
}

void TstLink::lineFaultsReachTheTrace()
{
    LinkRig rig;
    trace::TraceLog log;
    log.attach(rig.link);
    QByteArray bad = frameBytes(0x81, 0x10, 1, 2, 3);
    bad[6] = char(bad[6] + 1);
    rig.link.receiveBytes("\x41\x42"_ba + frameBytes(0x82, 0x10) + bad + "\x43"_ba);
    QList<trace::Kind> kinds;
    QList<QByteArray> bytes;
    for (int i = 0; i < log.count(); ++i) {
        kinds << log.at(i).kind;
        bytes << log.at(i).bytes;
    }
    QCOMPARE(kinds, (QList<trace::Kind>{trace::Kind::Stray, trace::Kind::Received, trace::Kind::BadChecksum,
                                        trace::Kind::Stray}));
    QCOMPARE(bytes.first(), "\x41\x42"_ba);
    QCOMPARE(bytes.at(2), bad);
    QCOMPARE(bytes.last(), "\x43"_ba);
    QCOMPARE(rig.link.strayRunCount(), 2);
    QCOMPARE(rig.link.badChecksumCount(), 1);
}

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
