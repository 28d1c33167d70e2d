#include "link/link.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/log.h"
#include "serial/tcomm.h"

#include <QMetaObject>
#include <QSocketNotifier>

#include <exception>
#include <utility>

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
    rx_.onSetIdle = [this] {
        // Bytes held back belong to the frame just abandoned (fewer than its rest came):
        // taking them in now would only start it again. While frames are being handled the
        // inbox already holds the next ones.
        if (draining_)
            return;
        std::lock_guard lock(inboxMutex_);
        if (!handOverPosted_)
            inbox_.clear();
        needed_ = 1;
    };
    rx_.onBadChecksum = [this] {
        qCDebug(lcLink) << "bad checksum" << frameText(rx_.frame());
        ++badChecksums_;
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
    // A port that is not open leaves the link busy and the hourglass shown until Cancel. A
    // line that did not take the request has nothing outstanding: the link is free again.
    try {
        comm_.Write(frame.data(), int32_t(frame.size()));
    } catch (const ECommReadWriteError &) {
        LinkBusy = 0;
        showBusy(false);
        throw;
    }
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
    strayRun_.append(char(b));
    QString text = panels_[2] + conv::byteToHex(b);
    if (text.size() > strayTextLimit)
        text = text.right(strayTextLimit);
    setPanel(2, text);
}

void Link::endStrayRun()
{
    if (strayRun_.isEmpty())
        return;
    ++strayRuns_;
    const QByteArray run = std::exchange(strayRun_, QByteArray());
    emit strayBytes(run);
}

void Link::boundPending(qsizetype from)
{
    qsizetype excess = pending_.size() - from - pendingLimit;
    if (excess <= 0)
        return;
    // The waiting bytes are taken from Idle once the current frame is done: a byte with
    // bit 7 starts seven bytes of a frame, any other byte between frames stands alone.
    // Those go first, oldest first, which leaves every frame where it was.
    QByteArray kept, dropped;
    kept.reserve(pending_.size() - from);
    int frameLeft = 0;
    for (qsizetype i = from; i < pending_.size(); ++i) {
        const char c = pending_.at(i);
        if (frameLeft == 0 && !(uint8_t(c) & 0x80) && excess > 0) {
            dropped.append(c);
            --excess;
            continue;
        }
        if (frameLeft > 0)
            --frameLeft;
        else if (uint8_t(c) & 0x80)
            frameLeft = 6;
        kept.append(c);
    }
    // Still too many: whole frames go, oldest first, but never unseen.
    if (excess > 0) {
        const qsizetype frames = (excess + 6) / 7;
        const qsizetype cut = std::min(frames * 7, kept.size());
        dropped.append(kept.left(cut));
        kept.remove(0, cut);
    }
    pending_ = pending_.left(from) + kept;
    droppedBytes_ += dropped.size();
    qCDebug(lcLink) << dropped.size() << "received bytes dropped while a reply was being handled";
    emit bytesDropped(dropped);
}

void Link::receiveBytes(const QByteArray &bytes)
{
    pending_.append(bytes);
    if (draining_) {
        boundPending(0);
        return;
    }
    draining_ = true;
    // A decoder may open a modal box whose event loop delivers more bytes: they are only
    // queued above and handled here, in order, once the current frame is done.
    struct Reset { bool &flag; ~Reset() { flag = false; } } reset{draining_};
    qsizetype pos = 0;
    while (pos < pending_.size()) {
        const auto b = uint8_t(pending_.at(pos++));
        const qsizetype strayBefore = strayRun_.size();
        const int r = rx_.r_data(b);
        if (strayRun_.size() == strayBefore)
            endStrayRun();
        if (r >= 0 && rx_.frameComplete()) {
            ResponseFrame f;
            f.bytes = rx_.frame();
            pending_.remove(0, pos);
            pos = 0;
            guarded([&] { handleFrame(f); });
        }
    }
    pending_.clear();
    endStrayRun();
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
    // The reported bytes are waiting: one read takes them all. Only what was really read
    // goes on; a read that fails has read nothing, and the watch thread reports it.
    QByteArray bytes(size, Qt::Uninitialized);
    const int32_t got = sender.Read(bytes.data(), size);
    if (got <= 0)
        return;
    bytes.truncate(got);
    bool post = false;
    {
        std::lock_guard lock(inboxMutex_);
        inbox_.append(bytes);
        post = !handOverPosted_ && inbox_.size() >= needed_;
        handOverPosted_ = handOverPosted_ || post;
    }
    // One hand-over at a time: while one is on its way, later bytes only join the inbox.
    if (post)
        QMetaObject::invokeMethod(this, [this] { takeInbox(); }, Qt::QueuedConnection);
}

void Link::publishNeeded()
{
    bool post = false;
    {
        std::lock_guard lock(inboxMutex_);
        needed_ = draining_ ? 1 : rx_.needed();
        post = !handOverPosted_ && !inbox_.isEmpty() && inbox_.size() >= needed_;
        handOverPosted_ = handOverPosted_ || post;
    }
    if (post)
        QMetaObject::invokeMethod(this, [this] { takeInbox(); }, Qt::QueuedConnection);
}

void Link::takeInbox()
{
    QByteArray bytes;
    {
        std::lock_guard lock(inboxMutex_);
        bytes.swap(inbox_);
        handOverPosted_ = false;
    }
    if (!bytes.isEmpty())
        receiveBytes(bytes);
    publishNeeded();
}

void Link::readLine()
{
    const int32_t waiting = comm_.InQueue();
    int32_t got = 0;
    QByteArray bytes;
    if (waiting > 0) {
        bytes.resize(waiting);
        try {
            got = comm_.Read(bytes.data(), waiting);
        } catch (const ECommError &) {
            got = -1;
        }
    }
    if (got > 0) {
        bytes.truncate(got);
        receiveBytes(bytes);
        return;
    }
    // Readable with nothing to read: a line that failed or hung up stays so for ever, so it
    // is no longer watched. The watch thread says once that the device went away.
    if (waiting < 0 || got < 0 || comm_.HungUp())
        stopWatchingLine();
}

void Link::stopWatchingLine()
{
    if (!lineWatch_)
        return;
    // This may run inside the notifier's own signal.
    lineWatch_->setEnabled(false);
    lineWatch_->deleteLater();
    lineWatch_ = nullptr;
}

void Link::lineOpened()
{
    if (readOn_ != ReadOn::OwnThread || !comm_.IsOpen())
        return;
    if (lineWatch_ && lineWatch_->socket() == comm_.Handle())
        return;
    stopWatchingLine();
    lineWatch_ = new QSocketNotifier(comm_.Handle(), QSocketNotifier::Read, this);
    connect(lineWatch_, &QSocketNotifier::activated, this, &Link::readLine);
}

void Link::closeLine()
{
    // The descriptor goes with Close: nothing may watch it afterwards.
    stopWatchingLine();
    comm_.Close();
}

void Link::attachReceiver(ReadOn where)
{
    readOn_ = where;
    // Close joins the watch thread before the link goes away, and a queued call whose
    // context object is gone is dropped, so the raw pointer is safe here.
    Link *self = this;
    if (where == ReadOn::WatchThread)
        comm_.OnCommReceive = [self](TComm &sender, uint16_t size) { self->Comm1CommReceive(sender, size); };
    else
        comm_.OnCommReceive = nullptr;
    comm_.OnCommError = [self](TComm &, const std::string &message) {
        const QString text = QString::fromStdString(message);
        qCWarning(lcSerial) << text;
        QMetaObject::invokeMethod(self, [self, text] { emit self->commError(text); }, Qt::QueuedConnection);
    };
}
