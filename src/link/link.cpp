#include "link/link.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/log.h"
#include "serial/tcomm.h"

#include <QMetaObject>

#include <exception>

namespace {
// Panel 2 collects stray bytes; keep only its tail so it cannot grow without bound.
constexpr int strayTextLimit = 4096;
} // namespace

// ---------------------------------------------------------------- Receiver

int Receiver::r_data(uint8_t b)
{
    int result = -1;
    complete_ = false;
    switch (state_) {
    case RxState::Idle:
        if (b == 0x06 || b == 0x15) {
            result = b;
        } else if (b & 0x80) {
            fill_ = 0;
            buf_[0] = b;
            fill_ = 1;
            state_ = RxState::Body;
        } else {
            if (onStrayByte)
                onStrayByte(b);
            state_ = RxState::Reject;
        }
        break;
    case RxState::Body:
        buf_[size_t(fill_)] = b;
        ++fill_;
        if (fill_ >= 6)
            state_ = RxState::Checksum;
        break;
    case RxState::Checksum:
        buf_[6] = b;
        if (frameSumIsZero(buf_)) {
            state_ = RxState::Idle;
            result = 1;
        } else {
            state_ = RxState::Reject;
            if (onBadChecksum)
                onBadChecksum();
        }
        complete_ = true;
        break;
    case RxState::Reject:
        break;
    }
    if (state_ == RxState::Reject) {
        state_ = RxState::Idle;
        result = -1;
    }
    return result;
}

// ---------------------------------------------------------------- Link

Link::Link(TComm &comm, QObject *parent) : QObject(parent), comm_(comm)
{
    rx_.onStrayByte = [this](uint8_t b) { appendStray(b); };
    rx_.onBadChecksum = [this] {
        qCDebug(lcLink) << "bad checksum" << frameText(rx_.frame());
        emit badChecksum(rx_.frame());
        if (host_ && host_->oneToOne())
            SendSeq();
    };
}

void Link::showBusy(bool busy)
{
    if (host_)
        host_->showBusy(busy);
}

void Link::guarded(const std::function<void()> &f)
{
    try {
        f();
    } catch (const std::exception &e) {
        const QString message = QString::fromUtf8(e.what());
        qCWarning(lcLink) << message;
        emit errorRaised(message);
        if (host_)
            host_->showException(message);
    }
}

int Link::StxCommand(int n)
{
    if (LinkBusy || applying_)
        return 0;
    LinkBusy = 1;
    showBusy(true);
    for (int i = 1; i <= 4; ++i) {
        if (i > n)
            frame[size_t(i)] = 0;
    }
    frame[5] = uint8_t(host_ ? host_->cameraId() : 0);
    sealFrame(frame);
    // A write that raises leaves the link busy and the hourglass shown until Cancel.
    comm_.Write(frame.data(), int32_t(frame.size()));
    setPanel(1, frameText(frame));
    setPanel(2, QString());
    emit frameSent(frame);
    return 0;
}

bool Link::request(uint8_t category, uint8_t item, int n, uint8_t d1, uint8_t d2, uint8_t d3)
{
    if (!Trans_chk())
        return false;
    frame = {category, item, d1, d2, d3, 0, 0};
    StxCommand(n);
    return true;
}

void Link::SendSeq()
{
    rx_.setIdle();
    LinkBusy = 1;
    showBusy(true);
}

bool Link::sendReset()
{
    if (!request(cat::Reset, 0x00, 0))
        return false;
    showBusy(false);
    release();
    return true;
}

void Link::setPanel(int i, const QString &text)
{
    if (i < 0 || i > 2)
        return;
    panels_[i] = text;
    emit panelChanged(i, text);
}

void Link::appendStray(uint8_t b)
{
    QString text = panels_[2] + conv::byteToHex(b);
    if (text.size() > strayTextLimit)
        text = text.right(strayTextLimit);
    setPanel(2, text);
}

void Link::receiveBytes(const QByteArray &bytes)
{
    pending_.append(bytes);
    if (draining_)
        return;
    draining_ = true;
    // A decoder may open a modal box whose event loop delivers more bytes: they are only
    // queued above and handled here, in order, once the current frame is done.
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{draining_};
    qsizetype pos = 0;
    while (pos < pending_.size()) {
        const auto b = uint8_t(pending_.at(pos++));
        const int r = rx_.r_data(b);
        if (r >= 0 && rx_.frameComplete()) {
            ResponseFrame f;
            f.bytes = rx_.frame();
            pending_.remove(0, pos);
            pos = 0;
            guarded([&] { handleFrame(f); });
        }
    }
    pending_.clear();
}

void Link::handleFrame(const ResponseFrame &r)
{
    lastReply_ = r;
    setPanel(2, frameText(r.bytes));
    emit frameReceived(r);
    if (host_ && host_->oneToOne())
        SendSeq();
    showBusy(false);
    if (handler_)
        handler_->handleFrame(r);
}

void Link::Comm1CommReceive(TComm &sender, uint16_t size)
{
    QByteArray bytes;
    bytes.reserve(size);
    for (uint16_t i = 0; i < size; ++i) {
        char c = 0;
        sender.Read(&c, 1);
        bytes.append(c);
    }
    QMetaObject::invokeMethod(this, [this, bytes] { receiveBytes(bytes); }, Qt::QueuedConnection);
}

void Link::attachReceiver()
{
    // Close joins the watch thread before the link goes away, and a queued call whose
    // context object is gone is dropped, so the raw pointer is safe here.
    Link *self = this;
    comm_.OnCommReceive = [self](TComm &sender, uint16_t size) { self->Comm1CommReceive(sender, size); };
    comm_.OnCommError = [self](TComm &, const std::string &message) {
        const QString text = QString::fromStdString(message);
        qCWarning(lcSerial) << text;
        QMetaObject::invokeMethod(self, [self, text] { emit self->commError(text); }, Qt::QueuedConnection);
    };
}
