// The byte receiver and the completion steps of the link, fed directly with bytes.
#include "link/link.h"
#include "serial/tcomm.h"

#include <QtTest>

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

QTEST_GUILESS_MAIN(TstLink)
#include "tst_link.moc"
