// The camera link: the shared request buffer, the one-request-at-a-time flag, the send
// operation, the byte receiver and the three status texts. No widgets: what belongs to the
// window (the camera ID, the '1:1' mode, the hourglass, the exception box) comes through
// LinkHost.
#pragma once

#include "link/frame.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>

class QSocketNotifier;
class TComm;

enum class RxState { Idle, Body, Checksum, Reject };

// Frame assembly, one byte at a time. Holds no link or window state.
class Receiver
{
public:
    // Per-byte result: -1 nothing to hand on; 1 a good frame completed; 0x06/0x15 skipped.
    int r_data(uint8_t b);

    RxState state() const { return state_; }
    void setIdle()
    {
        state_ = RxState::Idle;
        if (onSetIdle)
            onSetIdle();
    }
    // The fewest bytes that can change anything: the rest of the frame in progress, or one.
    int needed() const { return state_ == RxState::Body ? 7 - fill_ : 1; }
    bool frameComplete() const { return complete_; }
    const Frame7 &frame() const { return buf_; }

    // Set by the owner: what a stray byte or a bad checksum does.
    std::function<void(uint8_t)> onStrayByte;
    std::function<void()> onBadChecksum;
    // Called when the owner abandons whatever was in progress.
    std::function<void()> onSetIdle;

private:
    RxState state_ = RxState::Idle;
    Frame7 buf_{};
    int fill_ = 0;
    bool complete_ = false;
};

// What the link needs from the window it serves.
class LinkHost
{
public:
    virtual ~LinkHost() = default;
    // The camera ID written into byte 5 of every request.
    virtual int cameraId() const = 0;
    // The communication mode is '1:1': the receiver re-arms after every complete frame.
    virtual bool oneToOne() const = 0;
    // The hourglass while a request is outstanding.
    virtual void showBusy(bool busy) = 0;
    // An exception from a timer or from the handling of a reply: the rest of that handler is
    // skipped and the message is shown.
    virtual void showException(const QString &message) = 0;
};

// Takes each good frame once it is traced (the connection set-up, then the dispatch).
class FrameHandler
{
public:
    virtual ~FrameHandler() = default;
    virtual void handleFrame(const ResponseFrame &r) = 0;
};

class Link : public QObject
{
    Q_OBJECT
public:
    explicit Link(TComm &comm, QObject *parent = nullptr);

    void setHost(LinkHost *host) { host_ = host; }
    LinkHost *host() const { return host_; }
    void setFrameHandler(FrameHandler *handler) { handler_ = handler; }

    // 0 idle, 1 a request is outstanding or a reply is being applied.
    uint8_t LinkBusy = 0;
    // The one shared request buffer. Builders fill it only after Trans_chk() passed.
    CommandFrame frame{};

    bool Trans_chk() const { return LinkBusy != 1 && !applying_; }
    // Sends the buffer: bytes 1-4 beyond n are zeroed, ID and checksum filled in.
    // Does nothing while busy. Returns 0.
    int StxCommand(int n);
    // A builder in one call: when idle, fills category, item and data (the rest zero) and
    // sends with length n. Returns false (and leaves the buffer alone) when busy.
    bool request(uint8_t category, uint8_t item, int n, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0);
    // Also ends the apply of a reply: decoders release once they have applied it.
    void release()
    {
        LinkBusy = 0;
        applying_ = false;
    }

    // Held while a reply is applied: the link counts as busy, so the handlers that setting
    // the controls raises send nothing, even when no request was outstanding ('1:N', or a
    // reply nobody asked for). The decoder's release ends it; a decoder that keeps the link
    // leaves LinkBusy as it was before.
    class ApplyScope
    {
    public:
        explicit ApplyScope(Link &link) : link_(link), wasBusy_(link.LinkBusy)
        {
            link_.LinkBusy = 1;
            link_.applying_ = true;
        }
        ~ApplyScope()
        {
            if (link_.applying_)
                link_.LinkBusy = wasBusy_;
            link_.applying_ = false;
        }
        ApplyScope(const ApplyScope &) = delete;
        ApplyScope &operator=(const ApplyScope &) = delete;

    private:
        Link &link_;
        uint8_t wasBusy_;
    };
    bool applying() const { return applying_; }
    // Receiver re-arm: Idle, busy, hourglass.
    void SendSeq();
    // The reset frame, when idle. No reply is awaited: the link is free again at once.
    bool sendReset();
    // The hourglass through the host (nothing without one).
    void showBusy(bool busy);
    // Runs f; an exception skips the rest of it and is shown by the host.
    void guarded(const std::function<void()> &f);

    // The last good reply.
    const ResponseFrame &lastReply() const { return lastReply_; }

    Receiver &receiver() { return rx_; }
    TComm &comm() { return comm_; }

    // Status panels 0-2 (connection state, last request, last reply or stray bytes).
    QString panel(int i) const { return panels_[i]; }
    void setPanel(int i, const QString &text);

    // Bytes from the watch thread, in arrival order. Runs r_data and, for each good frame,
    // the completion steps. Never re-entered: bytes that arrive while a frame is being
    // handled (a decoder inside a modal box) wait their turn, at most pendingLimit of them.
    void receiveBytes(const QByteArray &bytes);
    // Where the reply bytes are read. WatchThread: Comm1CommReceive is Comm1's receive
    // callback and hands the bytes over to this object's thread. OwnThread, for a program
    // with no window to keep responsive: this object's thread reads the line itself whenever
    // it is readable, which spares every reply a thread hand-over (the watch thread still
    // reports line events and the device going away). Call while the port is closed.
    enum class ReadOn { WatchThread, OwnThread };
    Q_ENUM(ReadOn)
    void attachReceiver(ReadOn where = ReadOn::WatchThread);
    // The connection calls this once the port is open, and closeLine closes it: with
    // OwnThread they start and stop the watch on the port's descriptor.
    void lineOpened();
    void closeLine();
    // Runs on the watch thread: reads every reported byte with one read, appends them to
    // the inbox and, once the inbox holds what the receiver needs next and unless a
    // hand-over is already on its way, posts one to this object's thread, where takeInbox
    // passes the inbox on to receiveBytes.
    void Comm1CommReceive(TComm &sender, uint16_t size);
    // The hand-over on this object's thread: everything in the inbox, in order.
    void takeInbox();

    // How many bytes may wait while a frame is being handled.
    static constexpr qsizetype pendingLimit = 64 * 1024;
    // Counts since the link was made.
    qint64 strayRunCount() const { return strayRuns_; }
    qint64 badChecksumCount() const { return badChecksums_; }
    qint64 droppedByteCount() const { return droppedBytes_; }

signals:
    void panelChanged(int index, const QString &text);
    // A serial failure seen on the watch thread (shown once by the window).
    void commError(const QString &message);
    // Every request written to the line, and every good reply, for observers.
    void frameSent(const CommandFrame &frame);
    void frameReceived(const ResponseFrame &frame);
    // A run of bytes outside any frame, once it ends (a frame starts or the bytes at hand
    // are done); seven bytes whose sum is not 0; bytes dropped because too many waited
    // while a frame was being handled.
    void strayBytes(const QByteArray &run);
    void badChecksum(const Frame7 &frame);
    void bytesDropped(const QByteArray &bytes);
    // An error that was shown, or (the same one again) only recorded.
    void errorRaised(const QString &message);

private:
    void handleFrame(const ResponseFrame &r);
    void appendStray(uint8_t b);
    void endStrayRun();
    // Keeps the bytes waiting behind the frame being handled within pendingLimit.
    void boundPending(qsizetype from);
    // Tells the watch thread how many bytes are worth a hand-over now.
    void publishNeeded();
    // OwnThread: everything waiting on the line, read here and taken in at once.
    void readLine();
    void stopWatchingLine();

    TComm &comm_;
    ReadOn readOn_ = ReadOn::WatchThread;
    QSocketNotifier *lineWatch_ = nullptr;
    LinkHost *host_ = nullptr;
    FrameHandler *handler_ = nullptr;
    Receiver rx_;
    ResponseFrame lastReply_;
    QString panels_[3];
    QByteArray pending_;
    bool draining_ = false;
    bool applying_ = false;
    QByteArray strayRun_;
    qint64 strayRuns_ = 0;
    qint64 badChecksums_ = 0;
    qint64 droppedBytes_ = 0;

    // Filled on the watch thread, emptied on this object's thread.
    std::mutex inboxMutex_;
    QByteArray inbox_;
    bool handOverPosted_ = false;
    // Bytes in the middle of a frame change nothing until its last one: they stay in the
    // inbox until that many are there.
    qsizetype needed_ = 1;
};
