#include "ptypeer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {
int baudOf(speed_t s)
{
    switch (s) {
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
    }
}
} // namespace

PtyPeer::PtyPeer()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
        qFatal("cannot open a pseudo-terminal");
    path_ = QString::fromLocal8Bit(ptsname(master_));
    // Raw on our side too, so bytes pass unchanged.
    termios t{};
    tcgetattr(master_, &t);
    cfmakeraw(&t);
    tcsetattr(master_, TCSANOW, &t);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyPeer::onReadable);
    script = [](const Frame7 &req) -> std::optional<Frame7> { return reply(req[0], req[1]); };
}

PtyPeer::~PtyPeer()
{
    hangUp();
}

int PtyPeer::toolBaud() const
{
    termios t{};
    if (master_ < 0 || tcgetattr(master_, &t) != 0)
        return 0;
    return baudOf(cfgetospeed(&t));
}

bool PtyPeer::toolTwoStopBits() const
{
    termios t{};
    if (master_ < 0 || tcgetattr(master_, &t) != 0)
        return false;
    return (t.c_cflag & CSTOPB) != 0;
}

void PtyPeer::sendRaw(const QByteArray &bytes)
{
    if (master_ < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return;
        }
        done += n;
    }
}

Frame7 PtyPeer::reply(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3)
{
    Frame7 f{category, item, d1, d2, d3, 1, 0};
    sealFrame(f);
    return f;
}

void PtyPeer::sendFrame(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3)
{
    const Frame7 f = reply(category, item, d1, d2, d3);
    sendRaw(QByteArray(reinterpret_cast<const char *>(f.data()), 7));
}

void PtyPeer::hangUp()
{
    if (notifier_) {
        notifier_->setEnabled(false);
        delete notifier_;
        notifier_ = nullptr;
    }
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}

QString PtyPeer::requestText(int i) const
{
    return i >= 0 && i < requests.size() ? frameText(requests[i]) : QStringLiteral("(none)");
}

int PtyPeer::countOf(uint8_t category, uint8_t item) const
{
    int n = 0;
    for (const Frame7 &f : requests)
        n += (f[0] == category && f[1] == item);
    return n;
}

void PtyPeer::onReadable()
{
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            break;
        pending_.append(buf, n);
    }
    // Frames start with a byte with bit 7 set and are seven bytes long.
    while (!pending_.isEmpty()) {
        if (!(uint8_t(pending_.at(0)) & 0x80)) {
            pending_.remove(0, 1);
            continue;
        }
        if (pending_.size() < 7)
            break;
        Frame7 f{};
        for (int i = 0; i < 7; ++i)
            f[size_t(i)] = uint8_t(pending_.at(i));
        pending_.remove(0, 7);
        requests.append(f);
        if (answerBaud && toolBaud() != answerBaud)
            continue;
        if (script) {
            if (auto r = script(f))
                sendRaw(QByteArray(reinterpret_cast<const char *>(r->data()), 7));
        }
    }
}
