#include "cli/session.h"

#include "link/frame.h"

#include <QStringList>

#include <cstdio>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace cli {

namespace {
constexpr int speeds[3] = {9600, 19200, 38400};
} // namespace

QString portMessage(const QString &what)
{
    // A serial error is its code, then "device: why", then for an open error advice meant
    // for the window's port chooser.
    const QStringList lines = what.split(u'\n', Qt::SkipEmptyParts);
    if (lines.size() < 2 || !lines.constFirst().contains(u"ErrorCode"_s))
        return lines.join(u"; "_s);
    const bool opening = what.startsWith(QString::fromUtf8(ECommOpenError(0).what()).section(u' ', 0, 0));
    return (opening ? u"cannot open "_s : u"port error: "_s) + lines.at(1);
}

Session::Session(const Settings &settings, QObject *parent) : QObject(parent), settings_(settings)
{
    // The line as the window sets it; speed, port and stop bits come with every open.
    comm_.setBaudRate(38400);
    comm_.setByteSize(cbs8);
    comm_.setParityBits(cpbNone);
    comm_.setFlowControls(flowBit(cfcRtsCts));
    comm_.setInQueueSize(4096);
    comm_.setOutQueueSize(4096);
    PortMap::setPath(1, settings_.port.toStdString());

    link_.setHost(this);
    connection_ = new Connection(link_, dispatch_, this);
    dispatch_.setShown(this);
    // No window to keep responsive: the replies are read here, not handed over.
    link_.attachReceiver(Link::ReadOn::OwnThread);
    connect(&link_, &Link::commError, this, [this](const QString &message) {
        finish(PortError, portMessage(message));
    });

    // The window waits for ever; a script needs to know when the camera has gone quiet.
    replyTimer_.setSingleShot(true);
    connect(&replyTimer_, &QTimer::timeout, this, [this] {
        finish(PortError, u"no reply from the camera within %1 s to %2"_s
                              .arg(settings_.timeoutMs / 1000.0)
                              .arg(frameText(link_.frame)));
    });
    connect(&link_, &Link::frameSent, this, [this] {
        if (timing_ && settings_.timeoutMs > 0)
            replyTimer_.start(settings_.timeoutMs);
    });
    connect(&link_, &Link::frameReceived, this, [this] { replyTimer_.stop(); });
}

Session::~Session()
{
    connection_->stop();
    link_.closeLine();
    // It refers to the link, which goes before the children would.
    delete connection_;
}

void Session::showException(const QString &message)
{
    finish(PortError, portMessage(message));
}

void Session::Trans_end(const ResponseFrame &r)
{
    if (onReply)
        onReply(r);
    else
        link_.release();
}

int Session::run()
{
    if (!result_)
        loop_.exec();
    const int code = result_.value_or(Done);
    result_.reset();
    return code;
}

void Session::finish(int code, const QString &message)
{
    replyTimer_.stop();
    if (result_)
        return;
    result_ = code;
    message_ = message;
    loop_.quit();
}

int Session::connectLine()
{
    if (settings_.baud != 0) {
        link_.guarded([&] { connection_->CnctDataLink(1, settings_.baud, settings_.twoStopBits); });
        if (result_)
            return run();
        baud_ = settings_.baud;
        twoStopBits_ = settings_.twoStopBits;
        timing_ = true;
        return Done;
    }

    // The search as the window runs it; once a speed answers, the PC-side controls take the
    // speed and the camera's stop bits, and a second later the port follows them.
    int found = -1;
    bool two = false;
    const auto connected = connect(connection_, &Connection::connectedAt, this, [&](int item, bool twoStop) {
        found = item;
        two = twoStop;
        if (!connection_->pcLineChosen(item, twoStop ? 1 : 0)) {
            connection_->CnctDataLink(1, speeds[item], twoStop);
            finish(Done);
        }
    });
    const auto followed = connect(connection_->BaudTimer1, &QTimer::timeout, this, [&] {
        if (found >= 0)
            finish(Done);
    });
    const auto given = connect(&link_, &Link::panelChanged, this, [this](int panel, const QString &text) {
        if (panel == 0 && text == u"Not Connect"_s)
            finish(PortError, u"no camera answers on %1 at 9600, 19200 or 38400 baud"_s.arg(settings_.port));
    });
    // Three attempts and the two one-second steps after the answer take five seconds; a
    // search that has not ended well after that will not.
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [this] {
        finish(PortError, u"no camera answers on %1 at 9600, 19200 or 38400 baud"_s.arg(settings_.port));
    });
    deadline.start(20000);
    connection_->Trans_Create(1);
    const int code = run();
    disconnect(connected);
    disconnect(followed);
    disconnect(given);
    connection_->stop();
    if (code != Done)
        return code;
    baud_ = speeds[found];
    twoStopBits_ = two;
    timing_ = true;
    return Done;
}

int Session::exchange(uint8_t category, uint8_t item, int n, uint8_t d1, uint8_t d2, uint8_t d3,
                      ResponseFrame *reply)
{
    onReply = [&](const ResponseFrame &r) {
        link_.release();
        if (reply)
            *reply = r;
        finish(r.isError() ? Refused : Done);
    };
    link_.guarded([&] {
        if (!link_.request(category, item, n, d1, d2, d3))
            finish(PortError, u"the link is busy"_s);
    });
    const int code = run();
    onReply = {};
    return code;
}

// ---------------------------------------------------------------- Progress

Progress::Progress(bool enabled) : enabled_(enabled && ::isatty(STDERR_FILENO)) {}

void Progress::start(const QString &label, int maximum, const QString &unit)
{
    label_ = label;
    unit_ = unit;
    maximum_ = maximum;
    position_ = 0;
    steps_ = 0;
    where_.clear();
    clock_.start();
    sinceDraw_.start();
    if (enabled_)
        draw();
}

void Progress::update(int position, const QString &where)
{
    position_ = position;
    where_ = where;
    ++steps_;
    // Redrawing a terminal line per reply would cost more than the reply.
    if (enabled_ && sinceDraw_.elapsed() >= 100) {
        draw();
        sinceDraw_.restart();
    }
}

void Progress::finish()
{
    if (!enabled_ || !shown_)
        return;
    draw();
    std::fputc('\n', stderr);
    shown_ = false;
}

void Progress::draw()
{
    constexpr int width = 30;
    const double part = maximum_ > 0 ? std::min(1.0, double(position_) / maximum_) : 0.0;
    const int filled = int(part * width + 0.5);
    const double seconds = double(clock_.elapsed()) / 1000.0;
    const QString rate = seconds > 0.05 ? u"%1 %2/s"_s.arg(steps_ / seconds, 0, 'f', 0).arg(unit_) : QString();
    const QString text = u"\r%1 [%2%3] %4%  %5  %6\x1b[K"_s.arg(label_)
                             .arg(QString(filled, u'#'), QString(width - filled, u'-'))
                             .arg(int(part * 100), 3)
                             .arg(where_, rate);
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    shown_ = true;
}

} // namespace cli
