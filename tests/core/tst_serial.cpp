// TComm against a real pseudo-terminal: the test holds the master side, TComm opens the slave.
#include "serial/tcomm.h"

#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

struct Pty
{
    int master = -1;
    std::string slave;

    Pty()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        char name[128] = {};
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0
            || ptsname_r(master, name, sizeof name) != 0)
            qFatal("cannot create a pseudo-terminal: %s", strerror(errno));
        slave = name;
    }
    ~Pty() { closeMaster(); }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    void send(const QByteArray &bytes) const
    {
        QCOMPARE(::write(master, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    }

    // Whatever arrives within the time, up to want bytes.
    QByteArray receive(qsizetype want, int timeoutMs = 1000) const
    {
        QByteArray got;
        QDeadlineTimer deadline(timeoutMs);
        while (got.size() < want) {
            pollfd pfd{master, POLLIN, 0};
            if (::poll(&pfd, 1, int(deadline.remainingTime())) <= 0)
                break;
            char buf[4096];
            const ssize_t n = ::read(master, buf, size_t(std::min<qsizetype>(want - got.size(), sizeof buf)));
            if (n < 0 && errno == EAGAIN) {
                // poll may run ahead of the line discipline; look again shortly
                std::this_thread::sleep_for(1ms);
                continue;
            }
            if (n <= 0)
                break;
            got.append(buf, n);
        }
        return got;
    }

    termios attrs() const
    {
        termios t{};
        tcgetattr(master, &t); // the master reports the slave's settings
        return t;
    }
};

QByteArray allBytes()
{
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(char(i));
    return b;
}

// Collects what the watch thread reports; the receive handler reads the reported bytes as
// the camera link does.
struct Recorder
{
    std::mutex m;
    QByteArray data;
    std::vector<int> sizes;
    std::vector<std::string> errors;

    void attach(TComm &c)
    {
        c.OnCommReceive = [this](TComm &sender, uint16_t size) {
            QByteArray chunk(size, '\0');
            const int32_t n = sender.Read(chunk.data(), size);
            std::lock_guard lock(m);
            sizes.push_back(size);
            data.append(chunk.left(n));
        };
        c.OnCommError = [this](TComm &, const std::string &message) {
            std::lock_guard lock(m);
            errors.push_back(message);
        };
    }
    QByteArray received()
    {
        std::lock_guard lock(m);
        return data;
    }
    size_t errorCount()
    {
        std::lock_guard lock(m);
        return errors.size();
    }
    std::string error(size_t i)
    {
        std::lock_guard lock(m);
        return errors.at(i);
    }
};

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

template<typename E, typename F>
QString messageOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return QString::fromUtf8(e.what());
    }
    return u"(no exception)"_s;
}

} // namespace

class TstSerial : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        for (int port = 1; port <= 4; ++port)
            PortMap::setPath(port, {});
    }

    void portMap()
    {
        QCOMPARE(q(PortMap::path(1)), u"/dev/ttyS0"_s);
        QCOMPARE(q(PortMap::path(4)), u"/dev/ttyS3"_s);
        QCOMPARE(q(PortMap::path(7)), u"/dev/ttyS6"_s);
        PortMap::setPath(2, "/dev/ttyUSB0");
        QCOMPARE(q(PortMap::path(2)), u"/dev/ttyUSB0"_s);
        TComm c;
        c.setPort(2);
        QCOMPARE(q(c.DevicePath()), u"/dev/ttyUSB0"_s);
    }

    void openCloseIdempotent()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        c.Close();
        QVERIFY(!c.IsOpen());
        c.Open();
        QVERIFY(c.IsOpen());
        c.Open(); // a reopen would fail here: the port is held exclusively
        QVERIFY(c.IsOpen());
        c.SendString("ab");
        QCOMPARE(pty.receive(2), "ab"_ba);
        c.Close();
        c.Close();
        QVERIFY(!c.IsOpen());
        // Close gave the exclusive hold back: the same tty opens again.
        c.Open();
        c.SendString("cd");
        QCOMPARE(pty.receive(2), "cd"_ba);
    }

    void lineSettings_data()
    {
        QTest::addColumn<bool>("beforeOpen");
        QTest::addColumn<int>("baud");        // 0: leave
        QTest::addColumn<int>("userDefined"); // 0: leave
        QTest::addColumn<int>("stopBits");    // -1: leave
        QTest::addColumn<int>("parity");
        QTest::addColumn<int>("byteSize");
        QTest::addColumn<int>("flow");
        QTest::addColumn<uint>("speed");
        QTest::addColumn<uint>("cflagMask");
        QTest::addColumn<uint>("cflagSet");

        const uint all = CSTOPB | PARENB | PARODD | CMSPAR | CSIZE | CRTSCTS;
        QTest::newRow("defaults") << false << 0 << 0 << -1 << -1 << -1 << -1
                                  << uint(B9600) << all << uint(CS8 | CRTSCTS);
        QTest::newRow("baud at once") << false << 19200 << 0 << -1 << -1 << -1 << -1
                                      << uint(B19200) << 0u << 0u;
        QTest::newRow("baud kept over open") << true << 38400 << 0 << -1 << -1 << -1 << -1
                                             << uint(B38400) << 0u << 0u;
        QTest::newRow("user defined at once") << false << 0 << 19200 << -1 << -1 << -1 << -1
                                              << uint(B19200) << 0u << 0u;
        QTest::newRow("user defined kept") << true << 0 << 38400 << -1 << -1 << -1 << -1
                                           << uint(B38400) << 0u << 0u;
        QTest::newRow("two stop bits at once") << false << 0 << 0 << int(csb2) << -1 << -1 << -1
                                               << uint(B9600) << uint(CSTOPB) << uint(CSTOPB);
        // A pty takes no parity and no 7 bits (tcsetattr says so): not a line to test them on.
        QTest::newRow("parity back to none") << false << 0 << 0 << -1 << int(cpbNone) << -1 << -1
                                             << uint(B9600) << uint(PARODD | CMSPAR) << 0u;
        QTest::newRow("no handshake") << false << 0 << 0 << -1 << -1 << -1 << 0
                                      << uint(B9600) << uint(CRTSCTS) << 0u;
    }

    void lineSettings()
    {
        QFETCH(bool, beforeOpen);
        QFETCH(int, baud);
        QFETCH(int, userDefined);
        QFETCH(int, stopBits);
        QFETCH(int, parity);
        QFETCH(int, byteSize);
        QFETCH(int, flow);
        QFETCH(uint, speed);
        QFETCH(uint, cflagMask);
        QFETCH(uint, cflagSet);

        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        const auto configure = [&] {
            if (baud)
                c.setBaudRate(baud);
            if (userDefined)
                c.SetBaudRateUserDefined(uint16_t(userDefined));
            if (stopBits >= 0)
                c.setStopBits(TCommStopBits(stopBits));
            if (parity >= 0)
                c.setParityBits(TCommParityBits(parity));
            if (byteSize >= 0)
                c.setByteSize(TCommByteSize(byteSize));
            if (flow >= 0)
                c.setFlowControls(TCommFlowControls(flow));
        };
        if (beforeOpen)
            configure();
        c.Open();
        if (!beforeOpen)
            configure();

        const termios t = pty.attrs();
        QCOMPARE(uint(cfgetospeed(&t)), speed);
        QCOMPARE(uint(cfgetispeed(&t)), speed);
        QCOMPARE(uint(t.c_cflag) & cflagMask, cflagSet);
        QCOMPARE(uint(t.c_lflag) & uint(ICANON | ECHO | ISIG), 0u);
        QCOMPARE(bool(t.c_iflag & INPCK), parity > 0);
        if (userDefined)
            QCOMPARE(c.BaudRate(), -1);

        // Settings outlive Close and come back with the next Open.
        c.Close();
        c.Open();
        const termios again = pty.attrs();
        QCOMPARE(uint(cfgetospeed(&again)), speed);
        QCOMPARE(uint(again.c_cflag) & cflagMask, cflagSet);
    }

    // A setting the line does not take is never kept silently: the setter raises and the
    // property keeps the value the line has; at Open the port stays closed.
    void refusedSettingsRaise_data()
    {
        QTest::addColumn<bool>("beforeOpen");
        QTest::addColumn<bool>("lineGone");
        QTest::addColumn<int>("baud");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown speed while open") << false << false << 12345 << u"入出力エラー ErrorCode = 22"_s;
        QTest::newRow("unknown speed at open") << true << false << 12345 << u"オープンエラー ErrorCode = -1"_s;
        // The settings cannot even be read back once the other end hung up.
        QTest::newRow("line gone") << false << true << 19200 << u"入出力エラー ErrorCode = 5"_s;
    }

    void refusedSettingsRaise()
    {
        QFETCH(bool, beforeOpen);
        QFETCH(bool, lineGone);
        QFETCH(int, baud);
        QFETCH(QString, message);
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        QString raised;
        const auto set = [&] { c.setBaudRate(baud); };
        if (beforeOpen) {
            set(); // closed: only stored
            raised = messageOf<ECommOpenError>([&] { c.Open(); });
            QVERIFY(!c.IsOpen());
        } else {
            c.Open();
            if (lineGone)
                pty.closeMaster();
            raised = messageOf<ECommReadWriteError>(set);
            QCOMPARE(c.BaudRate(), 9600);
        }
        const QStringList lines = raised.split(u'\n');
        QCOMPARE(lines.value(0), message);
        QVERIFY2(lines.value(1).startsWith(q(pty.slave) + u": "_s), qPrintable(raised));
        if (!lineGone && !beforeOpen) {
            const termios t = pty.attrs();
            QCOMPARE(uint(cfgetospeed(&t)), uint(B9600));
        }
    }

    void portChangeTakesEffectOnReopen()
    {
        Pty a, b;
        PortMap::setPath(1, a.slave);
        PortMap::setPath(2, b.slave);
        TComm c;
        c.Open();
        c.setPort(2);
        QCOMPARE(q(c.DevicePath()), q(b.slave));
        c.SendString("x");
        QCOMPARE(a.receive(1), "x"_ba);
        c.Close();
        c.Open();
        c.SendString("y");
        QCOMPARE(b.receive(1), "y"_ba);
        QCOMPARE(a.receive(1, 50), QByteArray());
    }

    void bytesPassUnchanged()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        Recorder rec;
        rec.attach(c);
        c.Open();

        // Out: every byte value, no translation of CR/LF, no terminator from SendString.
        c.Write(allBytes().constData(), 256);
        c.SendString("end");
        QCOMPARE(pty.receive(259), allBytes() + "end"_ba);

        // In: reported with the waiting count, read in order.
        pty.send(allBytes().left(128));
        pty.send(allBytes().mid(128));
        QTRY_COMPARE(rec.received(), allBytes());
        std::lock_guard lock(rec.m);
        for (int size : rec.sizes)
            QVERIFY(size > 0);
        QCOMPARE(rec.errors.size(), size_t(0));
    }

    void readWaitsAtMostOneSecond()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        c.Open();
        pty.send("z"_ba);
        char buf[3] = {};
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(c.Read(buf, 3), 1);
        QCOMPARE(buf[0], 'z');
        QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }

    void writeLimits_data()
    {
        QTest::addColumn<int>("queueSize");
        QTest::newRow("default queue") << 4096;
        QTest::newRow("small queue") << 16;
    }

    void writeLimits()
    {
        QFETCH(int, queueSize);
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        c.setOutQueueSize(uint16_t(queueSize));
        c.Open();
        const QByteArray block(queueSize + 1, 'w');
        c.Write(block.constData(), queueSize);
        QCOMPARE(pty.receive(queueSize).size(), qsizetype(queueSize));
        QCOMPARE(messageOf<ECommError>([&] { c.Write(block.constData(), queueSize + 1); }),
                 u"送信データ長が長すぎる。"_s);
        QCOMPARE(messageOf<ECommError>([&] { c.SendString(block.toStdString()); }),
                 u"送信データ長が長すぎる。"_s);
        QCOMPARE(pty.receive(1, 50), QByteArray());
    }

    void closedPortRefuses()
    {
        TComm c;
        char buf[4] = {};
        QCOMPARE(messageOf<ECommError>([&] { c.Write(buf, 1); }), u"通信が開始されていない。"_s);
        QCOMPARE(messageOf<ECommError>([&] { c.Read(buf, 1); }), u"通信が開始されていない。"_s);
        QCOMPARE(messageOf<ECommError>([&] { c.SendString("a"); }), u"通信が開始されていない。"_s);
        QVERIFY(!c.GetDsrState());
        QVERIFY(!c.DsrState());
    }

    void openFailure_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("help"); // how the line after the reason begins
        QTest::newRow("missing device") << u"missing"_s << u"There is no such device."_s;
        QTest::newRow("not a terminal") << u"file"_s << u"<path> is a regular file, not a serial device."_s;
        QTest::newRow("in use") << u"busy"_s << u"Another program holds <path>: "_s;
        QTest::newRow("no permission") << u"denied"_s << u"The device allows only its owner"_s;
    }

    void openFailure()
    {
        QFETCH(QString, kind);
        QFETCH(QString, help);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Pty pty;
        TComm holder;
        std::string path = dir.path().toStdString() + "/ttyNone";
        int err = ENOENT;
        if (kind == u"file" || kind == u"denied") {
            QFile f(q(path));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.close();
            err = ENOTTY;
        }
        if (kind == u"denied") {
            if (geteuid() == 0)
                QSKIP("root is not refused by file permissions");
            QVERIFY(::chmod(path.c_str(), 0) == 0);
            err = EACCES;
        }
        if (kind == u"busy") {
            path = pty.slave;
            PortMap::setPath(2, path);
            holder.setPort(2);
            holder.Open();
            err = EBUSY;
        }

        PortMap::setPath(1, path);
        TComm c;
        int32_t code = 0;
        std::string message;
        try {
            c.Open();
        } catch (const ECommOpenError &e) {
            code = e.ErrorCode;
            message = e.what();
        }
        QCOMPARE(code, -1);
        QVERIFY(!c.IsOpen());
        // The fixed text, the device and the reason, then one line of help.
        const QStringList lines = q(message).split(u'\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], u"オープンエラー ErrorCode = -1"_s);
        QCOMPARE(lines[1], q(path + ": " + strerror(err)));
        QVERIFY2(lines[2].startsWith(help.replace(u"<path>"_s, q(path))), message.c_str());
    }

    void throwingHandlerIsReportedAndWatchingGoesOn()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        Recorder rec;
        rec.attach(c);
        std::atomic<int> calls{0};
        auto reader = c.OnCommReceive;
        c.OnCommReceive = [&](TComm &sender, uint16_t size) {
            if (++calls == 1)
                throw std::runtime_error("boom"); // leaves the bytes unread
            reader(sender, size);
        };
        c.Open();
        pty.send("abc"_ba);
        QTRY_COMPARE(rec.errorCount(), size_t(1));
        QCOMPARE(q(rec.error(0)), u"boom"_s);
        // Unread bytes alone do not raise the handler again.
        std::this_thread::sleep_for(100ms);
        QCOMPARE(calls.load(), 1);

        pty.send("de"_ba);
        QTRY_COMPARE(rec.received(), "abcde"_ba);
        QCOMPARE(rec.errorCount(), size_t(1));
    }

    void transmitEmptyOnlyWhenAsked()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        std::atomic<int> transmits{0};
        std::atomic<int> lastQueued{-1};
        c.OnCommTransmit = [&](TComm &, uint16_t queued) {
            lastQueued = queued;
            ++transmits;
        };
        c.Open();
        c.SendString("a");
        std::this_thread::sleep_for(100ms);
        QCOMPARE(transmits.load(), 0);
        c.setEventMask(eventBit(evTxempty));
        c.SendString("b");
        QTRY_COMPARE(transmits.load(), 1);
        QCOMPARE(lastQueued.load(), 0);
        QCOMPARE(pty.receive(2), "ab"_ba);
    }

    void peerGoneIsReportedOnce()
    {
        auto pty = std::make_unique<Pty>();
        const std::string path = pty->slave;
        PortMap::setPath(1, path);
        TComm c;
        Recorder rec;
        rec.attach(c);
        c.Open();
        pty->closeMaster();

        QTRY_COMPARE(rec.errorCount(), size_t(1));
        const std::string expected = "入出力エラー ErrorCode = 5\n" + path + ": " + strerror(EIO);
        QCOMPARE(q(rec.error(0)), q(expected));

        const double cpu = cpuSeconds();
        std::this_thread::sleep_for(300ms);
        QVERIFY2(cpuSeconds() - cpu < 0.1, "the watch thread spins on a dead line");
        QCOMPARE(rec.errorCount(), size_t(1));

        QCOMPARE(messageOf<ECommReadWriteError>([&] { c.SendString("x"); }),
                 u"入出力エラー ErrorCode = 5"_s);
        c.Close();
        QVERIFY(!c.IsOpen());

        // A new line at the same port number works as before.
        pty = std::make_unique<Pty>();
        PortMap::setPath(1, pty->slave);
        c.Open();
        pty->send("ok"_ba);
        QTRY_COMPARE(rec.received(), "ok"_ba);
        QCOMPARE(rec.errorCount(), size_t(1));
    }

    // The handler's read finds the line hung up: one report, not one for the read and one
    // for the hang-up.
    void readFailureAtHangUpIsReportedOnce()
    {
        auto pty = std::make_unique<Pty>();
        const std::string path = pty->slave;
        PortMap::setPath(1, path);
        TComm c;
        Recorder rec;
        rec.attach(c);
        std::atomic<int> calls{0};
        c.OnCommReceive = [&](TComm &sender, uint16_t size) {
            ++calls;
            pty->closeMaster();
            char buf[64];
            sender.Read(buf, std::min<int>(size, sizeof buf));
        };
        c.Open();
        pty->send("abc"_ba);
        QTRY_COMPARE(rec.errorCount(), size_t(1));
        std::this_thread::sleep_for(200ms);
        QCOMPARE(rec.errorCount(), size_t(1));
        QCOMPARE(q(rec.error(0)), q("入出力エラー ErrorCode = 5\n" + path + ": " + strerror(EIO)));
        QCOMPARE(calls.load(), 1);
    }

    void writeTimeoutDiscardsUnsentBytes()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        c.setFlowControls(flowBit(cfcXonXoff));
        c.Open();
        // Nobody reads the master: the peer's input buffer takes about 4 KB, the rest
        // stays queued on the way.
        const QByteArray block(10240, 's');
        c.Write(block.constData(), 4096);
        c.Write(block.constData(), 4096);
        c.Write(block.constData(), 2048);
        // The peer holds the line off, as a camera holding CTS off would.
        pty.send("\x13"_ba);
        std::this_thread::sleep_for(50ms);
        QElapsedTimer timer;
        timer.start();
        // The line did not take it: that is an error, not a success, and it names the line.
        const QString raised = messageOf<ECommReadWriteError>([&] { c.SendString("late"); });
        QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(raised.section(u'\n', 0, 0), u"入出力エラー ErrorCode = %1"_s.arg(ETIMEDOUT));
        QVERIFY2(raised.section(u'\n', 1).startsWith(q(pty.slave) + u": 4 of 4 bytes"_s), qPrintable(raised));

        // The timed-out write dropped what was still queued: the next frame is not stuck
        // behind stale ones. Only what the peer had already taken in is still there.
        pty.send("\x11"_ba);
        std::this_thread::sleep_for(50ms);
        c.SendString("fresh");
        const QByteArray got = pty.receive(block.size() + 9, 300);
        QVERIFY2(got.endsWith("sfresh"), qPrintable(QString::number(got.size())));
        QVERIFY2(got.size() <= 4096 + 5, qPrintable(QString::number(got.size())));
    }

    void closeJoinsTheWatchThread()
    {
        Pty pty;
        PortMap::setPath(1, pty.slave);
        TComm c;
        std::atomic<bool> entered{false};
        std::atomic<bool> inside{false};
        std::atomic<int> calls{0};
        c.OnCommReceive = [&](TComm &sender, uint16_t size) {
            inside = true;
            entered = true;
            std::this_thread::sleep_for(200ms);
            std::vector<char> buf(size);
            sender.Read(buf.data(), size);
            ++calls;
            inside = false;
        };
        c.Open();
        pty.send("1"_ba);
        QTRY_VERIFY(entered.load());
        c.Close();
        QVERIFY(!inside.load());
        QCOMPARE(calls.load(), 1);
        std::this_thread::sleep_for(100ms);
        QCOMPARE(calls.load(), 1);
    }
};

QTEST_GUILESS_MAIN(TstSerial)
#include "tst_serial.moc"
