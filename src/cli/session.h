// The line tool's session: one serial port with the link, dispatch and connection set-up the
// window uses, without a window. Replies go to whatever operation runs; a reply that takes
// longer than the time-out, a port that fails or a camera that is never found end the run
// with an exit code.
#pragma once

#include "link/connection.h"
#include "link/dispatch.h"
#include "link/link.h"
#include "serial/tcomm.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

namespace cli {

enum Exit {
    Done = 0,
    Refused = 1,      // the camera refused a request, answered wrongly, or a word differs
    Usage = 2,
    PortError = 3,    // the port failed, no camera answers, or a reply came too late
    FileError = 4,
};

struct Settings
{
    QString port;
    int baud = 0;                // 0: the line-speed search
    bool twoStopBits = false;    // with a given speed
    int id = 0;                  // camera ID in every request
    int timeoutMs = 2000;        // a reply may take this long; 0: no limit
};

class Session : public QObject, public LinkHost, public ReplyTarget
{
    Q_OBJECT
public:
    explicit Session(const Settings &settings, QObject *parent = nullptr);
    ~Session() override;

    // Opens the port at the given speed, or runs the line-speed search with the camera's
    // stop bits followed. Done, or the failure's code with message().
    int connectLine();
    int baud() const { return baud_; }
    bool twoStopBits() const { return twoStopBits_; }

    // One request and its reply: Done, Refused for an error reply, or a failure.
    int exchange(uint8_t category, uint8_t item, int n, uint8_t d1, uint8_t d2, uint8_t d3,
                 ResponseFrame *reply);

    // Runs the event loop until finish(); returns its code (at once when already finished).
    int run();
    // Ends the current run; the first code given wins.
    void finish(int code, const QString &message = {});
    const QString &message() const { return message_; }

    // Where the replies go while an operation runs; without one a reply only frees the link.
    std::function<void(const ResponseFrame &)> onReply;

    Link &link() { return link_; }
    Connection &connection() { return *connection_; }
    const Settings &settings() const { return settings_; }

    // LinkHost
    int cameraId() const override { return settings_.id; }
    bool oneToOne() const override { return true; }
    void showBusy(bool) override {}
    void showException(const QString &message) override;

    // ReplyTarget: the tool has no page to read.
    void PageCheck() override {}
    void Trans_end(const ResponseFrame &r) override;

private:
    Settings settings_;
    TComm comm_;
    Link link_{comm_};
    Dispatcher dispatch_{link_};
    Connection *connection_ = nullptr;
    QEventLoop loop_;
    QTimer replyTimer_;
    bool timing_ = false;
    std::optional<int> result_;
    QString message_;
    int baud_ = 0;
    bool twoStopBits_ = false;
};

// The serial component's message as one line: the device, why, and what to do.
QString portMessage(const QString &what);

// A bar on stderr, drawn only when stderr is a terminal.
class Progress
{
public:
    explicit Progress(bool enabled);
    void start(const QString &label, int maximum, const QString &unit);
    void update(int position, const QString &where);
    void finish();

private:
    void draw();

    bool enabled_;
    bool shown_ = false;
    QString label_, unit_, where_;
    int maximum_ = 0, position_ = 0, steps_ = 0;
    QElapsedTimer clock_, sinceDraw_;
};

} // namespace cli
