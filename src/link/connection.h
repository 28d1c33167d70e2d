// Connection set-up and line-speed detection: open the port, try 9600, 19200 and 38400
// baud one second apart with the communication-settings read, and once a camera answers
// follow its stop bits and read the shown page. Also the PC-side line controls' effect.
#pragma once

#include "link/frame.h"
#include "link/link.h"
#include "link/timer.h"

#include <QObject>
#include <QString>

#include <cstdint>

class Dispatcher;

class Connection : public QObject, public FrameHandler
{
    Q_OBJECT
public:
    // The timers are children of this object, named as the automation contract names them.
    Connection(Link &link, Dispatcher &dispatch, QObject *parent = nullptr);

    core::Timer *PONTimer1 = nullptr;   // one attempt per tick
    core::Timer *PONTimer2 = nullptr;   // one tick after the first good reply
    core::Timer *BaudTimer1 = nullptr;  // applies the PC-side speed chosen by the user
    // Fires once a request has waited ReplyWaitMs for its reply (there is no reply time-out:
    // the link stays busy, the user is only told that Cancel frees it).
    core::Timer *ReplyWatch = nullptr;
    static constexpr int ReplyWaitMs = 2000;
    // Panel 0 while a reply is overdue, and once the device has gone away.
    static QString noAnswerText();
    static QString lineGoneText();

    // COM port number 1-4.
    uint8_t ComPortNo = 1;
    // 0 before the first tick; 1-3 the speed being tried; 4 and more: given up.
    uint8_t ConnectAttempt = 0;
    // Set while the search waits for its first good reply.
    bool FirstConnect = false;
    // Data 2 of the frame that completed the connection (its stop-bit flag).
    uint8_t ConnectData2 = 0;

    // The link's part of a new start: "Comm. Connecting", the state reset, the search armed.
    void Trans_Create(uint8_t comPortNo);
    void CnctDataLink(uint8_t port, int32_t baud, bool two);
    void PONTimer1Timer();
    void PONTimer2Timer();
    void BaudTimer1Timer();
    // The PC-side controls changed to these items (baud 0-2, stop bits 0-1). When the link
    // is idle the change is applied a second later and true is returned; while busy nothing
    // happens and false is returned (the window shows "BUSY").
    bool pcLineChosen(int baudItem, int stopItem);
    // Cancel: frees the link and restarts the search at 9600.
    void cancel();
    // Every timer stopped (the window closes).
    void stop();
    // The device went away (the port is closed): the search and the reply watch stop, and
    // panel 0 says so until Cancel opens the device again.
    void lineGone();
    // The no-answer notice is in panel 0.
    bool noAnswerShown() const { return noAnswerShown_; }

    // The good-frame steps: the search ends; the first reply completes the connection,
    // every later one goes to the dispatch.
    void handleFrame(const ResponseFrame &r) override;

signals:
    // The PC-side line as the labels show it: "9,600" / "19,200" / "38,400".
    void speedShown(const QString &speedText);
    void stopBitsShown(bool twoStopBits);
    // The connection is complete at this speed item, with the camera's stop bits: the PC-side
    // controls follow (and so arm the line change).
    void connectedAt(int baudItem, bool twoStopBits);

private:
    void applyPcLine(int speedIndex);
    void onTimer(void (Connection::*tick)());
    void ReplyWatchTimer();
    // The notice goes; panel 0 shows again what it showed before.
    void clearNoAnswer();

    Link &link_;
    Dispatcher &dispatch_;
    // The PC-side controls' items.
    int pcBaudItem_ = 2;
    int pcStopItem_ = 0;
    // The open error this search has already shown (one box per search, not per attempt).
    QString searchError_;
    bool noAnswerShown_ = false;
    QString beforeNotice_;
};
