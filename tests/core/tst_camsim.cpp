// The camera simulator: reply layouts of the model, its filters, the pty transport with its
// speed rule and fault injection, the state file, and the executable.

#include "assembler.h"
#include "camera.h"
#include "cli.h"
#include "ptycamera.h"
#include "state.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using camsim::Camera;
using camsim::Settings;

namespace {

// "81 10 00" -> up to five bytes of a request (category, item, data 1-3).
std::array<uint8_t, 5> parseBytes(const QString &text)
{
    std::array<uint8_t, 5> b{};
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size() && i < 5; ++i)
        b[size_t(i)] = uint8_t(parts.at(i).toUInt(nullptr, 16));
    return b;
}

Frame7 request(const QString &text, uint8_t id)
{
    const auto b = parseBytes(text);
    return camsim::makeFrame(b[0], b[1], b[2], b[3], b[4], id);
}

QString head(const Frame7 &f)
{
    return camsim::bytesHex(f.data(), 5);
}

// Bytes 0-4 of a reply as received; empty when fewer came.
QString head(const QByteArray &reply)
{
    return reply.size() < 5 ? QString() : camsim::bytesHex(reinterpret_cast<const uint8_t *>(reply.constData()), 5);
}

QByteArray bytesOf(const Frame7 &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.data()), 7);
}

// Distinct values everywhere, so a byte taken from the wrong setting shows.
Settings fixtureSettings()
{
    Settings s;
    s.titleDisplay = 1, s.titlePosition = 1;
    s.priority = 1, s.agcLevel = 5, s.sensLevel = 3;
    s.alcMode = 1, s.alcAutoLevel = 2, s.alcFixLevel = 6;
    s.aesMode = 0, s.aesAutoLevel = 7, s.aesFixShutter = 8;
    s.blc = 1, s.blcLevel = 5, s.peak = 1, s.peakLevel = 6;
    s.blcRow1 = 0x01, s.blcRow2 = 0x02, s.blcRow3 = 0x80, s.blcRow4 = 0x10, s.blcRow5 = 0x20, s.blcRow6 = 0x40;
    s.wbMode = 2, s.atwRange = 1, s.atwLevel = 3, s.indoorLevel = 5, s.outdoorLevel = 7, s.awbLevel = 2;
    s.ryGain = 1, s.byGain = 8;
    s.initial = 1, s.hReverse = 1, s.vReverse = 0, s.negative = 1;
    s.phaseOn = 1, s.phase = 0x0123, s.phaseMax = 0x0270;
    s.gamma = 1, s.language = 2, s.winker = 1, s.hGain = 3, s.vGain = 6;
    s.freeze = 1, s.freezeMode = 1, s.pushSw = 1, s.dayNight = 2, s.dayNightLevel = 7;
    s.reverseDpt = 1, s.reverseMask = 1, s.blueBack = 1, s.colorBar = 0;
    s.commId = 7, s.baudCode = 1, s.twoStopBits = 1;
    s.marker = 1, s.markerX = 10, s.markerY = 20;
    s.irisBias = 0x5C;
    return s;
}

Camera fixtureCamera()
{
    Camera cam;
    cam.stored() = fixtureSettings();
    cam.reset();
    return cam;
}

// The tool's side of the pty: a raw serial port at a chosen speed.
class PtyClient
{
public:
    explicit PtyClient(const QString &path, int baud = 38400)
    {
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0)
            setBaud(baud);
    }
    ~PtyClient()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool isOpen() const { return fd_ >= 0; }

    void setBaud(int baud)
    {
        termios t{};
        ::tcgetattr(fd_, &t);
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        ::cfsetspeed(&t, baud == 9600 ? B9600 : baud == 19200 ? B19200 : B38400);
        ::tcsetattr(fd_, TCSANOW, &t);
    }

    void send(const QByteArray &bytes) { QCOMPARE(::write(fd_, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size())); }

    // Collects bytes until `count` came or `timeoutMs` passed.
    QByteArray receive(int count, int timeoutMs = 2000)
    {
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count && clock.elapsed() < timeoutMs) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 5) <= 0)
                continue;
            char buf[64];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
        }
        return got;
    }

    QByteArray exchange(const Frame7 &req, int count = 7, int timeoutMs = 2000)
    {
        send(bytesOf(req));
        return receive(count, timeoutMs);
    }

private:
    int fd_ = -1;
};

constexpr int kSilenceMs = 300;   // long enough for a reply that would come

} // namespace

class TstCamsim : public QObject
{
    Q_OBJECT

private slots:
    void exchanges_data();
    void exchanges();
    void unknownOrInvalidRequestsAreRefused_data();
    void unknownOrInvalidRequestsAreRefused();
    void idFilteringAndChecksum_data();
    void idFilteringAndChecksum();
    void resetReloadsStoredSettingsOnly();
    void lineSettingsWaitForPowerOn();
    void figuresMoveBetweenReads();
    void motionDetector();
    void motionAreaKeptOnlyWithEeprom();
    void lensMovesWithTime();
    void assembler_data();
    void assembler();

    void speedRuleOverPty();
    void storedSpeedAppliesAfterPowerCycle();
    void faultSilentAfter();
    void faultCorruptEvery();
    void faultErrorOn();
    void frameLogsKeepTheNewest();
    void faultStrayBytes();
    void faultSplitAndPace();
    void stateRoundTrip();
    void badStateFileIsRejected();

    void commandLine_data();
    void stateInAMissingFolderFailsAtStart();
    void commandLine();
    void plantedDefectsFromTheCommandLine();
    void executableHelp();
    void executableServesAPty();

private:
    static QString executable();
};

// ---------------------------------------------------------------------------------------------
// The model

void TstCamsim::exchanges_data()
{
    // Each step: request (category item data...) => expected reply bytes 0-4, on the fixture.
    QTest::addColumn<QStringList>("steps");
    auto row = [](const char *name, QStringList steps) { QTest::newRow(name) << steps; };

    row("title character", {u"80 00 01 => 80 00 01 00 4F"_s, u"80 00 14 => 80 00 14 00 7E"_s});
    row("title display read and writes", {u"80 01 => 80 01 01 01 00"_s, u"80 82 00 => 80 82 01 00 00"_s,
                                          u"80 81 00 => 80 81 00 00 00"_s});
    row("title write then read", {u"80 80 02 00 41 => 80 80 02 00 41"_s, u"80 00 02 => 80 00 02 00 41"_s});

    row("AGC read, write echoes", {u"81 00 => 81 00 01 05 03"_s, u"81 80 02 => 81 80 02 00 00"_s,
                                   u"81 00 => 81 00 01 02 03"_s});
    row("ALC writes answer in the ALC layout",
        {u"81 10 => 81 10 01 02 06"_s, u"81 90 00 => 81 90 00 02 06"_s, u"81 91 08 => 81 91 00 08 06"_s,
         u"81 92 03 => 81 92 00 08 03"_s});
    row("AES writes answer in the AES layout",
        {u"81 20 => 81 20 00 07 08"_s, u"81 A0 01 => 81 A0 01 07 08"_s, u"81 A1 02 => 81 A1 01 02 08"_s,
         u"81 A2 05 => 81 A2 01 02 05"_s});
    row("iris reference and cpc stop", {u"81 72 03 => 81 72 03 04 30"_s, u"81 71 => 81 71 01 0F A0"_s,
                                        u"81 F0 01 => 81 F0 01 00 00"_s, u"81 71 => 81 71 80 0F A0"_s});
    row("BLC reads", {u"81 30 => 81 30 01 05 01"_s, u"81 31 => 81 31 01 02 80"_s, u"81 32 => 81 32 10 20 40"_s,
                      u"81 40 => 81 40 01 06 01"_s});
    row("BLC on/off answers in the BLC layout", {u"81 B0 00 => 81 B0 00 05 01"_s, u"81 40 => 81 40 01 06 00"_s});
    row("BLC level and area writes", {u"81 B1 07 => 81 B1 07 00 00"_s, u"81 B2 FF 00 01 => 81 B2 FF 00 01"_s,
                                      u"81 B3 00 80 00 => 81 B3 00 80 00"_s, u"81 30 => 81 30 01 07 01"_s,
                                      u"81 31 => 81 31 FF 00 01"_s, u"81 32 => 81 32 00 80 00"_s});
    row("peak write answers in the peak layout", {u"81 D0 00 => 81 D0 00 06 01"_s, u"81 D1 02 => 81 D1 02 00 00"_s,
                                                  u"81 40 => 81 40 00 02 01"_s, u"81 30 => 81 30 01 05 00"_s});

    row("colour reads", {u"82 00 => 82 00 02 01 00"_s, u"82 01 => 82 01 03 05 07"_s, u"82 02 => 82 02 02 00 00"_s,
                         u"82 03 => 82 03 01 08 00"_s});
    row("colour mode write answers in the 0x00 layout", {u"82 80 01 => 82 80 01 01 00"_s});
    row("colour level writes echo", {u"82 81 06 => 82 81 06 00 00"_s, u"82 86 00 => 82 86 00 00 00"_s,
                                     u"82 87 08 => 82 87 08 00 00"_s, u"82 88 02 => 82 88 02 00 00"_s,
                                     u"82 01 => 82 01 06 00 08"_s, u"82 00 => 82 00 02 02 00"_s,
                                     u"82 84 04 => 82 84 04 00 00"_s, u"82 03 => 82 03 01 04 00"_s});
    row("IR thresholds in the working copy", {u"91 00 E0 => 91 00 E0 00 40"_s, u"93 00 E5 12 34 => 93 00 E5 12 34"_s,
                                              u"91 00 E5 => 91 00 E5 12 34"_s});

    row("other reads", {u"86 00 => 86 00 00 01 00"_s, u"86 01 => 86 01 01 00 01"_s, u"86 02 => 86 02 01 01 23"_s,
                        u"86 03 => 86 03 02 70 00"_s, u"86 04 => 86 04 01 02 01"_s, u"86 08 => 86 08 03 06 00"_s,
                        u"86 09 => 86 09 01 01 01"_s, u"86 0A => 86 0A 01 00 00"_s, u"86 10 => 86 10 02 07 00"_s,
                        u"86 11 => 86 11 00 01 01"_s, u"86 12 => 86 12 00 00 00"_s, u"86 13 => 86 13 01 00 00"_s});
    // The camera status the EEP page shows: alarm, motion, night; board straps; video standard.
    row("camera status", {u"86 05 => 86 05 00 00 00"_s, u"86 06 => 86 06 01 01 01"_s, u"86 07 => 86 07 01 00 00"_s,
                          u"86 A0 00 => 86 A0 00 00 00"_s, u"86 05 => 86 05 00 00 01"_s});
    row("reverse writes answer in the 0x01 layout",
        {u"86 82 00 => 86 82 00 00 01"_s, u"86 83 01 => 86 83 00 01 01"_s, u"86 88 01 => 86 88 01 01 01"_s,
         u"86 89 00 => 86 89 01 00 01"_s});
    row("phase on/off answers in the 0x02 layout", {u"86 85 00 => 86 85 00 01 23"_s});
    row("phase steps up and down", {u"86 86 01 03 => 86 86 01 01 26"_s, u"86 86 00 0A => 86 86 01 01 1C"_s,
                                    u"86 02 => 86 02 01 01 1C"_s});
    row("phase stays within 0 and its maximum",
        {u"86 86 00 00 => 86 86 01 00 00"_s, u"86 86 00 01 => 86 86 01 00 00"_s, u"86 86 03 00 => 86 86 01 02 70"_s,
         u"86 86 01 0A => 86 86 01 02 70"_s});
    // The same item sets a position (high byte first) when it is no step of 1 to 10.
    row("phase set to a position", {u"86 86 01 2C => 86 86 01 01 2C"_s, u"86 86 00 80 => 86 86 01 00 80"_s,
                                    u"86 86 00 0B => 86 86 01 00 0B"_s, u"86 02 => 86 02 01 00 0B"_s});
    row("aperture gain writes", {u"86 8D 0C => 86 8D 0C 00 00"_s, u"86 8E 00 => 86 8E 00 00 00"_s,
                                 u"86 08 => 86 08 0C 00 00"_s});
    row("other writes echo", {u"86 84 00 => 86 84 00 00 00"_s, u"86 87 0A 1F => 86 87 0A 1F 00"_s,
                              u"86 A0 03 => 86 A0 03 00 00"_s, u"86 10 => 86 10 03 07 00"_s,
                              u"86 8A 00 => 86 8A 00 00 00"_s, u"86 04 => 86 04 00 02 01"_s});
    row("preset: arming answers in the 0x00 layout, executing restores factory settings",
        {u"86 80 02 01 => 86 80 01 01 00"_s, u"86 80 00 => 86 80 00 00 00"_s, u"81 10 => 81 10 00 04 04"_s,
         u"89 10 => 89 10 07 00 00"_s});

    row("communication settings", {u"89 10 => 89 10 07 00 00"_s, u"89 11 => 89 11 01 04 00"_s,
                                   u"89 93 02 => 89 93 02 04 00"_s, u"89 94 CA => 89 94 02 00 00"_s,
                                   u"89 94 CE => 89 94 02 04 00"_s, u"89 11 => 89 11 02 04 00"_s});
    row("ID and mode writes answer in the 0x10 layout",
        {u"89 90 05 => 89 90 05 00 00"_s, u"89 91 01 => 89 91 05 01 00"_s, u"89 10 => 89 10 05 01 00"_s});
    row("key presses answer the key state", {u"89 80 0A => 89 80 0A 00 01"_s, u"89 80 02 => 89 80 02 01 01"_s,
                                             u"86 12 => 86 12 00 01 01"_s, u"89 80 01 => 89 80 01 00 01"_s});
    row("marker", {u"8A 00 => 8A 00 01 0A 14"_s, u"8A 80 00 => 8A 80 00 0A 14"_s, u"8A 83 05 01 => 8A 83 00 0F 14"_s,
                   u"8A 84 01 01 => 8A 84 00 0E 14"_s, u"8A 85 02 01 => 8A 85 00 0E 16"_s,
                   u"8A 86 30 01 => 8A 86 00 0E 00"_s});
    row("reset answers", {u"8F => 8F 00 00 00 00"_s});

    row("lens reads", {u"83 00 => 83 00 00 00 00"_s, u"83 01 => 83 01 00 64 00"_s, u"83 02 => 83 02 00 00 00"_s,
                       u"83 03 => 83 03 00 00 00"_s, u"83 04 => 83 04 02 02 00"_s, u"83 05 => 83 05 00 01 00"_s,
                       u"83 09 => 83 09 FF CE 00"_s, u"83 0A => 83 0A 04 B0 00"_s, u"83 10 => 83 10 00 80 00"_s,
                       u"83 20 => 83 20 00 00 08"_s, u"83 22 => 83 22 00 00 00"_s});
    // The clock stands still here: positions sent are answered, the lens has not moved yet.
    row("zoom and focus commands answer the new position",
        {u"83 8B 01 D0 => 83 8B 01 D0 00"_s, u"83 00 => 83 00 00 00 00"_s, u"83 82 => 83 82 00 00 00"_s,
         u"83 90 00 05 => 83 90 00 05 00"_s, u"83 91 00 01 => 83 91 00 04 00"_s, u"83 91 00 09 => 83 91 00 00 00"_s,
         u"83 8C FF CE => 83 8C FF CE 00"_s, u"83 93 00 01 => 83 93 00 63 00"_s, u"83 8D 05 0A => 83 8D 02 2D 00"_s,
         u"83 8E 0A 0A => 83 8E 04 B0 00"_s, u"83 8B 7F FF => 83 8B 04 5B 00"_s, u"83 8B FF FB => 83 8B 00 00 00"_s});
    row("zoom magnification goes with every zoom answer",
        {u"83 8F 01 => 83 8F 01 00 00"_s, u"83 00 => 83 00 00 00 01"_s, u"83 81 => 83 81 00 00 01"_s});
    row("auto-focus writes answer the auto-focus state",
        {u"83 86 01 => 83 86 01 00 00"_s, u"83 87 01 => 83 87 01 01 00"_s, u"83 88 01 => 83 88 01 01 01"_s,
         u"83 89 => 83 89 01 01 01"_s});
    row("speeds and tracking", {u"83 94 04 => 83 94 04 02 00"_s, u"83 95 00 => 83 95 04 00 00"_s,
                                u"83 B0 02 => 83 B0 02 80 00"_s, u"83 B1 FF 01 => 83 B1 FF 01 00"_s,
                                u"83 B2 01 => 83 B2 01 00 00"_s, u"83 10 => 83 10 02 FF 01"_s});
    row("digital zoom and pan/tilt/zoom",
        {u"83 8A 03 => 83 8A 03 00 00"_s, u"83 03 => 83 03 03 00 00"_s, u"83 C0 FB 05 20 => 83 C0 FB 05 20"_s,
         u"83 20 => 83 20 FB 05 20"_s, u"83 C1 => 83 C1 00 00 00"_s, u"83 20 => 83 20 00 00 08"_s,
         u"83 C2 01 => 83 C2 01 00 00"_s, u"83 C3 01 01 => 83 C3 01 01 00"_s, u"83 22 => 83 22 01 01 00"_s});
    row("presets store, read back and move",
        {u"84 80 05 00 7B => 84 80 05 00 7B"_s, u"84 81 05 01 C8 => 84 81 05 01 C8"_s,
         u"84 03 05 => 84 03 05 00 7B"_s, u"84 04 05 => 84 04 05 01 C8"_s, u"84 11 05 => 84 11 05 00 00"_s,
         u"84 03 06 => 84 03 06 00 00"_s, u"84 82 05 => 84 82 05 00 00"_s, u"84 02 => 84 02 05 00 00"_s,
         u"84 05 => 84 05 05 00 00"_s, u"84 06 => 84 06 05 00 64"_s, u"84 14 => 84 14 05 00 00"_s});
    row("the lens now into a preset", {u"83 90 00 20 => 83 90 00 20 00"_s, u"84 90 03 => 84 90 03 00 00"_s,
                                       u"84 03 03 => 84 03 03 00 20"_s, u"84 04 03 => 84 04 03 00 64"_s});
    row("position OSD, alarm and default positions",
        {u"84 00 => 84 00 00 00 00"_s, u"84 83 01 => 84 83 01 00 00"_s, u"84 00 => 84 00 00 01 00"_s,
         u"84 85 07 => 84 85 07 00 00"_s, u"84 01 => 84 01 00 07 00"_s, u"84 10 => 84 10 00 01 00"_s,
         u"84 8D 09 => 84 8D 09 00 00"_s, u"84 8F 01 => 84 8F 01 00 00"_s, u"84 10 => 84 10 09 09 00"_s});

    row("EEPROM 1 by item and data 1", {u"90 01 2A => 90 01 2A 11 2A"_s, u"90 03 FF => 90 03 FF 03 00"_s});
    row("EEPROM 1 write reaches the working copy", {u"92 00 10 AB CD => 92 00 10 AB CD"_s,
                                                   u"90 00 10 => 90 00 10 AB CD"_s, u"91 00 10 => 91 00 10 AB CD"_s});
    row("working copy write leaves EEPROM 1", {u"93 00 E0 12 34 => 93 00 E0 12 34"_s, u"90 00 E0 => 90 00 E0 00 40"_s});
    row("EEPROM 2", {u"9B 03 FE => 9B 03 FE 23 FE"_s, u"9C 00 01 55 AA => 9C 00 01 55 AA"_s,
                     u"9B 00 01 => 9B 00 01 55 AA"_s, u"90 00 01 => 90 00 01 10 01"_s});
    row("DSP EEPROM", {u"9D 00 05 => 9D 00 05 30 05"_s, u"9D 00 C0 => 9D 00 C0 00 00"_s,
                       u"9E 00 C0 01 23 => 9E 00 C0 01 23"_s, u"9D 00 C0 => 9D 00 C0 01 23"_s});
    row("DSP register write, with and without storing",
        {u"94 EC => 94 EC 30 EC 00"_s, u"96 EC 12 34 => 96 EC 12 34 00"_s, u"94 EC => 94 EC 12 34 00"_s,
         u"95 EC => 95 EC 30 EC 00"_s, u"97 03 AB CD => 97 03 AB CD 00"_s, u"95 03 => 95 03 AB CD 00"_s,
         u"9D 00 03 => 9D 00 03 AB CD"_s});
    row("detection reports the strongest defect in both fields",
        {u"9A 00 => 9A 00 01 00 00"_s, u"9A 01 => 9A 01 01 00 00"_s, u"9A 02 => 9A 02 00 80 00"_s,
         u"9A 03 => 9A 03 00 60 00"_s, u"9A 04 => 9A 04 01 00 00"_s, u"9A 05 => 9A 05 00 80 00"_s,
         u"9A 06 => 9A 06 00 60 00"_s});
    row("a stored entry hides its defect, the table is the DSP EEPROM's",
        {u"9A 81 00 01 00 => 9A 81 00 01 00"_s, u"9A 01 => 9A 01 01 00 00"_s, u"9A 82 00 04 80 => 9A 82 00 04 80"_s,
         u"9A 01 => 9A 01 02 A5 00"_s, u"9A 03 => 9A 03 00 48 00"_s, u"9D 00 C0 => 9D 00 C0 01 00"_s,
         u"9D 00 C1 => 9D 00 C1 04 80"_s, u"95 C1 => 95 C1 04 80 00"_s, u"94 C1 => 94 C1 04 80 00"_s});
    row("an entry switched off or the correction off hides nothing",
        {u"9A 81 0E 01 00 => 9A 81 0E 01 00"_s, u"9A 82 0E 00 80 => 9A 82 0E 00 80"_s, u"9A 01 => 9A 01 01 00 00"_s,
         u"9A 82 0E 04 80 => 9A 82 0E 04 80"_s, u"9A 01 => 9A 01 02 A5 00"_s, u"9A 80 00 => 9A 80 00 00 00"_s,
         u"9A 00 => 9A 00 00 00 00"_s, u"9A 01 => 9A 01 01 00 00"_s});
    row("cursor", {u"9A 83 0F => 9A 83 0F 00 00"_s, u"9A 83 00 => 9A 83 00 00 00"_s});
    row("iris bias and adjustment", {u"83 06 => 83 06 5C 00 00"_s, u"83 A4 3C => 83 A4 3C 00 00"_s,
                                     u"83 06 => 83 06 3C 00 00"_s, u"81 C0 00 => 81 C0 00 00 00"_s,
                                     u"81 C0 01 => 81 C0 01 00 00"_s});
    row("lens adjustment steps", {u"83 A1 => 83 A1 00 00 00"_s, u"83 A2 => 83 A2 00 00 00"_s,
                                  u"83 A3 => 83 A3 00 00 00"_s});
    row("white clip, burst and the day/night words",
        {u"94 34 => 94 34 00 E0 00"_s, u"94 38 => 94 38 48 58 00"_s, u"90 01 09 => 90 01 09 01 80"_s,
         u"90 02 1B => 90 02 1B 00 40"_s, u"90 01 18 => 90 01 18 01 60"_s, u"90 02 1C => 90 02 1C 00 30"_s,
         u"90 02 21 => 90 02 21 00 01"_s, u"90 02 1A => 90 02 1A 00 03"_s});
    row("motion reads", {u"85 10 => 85 10 00 04 00"_s, u"85 11 => 85 11 00 00 00"_s, u"85 12 => 85 12 FF FF FF"_s,
                         u"85 13 => 85 13 FF FF FF"_s, u"85 14 => 85 14 00 1E 00"_s, u"85 15 01 => 85 15 01 80 9C"_s,
                         u"85 16 => 85 16 00 00 00"_s, u"85 17 => 85 17 50 3C 00"_s, u"85 18 => 85 18 FF D8 00"_s,
                         u"85 19 => 85 19 FF E2 00"_s, u"85 1A => 85 1A 00 28 00"_s, u"85 1B => 85 1B 00 1E 00"_s,
                         u"85 1C => 85 1C 00 28 00"_s, u"85 1D => 85 1D 00 1E 00"_s, u"85 1E => 85 1E 00 14 00"_s,
                         u"85 1F => 85 1F 00 0F 00"_s, u"85 23 => 85 23 00 03 00"_s});
    row("motion switch answers in the 0x10 layout",
        {u"85 90 01 => 85 90 01 04 00"_s, u"85 91 09 => 85 91 09 00 00"_s, u"85 96 01 => 85 96 01 00 00"_s,
         u"85 10 => 85 10 01 09 01"_s});
    row("motion time and OSD", {u"85 92 02 => 85 92 02 00 00"_s, u"85 93 01 => 85 93 01 00 00"_s,
                                u"85 11 => 85 11 02 01 00"_s});
    row("motion cells", {u"85 84 01 02 80 => 85 84 01 02 80"_s, u"85 85 00 81 00 => 85 85 00 81 00"_s,
                         u"85 12 => 85 12 01 02 80"_s, u"85 13 => 85 13 00 81 00"_s});
    row("area 1 decides the watched cells",
        {u"85 95 0A 0A 00 => 85 95 0A 0A 00"_s, u"85 12 => 85 12 00 00 18"_s, u"85 13 => 85 13 18 00 00"_s,
         u"85 94 BA CE 00 => 85 94 BA CE 00"_s, u"85 12 => 85 12 01 00 00"_s, u"85 13 => 85 13 00 00 00"_s,
         u"85 16 => 85 16 BA CE 00"_s, u"85 17 => 85 17 0A 0A 00"_s});
    row("thresholds by level, read in pairs",
        {u"85 15 02 => 85 15 02 B0 C0"_s, u"85 A0 05 9C 01 => 85 A0 05 9C 01"_s, u"85 15 02 => 85 15 02 B0 9C"_s,
         u"85 A0 09 01 01 => 85 A0 09 01 01"_s, u"85 15 04 => 85 15 04 E8 01"_s});
    row("intervals", {u"85 9F 01 2C 01 => 85 9F 01 2C 01"_s, u"85 14 => 85 14 01 2C 00"_s,
                      u"85 9B 00 64 00 => 85 9B 00 64 00"_s, u"85 23 => 85 23 00 64 00"_s});
    row("DSP send: running or factory value", {u"96 05 77 88 => 96 05 77 88 00"_s, u"9F 05 00 => 9F 05 00 77 88"_s,
                                               u"9F 05 01 => 9F 05 01 30 05"_s});
}

void TstCamsim::exchanges()
{
    QFETCH(QStringList, steps);
    Camera cam = fixtureCamera();
    cam.setClock([] { return int64_t(0); });
    for (const QString &step : steps) {
        const QStringList parts = step.split(u"=>"_s);
        QCOMPARE(parts.size(), 2);
        const auto reply = cam.answer(request(parts.at(0), cam.id()));
        QVERIFY2(reply, qPrintable(step));
        QVERIFY(camsim::sumIsZero(*reply));
        QCOMPARE(head(*reply), parts.at(1).trimmed());
    }
}

void TstCamsim::unknownOrInvalidRequestsAreRefused_data()
{
    QTest::addColumn<QString>("req");
    QTest::newRow("unused category") << u"87 00"_s;
    QTest::newRow("unknown exposure item") << u"81 7F"_s;
    QTest::newRow("unknown other item") << u"86 55"_s;
    QTest::newRow("title character 0") << u"80 00 00"_s;
    QTest::newRow("title character 21") << u"80 00 15"_s;
    QTest::newRow("title write 21") << u"80 80 15 00 41"_s;
    QTest::newRow("EEPROM 1 beyond 0x3FF") << u"90 04 00"_s;
    QTest::newRow("EEPROM 1 write beyond") << u"92 FF FF 00 00"_s;
    QTest::newRow("EEPROM 2 beyond") << u"9C 04 00 00 00"_s;
    QTest::newRow("DSP EEPROM beyond 0xFF") << u"9D 01 00"_s;
    QTest::newRow("RAM below the window") << u"98 CF FF 01"_s;
    QTest::newRow("RAM above the window") << u"98 F0 00 01"_s;
    QTest::newRow("speed code 3") << u"89 93 03"_s;
    QTest::newRow("stop bits code") << u"89 94 00"_s;
    QTest::newRow("iris reference 6") << u"81 72 06"_s;
    QTest::newRow("defect entry 15") << u"9A 81 0F 01 00"_s;
    QTest::newRow("defect V entry 255") << u"9A 82 FF 00 00"_s;
    QTest::newRow("cursor beyond O") << u"9A 83 10"_s;
    QTest::newRow("iris adjustment 2") << u"81 C0 02"_s;
    QTest::newRow("unknown defect item") << u"9A 07"_s;
    QTest::newRow("motion threshold pair 5") << u"85 15 05"_s;
    QTest::newRow("motion threshold level 10") << u"85 A0 0A 01 01"_s;
    QTest::newRow("unknown motion item") << u"85 30"_s;
    QTest::newRow("zoom ratio of no steps") << u"83 8D 05 00"_s;
    QTest::newRow("preset 0") << u"84 03 00"_s;
    QTest::newRow("preset 65 stored") << u"84 80 41 00 10"_s;
    QTest::newRow("move to preset 0") << u"84 82 00"_s;
    QTest::newRow("alarm position 65") << u"84 85 41"_s;
}

void TstCamsim::unknownOrInvalidRequestsAreRefused()
{
    QFETCH(QString, req);
    Camera cam = fixtureCamera();
    const Camera before = cam;
    const Frame7 r = request(req, cam.id());
    const auto reply = cam.answer(r);
    QVERIFY(reply);
    QCOMPARE(head(*reply), camsim::bytesHex(std::array<uint8_t, 5>{uint8_t(r[0] | 0x40), r[1], 0, 0, 0}.data(), 5));
    QCOMPARE((*reply)[5], cam.id());
    QVERIFY(camsim::sumIsZero(*reply));
    // A refused write changes nothing.
    QVERIFY(cam.live() == before.live() && cam.stored() == before.stored());
    QVERIFY(cam.title() == before.title() && cam.eeprom1() == before.eeprom1() && cam.eeprom2() == before.eeprom2());
    QVERIFY(cam.dspEeprom() == before.dspEeprom());
}

void TstCamsim::idFilteringAndChecksum_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("cameraId");
    QTest::addColumn<int>("requestId");
    QTest::addColumn<bool>("badSum");
    QTest::addColumn<bool>("answered");
    QTest::newRow("1:1, own ID") << 0 << 1 << 1 << false << true;
    QTest::newRow("1:1, any ID") << 0 << 1 << 9 << false << true;
    QTest::newRow("1:N, own ID") << 1 << 5 << 5 << false << true;
    QTest::newRow("1:N, other ID") << 1 << 5 << 1 << false << false;
    QTest::newRow("1:N, ID 0") << 1 << 5 << 0 << false << false;
    QTest::newRow("1:1, bad checksum") << 0 << 1 << 1 << true << false;
    QTest::newRow("1:N, own ID, bad checksum") << 1 << 5 << 5 << true << false;
}

void TstCamsim::idFilteringAndChecksum()
{
    QFETCH(int, mode);
    QFETCH(int, cameraId);
    QFETCH(int, requestId);
    QFETCH(bool, badSum);
    QFETCH(bool, answered);
    Camera cam;
    cam.stored().commMode = mode;
    cam.stored().commId = cameraId;
    cam.reset();
    // A write, so an ignored request visibly changes nothing.
    Frame7 r = request(u"81 91 07"_s, uint8_t(requestId));
    if (badSum)
        r[6] ^= 0x01;
    const auto reply = cam.answer(r);
    QCOMPARE(bool(reply), answered);
    QCOMPARE(cam.live().alcAutoLevel, answered ? 7 : Settings().alcAutoLevel);
    if (reply)
        QCOMPARE((*reply)[5], uint8_t(cameraId));
}

void TstCamsim::resetReloadsStoredSettingsOnly()
{
    Camera cam;
    auto send = [&](const char *req) { QVERIFY(cam.answer(request(QString::fromLatin1(req), cam.id()))); };
    send("86 82 01");         // H-reverse, saved
    send("86 89 01");         // V-reverse, not saved
    send("93 00 E0 12 34");   // working copy only
    send("96 10 AA BB");      // DSP register only
    send("9E 00 11 CC DD");   // DSP EEPROM only
    send("86 A2 01");         // 'No Save' from here on
    send("81 91 07");
    QCOMPARE(cam.live().alcAutoLevel, 7);

    send("8F");
    QCOMPARE(cam.live().hReverse, 1);
    QCOMPARE(cam.live().vReverse, 0);
    QCOMPARE(cam.live().eepNoSave, 1);
    QCOMPARE(cam.live().alcAutoLevel, Settings().alcAutoLevel);
    QCOMPARE(cam.eeprom1Ram()[0xE0], cam.eeprom1()[0xE0]);
    QCOMPARE(cam.dspRegisters()[0x10], cam.dspEeprom()[0x10]);
    QCOMPARE(cam.dspRegisters()[0x11], uint16_t(0xCCDD));

    // 'Save' keeps a no-save reverse.
    send("86 89 01");
    send("86 8F");
    send("8F");
    QCOMPARE(cam.live().vReverse, 1);
}

void TstCamsim::lineSettingsWaitForPowerOn()
{
    Camera cam;
    QCOMPARE(cam.line().baud, 38400);
    QVERIFY(cam.answer(request(u"89 93 00"_s, 1)));
    QVERIFY(cam.answer(request(u"89 94 CE"_s, 1)));
    QCOMPARE(head(*cam.answer(request(u"89 11"_s, 1))), u"89 11 00 04 00"_s);
    QCOMPARE(cam.line().baud, 38400);
    QVERIFY(cam.answer(request(u"8F"_s, 1)));
    QCOMPARE(cam.line().baud, 38400);
    QCOMPARE(cam.line().stopBits, 1);
    cam.powerOn();
    QCOMPARE(cam.line().baud, 9600);
    QCOMPARE(cam.line().stopBits, 2);
}

void TstCamsim::figuresMoveBetweenReads()
{
    Camera cam;
    for (const QString &req : {u"82 10"_s, u"82 16"_s, u"81 01"_s, u"81 70"_s, u"81 73"_s, u"98 D0 00 01"_s}) {
        const auto a = cam.answer(request(req, 1));
        const auto b = cam.answer(request(req, 1));
        QVERIFY(a && b);
        QVERIFY2(head(*a) != head(*b), qPrintable(req));
    }
}

void TstCamsim::motionDetector()
{
    Camera cam;
    auto ask = [&](const char *req) { return *cam.answer(request(QString::fromLatin1(req), cam.id())); };
    auto word = [](const Frame7 &f) { return f[3] << 8 | f[4]; };
    // A still scene: the figures change by a few units; nothing is found at the usual value.
    for (int i = 0; i < 3; ++i)
        QVERIFY(word(ask("85 21 13")) <= 3);
    QCOMPARE(head(ask("85 99 FF FF 08")), u"85 99 00 00 00"_s);
    QCOMPARE(head(ask("85 22")).mid(9), u"FF 00"_s);

    cam.setMotionInCell(20);
    cam.setMotionInCell(0);    // no such cells
    cam.setMotionInCell(49);
    QVERIFY(cam.motionInCell(20) && !cam.motionInCell(19) && !cam.motionInCell(21));
    // Cell 20 is index 19; it jumps by hundreds, its neighbour does not.
    const int before = word(ask("85 20 13"));
    const int after = word(ask("85 20 13"));
    QVERIFY2(std::abs(after - before) >= 300 && before >= 1500, qPrintable(u"%1 %2"_s.arg(before).arg(after)));
    QVERIFY(word(ask("85 21 13")) >= 300);
    QVERIFY(word(ask("85 21 12")) <= 3);
    // Inspection bits run from bit 7 = lowest cell; only asked cells are tested.
    QCOMPARE(head(ask("85 99 FF FF 80")), u"85 99 10 00 00"_s);
    QCOMPARE(head(ask("85 9D EF FF 08")), u"85 9D 00 00 00"_s);
    QCOMPARE(head(ask("85 98 FF FF 08")), u"85 98 00 00 00"_s);
    QCOMPARE(head(ask("85 9E FF FF 08")), u"85 9E 00 00 00"_s);
    // The maxima name index 19; "happen" needs detection on; unwatched cells do not count.
    QCOMPARE(head(ask("85 22")), u"85 22 13 13 00"_s);
    ask("85 90 01");
    QCOMPARE(head(ask("85 22")), u"85 22 13 13 01"_s);
    ask("85 84 FF FF 00");
    QCOMPARE(head(ask("85 22")).mid(9), u"FF 00"_s);

    cam.clearMotion();
    QVERIFY(!cam.motionInCell(20));
    QVERIFY(word(ask("85 21 13")) <= 3);

    // The command line's moving cells are there from the start.
    camsim::Options o;
    o.motionCells = {5, 48};
    camsim::PtyCamera pty(o);
    QVERIFY(pty.start());
    QVERIFY(pty.withCamera([](Camera &c) { return c.motionInCell(5) && c.motionInCell(48) && !c.motionInCell(6); }));
}

void TstCamsim::motionAreaKeptOnlyWithEeprom()
{
    Camera cam;
    auto ask = [&](const char *req) { return head(*cam.answer(request(QString::fromLatin1(req), cam.id()))); };
    // Without the EEPROM flag the area, the cells it gives and the interval last until reset.
    ask("85 95 0A 0A 00");
    ask("85 9B 00 10 00");
    QCOMPARE(ask("85 12"), u"85 12 00 00 18"_s);
    ask("8F");
    QCOMPARE(ask("85 12"), u"85 12 FF FF FF"_s);
    QCOMPARE(ask("85 17"), u"85 17 50 3C 00"_s);
    QCOMPARE(ask("85 23"), u"85 23 00 03 00"_s);
    ask("85 95 0A 0A 01");
    ask("85 9B 00 10 01");
    ask("8F");
    QCOMPARE(ask("85 12"), u"85 12 00 00 18"_s);
    QCOMPARE(ask("85 17"), u"85 17 0A 0A 00"_s);
    QCOMPARE(ask("85 23"), u"85 23 00 10 00"_s);
}

void TstCamsim::lensMovesWithTime()
{
    Camera cam;
    int64_t now = 1000;
    cam.setClock([&now] { return now; });
    auto ask = [&](const char *req) { return head(*cam.answer(request(QString::fromLatin1(req), cam.id()))); };
    // Lens answers carry a position in data 1-2, preset answers in data 2-3.
    auto position = [&](const char *req) {
        const auto r = cam.answer(request(QString::fromLatin1(req), cam.id()));
        const size_t at = (*r)[0] == 0x84 ? 3 : 2;
        return int(int16_t((*r)[at] << 8 | (*r)[at + 1]));
    };

    // Speed +2 zooms 320 steps a second; at an end the motor stops.
    QCOMPARE(ask("83 81"), u"83 81 00 00 00"_s);
    now += 500;
    QCOMPARE(position("83 00"), 160);
    // Automatic tracking has moved the focus toward sharp while the zoom moved.
    QVERIFY(position("83 01") > 100);
    now += 5000;
    QCOMPARE(position("83 00"), 1115);
    QCOMPARE(ask("83 80"), u"83 80 04 5B 00"_s);
    now += 1000;
    QCOMPARE(position("83 82"), 1115 - 320);
    now += 1000;
    QCOMPARE(position("83 00"), 1115 - 320);

    // Faster at MAX; a preset is approached at the zoom's speed.
    ask("83 94 04");
    ask("84 80 01 00 00");
    ask("84 82 01");
    now += 250;
    QCOMPARE(position("84 05"), 1115 - 320 - 320);

    // Fixed tracking: the tracking position puts the focus between near and far.
    ask("83 B0 02");
    ask("83 B1 FF 01");
    now += 10000;
    QCOMPARE(position("83 01"), 1200);
    ask("83 B1 00 01");
    now += 10000;
    QCOMPARE(position("83 01"), -50);

    // The auto focus keeps the focus sharp; a drive moves it away, stopping lets it return.
    ask("83 86 01");
    now += 10000;
    const int sharp = position("83 01");
    QCOMPARE(sharp, cam.lens().sharpFocus());
    ask("83 84");
    now += 100;
    QVERIFY(position("83 85") > sharp);
    now += 10000;
    QCOMPARE(position("83 01"), sharp);
}

void TstCamsim::assembler_data()
{
    QTest::addColumn<QString>("stream");
    QTest::addColumn<QStringList>("good");
    QTest::addColumn<int>("bad");
    const QString f1 = u"81 10 00 00 00 01 6E"_s;
    const QString f2 = u"86 02 00 00 00 01 77"_s;
    QTest::newRow("one frame") << f1 << QStringList{f1} << 0;
    QTest::newRow("two frames back to back") << f1 + u' ' + f2 << QStringList{f1, f2} << 0;
    QTest::newRow("bytes without bit 7 before a frame") << u"06 15 41 "_s + f1 << QStringList{f1} << 0;
    QTest::newRow("a stray byte with bit 7 before a frame") << u"80 "_s + f1 << QStringList{f1} << 1;
    QTest::newRow("a cut-short frame before a frame") << u"86 02 00 "_s + f1 << QStringList{f1} << 1;
    QTest::newRow("a bad frame between good ones")
        << f1 + u" 81 10 00 00 00 01 6F "_s + f2 << QStringList{f1, f2} << 1;
}

void TstCamsim::assembler()
{
    QFETCH(QString, stream);
    QFETCH(QStringList, good);
    QFETCH(int, bad);
    camsim::FrameAssembler a;
    QStringList frames;
    int bads = 0;
    for (const QString &b : stream.split(u' ', Qt::SkipEmptyParts))
        if (const auto r = a.push(uint8_t(b.toUInt(nullptr, 16))))
            r->good ? void(frames << camsim::bytesHex(r->frame.data(), 7)) : void(++bads);
    QCOMPARE(frames, good);
    QCOMPARE(bads, bad);
    QVERIFY(a.idle());
}

// ---------------------------------------------------------------------------------------------
// Over a pseudo-terminal

void TstCamsim::speedRuleOverPty()
{
    camsim::PtyCamera cam;
    QString error;
    QVERIFY2(cam.start(&error), qPrintable(error));
    QVERIFY(QFileInfo(cam.slavePath()).exists());
    PtyClient tool(cam.slavePath(), 19200);
    QVERIFY(tool.isOpen());
    const Frame7 write = request(u"81 91 07"_s, 1);

    QCOMPARE(cam.ptyBaud(), 19200);
    QVERIFY(tool.exchange(write, 7, kSilenceMs).isEmpty());
    QCOMPARE(cam.withCamera([](Camera &c) { return c.live().alcAutoLevel; }), Settings().alcAutoLevel);
    const auto log = cam.log();
    QVERIFY(!log.isEmpty() && log.last().note.contains(u"19200"_s));

    tool.setBaud(38400);
    QCOMPARE(tool.exchange(write), bytesOf(*Camera().answer(write)));
    QCOMPARE(cam.withCamera([](Camera &c) { return c.live().alcAutoLevel; }), 7);

    // Checked per request: back to the wrong speed, silence again.
    tool.setBaud(9600);
    QVERIFY(tool.exchange(request(u"81 10"_s, 1), 7, kSilenceMs).isEmpty());
    QCOMPARE(cam.received().size(), 1);
    QCOMPARE(cam.sent().size(), 1);
}

void TstCamsim::storedSpeedAppliesAfterPowerCycle()
{
    camsim::Options o;
    o.baud = 9600;
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath(), 9600);
    QCOMPARE(tool.exchange(request(u"89 11"_s, 1)).mid(0, 4), QByteArray("\x89\x11\x00\x00", 4));
    QCOMPARE(tool.exchange(request(u"89 93 01"_s, 1)).size(), 7);
    QCOMPARE(tool.exchange(request(u"89 11"_s, 1)).size(), 7);   // still at 9600
    cam.powerCycle();
    QVERIFY(tool.exchange(request(u"89 11"_s, 1), 7, kSilenceMs).isEmpty());
    tool.setBaud(19200);
    QCOMPARE(tool.exchange(request(u"89 11"_s, 1)).mid(0, 4), QByteArray("\x89\x11\x01\x00", 4));
}

void TstCamsim::faultSilentAfter()
{
    camsim::Options o;
    o.faults.silentAfter = 2;
    o.mode = camsim::CommMode::OneToN;
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath());
    QCOMPARE(tool.exchange(request(u"81 10"_s, 1)).size(), 7);
    QVERIFY(tool.exchange(request(u"81 10"_s, 2), 7, kSilenceMs).isEmpty());   // not ours: not counted
    QCOMPARE(tool.exchange(request(u"81 20"_s, 1)).size(), 7);
    QVERIFY(tool.exchange(request(u"81 10"_s, 1), 7, kSilenceMs).isEmpty());
    QVERIFY(tool.exchange(request(u"89 11"_s, 1), 7, kSilenceMs).isEmpty());
}

void TstCamsim::faultCorruptEvery()
{
    camsim::Options o;
    o.faults.corruptEvery = 2;
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath());
    QList<bool> sums;
    for (int i = 0; i < 4; ++i) {
        const QByteArray r = tool.exchange(request(u"81 10"_s, 1));
        QCOMPARE(r.size(), 7);
        Frame7 f{};
        std::memcpy(f.data(), r.constData(), 7);
        QCOMPARE(head(f), u"81 10 00 04 04"_s);
        sums << camsim::sumIsZero(f);
    }
    QCOMPARE(sums, (QList<bool>{true, false, true, false}));
}

void TstCamsim::faultErrorOn()
{
    camsim::Options o;
    const auto parsed = camsim::parseCommandLine({u"camsim"_s, u"--error-on"_s, u"81/91"_s, u"--error-on"_s, u"0x9B/*"_s});
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    camsim::PtyCamera cam(parsed.options);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath());
    QCOMPARE(tool.exchange(request(u"81 91 07"_s, 1)), bytesOf(camsim::makeFrame(0xC1, 0x91, 0, 0, 0, 1)));
    QCOMPARE(cam.withCamera([](Camera &c) { return c.live().alcAutoLevel; }), Settings().alcAutoLevel);
    QCOMPARE(tool.exchange(request(u"9B 01 23"_s, 1)), bytesOf(camsim::makeFrame(0xDB, 0x01, 0, 0, 0, 1)));
    QCOMPARE(tool.exchange(request(u"81 92 01"_s, 1)).at(0), char(0x81));

    // Faults can be changed while running.
    cam.setFaults({});
    QCOMPARE(tool.exchange(request(u"81 91 07"_s, 1)).at(0), char(0x81));
}

void TstCamsim::frameLogsKeepTheNewest()
{
    camsim::Options o;
    o.logLimit = 3;
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath());
    for (int item = 0x10; item < 0x15; ++item)
        QCOMPARE(tool.exchange(request(u"81 %1"_s.arg(item, 2, 16), 1)).size(), 7);
    // The camera logs a reply after writing it, so the tool may read it before it is logged.
    QTRY_COMPARE(cam.log().last().dir, camsim::LogEntry::Dir::Out);
    const QList<Frame7> received = cam.received();
    QCOMPARE(received.size(), 3);
    QCOMPARE(received.first()[1], uint8_t(0x12));
    QCOMPARE(received.last()[1], uint8_t(0x14));
    QCOMPARE(cam.sent().size(), 3);
    QCOMPARE(cam.log().size(), 3);
}

void TstCamsim::faultStrayBytes()
{
    camsim::Options o;
    o.faults.stray = QByteArray("\x41\x06", 2);
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath());
    const Frame7 r = request(u"86 01"_s, 1);
    QCOMPARE(tool.exchange(r, 9), QByteArray("\x41\x06", 2) + bytesOf(*Camera().answer(r)));
}

void TstCamsim::faultSplitAndPace()
{
    camsim::Options o;
    o.baud = 9600;
    o.faults.split = true;
    camsim::PtyCamera cam(o);
    QVERIFY(cam.start());
    PtyClient tool(cam.slavePath(), 9600);
    const Frame7 r = request(u"82 00"_s, 1);
    const QByteArray expected = bytesOf(*Camera().answer(r));

    // Split: three writes, 3 ms apart. Times are taken from the send to the last byte, which
    // a loaded machine can only make longer (a late reader sees the bytes at once).
    QElapsedTimer exchange;
    exchange.start();
    tool.send(bytesOf(r));
    QCOMPARE(tool.receive(7, 2000), expected);
    double total = double(exchange.nsecsElapsed()) / 1e6;
    QVERIFY2(total >= 6.0, qPrintable(QString::number(total)));

    // Paced at 9600 baud: the whole exchange takes at least the wire time of both frames
    // (14 x 1.04 ms).
    cam.setFaults({});
    cam.setPace(true);
    exchange.start();
    tool.send(bytesOf(r));
    QCOMPARE(tool.receive(7, 2000), expected);
    total = double(exchange.nsecsElapsed()) / 1e6;
    QVERIFY2(total >= 14.0, qPrintable(QString::number(total)));
}

void TstCamsim::stateRoundTrip()
{
    QTemporaryDir dir;
    camsim::Options o;
    o.statePath = dir.filePath(u"camera.json"_s);
    {
        camsim::PtyCamera cam(o);
        QVERIFY(cam.start());
        PtyClient tool(cam.slavePath());
        for (const char *req : {"92 00 10 AB CD", "9C 03 FE 12 34", "9E 00 C2 00 99", "80 80 01 00 41",
                                "86 82 01", "86 89 01", "89 93 01", "89 90 09", "84 80 03 01 23", "84 81 40 FF FB",
                                "84 8D 03", "84 8F 01"})
            QCOMPARE(tool.exchange(request(QString::fromLatin1(req), 1)).size(), 7);
        QVERIFY(cam.stop());
    }
    QVERIFY(QFileInfo::exists(o.statePath));

    camsim::PtyCamera again(o);
    QString error;
    QVERIFY2(again.start(&error), qPrintable(error));
    // The stored speed took effect at this power-on.
    QCOMPARE(again.line().baud, 19200);
    PtyClient tool(again.slavePath(), 19200);
    auto ask = [&](const char *req) { return head(tool.exchange(request(QString::fromLatin1(req), 9))); };
    QCOMPARE(ask("90 00 10"), u"90 00 10 AB CD"_s);
    QCOMPARE(ask("9B 03 FE"), u"9B 03 FE 12 34"_s);
    QCOMPARE(ask("9D 00 C2"), u"9D 00 C2 00 99"_s);
    QCOMPARE(ask("80 00 01"), u"80 00 01 00 41"_s);
    QCOMPARE(ask("86 01"), u"86 01 01 00 00"_s);   // the no-save V-reverse was not kept
    QCOMPARE(ask("89 10"), u"89 10 09 00 00"_s);
    // The presets are kept, and at power-on the lens went to the default position.
    QCOMPARE(ask("84 03 03"), u"84 03 03 01 23"_s);
    QCOMPARE(ask("84 04 40"), u"84 04 40 FF FB"_s);
    QCOMPARE(ask("84 05"), u"84 05 00 01 23"_s);
    QCOMPARE(again.withCamera([](Camera &c) { return c.titleText(); }), u"ARVIK CAMERA        "_s);

    // Options given at start win over the stored values.
    QVERIFY(again.stop());
    o.id = 4;
    camsim::PtyCamera third(o);
    QVERIFY(third.start());
    QCOMPARE(third.withCamera([](Camera &c) { return int(c.id()); }), 4);
}

void TstCamsim::badStateFileIsRejected()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bad.json"_s);
    const QByteArray files[] = {
        "not json",
        R"({"format": "orvik-camsim state", "version": 1, "eeprom1": "0000 0001"})",
        R"({"format": "orvik-camsim state", "version": 1, "settings": {"noSuchSetting": 1}})",
        R"({"format": "orvik-camsim state", "version": 1, "settings": {"agcLevel": "x"}})",
        R"({"format": "something else", "version": 1})",
    };
    for (const QByteArray &content : files) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        camsim::Options o;
        o.statePath = path;
        camsim::PtyCamera cam(o);
        QString error;
        QVERIFY2(!cam.start(&error), content.constData());
        QVERIFY(error.contains(path));
        cam.stop();
        // The bad file is left for its owner to look at.
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
}

// ---------------------------------------------------------------------------------------------
// Command line and executable

void TstCamsim::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::newRow("nothing") << QStringList{} << true;
    QTest::newRow("all options")
        << QStringList{u"--baud"_s, u"19200"_s, u"--stop-bits"_s, u"2"_s, u"--id"_s, u"239"_s, u"--mode"_s, u"1:n"_s,
                       u"--pace"_s, u"--state"_s, u"s.json"_s, u"--log"_s, u"-"_s, u"--link"_s, u"/tmp/x"_s,
                       u"--silent-after"_s, u"0"_s, u"--corrupt-every"_s, u"3"_s, u"--error-on"_s, u"86/02"_s,
                       u"--stray"_s, u"41,06"_s, u"--split"_s, u"--defect"_s, u"0x100,128,0x30"_s,
                       u"--defect"_s, u"5, 6, 70, stuck"_s, u"--motion-in"_s, u"9, 17"_s, u"--motion-in"_s, u"48"_s}
        << true;
    QTest::newRow("baud 4800") << QStringList{u"--baud"_s, u"4800"_s} << false;
    QTest::newRow("stop bits 3") << QStringList{u"--stop-bits"_s, u"3"_s} << false;
    QTest::newRow("id 256") << QStringList{u"--id"_s, u"256"_s} << false;
    QTest::newRow("mode 2:1") << QStringList{u"--mode"_s, u"2:1"_s} << false;
    QTest::newRow("corrupt every 0") << QStringList{u"--corrupt-every"_s, u"0"_s} << false;
    QTest::newRow("error-on without bit 7") << QStringList{u"--error-on"_s, u"10/00"_s} << false;
    QTest::newRow("error-on without item") << QStringList{u"--error-on"_s, u"81"_s} << false;
    QTest::newRow("stray odd digits") << QStringList{u"--stray"_s, u"406"_s} << false;
    QTest::newRow("stray with an empty field") << QStringList{u"--stray"_s, u"41,,06"_s} << false;
    QTest::newRow("stray with a trailing comma") << QStringList{u"--stray"_s, u"41,"_s} << false;
    QTest::newRow("motion in cell 49") << QStringList{u"--motion-in"_s, u"49"_s} << false;
    QTest::newRow("motion in no cell") << QStringList{u"--motion-in"_s, u"9,x"_s} << false;
    QTest::newRow("unknown option") << QStringList{u"--speed"_s, u"1"_s} << false;
    QTest::newRow("positional argument") << QStringList{u"/dev/ttyS0"_s} << false;
    QTest::newRow("defect X beyond 3FF") << QStringList{u"--defect"_s, u"1024,1,16"_s} << false;
    QTest::newRow("defect without a peak") << QStringList{u"--defect"_s, u"1,1"_s} << false;
    QTest::newRow("defect with a word other than stuck") << QStringList{u"--defect"_s, u"1,1,16,loose"_s} << false;
}

void TstCamsim::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    const auto cl = camsim::parseCommandLine(QStringList{u"orvik-camsim"_s} + args);
    QCOMPARE(cl.error.isEmpty(), ok);
    if (ok && !args.isEmpty()) {
        const camsim::Options &o = cl.options;
        QCOMPARE(*o.baud, 19200);
        QCOMPARE(*o.stopBits, 2);
        QCOMPARE(*o.id, 239);
        QVERIFY(*o.mode == camsim::CommMode::OneToN);
        QVERIFY(o.pace && o.faults.split);
        QCOMPARE(o.faults.silentAfter, 0);
        QCOMPARE(o.faults.corruptEvery, 3);
        QVERIFY(o.faults.refuses(0x86, 0x02) && !o.faults.refuses(0x86, 0x01));
        QCOMPARE(o.faults.stray, QByteArray("\x41\x06", 2));
        QCOMPARE(o.linkPath, u"/tmp/x"_s);
        QVERIFY(o.defects);
        QVERIFY((*o.defects == std::vector<camsim::PlantedDefect>{{0x100, 128, 0x30}, {5, 6, 70, 0, 0, true}}));
        QCOMPARE(o.motionCells, (QList<int>{9, 17, 48}));
    }
}

void TstCamsim::stateInAMissingFolderFailsAtStart()
{
    camsim::Options o;
    o.statePath = u"/nonexistent-orvik-folder/state.json"_s;
    camsim::PtyCamera cam(o);
    QString error;
    QVERIFY(!cam.start(&error));
    QVERIFY2(error.contains(u"/nonexistent-orvik-folder"_s), qPrintable(error));
    QVERIFY(!cam.isRunning());
}

void TstCamsim::plantedDefectsFromTheCommandLine()
{
    auto cl = camsim::parseCommandLine({u"orvik-camsim"_s, u"--defect"_s, u"none"_s});
    QVERIFY(cl.error.isEmpty() && cl.options.defects && cl.options.defects->empty());
    cl = camsim::parseCommandLine({u"orvik-camsim"_s, u"--defect"_s, u"0x2F0,0x1F0,0x90"_s});
    QVERIFY(cl.error.isEmpty());
    camsim::PtyCamera cam(cl.options);
    QVERIFY(cam.start());
    // The planted defect is the one the detection reports.
    const auto reply = cam.withCamera([](Camera &c) { return c.answer(request(u"9A 01"_s, c.id())); });
    QVERIFY(reply);
    QCOMPARE(head(*reply), u"9A 01 02 F0 00"_s);
    QVERIFY(cam.stop());
    QVERIFY(Camera().defects().size() == 3);
}

QString TstCamsim::executable()
{
#ifdef ORVIK_CAMSIM_EXE
    return QStringLiteral(ORVIK_CAMSIM_EXE);
#else
    return QCoreApplication::applicationDirPath() + u"/../tools/camsim/orvik-camsim"_s;
#endif
}

void TstCamsim::executableHelp()
{
    QProcess p;
    p.start(executable(), {u"--help"_s});
    QVERIFY2(p.waitForFinished(10000), qPrintable(executable()));
    QCOMPARE(p.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
    for (const char *opt : {"--baud", "--stop-bits", "--id", "--mode", "--pace", "--state", "--log", "--link",
                            "--silent-after", "--corrupt-every", "--error-on", "--stray", "--split", "--help"})
        QVERIFY2(help.contains(QString::fromLatin1(opt)), opt);

    p.start(executable(), {u"--baud"_s, u"1234"_s});
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromLocal8Bit(p.readAllStandardError()).contains(u"--baud"_s));
}

void TstCamsim::executableServesAPty()
{
    QTemporaryDir dir;
    const QString link = dir.filePath(u"camera"_s);
    const QString log = dir.filePath(u"frames.log"_s);
    QProcess p;
    p.start(executable(), {u"--link"_s, link, u"--id"_s, u"3"_s, u"--mode"_s, u"1:N"_s, u"--log"_s, log});
    QVERIFY(p.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(p.canReadLine(), 10000);
    const QString slave = QString::fromLocal8Bit(p.readLine()).trimmed();
    QVERIFY2(slave.startsWith(u"/dev/"_s), qPrintable(slave));
    QCOMPARE(QFileInfo(link).symLinkTarget(), slave);

    {
        PtyClient tool(link);
        QVERIFY(tool.isOpen());
        QCOMPARE(tool.exchange(request(u"89 10"_s, 3)), bytesOf(camsim::makeFrame(0x89, 0x10, 3, 1, 0, 3)));
        QVERIFY(tool.exchange(request(u"89 10"_s, 1), 7, kSilenceMs).isEmpty());
    }

    p.terminate();
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());

    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).contains(u" in  8910 0000 0003 64"_s));
    QVERIFY(lines.at(1).contains(u" out 8910 0301 0003 60"_s));
    QVERIFY(lines.at(2).contains(u"ID 1"_s));
    static const QRegularExpression stamp(u"^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "_s);
    QVERIFY(stamp.match(lines.at(0)).hasMatch());
}

QTEST_GUILESS_MAIN(TstCamsim)
#include "tst_camsim.moc"
