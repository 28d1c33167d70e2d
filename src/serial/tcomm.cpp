// TComm on Linux termios. The port is opened non-blocking; every wait is a poll with a
// deadline, and one eventfd wakes the watch thread (stop, or "look at the mask again").
#include "serial/tcomm.h"

#include "serial/devices.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <linux/serial.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const char *const kNotOpen = "通信が開始されていない。";
const char *const kTooLong = "送信データ長が長すぎる。";

// Read and write give up after this long (the port's total time-outs).
constexpr milliseconds kIoTimeout{1000};
constexpr milliseconds kBreakTime{500};
// How often the watch thread looks at the output queue or the modem lines, and only while
// someone asked for those events.
constexpr int kStatusPollMs = 20;
// How often Write looks at the output queue while it waits for room.
constexpr milliseconds kRoomPoll{2};

constexpr TCommEventMask kModemEvents =
    eventBit(evCts) | eventBit(evDsr) | eventBit(evRlsd) | eventBit(evRing);
constexpr TCommEventMask kCountedEvents = eventBit(evBreak) | eventBit(evErr);

// strerror_r comes in two flavours; take whichever this libc has.
[[maybe_unused]] const char *pickError(int, const char *buf) { return buf; }
[[maybe_unused]] const char *pickError(const char *text, const char *) { return text; }

std::string errorText(int err)
{
    char buf[256] = {};
    return pickError(strerror_r(err, buf, sizeof buf), buf);
}

std::string openFailure(const std::string &path, int err)
{
    std::string text = path + ": " + errorText(err);
    const std::string help = openErrorHelp(path, err);
    if (!help.empty())
        text += "\n" + help;
    return text;
}

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Modem-control ioctls fail on devices without modem lines (ptys): that is not an error here.
void setModemLine(int fd, unsigned long request, int line)
{
    (void)::ioctl(fd, request, &line);
}

speed_t speedCode(uint32_t baud)
{
    switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 1152000: return B1152000;
    case 1500000: return B1500000;
    case 2000000: return B2000000;
    case 2500000: return B2500000;
    case 3000000: return B3000000;
    case 3500000: return B3500000;
    case 4000000: return B4000000;
    default: return B0; // not a speed this driver interface can name
    }
}

uint16_t clampCount(int n)
{
    return uint16_t(std::clamp(n, 0, 65535));
}

// Modem lines and line-error counters, for the events nobody gets from poll.
struct LineStatus
{
    bool modemOk = false;
    int modem = 0;
    bool countsOk = false;
    serial_icounter_struct counts{};

    static LineStatus of(int fd)
    {
        LineStatus s;
        s.modemOk = ::ioctl(fd, TIOCMGET, &s.modem) == 0;
        s.countsOk = ::ioctl(fd, TIOCGICOUNT, &s.counts) == 0;
        return s;
    }

    // The events between an earlier status and this one, as event-mask bits.
    TCommEventMask since(const LineStatus &before) const
    {
        TCommEventMask ev = 0;
        if (modemOk && before.modemOk) {
            const int changed = modem ^ before.modem;
            if (changed & TIOCM_CTS)
                ev |= eventBit(evCts);
            if (changed & TIOCM_DSR)
                ev |= eventBit(evDsr);
            if (changed & TIOCM_CD)
                ev |= eventBit(evRlsd);
            if (changed & modem & TIOCM_RNG)
                ev |= eventBit(evRing);
        }
        if (countsOk && before.countsOk) {
            if (counts.brk != before.counts.brk)
                ev |= eventBit(evBreak);
            if (counts.frame != before.counts.frame || counts.overrun != before.counts.overrun
                || counts.parity != before.counts.parity
                || counts.buf_overrun != before.counts.buf_overrun)
                ev |= eventBit(evErr);
        }
        return ev;
    }
};

std::mutex portMapMutex;
std::map<int, std::string> &portPaths()
{
    static std::map<int, std::string> paths;
    return paths;
}

} // namespace

// ---------------------------------------------------------------- exceptions

ECommOpenError::ECommOpenError(int32_t code, const std::string &detail)
    : ECommError("オープンエラー ErrorCode = " + std::to_string(code) + (detail.empty() ? "" : "\n" + detail))
    , ErrorCode(code)
{
}

ECommReadWriteError::ECommReadWriteError(uint32_t code, const std::string &detail)
    : ECommError("入出力エラー ErrorCode = " + std::to_string(int32_t(code)) + (detail.empty() ? "" : "\n" + detail))
    , ErrorCode(code)
{
}

// ---------------------------------------------------------------- PortMap

namespace PortMap {

void setPath(int port, const std::string &path)
{
    std::lock_guard lock(portMapMutex);
    if (path.empty())
        portPaths().erase(port);
    else
        portPaths()[port] = path;
}

std::string path(int port)
{
    {
        std::lock_guard lock(portMapMutex);
        const auto it = portPaths().find(port);
        if (it != portPaths().end())
            return it->second;
    }
    return "/dev/ttyS" + std::to_string(port - 1);
}

} // namespace PortMap

// ---------------------------------------------------------------- TCommWatch

// Waits for line events on its own thread and calls the owner's Do* operations. Receive
// readiness is edge-triggered: a handler that leaves bytes unread is called again only when
// more bytes come, never in a busy loop.
class TCommWatch
{
public:
    TCommWatch(TComm &owner, int fd, int wakeFd, int pollFd, std::string path)
        : owner_(owner), fd_(fd), wakeFd_(wakeFd), pollFd_(pollFd), path_(std::move(path))
    {
        epoll_event wake{};
        wake.events = EPOLLIN;
        wake.data.fd = wakeFd_;
        epoll_event line{};
        line.events = EPOLLIN | EPOLLET;
        line.data.fd = fd_;
        if (epoll_ctl(pollFd_, EPOLL_CTL_ADD, wakeFd_, &wake) != 0
            || epoll_ctl(pollFd_, EPOLL_CTL_ADD, fd_, &line) != 0)
            throw std::system_error(errno, std::generic_category(), "epoll_ctl");
        thread_ = std::thread([this] { Execute(); });
    }

    ~TCommWatch() { stop(); }

    void stop()
    {
        if (!thread_.joinable())
            return;
        stopping_ = true;
        wake();
        thread_.join();
    }

    void wake()
    {
        const uint64_t one = 1;
        (void)!::write(wakeFd_, &one, sizeof one);
    }

    bool onThisThread() const { return std::this_thread::get_id() == thread_.get_id(); }

private:
    void Execute();

    template<typename F>
    void guarded(F &&f)
    {
        try {
            f();
        } catch (const std::exception &e) {
            report(e.what());
        } catch (...) {
            report("unknown exception");
        }
    }

    void report(const std::string &message)
    {
        if (!owner_.OnCommError)
            return;
        try {
            owner_.OnCommError(owner_, message);
        } catch (...) {
            // Nowhere left to report to; keep watching.
        }
    }

    TComm &owner_;
    const int fd_;
    const int wakeFd_;
    const int pollFd_;
    const std::string path_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

void TCommWatch::Execute()
{
    bool watching = true; // false once the device went away: then only the wake-up counts
    LineStatus last = LineStatus::of(fd_);
    for (;;) {
        const TCommEventMask mask = owner_.eventMask_.load();
        const bool wantTx = (mask & eventBit(evTxempty)) && owner_.txPending_.load();
        const bool wantLine = watching
            && ((last.modemOk && (mask & kModemEvents)) || (last.countsOk && (mask & kCountedEvents)));

        epoll_event events[2];
        const int n = epoll_wait(pollFd_, events, 2, (wantTx || wantLine) ? kStatusPollMs : -1);
        if (n < 0 && errno != EINTR)
            break;
        bool received = false;
        bool hungUp = false;
        for (int i = 0; i < n; ++i) {
            if (events[i].data.fd == wakeFd_) {
                uint64_t count = 0;
                (void)!::read(wakeFd_, &count, sizeof count);
            } else {
                received = received || (events[i].events & EPOLLIN);
                hungUp = hungUp || (events[i].events & (EPOLLHUP | EPOLLERR));
            }
        }
        if (stopping_)
            break;
        if (!watching)
            continue;

        // First match only: reception, then transmit-empty, then the other line events.
        if (received || hungUp) {
            int waiting = 0;
            int err = ::ioctl(fd_, FIONREAD, &waiting) == 0 ? 0 : errno;
            // A read that fails in the handler is reported only if the line is still there:
            // otherwise the hang-up below says it, once, after what was read is handed over.
            std::string readFailure;
            if (err == 0) {
                owner_.reportedWaiting_ = waiting;
                try {
                    owner_.DoCommReceive();
                } catch (const ECommReadWriteError &e) {
                    readFailure = e.what();
                } catch (const std::exception &e) {
                    report(e.what());
                } catch (...) {
                    report("unknown exception");
                }
                owner_.reportedWaiting_ = -1;
            }
            if (!readFailure.empty() && err == 0 && !hungUp) {
                pollfd pfd{fd_, POLLIN, 0};
                if (::ioctl(fd_, FIONREAD, &waiting) != 0)
                    err = errno;
                else if (::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR)))
                    hungUp = true;
            }
            if (err != 0 || hungUp) {
                // The device is gone (unplugged, hung up). Say so once and wait for Close.
                watching = false;
                epoll_ctl(pollFd_, EPOLL_CTL_DEL, fd_, nullptr);
                const int code = err != 0 ? err : EIO;
                report(ECommReadWriteError(uint32_t(code)).what() + ("\n" + path_ + ": " + errorText(code)));
            } else if (!readFailure.empty()) {
                report(readFailure);
            }
            continue;
        }
        if (wantTx) {
            int queued = 0;
            if (::ioctl(fd_, TIOCOUTQ, &queued) != 0) {
                owner_.txPending_ = false;
            } else if (queued == 0) {
                owner_.txPending_ = false;
                guarded([this] { owner_.DoCommTransmit(); });
                continue;
            }
        }
        if (wantLine) {
            const LineStatus now = LineStatus::of(fd_);
            const TCommEventMask ev = now.since(last) & mask;
            last = now;
            if (ev)
                guarded([this, ev] { owner_.DoCommEvent(ev); });
        }
    }
}

// ---------------------------------------------------------------- TComm

TComm::TComm() = default;

TComm::~TComm()
{
    try {
        Close();
    } catch (...) {
    }
}

bool TComm::IsOpen() const
{
    return fd_.load() >= 0;
}

std::string TComm::DevicePath() const
{
    return PortMap::path(port_);
}

void TComm::Open()
{
    if (IsOpen())
        return;

    int wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0)
        throw ECommOpenError(-2, "eventfd: " + errorText(errno));
    int pollFd = epoll_create1(EPOLL_CLOEXEC);
    if (pollFd < 0) {
        const int err = errno;
        closeFd(wakeFd);
        throw ECommOpenError(-3, "epoll: " + errorText(err));
    }

    const std::string path = DevicePath();
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int err = fd < 0 ? errno : 0;
    // No sharing: TIOCEXCL keeps other openers out (except root); the lock also covers root.
    if (fd >= 0 && ::ioctl(fd, TIOCEXCL) != 0)
        err = errno;
    if (fd >= 0 && err == 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        err = EBUSY;
    if (err != 0) {
        closeFd(fd);
        closeFd(pollFd);
        closeFd(wakeFd);
        throw ECommOpenError(-1, openFailure(path, err));
    }

    tcflush(fd, TCIOFLUSH);
    fd_ = fd;
    wakeFd_ = wakeFd;
    pollFd_ = pollFd;
    txPending_ = false;
    try {
        applyLineSettings();
    } catch (const ECommReadWriteError &e) {
        // Not a serial line, or settings it cannot take: the port stays closed.
        ::ioctl(fd, TIOCNXCL);
        fd_ = -1;
        closeFd(fd);
        closeFd(pollFd_);
        closeFd(wakeFd_);
        const std::string what = e.what();
        const auto line = what.find('\n');
        throw ECommOpenError(-1, line == std::string::npos ? path : what.substr(line + 1));
    }

    try {
        watch_ = new TCommWatch(*this, fd, wakeFd, pollFd, path);
    } catch (const std::exception &e) {
        ::ioctl(fd, TIOCNXCL);
        fd_ = -1;
        closeFd(fd);
        closeFd(pollFd_);
        closeFd(wakeFd_);
        throw ECommOpenError(-3, std::string("watch thread: ") + e.what());
    }
    setModemLine(fd, TIOCMBIS, TIOCM_DTR);
}

void TComm::Close()
{
    if (!IsOpen())
        return;
    if (watch_ && watch_->onThisThread())
        throw std::logic_error("TComm::Close called from its own watch thread");

    // Join before the descriptor goes: no callback runs once Close has returned.
    delete watch_;
    watch_ = nullptr;

    int fd = fd_.exchange(-1);
    setModemLine(fd, TIOCMBIC, TIOCM_DTR);
    tcflush(fd, TCIOFLUSH);
    ::ioctl(fd, TIOCNXCL); // the tty may outlive this descriptor (a pty's slave does)
    closeFd(fd);
    closeFd(pollFd_);
    closeFd(wakeFd_);
    txPending_ = false;
}

void TComm::kickWatch()
{
    if (IsOpen() && watch_)
        watch_->wake();
}

// ---- line settings

std::string TComm::lineError(const std::string &reason) const
{
    return DevicePath() + ": " + reason;
}

void TComm::applySetting(Setting which)
{
    const int fd = fd_.load();
    if (fd < 0)
        return;
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        const int err = errno;
        throw ECommReadWriteError(uint32_t(err), lineError(errorText(err)));
    }
    speed_t speed = B0;

    switch (which) {
    case Setting::Raw:
        // Bytes pass unchanged in both directions; reads never block in the driver.
        t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL);
        t.c_oflag &= ~tcflag_t(OPOST);
        t.c_lflag &= ~tcflag_t(ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN);
        t.c_cflag |= CLOCAL | CREAD;
        // With VMIN 1 an empty non-blocking read says EAGAIN; 0 then means a hang-up.
        t.c_cc[VMIN] = 1;
        t.c_cc[VTIME] = 0;
        break;
    case Setting::Baud: {
        const uint32_t baud = baudRate_ == -1 ? baudRateUserDefined_ : uint32_t(baudRate_);
        speed = speedCode(baud);
        if (speed == B0)
            throw ECommReadWriteError(uint32_t(EINVAL), lineError(std::to_string(baud) + " baud is not a speed this line can take"));
        cfsetispeed(&t, speed);
        cfsetospeed(&t, speed);
        break;
    }
    case Setting::ByteSize: {
        static constexpr tcflag_t sizes[] = {0, CS5, CS6, CS7, CS8};
        if (byteSize_ == cbs4 || byteSize_ > cbs8)
            return; // four data bits do not exist here: keep the current size
        t.c_cflag = (t.c_cflag & ~tcflag_t(CSIZE)) | sizes[byteSize_];
        break;
    }
    case Setting::Parity: {
        if (parity_ > cpbSpace)
            return;
        t.c_cflag &= ~tcflag_t(PARENB | PARODD | CMSPAR);
        t.c_iflag &= ~tcflag_t(INPCK);
        switch (parity_) {
        case cpbNone: break;
        case cpbOdd: t.c_cflag |= PARENB | PARODD; break;
        case cpbEven: t.c_cflag |= PARENB; break;
        case cpbMark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
        case cpbSpace: t.c_cflag |= PARENB | CMSPAR; break;
        }
        if (parity_ != cpbNone)
            t.c_iflag |= INPCK;
        break;
    }
    case Setting::StopBits:
        if (stopBits_ > csb2)
            return;
        // One and a half stop bits exist only with five data bits; the driver picks it from CSTOPB.
        if (stopBits_ == csb1)
            t.c_cflag &= ~tcflag_t(CSTOPB);
        else
            t.c_cflag |= CSTOPB;
        break;
    case Setting::Flow:
        t.c_cflag &= ~tcflag_t(CRTSCTS);
        t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
        if (flow_ & flowBit(cfcRtsCts))
            t.c_cflag |= CRTSCTS;
        if (flow_ & flowBit(cfcXonXoff))
            t.c_iflag |= IXON | IXOFF;
        t.c_cc[VSTART] = 0x11;
        t.c_cc[VSTOP] = 0x13;
        break;
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        const int err = errno;
        throw ECommReadWriteError(uint32_t(err), lineError(errorText(err)));
    }
    // tcsetattr succeeds when any part was taken: make sure the speed was.
    if (speed != B0) {
        termios now{};
        if (tcgetattr(fd, &now) != 0 || cfgetospeed(&now) != speed)
            throw ECommReadWriteError(uint32_t(EINVAL), lineError("the driver did not take the line speed"));
    }

    // Without handshake RTS is simply held on. DTR/DSR handshake has no termios form:
    // DTR stays raised as without it.
    if (which == Setting::Flow && !(flow_ & flowBit(cfcRtsCts)))
        setModemLine(fd, TIOCMBIS, TIOCM_RTS);
}

void TComm::applyLineSettings()
{
    applySetting(Setting::Raw);
    applySetting(Setting::Baud);
    applySetting(Setting::ByteSize);
    applySetting(Setting::Parity);
    applySetting(Setting::StopBits);
    applySetting(Setting::Flow);
    // The notify sizes and the event mask are kept in the component: nothing to write.
}

namespace {
// Sets a property and applies it; a value the open line refuses leaves the old one, so the
// property always tells the speed the line has.
template<typename T, typename F>
void setApplied(T &field, T value, F &&apply)
{
    const T old = field;
    field = value;
    try {
        apply();
    } catch (...) {
        field = old;
        throw;
    }
}
} // namespace

void TComm::setBaudRate(int32_t baud)
{
    setApplied(baudRate_, baud, [this] { applySetting(Setting::Baud); });
}

void TComm::SetBaudRateUserDefined(uint16_t value)
{
    const uint32_t old = baudRateUserDefined_;
    baudRateUserDefined_ = value;
    try {
        setBaudRate(-1);
    } catch (...) {
        baudRateUserDefined_ = old;
        throw;
    }
}

void TComm::setParityBits(TCommParityBits p)
{
    setApplied(parity_, p, [this] { applySetting(Setting::Parity); });
}

void TComm::setByteSize(TCommByteSize s)
{
    setApplied(byteSize_, s, [this] { applySetting(Setting::ByteSize); });
}

void TComm::setStopBits(TCommStopBits s)
{
    setApplied(stopBits_, s, [this] { applySetting(Setting::StopBits); });
}

void TComm::setFlowControls(TCommFlowControls f)
{
    setApplied(flow_, f, [this] { applySetting(Setting::Flow); });
}

// The tty driver has fixed flow-control thresholds: the limits are only kept.
void TComm::setReceiveNotifySize(int32_t s)
{
    receiveNotifySize_ = s;
}

void TComm::setSendNotifySize(int32_t s)
{
    sendNotifySize_ = s;
}

void TComm::setEventMask(TCommEventMask m)
{
    eventMask_ = m;
    kickWatch();
}

// ---- data

void TComm::Write(const void *buffer, int32_t count)
{
    const int fd = fd_.load();
    if (fd < 0)
        throw ECommError(kNotOpen);
    if (count > int32_t(outQueueSize_))
        throw ECommError(kTooLong);
    if (count <= 0 || !buffer)
        return;

    // Whatever cannot go out within the time-out is dropped, so stale frames never follow
    // later ones onto the line once the peer lets data through again; the caller learns
    // that the bytes were not sent.
    const auto cutShort = [&](size_t unsent, int err) {
        tcflush(fd, TCOFLUSH);
        const std::string reason = err == ETIMEDOUT
            ? std::to_string(unsent) + " of " + std::to_string(count)
                + " bytes not taken by the line within 1000 ms (held off by the other end?)"
            : errorText(err);
        return ECommReadWriteError(uint32_t(err), lineError(reason));
    };
    const auto deadline = Clock::now() + kIoTimeout;
    for (;;) {
        int queued = 0;
        if (::ioctl(fd, TIOCOUTQ, &queued) != 0 || int32_t(outQueueSize_) - queued >= count)
            break;
        if (Clock::now() >= deadline)
            throw cutShort(size_t(count), ETIMEDOUT);
        std::this_thread::sleep_for(kRoomPoll);
    }

    const auto *p = static_cast<const char *>(buffer);
    size_t left = size_t(count);
    bool pending = false;
    bool saidReady = false;
    while (left > 0) {
        const ssize_t done = ::write(fd, p, left);
        if (done > 0) {
            p += done;
            left -= size_t(done);
            saidReady = false;
            continue;
        }
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0 && errno == EAGAIN) {
            pending = true;
            // Some drivers report room they then refuse; do not spin on that.
            if (saidReady)
                std::this_thread::sleep_for(kRoomPoll);
            const int wait = remainingMs(deadline);
            pollfd pfd{fd, POLLOUT, 0};
            const int r = wait > 0 ? ::poll(&pfd, 1, wait) : 0;
            if (r == 0)
                throw cutShort(left, ETIMEDOUT);
            if (r < 0 && errno != EINTR)
                throw cutShort(left, errno);
            if (r > 0 && (pfd.revents & (POLLERR | POLLHUP | POLLNVAL)))
                throw cutShort(left, EIO);
            saidReady = r > 0;
            continue;
        }
        const int err = done == 0 ? EIO : errno;
        // Once the write was under way, the rest is dropped as after a time-out.
        if (pending || left < size_t(count))
            throw cutShort(left, err);
        throw ECommReadWriteError(uint32_t(err));
    }

    if (eventMask_.load() & eventBit(evTxempty)) {
        txPending_ = true;
        kickWatch();
    }
}

int32_t TComm::Read(void *buffer, int32_t size)
{
    const int fd = fd_.load();
    if (fd < 0)
        throw ECommError(kNotOpen);
    if (size <= 0 || !buffer)
        return 0;

    const auto deadline = Clock::now() + kIoTimeout;
    auto *p = static_cast<char *>(buffer);
    int32_t got = 0;
    bool pending = false;
    while (got < size) {
        const ssize_t done = ::read(fd, p + got, size_t(size - got));
        if (done > 0) {
            got += int32_t(done);
            continue;
        }
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0 && errno == EAGAIN) {
            pending = true;
            const int wait = remainingMs(deadline);
            pollfd pfd{fd, POLLIN, 0};
            const int r = wait > 0 ? ::poll(&pfd, 1, wait) : 0;
            if (r == 0 || (r < 0 && errno != EINTR))
                break;
            continue;
        }
        // read() == 0 is a hang-up: the line is gone, do not wait for more.
        if (pending || got > 0)
            break;
        throw ECommReadWriteError(uint32_t(done == 0 ? EIO : errno));
    }
    return got;
}

int32_t TComm::InQueue() const
{
    const int fd = fd_.load();
    int waiting = 0;
    if (fd < 0 || ::ioctl(fd, FIONREAD, &waiting) != 0)
        return -1;
    return std::max(waiting, 0);
}

bool TComm::HungUp() const
{
    const int fd = fd_.load();
    pollfd pfd{fd, POLLIN, 0};
    return fd < 0 || (::poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)));
}

void TComm::SendString(const std::string &text)
{
    const auto length = int32_t(std::min<size_t>(text.size(), size_t(INT32_MAX)));
    Write(text.data(), length);
}

void TComm::SendBreak()
{
    const int fd = fd_.load();
    if (::ioctl(fd, TIOCSBRK) != 0)
        throw ECommReadWriteError(uint32_t(errno));
    std::this_thread::sleep_for(kBreakTime);
    ::ioctl(fd, TIOCCBRK);
}

bool TComm::GetDsrState() const
{
    const int fd = fd_.load();
    int lines = 0;
    if (fd < 0 || ::ioctl(fd, TIOCMGET, &lines) != 0)
        return false;
    return (lines & TIOCM_DSR) != 0;
}

// ---- watch-thread operations

void TComm::DoCommReceive()
{
    if (!IsOpen() || !OnCommReceive)
        return;
    const int waiting = reportedWaiting_ >= 0 ? reportedWaiting_ : InQueue();
    if (waiting <= 0)
        return;
    OnCommReceive(*this, clampCount(waiting));
}

void TComm::DoCommTransmit()
{
    const int fd = fd_.load();
    if (fd < 0 || !OnCommTransmit)
        return;
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0)
        queued = 0;
    OnCommTransmit(*this, clampCount(queued));
}

void TComm::DoCommEvent(TCommEventMask mask)
{
    if (!IsOpen() || !OnCommEvent)
        return;
    constexpr TCommEventMask passed = eventBit(evBreak) | eventBit(evCts) | eventBit(evDsr)
        | eventBit(evErr) | eventBit(evRing) | eventBit(evRlsd) | eventBit(evRxflag);
    OnCommEvent(*this, TCommEventMask(mask & passed));
}
