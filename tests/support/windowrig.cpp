#include "windowrig.h"

#include "serial/tcomm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSlider>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTabWidget>
#include <QTimer>
#include <QTest>

#include <algorithm>

bool WindowRig::waitFor(const std::function<bool()> &done, int ms)
{
    // Unlike QTest::qWaitFor, which sleeps 10 ms between looks, this handles each event as
    // it comes: a chain of replies runs at the speed of the line, not of the polling. The
    // ticking timer only makes sure the deadline is seen.
    QDeadlineTimer deadline(ms);
    QTimer tick;
    tick.start(5);
    while (!done()) {
        if (deadline.hasExpired())
            return done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

WindowRig::WindowRig(int formType, int cameraBaud)
{
    peer.answerBaud = cameraBaud;
    PortMap::setPath(1, peer.path().toStdString());
    form = new TForm1(0, formType);
    form->show();
}

WindowRig::~WindowRig()
{
    // ORVIK_SHOTS=folder keeps a picture of the window as each test leaves it, to look at.
    if (const QString dir = qEnvironmentVariable("ORVIK_SHOTS"); !dir.isEmpty() && form) {
        QString name = QString::fromLatin1(QTest::currentTestFunction());
        if (const char *tag = QTest::currentDataTag())
            name += u'_' + QString::fromLatin1(tag).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
        QDir().mkpath(dir);
        form->grab().save(dir + u'/' + name + QStringLiteral(".png"));
    }
    delete form.data();
}

bool WindowRig::connectNow()
{
    Connection *c = form->connection;
    c->PONTimer1->stop();
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qsizetype before = peer.requests.size();
        c->PONTimer1Timer();
        if (!waitFor([&] { return peer.requests.size() > before; }, 5000))
            return false;
        // A camera at another speed stays silent; one at this speed answers, however
        // loaded the machine is.
        const bool answers = peer.answerBaud == 0 || peer.answerBaud == peer.toolBaud();
        if (answers && waitFor([&] { return c->PONTimer2->isActive(); }, 5000)) {
            c->PONTimer2->stop();
            c->PONTimer2Timer();
            return true;
        }
    }
    return false;
}

void WindowRig::showPage(int index)
{
    form->PageControl1->setCurrentIndex(index);
}

bool WindowRig::waitIdle(int ms)
{
    return waitFor([&] { return form->link.Trans_chk(); }, ms);
}

bool WindowRig::settle()
{
    const bool idle = waitIdle();
    QTest::qWait(60);
    return idle && form->link.Trans_chk();
}

bool WindowRig::openPage(int tab)
{
    if (!connectNow() || !waitIdle())
        return false;
    showPage(tab);
    if (!waitIdle())
        return false;
    peer.requests.clear();
    return true;
}

QStringList WindowRig::requestTexts(qsizetype from) const
{
    QStringList out;
    for (qsizetype i = from; i < peer.requests.size(); ++i)
        out << frameText(peer.requests[i]);
    return out;
}

void WindowRig::quietly(const std::function<void()> &f)
{
    const uint8_t was = form->link.LinkBusy;
    form->link.LinkBusy = 1;
    f();
    form->link.LinkBusy = was;
}

bool WindowRig::refresh(int tab, int requests)
{
    const qsizetype before = peer.requests.size();
    if (form->PageControl1->currentIndex() == tab)
        form->SW1Click();
    else
        showPage(tab);
    return waitFor([&] { return form->link.Trans_chk() && peer.requests.size() >= before + requests; }, 3000);
}

std::unique_ptr<WindowRig> WindowRig::connectedTo(std::function<std::optional<Frame7>(const Frame7 &)> script,
                                                  int cameraBaud)
{
    auto rig = std::make_unique<WindowRig>(4, cameraBaud);
    rig->peer.script = std::move(script);
    if (!rig->connectNow() || !rig->waitIdle(3000))
        return nullptr;
    rig->peer.requests.clear();
    return rig;
}

std::optional<Frame7> WindowRig::refusing(const Frame7 &r)
{
    if (r[0] == 0x89)
        return PtyPeer::reply(r[0], r[1]);
    return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
}

bool WindowRig::act(const QString &control, const QString &action, const QString &value)
{
    QWidget *w = form->findChild<QWidget *>(control);
    if (!w)
        return false;
    if (action == u"item")
        static_cast<kit::RadioGroup *>(w)->button(value.toInt())->click();
    else if (action == u"set")
        static_cast<kit::RadioGroup *>(w)->setItemIndex(value.toInt());
    else if (action == u"bar")
        static_cast<QSlider *>(w)->setValue(value.toInt());
    else if (action == u"tick" || action == u"press")
        static_cast<QAbstractButton *>(w)->click();
    else if (action == u"type")
        QTest::keyClicks(w, value);
    else if (action == u"up" || action == u"down") {
        // `value` arrow clicks (at least one), as a user steps an up-down or a spin button.
        const bool up = action == u"up";
        auto *upDown = qobject_cast<kit::UpDown *>(w);
        auto *spin = qobject_cast<kit::SpinButton *>(w);
        if (!upDown && !spin)
            return false;
        for (int i = 0; i < std::max(1, value.toInt()); ++i) {
            if (upDown)
                up ? upDown->stepUp() : upDown->stepDown();
            else
                up ? spin->clickUp() : spin->clickDown();
        }
    } else if (action == u"choose") {
        auto *box = static_cast<QComboBox *>(w);
        box->setCurrentIndex(value.toInt());
        emit box->activated(value.toInt());
    }
    return true;
}

QStringList WindowRig::framesOf(const QString &control, const QString &action, const QString &value)
{
    peer.script = [](const Frame7 &) { return std::nullopt; };
    const qsizetype before = peer.requests.size();
    if (!act(control, action, value))
        return {QStringLiteral("no control ") + control};
    (void)waitFor([&] { return peer.requests.size() > before; }, 3000);
    QTest::qWait(30);
    return texts(peer.requests, before);
}

void WriteRow::columns()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("frame");
}

void WriteRow::add(const char *name, int tab, const char *control, const char *action, const char *value,
                   const char *frame)
{
    QTest::newRow(name) << tab << QString::fromLatin1(control) << QString::fromLatin1(action)
                        << QString::fromLatin1(value) << QByteArray(frame);
}

WriteRow WriteRow::fetch()
{
    return {*static_cast<const int *>(QTest::qData("tab", qMetaTypeId<int>())),
            *static_cast<const QString *>(QTest::qData("control", qMetaTypeId<QString>())),
            *static_cast<const QString *>(QTest::qData("action", qMetaTypeId<QString>())),
            *static_cast<const QString *>(QTest::qData("value", qMetaTypeId<QString>())),
            *static_cast<const QByteArray *>(QTest::qData("frame", qMetaTypeId<QByteArray>()))};
}
