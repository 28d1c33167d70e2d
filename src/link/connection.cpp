#include "link/connection.h"

#include "link/categories.h"
#include "link/dispatch.h"
#include "link/log.h"
#include "serial/tcomm.h"

namespace {

struct Speed
{
    int32_t baud;
    const char16_t *text;
    const char16_t *tryText;
};
// The speeds tried one after the other, and the texts that show them.
constexpr Speed speeds[3] = {
    {9600, u"9,600", u"Try 9,600"},
    {19200, u"19,200", u"Try 19,200"},
    {38400, u"38,400", u"Try 38,400"},
};

const QString connecting = QStringLiteral("Comm. Connecting");
const QString notConnect = QStringLiteral("Not Connect");

} // namespace

QString Connection::noAnswerText()
{
    return QStringLiteral("Camera silent: Cancel frees the line");
}

QString Connection::lineGoneText()
{
    return QStringLiteral("Line gone: Cancel reopens it");
}

Connection::Connection(Link &link, Dispatcher &dispatch, QObject *parent)
    : QObject(parent), link_(link), dispatch_(dispatch)
{
    PONTimer1 = core::timer(this, "PONTimer1");
    PONTimer2 = core::timer(this, "PONTimer2");
    BaudTimer1 = core::timer(this, "BaudTimer1");
    // The speeds are tried one second apart: a coarse timer may fire several percent early.
    for (QTimer *t : {static_cast<QTimer *>(PONTimer1), static_cast<QTimer *>(PONTimer2),
                      static_cast<QTimer *>(BaudTimer1)})
        t->setTimerType(Qt::PreciseTimer);
    connect(PONTimer1, &QTimer::timeout, this, [this] { onTimer(&Connection::PONTimer1Timer); });
    connect(PONTimer2, &QTimer::timeout, this, [this] { onTimer(&Connection::PONTimer2Timer); });
    connect(BaudTimer1, &QTimer::timeout, this, [this] { onTimer(&Connection::BaudTimer1Timer); });
    ReplyWatch = core::timer(this, "ReplyWatch", ReplyWaitMs);
    ReplyWatch->setSingleShot(true);
    connect(ReplyWatch, &QTimer::timeout, this, [this] { onTimer(&Connection::ReplyWatchTimer); });
    // Every request starts the wait anew; any good reply ends it. A frame lost to its
    // checksum, or cut short, leaves the request waiting, so the watch covers it too; a
    // re-arm after a bad frame with nothing outstanding ('1:1') starts it.
    connect(&link_, &Link::frameSent, this, [this] {
        ReplyWatch->start();
    });
    connect(&link_, &Link::badChecksum, this, [this] {
        if (!ReplyWatch->isActive())
            ReplyWatch->start();
    });
    connect(&link_, &Link::frameReceived, this, [this] { clearNoAnswer(); });
    link_.setFrameHandler(this);
}

void Connection::ReplyWatchTimer()
{
    // The search reports for itself; an idle link has nothing overdue.
    if (link_.LinkBusy != 1 || PONTimer1->isActive() || noAnswerShown_ || !link_.comm().IsOpen())
        return;
    beforeNotice_ = link_.panel(0);
    noAnswerShown_ = true;
    link_.setPanel(0, noAnswerText());
}

void Connection::clearNoAnswer()
{
    ReplyWatch->stop();
    if (!noAnswerShown_)
        return;
    noAnswerShown_ = false;
    if (link_.panel(0) == noAnswerText())
        link_.setPanel(0, beforeNotice_);
}

void Connection::lineGone()
{
    PONTimer1->setEnabled(false);
    PONTimer2->setEnabled(false);
    BaudTimer1->setEnabled(false);
    ReplyWatch->stop();
    noAnswerShown_ = false;
    link_.setPanel(0, lineGoneText());
}

void Connection::onTimer(void (Connection::*tick)())
{
    link_.guarded([&] { (this->*tick)(); });
}

void Connection::Trans_Create(uint8_t comPortNo)
{
    clearNoAnswer();
    searchError_.clear();
    link_.setPanel(0, connecting);
    ComPortNo = comPortNo;
    FirstConnect = true;
    ConnectAttempt = 0;
    link_.receiver().setIdle();
    link_.release();
    PONTimer1->setEnabled(false);
    PONTimer2->setEnabled(false);
    PONTimer1->setEnabled(true);
}

void Connection::CnctDataLink(uint8_t port, int32_t baud, bool two)
{
    TComm &comm = link_.comm();
    comm.setBaudRate(baud);
    comm.setPort(port);
    comm.setStopBits(two ? csb2 : csb1);
    comm.Open();
    link_.lineOpened();
}

void Connection::PONTimer1Timer()
{
    if (ConnectAttempt < 255)
        ++ConnectAttempt;
    if (ConnectAttempt >= 1 && ConnectAttempt <= 3) {
        const int i = ConnectAttempt - 1;
        qCDebug(lcLink) << "trying" << speeds[i].baud << "baud";
        link_.setPanel(0, QString::fromUtf16(speeds[i].tryText));
        try {
            applyPcLine(i);
        } catch (const ECommError &e) {
            // Each attempt raises again; one box per search says it, the trace keeps each.
            const QString message = QString::fromUtf8(e.what());
            if (message != searchError_) {
                searchError_ = message;
                throw;
            }
            emit link_.errorRaised(message);
            return;
        }
        link_.receiver().setIdle();
        link_.release();
        FirstConnect = true;
        // The communication-settings read.
        link_.request(cat::Comm, 0x11, 1);
        return;
    }
    PONTimer1->setEnabled(false);
    link_.setPanel(0, notConnect);
    // The search gave up: nothing is outstanding any more.
    link_.release();
    link_.showBusy(false);
}

void Connection::handleFrame(const ResponseFrame &r)
{
    PONTimer1->setEnabled(false);
    link_.setPanel(0, connecting);
    if (FirstConnect) {
        FirstConnect = false;
        ConnectData2 = r.data2();
        link_.release();
        PONTimer2->setEnabled(true);
        return;
    }
    dispatch_.Trans_end(r);
}

void Connection::PONTimer2Timer()
{
    PONTimer2->setEnabled(false);
    const int attempt = ConnectAttempt == 0 ? 3 : ConnectAttempt;
    if (attempt <= 3) {
        const Speed &s = speeds[attempt - 1];
        qCDebug(lcLink) << "connected at" << s.baud << "baud";
        emit speedShown(QString::fromUtf16(s.text));
        link_.setPanel(0, QString::fromUtf16(s.tryText));
        emit connectedAt(attempt - 1, (ConnectData2 & 0x04) != 0);
        link_.release();
        dispatch_.PageCheck();
        return;
    }
    PONTimer1->setEnabled(false);
    link_.setPanel(0, notConnect);
    link_.release();
    link_.showBusy(false);
}

bool Connection::pcLineChosen(int baudItem, int stopItem)
{
    pcBaudItem_ = baudItem;
    pcStopItem_ = stopItem;
    if (!link_.Trans_chk())
        return false;
    BaudTimer1->setEnabled(true);
    return true;
}

void Connection::BaudTimer1Timer()
{
    BaudTimer1->setEnabled(false);
    applyPcLine((pcBaudItem_ == 0 || pcBaudItem_ == 1) ? pcBaudItem_ : 2);
}

void Connection::applyPcLine(int speedIndex)
{
    // The stop bits always come from the PC-side control.
    const bool two = pcStopItem_ == 1;
    emit speedShown(QString::fromUtf16(speeds[speedIndex].text));
    emit stopBitsShown(two);
    CnctDataLink(ComPortNo, speeds[speedIndex].baud, two);
}

void Connection::cancel()
{
    clearNoAnswer();
    searchError_.clear();
    if (link_.LinkBusy) {
        link_.release();
        link_.showBusy(false);
    }
    ConnectAttempt = 0;
    PONTimer1->setEnabled(true);
}

void Connection::stop()
{
    for (QTimer *t : {static_cast<QTimer *>(PONTimer1), static_cast<QTimer *>(PONTimer2),
                      static_cast<QTimer *>(BaudTimer1), static_cast<QTimer *>(ReplyWatch)})
        t->stop();
}
