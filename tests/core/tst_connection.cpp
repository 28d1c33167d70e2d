// The line-speed search and the reply dispatch of the link layer on their own, without a
// window: a scripted camera on a pty, a host that records, a page that records.
#include "link/connection.h"
#include "link/dispatch.h"
#include "link/link.h"
#include "serial/tcomm.h"
#include "support/frames.h"
#include "support/ptypeer.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct RecordingPage : ReplyTarget
{
    Link *link = nullptr;
    int checks = 0;
    QList<Frame7> replies;
    void PageCheck() override
    {
        ++checks;
        link->request(0x81, 0x00, 1);
    }
    void Trans_end(const ResponseFrame &r) override
    {
        replies << r.bytes;
        link->release();
    }
};

struct Rig : LinkHost
{
    TComm comm;
    Link link{comm};
    Dispatcher dispatch{link};
    Connection connection{link, dispatch};
    PtyPeer peer;
    RecordingPage page;
    int busy = 0;
    QStringList exceptions;

    explicit Rig(int cameraBaud)
    {
        peer.answerBaud = cameraBaud;
        PortMap::setPath(1, peer.path().toStdString());
        link.setHost(this);
        link.attachReceiver();
        page.link = &link;
        dispatch.setShown(&page);
        connection.Trans_Create(1);
        connection.PONTimer1->stop();
    }
    ~Rig() override { comm.Close(); }
    int cameraId() const override { return 0; }
    bool oneToOne() const override { return true; }
    void showBusy(bool on) override { busy = on ? 1 : 0; }
    void showException(const QString &message) override { exceptions << message; }

    // One tick of the search, and a moment for the camera to answer.
    bool tick()
    {
        connection.PONTimer1Timer();
        return QTest::qWaitFor([&] { return connection.PONTimer2->isActive(); }, 300);
    }
};

} // namespace

class TstConnection : public QObject
{
    Q_OBJECT
private slots:
    void searchFindsTheSpeed_data();
    void searchFindsTheSpeed();
    void noCameraEndsInNotConnect();
    void repliesGoToTheShownPage();
};

void TstConnection::searchFindsTheSpeed_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("data2");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<QString>("speedText");
    QTest::newRow("9600, one stop bit") << 9600 << 0x00 << 1 << u"9,600"_s;
    QTest::newRow("19200, two stop bits") << 19200 << 0x04 << 2 << u"19,200"_s;
    QTest::newRow("38400, other bits only") << 38400 << 0x03 << 3 << u"38,400"_s;
}

void TstConnection::searchFindsTheSpeed()
{
    QFETCH(int, baud);
    QFETCH(int, data2);
    QFETCH(int, attempts);
    QFETCH(QString, speedText);
    Rig rig(baud);
    rig.peer.script = [data2](const Frame7 &r) { return PtyPeer::reply(r[0], r[1], 2, uint8_t(data2)); };
    QSignalSpy connected(&rig.connection, &Connection::connectedAt);
    QSignalSpy speeds(&rig.connection, &Connection::speedShown);

    int ticks = 0;
    while (ticks < 3 && !rig.tick())
        ++ticks;
    QCOMPARE(ticks + 1, attempts);
    QCOMPARE(rig.peer.requests.size(), attempts);
    for (const Frame7 &f : rig.peer.requests)
        QCOMPARE(frameText(f), frameText(requestFrame("8911")));
    // The first reply is not decoded, and the link is free for the page's first read.
    QVERIFY(rig.page.replies.isEmpty());
    QCOMPARE(rig.link.LinkBusy, uint8_t(0));

    rig.connection.PONTimer2Timer();
    QCOMPARE(connected.size(), 1);
    QCOMPARE(connected.first().at(0).toInt(), attempts - 1);
    QCOMPARE(connected.first().at(1).toBool(), (data2 & 0x04) != 0);
    QCOMPARE(speeds.last().at(0).toString(), speedText);
    QCOMPARE(rig.link.panel(0), u"Try "_s + speedText);
    QCOMPARE(rig.page.checks, 1);
    QTRY_COMPARE(rig.page.replies.size(), 1);
    QCOMPARE(rig.link.panel(0), u"Comm. Connecting"_s);
    QCOMPARE(rig.comm.BaudRate(), baud);
    QVERIFY(rig.exceptions.isEmpty());
}

void TstConnection::noCameraEndsInNotConnect()
{
    Rig rig(38400);
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    QStringList panels;
    for (int i = 0; i < 4; ++i) {
        rig.tick();
        panels << rig.link.panel(0);
    }
    QCOMPARE(panels, (QStringList{u"Try 9,600"_s, u"Try 19,200"_s, u"Try 38,400"_s, u"Not Connect"_s}));
    QVERIFY(!rig.connection.PONTimer1->isActive());
    QCOMPARE(rig.peer.requests.size(), 3);
}

void TstConnection::repliesGoToTheShownPage()
{
    Rig rig(38400);
    QVERIFY(rig.tick() || rig.tick() || rig.tick());
    rig.connection.PONTimer2Timer();
    QTRY_COMPARE(rig.page.replies.size(), 1);

    // With no page shown a reply still frees the link.
    rig.dispatch.setShown(nullptr);
    rig.link.request(0x86, 0x00, 1);
    QTRY_COMPARE(rig.link.LinkBusy, uint8_t(0));
    QCOMPARE(rig.page.replies.size(), 1);

    // A page shown again gets its first read, and panels 1 and 2 start empty.
    rig.dispatch.setShown(&rig.page);
    rig.link.setPanel(2, u"41"_s);
    rig.dispatch.PageControl1Change();
    QCOMPARE(rig.page.checks, 2);
    QCOMPARE(rig.link.panel(1), frameText(requestFrame("8100")));
    QTRY_COMPARE(rig.page.replies.size(), 2);
}

QTEST_GUILESS_MAIN(TstConnection)
#include "tst_connection.moc"
