#include "ptycamera.h"

#include "state.h"

#include <QDateTime>
#include <QFile>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace camsim {

namespace {

constexpr auto kSplitGap = 3ms;
constexpr auto kWriteTimeout = 1000ms;
// A timed wake-up comes some tens of microseconds late here. Only the last byte of a reply
// decides when the reader may go on, so that one is slept for only up to this much before its
// time and the rest is waited out awake.
constexpr auto kLastByteAwake = 150us;
// The frame logs kept in memory hold the newest entries only (the --log file has them all).
template <class T>
void appendBounded(QList<T> &list, T value, qsizetype limit)
{
    while (list.size() >= std::max<qsizetype>(limit, 1))
        list.removeFirst();
    list.append(std::move(value));
}

const struct
{
    speed_t code;
    int baud;
} kSpeeds[] = {
    {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200},
    {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
};

int baudOf(speed_t s)
{
    for (const auto &e : kSpeeds)
        if (e.code == s)
            return e.baud;
    return 0;
}

speed_t speedOf(int baud)
{
    for (const auto &e : kSpeeds)
        if (e.baud == baud)
            return e.code;
    return B38400;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

QString LogEntry::text() const
{
    QString s = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch).toString(u"hh:mm:ss.zzz"_s);
    s += dir == Dir::In ? u" in  "_s : u" out "_s;
    if (bytes.size() == 7) {
        Frame7 f{};
        std::memcpy(f.data(), bytes.constData(), 7);
        s += frameHex(f);
    } else {
        s += bytesHex(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    }
    if (!note.isEmpty())
        s += u"  ("_s + note + u')';
    return s;
}

PtyCamera::PtyCamera(Options options)
    : options_(std::move(options))
{
}

PtyCamera::~PtyCamera()
{
    stop();
}

bool PtyCamera::start(QString *error)
{
    if (isRunning())
        return true;
    auto failWith = [&](const QString &message) {
        closeFd(master_);
        closeFd(slave_);
        closeFd(wake_);
        logFile_.reset();
        if (error)
            *error = message;
        return false;
    };

    {
        std::lock_guard lock(mutex_);
        QString why;
        if (!options_.statePath.isEmpty() && QFileInfo::exists(options_.statePath)
            && !loadState(camera_, options_.statePath, &why))
            return failWith(why);
        // The state is saved at stop: a folder that is not there fails now, not then.
        if (const QFileInfo state(options_.statePath); !options_.statePath.isEmpty() && !state.absoluteDir().exists())
            return failWith(u"cannot keep the state in %1: the folder %2 does not exist"_s.arg(
                options_.statePath, state.absolutePath()));
        // Command-line settings win over stored ones, as if set up at the factory.
        Settings &s = camera_.stored();
        if (options_.baud) {
            const auto code = codeOfBaud(*options_.baud);
            if (!code)
                return failWith(u"unsupported line speed %1"_s.arg(*options_.baud));
            s.baudCode = *code;
        }
        if (options_.stopBits)
            s.twoStopBits = *options_.stopBits == 2 ? 1 : 0;
        if (options_.id)
            s.commId = *options_.id;
        if (options_.mode)
            s.commMode = int(*options_.mode);
        if (options_.defects)
            camera_.defects() = *options_.defects;
        camera_.powerOn();
        for (int cell : options_.motionCells)
            camera_.setMotionInCell(cell);
    }

    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return failWith(u"cannot open a pseudo-terminal: %1"_s.arg(errnoText()));
    char name[128] = {};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 || ::ptsname_r(master_, name, sizeof name) != 0)
        return failWith(u"cannot set up the pseudo-terminal: %1"_s.arg(errnoText()));
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    slavePath_ = QString::fromLocal8Bit(name);

    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (slave_ < 0)
        return failWith(u"cannot open %1: %2"_s.arg(slavePath_, errnoText()));
    // Raw bytes, and the camera's own line settings until the tool sets its own.
    termios t{};
    ::tcgetattr(slave_, &t);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~tcflag_t(CSTOPB);
    if (line().stopBits == 2)
        t.c_cflag |= CSTOPB;
    ::cfsetspeed(&t, speedOf(line().baud));
    ::tcsetattr(slave_, TCSANOW, &t);

    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0)
        return failWith(u"cannot create an eventfd: %1"_s.arg(errnoText()));

    if (!options_.logPath.isEmpty()) {
        logFile_ = std::make_unique<QFile>(options_.logPath);
        const bool opened = options_.logPath == u"-"_s
                                ? logFile_->open(stdout, QIODevice::WriteOnly | QIODevice::Text)
                                : logFile_->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
        if (!opened)
            return failWith(u"cannot write the log %1: %2"_s.arg(options_.logPath, logFile_->errorString()));
    }

    if (!options_.linkPath.isEmpty()) {
        const QByteArray link = QFile::encodeName(options_.linkPath);
        struct stat st{};
        if (::lstat(link.constData(), &st) == 0) {
            // A link left behind by an earlier run is replaced; anything else is not ours.
            if (!S_ISLNK(st.st_mode))
                return failWith(u"%1 exists and is not a symbolic link"_s.arg(options_.linkPath));
            ::unlink(link.constData());
        }
        if (::symlink(name, link.constData()) != 0)
            return failWith(u"cannot make the link %1: %2"_s.arg(options_.linkPath, errnoText()));
        linked_ = true;
    }

    if (options_.onOpened)
        options_.onOpened(slavePath_);
    thread_ = std::thread(&PtyCamera::run, this);
    return true;
}

bool PtyCamera::stop(QString *error)
{
    if (!thread_.joinable())
        return true;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    thread_.join();
    closeFd(master_);
    closeFd(slave_);
    closeFd(wake_);

    if (linked_) {
        // Only our own link: someone may have replaced it meanwhile.
        if (QFileInfo(options_.linkPath).symLinkTarget() == slavePath_)
            QFile::remove(options_.linkPath);
        linked_ = false;
    }

    std::lock_guard lock(mutex_);
    if (logFile_)
        logFile_->flush();
    logFile_.reset();
    if (!options_.statePath.isEmpty())
        return saveState(camera_, options_.statePath, error);
    return true;
}

LineSettings PtyCamera::line() const
{
    std::lock_guard lock(mutex_);
    return camera_.line();
}

int PtyCamera::ptyBaud() const
{
    termios t{};
    if (slave_ < 0 || ::tcgetattr(slave_, &t) != 0)
        return 0;
    const int out = baudOf(::cfgetospeed(&t));
    const int in = baudOf(::cfgetispeed(&t));
    // An input speed of 0 means "same as output".
    return (in == 0 || in == out) ? out : 0;
}

void PtyCamera::powerCycle()
{
    std::lock_guard lock(mutex_);
    camera_.powerOn();
    assembler_.reset();
}

void PtyCamera::setFaults(const Faults &faults)
{
    std::lock_guard lock(mutex_);
    options_.faults = faults;
}

Faults PtyCamera::faults() const
{
    std::lock_guard lock(mutex_);
    return options_.faults;
}

void PtyCamera::setPace(bool pace)
{
    std::lock_guard lock(mutex_);
    options_.pace = pace;
}

QList<LogEntry> PtyCamera::log() const
{
    std::lock_guard lock(mutex_);
    return log_;
}

QList<Frame7> PtyCamera::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

QList<Frame7> PtyCamera::sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

void PtyCamera::clearLog()
{
    std::lock_guard lock(mutex_);
    log_.clear();
    received_.clear();
    sent_.clear();
}

// ---------------------------------------------------------------------------------------------
// The I/O thread

void PtyCamera::run()
{
    // Paced bytes wait for deadlines a fraction of a millisecond apart: without this the
    // kernel may round every wake-up up by its default slack and the line runs slow.
    (void)::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    uint8_t buffer[256];
    std::vector<Output> outputs;
    for (;;) {
        pollfd fds[2] = {{wake_, POLLIN, 0}, {master_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            return;
        if (fds[1].revents & POLLIN) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                const auto arrived = std::chrono::steady_clock::now();
                outputs.clear();
                onBytes(buffer, size_t(n), outputs);
                for (const Output &out : outputs)
                    send(out, arrived);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
        }
        // Hang-up or error with nothing to read: back off instead of spinning.
        if (!waitUntil(std::chrono::steady_clock::now() + 100ms))
            return;
    }
}

void PtyCamera::onBytes(const uint8_t *data, size_t size, std::vector<Output> &outputs)
{
    std::lock_guard lock(mutex_);
    // A UART set to another speed decodes nothing but garbage: drop what came in.
    const int pty = ptyBaud();
    if (pty != camera_.line().baud) {
        assembler_.reset();
        record(LogEntry::Dir::In, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
               u"ignored: line set to %1 baud, camera at %2"_s.arg(pty).arg(camera_.line().baud));
        return;
    }
    for (size_t i = 0; i < size; ++i) {
        const auto result = assembler_.push(data[i]);
        if (!result)
            continue;
        if (!result->good) {
            record(LogEntry::Dir::In, QByteArray(reinterpret_cast<const char *>(result->frame.data()), 7),
                   u"bad checksum, ignored"_s);
            continue;
        }
        if (auto out = onFrame(result->frame))
            outputs.push_back(*out);
    }
}

std::optional<PtyCamera::Output> PtyCamera::onFrame(const Frame7 &frame)
{
    const QByteArray bytes(reinterpret_cast<const char *>(frame.data()), 7);
    appendBounded(received_, frame, options_.logLimit);
    if (camera_.verdict(frame) == Camera::Verdict::OtherId) {
        record(LogEntry::Dir::In, bytes,
               u"not for this camera: ID %1, camera ID %2 in 1:N mode"_s.arg(frame[5]).arg(camera_.id()));
        return std::nullopt;
    }
    ++requests_;
    const Faults &f = options_.faults;
    if (f.silentAfter >= 0 && requests_ > f.silentAfter) {
        record(LogEntry::Dir::In, bytes, u"no answer: silent after %1 requests"_s.arg(f.silentAfter));
        return std::nullopt;
    }
    record(LogEntry::Dir::In, bytes, {});

    Output out;
    if (f.refuses(frame[0], frame[1])) {
        out.reply = camera_.errorReply(frame);
        out.note = u"error reply on demand"_s;
    } else {
        out.reply = *camera_.answer(frame);
    }
    ++replies_;
    if (f.corruptEvery > 0 && replies_ % f.corruptEvery == 0) {
        out.reply[6] = uint8_t(out.reply[6] + 1);
        out.note = u"checksum corrupted on demand"_s;
    }
    out.stray = f.stray;
    return out;
}

void PtyCamera::send(const Output &out, std::chrono::steady_clock::time_point arrived)
{
    bool pace = false, split = false;
    LineSettings line;
    {
        std::lock_guard lock(mutex_);
        pace = options_.pace;
        split = options_.faults.split;
        line = camera_.line();
    }
    const QByteArray reply(reinterpret_cast<const char *>(out.reply.data()), 7);
    const QByteArray all = out.stray + reply;
    bool ok = true;
    if (pace) {
        // Start bit, 8 data bits and the stop bits per byte. A pty hands the request over at
        // once, so first let its own wire time pass; then each reply byte goes out when its
        // last bit would have arrived. Deadlines are absolute, so a late wake-up is not
        // carried into the next byte.
        const auto byteTime = std::chrono::nanoseconds(1'000'000'000LL * (9 + line.stopBits) / line.baud);
        const auto start = std::max(arrived + byteTime * 7, std::chrono::steady_clock::now() - byteTime);
        for (qsizetype i = 0; ok && i < all.size(); ++i) {
            const auto due = start + byteTime * (i + 1);
            const bool last = i + 1 == all.size();
            if (!waitUntil(last ? due - kLastByteAwake : due))
                return;
            while (last && std::chrono::steady_clock::now() < due) {
            }
            ok = writeAll(all.constData() + i, 1);
        }
    } else if (split) {
        ok = out.stray.isEmpty() || writeAll(out.stray.constData(), size_t(out.stray.size()));
        const int pieces[] = {2, 2, 3};
        qsizetype at = 0;
        for (int piece : pieces) {
            if (at > 0 && !waitUntil(std::chrono::steady_clock::now() + kSplitGap))
                return;
            if (!ok)
                break;
            ok = writeAll(reply.constData() + at, size_t(piece));
            at += piece;
        }
    } else {
        ok = writeAll(all.constData(), size_t(all.size()));
    }

    std::lock_guard lock(mutex_);
    if (!out.stray.isEmpty())
        record(LogEntry::Dir::Out, out.stray, u"stray bytes"_s);
    if (!ok) {
        record(LogEntry::Dir::Out, reply, u"not delivered: nobody reads the line"_s);
        return;
    }
    appendBounded(sent_, out.reply, options_.logLimit);
    record(LogEntry::Dir::Out, reply, out.note);
}

bool PtyCamera::writeAll(const char *data, size_t size)
{
    const auto deadline = std::chrono::steady_clock::now() + kWriteTimeout;
    while (size > 0) {
        const ssize_t n = ::write(master_, data, size);
        if (n > 0) {
            data += n;
            size -= size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms)
            return false;
        pollfd fds[2] = {{wake_, POLLIN, 0}, {master_, POLLOUT, 0}};
        if (::poll(fds, 2, int(left.count())) > 0 && fds[0].revents)
            return false;
    }
    return true;
}

bool PtyCamera::waitUntil(std::chrono::steady_clock::time_point t)
{
    for (;;) {
        const auto left = t - std::chrono::steady_clock::now();
        if (left <= 0ns)
            return true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec ts{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        pollfd fd{wake_, POLLIN, 0};
        const int r = ::ppoll(&fd, 1, &ts, nullptr);
        if (r > 0)
            return false;
        if (r < 0 && errno != EINTR)
            return true;
    }
}

// Callers hold mutex_.
void PtyCamera::record(LogEntry::Dir dir, QByteArray bytes, QString note)
{
    LogEntry e{QDateTime::currentMSecsSinceEpoch(), dir, std::move(bytes), std::move(note)};
    if (logFile_) {
        logFile_->write(e.text().toUtf8() + '\n');
        logFile_->flush();
    }
    appendBounded(log_, std::move(e), options_.logLimit);
}

} // namespace camsim
