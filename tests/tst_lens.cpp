// The Len page and its EASY, EASY2 and Fac twins against the simulated camera: the refresh
// chain and everything it fills, every write, the re-reads after the drive answers, direct
// positions with their shared de-duplication and the entry rule, the spin buttons, tracking
// at most every 500 ms, zoom polling, the repeat test, and error replies ending the chain.
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/lenspage.h"
#include "support/camerarig.h"

#include <QElapsedTimer>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
namespace {

// The reads of the page refresh, in order.
const char *const RefreshChain[] = {"8300", "8301", "8302", "8303", "8304", "8305", "8310", "8320", "8322"};

QStringList chainFrom(int first)
{
    QStringList out;
    for (size_t i = size_t(first); i < std::size(RefreshChain); ++i)
        out << frameText(requestFrame(RefreshChain[i]));
    return out;
}

// "Control.property=value" checks against the window.
void checkProperties(const WindowRig &rig, const QStringList &checks)
{
    for (const QString &c : checks) {
        const qsizetype dot = c.indexOf(u'.'), eq = c.indexOf(u'=');
        QObject *o = rig.form->findChild<QObject *>(c.left(dot));
        QVERIFY2(o, qPrintable(c));
        const QString actual = o->property(c.mid(dot + 1, eq - dot - 1).toLatin1().constData()).toString();
        QVERIFY2(actual == c.mid(eq + 1), qPrintable(c + u" but is "_s + actual));
    }
}

// The window against the simulated camera, whose clock stands still (nothing the lens is
// told moves it) unless the lens is to move with real time.
struct LensRig : CameraRig
{
    explicit LensRig(bool moving = false)
    {
        if (!moving)
            camera->setClock([] { return int64_t(0); });
    }
    // Shows the Len page and waits for its refresh.
    bool show() { return CameraRig::show(Pages::LenTab, 9); }
};

} // namespace

class TstLens : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsThePageAndItsTwins();
    void applyRules_data();
    void applyRules();
    void writeFrames_data();
    void writeFrames();
    void rereadsAfterAnswers_data();
    void rereadsAfterAnswers();
    void sentPositionIsNotRepeated();
    void positionEntryRule_data();
    void positionEntryRule();
    void spinButtons_data();
    void spinButtons();
    void trackingSendsTheLatestAtMostEvery500ms();
    void pollingShowsTheZoomMoving();
    void repeatTestAlternatesAndStopsOnAnotherPage();
    void chainStops_data();
    void chainStops();
};

void TstLens::refreshFillsThePageAndItsTwins()
{
    LensRig c;
    QVERIFY(c.rig);
    WindowRig *rig = c.rig.get();
    camsim::Settings &s = c.camera->live();
    s.autoFocus = 1, s.zoomAf = 1, s.afSleep = 1, s.digitalZoomMax = 4, s.zoomSpeed = 3, s.focusSpeed = 1;
    s.scaleDisplay = 1, s.zoomMag = 1, s.trackMode = 2, s.trackPosition = 100, s.afMode = 1;
    s.dptPan = 0xFB, s.dptTilt = 0x05, s.dptWidth = 0x00, s.opticalDigital = 1, s.digitalZoomOn = 1;
    c.camera->lensNow().zoom.position = 464;
    c.camera->lensNow().focus.position = 700;

    QVERIFY(c.show());
    // Exactly the chain: nothing the apply set was written back.
    QStringList chain;
    for (const char *f : RefreshChain)
        chain << frameText(requestFrame(f));
    QCOMPARE(rig->requestTexts(), chain);

    checkProperties(*rig, {
        u"ZoomStep.text=0464"_s, u"ZoomDir.text=0464"_s, u"CurrentZoom.text=0464"_s, u"ZoomMag.itemIndex=1"_s,
        u"FocusStep.text=0700"_s, u"FocusDir.text=0700"_s, u"CurrentFocus.text=0700"_s,
        u"AFocus.checked=true"_s, u"AutoFocus.checked=true"_s, u"AFAT.checked=true"_s, u"ZOOMTR.itemIndex=1"_s,
        u"AFSleep.itemIndex=1"_s, u"AFSleepE.itemIndex=1"_s, u"DZoomNew.itemIndex=4"_s,
        u"DigitalZoom.itemIndex=4"_s, u"ZoSpd.itemIndex=3"_s, u"ZoomSpeedBar.value=3"_s,
        u"FoSpd.itemIndex=1"_s, u"FocusSpeedBar.value=1"_s,
        // ratios: 464 of 0..1115 is 4 of 10; 700 of -50..1200 is 6
        u"ZoomBar.value=4"_s, u"ZoomStepBar.value=4"_s, u"FZoomBar.value=4"_s, u"FocusBar.value=6"_s,
        u"FocusStepBar.value=6"_s, u"Scale2.checked=true"_s,
        u"Track.itemIndex=1"_s, u"TrackBar1.value=100"_s, u"TrackUpDown.position=100"_s, u"TrackEd.text=0100"_s,
        u"TrackBar1.enabled=true"_s, u"TrackAutoMode.enabled=false"_s, u"AFTRC.itemIndex=1"_s,
        u"EAFTRC.itemIndex=1"_s,
        // pan and tilt are signed; the width's byte 0 can only be 256
        u"dpt_xud.position=-5"_s, u"dpt_xe.text=-5"_s, u"dpt_yud.position=5"_s, u"dpt_wud.position=256"_s,
        u"ODren.checked=true"_s, u"DZoomOnOff.itemIndex=1"_s,
    });
    LensPage *len = rig->form->pages.len;
    QCOMPARE(len->SentZoomPos, uint16_t(0));
    QCOMPARE(len->SentFocusPos, uint16_t(0));
    QVERIFY(!len->TrackTimer->isActive());

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        rig->form->resize(1320, 780);
        QTest::qWait(50);
        rig->form->grab().save(QString::fromLocal8Bit(dir) + u"/len.png"_s);
        rig->form->pages.easy->grab().save(QString::fromLocal8Bit(dir) + u"/len-easy.png"_s);
    }
}

void TstLens::applyRules_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("checks");
    QTest::newRow("tracking x1-x10") << QByteArray("trackMode") << 0
                                     << QStringList{u"Track.itemIndex=0"_s, u"TrackAutoMode.itemIndex=0"_s,
                                                    u"TrackAutoMode.enabled=true"_s, u"TrackBar1.enabled=false"_s,
                                                    u"TrackUpDown.enabled=false"_s, u"Label96.enabled=false"_s};
    QTest::newRow("tracking x3-x10") << QByteArray("trackMode") << 1
                                     << QStringList{u"Track.itemIndex=0"_s, u"TrackAutoMode.itemIndex=1"_s,
                                                    u"TrackEd.enabled=false"_s};
    QTest::newRow("tracking fixed") << QByteArray("trackMode") << 2
                                    << QStringList{u"Track.itemIndex=1"_s, u"TrackAutoMode.enabled=false"_s,
                                                   u"TrackEd.enabled=true"_s, u"Label94.enabled=true"_s};
    QTest::newRow("an unknown tracking mode is automatic")
        << QByteArray("trackMode") << 7 << QStringList{u"Track.itemIndex=0"_s, u"TrackAutoMode.itemIndex=1"_s};
    QTest::newRow("auto focus 2 is off") << QByteArray("autoFocus") << 2
                                         << QStringList{u"AFocus.checked=false"_s, u"AutoFocus.checked=false"_s};
    QTest::newRow("zoom+AF 2 is off") << QByteArray("zoomAf") << 2
                                      << QStringList{u"AFAT.checked=false"_s, u"ZOOMTR.itemIndex=0"_s};
    QTest::newRow("a digital zoom beyond x10 shows x10")
        << QByteArray("digitalZoomMax") << 9 << QStringList{u"DZoomNew.itemIndex=5"_s, u"DigitalZoom.itemIndex=5"_s};
    QTest::newRow("a width is unsigned") << QByteArray("dptWidth") << 0xC8 << QStringList{u"dpt_wud.position=200"_s};
    QTest::newRow("a width below 8 shows 8") << QByteArray("dptWidth") << 4 << QStringList{u"dpt_wud.position=8"_s};
    QTest::newRow("a pan beyond the range clamps") << QByteArray("dptPan") << 0x80
                                                   << QStringList{u"dpt_xud.position=-72"_s, u"dpt_xe.text=-72"_s};
}

void TstLens::applyRules()
{
    QFETCH(QByteArray, setting);
    QFETCH(int, value);
    QFETCH(QStringList, checks);
    LensRig c;
    QVERIFY(c.rig);
    for (const camsim::SettingField &f : camsim::settingFields())
        if (setting == f.name)
            c.camera->live().*f.member = value;
    QVERIFY(c.show());
    checkProperties(*c.rig, checks);
}

void TstLens::writeFrames_data()
{
    WriteRow::columns();
    const int len = Pages::LenTab, easy = Pages::EasyTab, easy2 = Pages::Easy2Tab;
    WriteRow::add("Wide", len, "WideSW", "press", "", "8380");
    WriteRow::add("Wide (EASY)", easy, "WideZoom", "press", "", "8380");
    WriteRow::add("Tele", len, "TeleSW", "press", "", "8381");
    WriteRow::add("Tele (EASY)", easy, "TeleZoom", "press", "", "8381");
    WriteRow::add("Stop", len, "StopSW", "press", "", "8382");
    WriteRow::add("Stop (EASY)", easy, "StopZoom", "press", "", "8382");
    WriteRow::add("Near", len, "NearSW", "press", "", "8383");
    WriteRow::add("Near (EASY)", easy, "NearFocus", "press", "", "8383");
    WriteRow::add("Far", len, "FarSW", "press", "", "8384");
    WriteRow::add("Far (EASY)", easy, "FarFocus", "press", "", "8384");
    WriteRow::add("focus Stop", len, "FStopSW", "press", "", "8385");
    WriteRow::add("focus Stop (EASY)", easy, "StopFocus", "press", "", "8385");
    WriteRow::add("Auto Focus", len, "AFocus", "tick", "", "838601");
    WriteRow::add("AutoFocus (EASY)", easy, "AutoFocus", "tick", "", "838601");
    WriteRow::add("ZOOM+AF", len, "AFAT", "tick", "", "838701");
    WriteRow::add("ZOOM+AF (EASY)", easy, "ZOOMTR", "item", "1", "838701");
    WriteRow::add("AF SLEEP", len, "AFSleep", "item", "1", "838801");
    WriteRow::add("AF Sleep (EASY)", easy, "AFSleepE", "item", "1", "838801");
    WriteRow::add("One Push", len, "OPAF", "press", "", "8389");
    WriteRow::add("OnePushAF (EASY)", easy, "OnePushAF", "press", "", "8389");
    WriteRow::add("Digital Zoom MAX x10", len, "DZoomNew", "item", "5", "838A05");
    WriteRow::add("Digital Zoom x6 (EASY)", easy, "DigitalZoom", "item", "3", "838A03");
    WriteRow::add("zoom position", len, "ZoomStep", "type", "0123", "838B007B");
    WriteRow::add("negative zoom position", len, "ZoomStep", "type", "-005", "838BFFFB");
    WriteRow::add("zoom position (EASY)", easy, "ZoomDir", "type", "1115", "838B045B");
    WriteRow::add("focus position", len, "FocusStep", "type", "-050", "838CFFCE");
    WriteRow::add("focus position (EASY)", easy, "FocusDir", "type", "0700", "838C02BC");
    WriteRow::add("zoom ratio (EASY)", easy, "ZoomStepBar", "bar", "7", "838D070A");
    WriteRow::add("focus ratio (EASY)", easy, "FocusStepBar", "bar", "3", "838E030A");
    WriteRow::add("Zoom MAG (EASY)", easy, "ZoomMag", "item", "1", "838F01");
    WriteRow::add("zoom +1", len, "PZO1", "press", "", "83900001");
    WriteRow::add("zoom -1", len, "MZO1", "press", "", "83910001");
    WriteRow::add("focus +1", len, "PFO1", "press", "", "83920001");
    WriteRow::add("focus -1", len, "MFO1", "press", "", "83930001");
    WriteRow::add("zoom speed MAX", len, "ZoSpd", "item", "4", "839404");
    WriteRow::add("zoom speed (EASY)", easy, "ZoomSpeedBar", "bar", "2", "839402");
    WriteRow::add("focus speed +1", len, "FoSpd", "item", "1", "839501");
    WriteRow::add("focus speed (EASY)", easy, "FocusSpeedBar", "bar", "3", "839503");
    WriteRow::add("tracking Fix", len, "Track", "item", "1", "83B002");
    WriteRow::add("tracking AUTO2", len, "TrackAutoMode", "item", "1", "83B001");
    WriteRow::add("tracking AUTO1", len, "TrackAutoMode", "item", "0", "83B000");
    WriteRow::add("tracking position by slider", len, "TrackBar1", "bar", "40", "83B12801");
    WriteRow::add("tracking position by arrow", len, "TrackUpDown", "up", "", "83B10101");
    WriteRow::add("AF MODE TRC", len, "AFTRC", "item", "1", "83B201");
    WriteRow::add("AF MODE TRC (EASY2)", easy2, "EAFTRC", "item", "1", "83B201");
    WriteRow::add("digital pan", len, "dpt_xud", "up", "", "83C0010008");
    WriteRow::add("digital tilt", len, "dpt_yud", "down", "", "83C000FF08");
    WriteRow::add("digital width", len, "dpt_wud", "up", "", "83C0000009");
    WriteRow::add("digital cancel", len, "dpt_cancel", "press", "", "83C1");
    WriteRow::add("Optical->Digital", len, "ODren", "tick", "", "83C201");
    WriteRow::add("Digital Zoom ON", len, "DZoomOnOff", "item", "1", "83C30101");
    WriteRow::add("Get (EASY)", easy, "GetZoomCurrent", "press", "", "8300");
}

void TstLens::writeFrames()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig(4, 0); // a camera that answers at any speed connects at once
    rig.peer.script = WindowRig::refusing; // the page stays unfilled: every item is a change
    QVERIFY(rig.openPage(w.tab));
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstLens::rereadsAfterAnswers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<int>("from");       // the chain read that follows (-1: none)
    QTest::addColumn<QString>("zoom");   // ZoomStep afterwards (the lens stands at 0321)
    QTest::newRow("Wide") << u"WideSW"_s << u"press"_s << QByteArray("8380") << 1 << u"0321"_s;
    QTest::newRow("Tele") << u"TeleSW"_s << u"press"_s << QByteArray("8381") << 1 << u"0321"_s;
    QTest::newRow("Stop") << u"StopSW"_s << u"press"_s << QByteArray("8382") << 1 << u"0321"_s;
    QTest::newRow("zoom -1") << u"MZO1"_s << u"press"_s << QByteArray("83910001") << 1 << u"0320"_s;
    QTest::newRow("Far") << u"FarSW"_s << u"press"_s << QByteArray("8384") << 2 << u"0000"_s;
    QTest::newRow("focus +1") << u"PFO1"_s << u"press"_s << QByteArray("83920001") << 2 << u"0000"_s;
    QTest::newRow("One Push") << u"OPAF"_s << u"press"_s << QByteArray("8389") << 1 << u"0000"_s;
    QTest::newRow("Auto Focus") << u"AFocus"_s << u"tick"_s << QByteArray("838601") << 1 << u"0000"_s;
    QTest::newRow("digital cancel") << u"dpt_cancel"_s << u"press"_s << QByteArray("83C1") << 0 << u"0321"_s;
    QTest::newRow("zoom speed") << u"ZoSpd"_s << u"item"_s << QByteArray("839401") << -1 << u"0000"_s;
    QTest::newRow("digital zoom max") << u"DZoomNew"_s << u"item"_s << QByteArray("838A01") << -1 << u"0000"_s;
    QTest::newRow("tracking mode") << u"Track"_s << u"item"_s << QByteArray("83B002") << -1 << u"0000"_s;
}

void TstLens::rereadsAfterAnswers()
{
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QByteArray, write);
    QFETCH(int, from);
    QFETCH(QString, zoom);
    LensRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    c.camera->lensNow().zoom.position = 321;
    const qsizetype before = rig->peer.requests.size();
    QVERIFY(rig->act(control, action, u"1"_s));
    QVERIFY(c.settle());
    QStringList expected{frameText(requestFrame(write))};
    if (from >= 0)
        expected << chainFrom(from);
    QCOMPARE(rig->requestTexts(before), expected);
    QCOMPARE(rig->w<QLineEdit>("ZoomStep")->text(), zoom);
}

void TstLens::sentPositionIsNotRepeated()
{
    LensRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    auto *zoomStep = rig->w<QLineEdit>("ZoomStep");
    auto *zoomDir = rig->w<QLineEdit>("ZoomDir");
    auto type = [&](QLineEdit *e, const QString &text) {
        e->selectAll();
        QTest::keyClicks(e, text);
        return c.settle();
    };
    auto sent = [&](qsizetype from) { return rig->peer.countOf(0x83, 0x8B) - from; };

    // A negative position goes out as its 16-bit value, and comes back shown the same way.
    QVERIFY(type(rig->w<QLineEdit>("FocusDir"), u"-005"_s));
    QCOMPARE(rig->requestTexts(9).value(0), frameText(requestFrame("838CFFFB")));
    for (const char *name : {"FocusStep", "FocusDir", "CurrentFocus"})
        QCOMPARE(rig->w<QLineEdit>(name)->text(), u"-005"_s);

    QVERIFY(type(zoomStep, u"0123"_s));
    QCOMPARE(sent(0), 1);
    // The same position again, from the page or from the EASY twin: not sent.
    QVERIFY(type(zoomStep, u"0123"_s));
    QVERIFY(type(zoomDir, u"0123"_s));
    QCOMPARE(sent(0), 1);
    // Not even after the lens moved away with Wide.
    rig->w<QPushButton>("WideSW")->click();
    QVERIFY(c.settle());
    QCOMPARE(zoomStep->text(), u"0000"_s);
    QVERIFY(type(zoomDir, u"0123"_s));
    QCOMPARE(sent(0), 1);
    QVERIFY(type(zoomDir, u"0124"_s));
    QCOMPARE(sent(0), 2);
    QCOMPARE(frameText(rig->peer.requests.at(rig->peer.requests.size() - 9)), frameText(requestFrame("838B007C")));

    // A position typed while a request is outstanding is dropped and not remembered.
    c.unanswered.insert(0x8381);
    rig->w<QPushButton>("TeleSW")->click();
    QTRY_VERIFY(!rig->idle());
    rig->w<QLineEdit>("FocusStep")->selectAll();
    QTest::keyClicks(rig->w<QLineEdit>("FocusStep"), u"0042"_s);
    QCOMPARE(rig->form->pages.len->SentFocusPos, uint16_t(0xFFFB));
}

void TstLens::positionEntryRule_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("leave");      // the user leaves the edit afterwards
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    QTest::addColumn<bool>("invalid");
    QTest::newRow("three digits") << u"012"_s << false << QByteArray() << false;
    QTest::newRow("three digits, left") << u"012"_s << true << QByteArray() << true;
    QTest::newRow("four digits") << u"0123"_s << true << QByteArray("838B007B") << false;
    QTest::newRow("minus and three digits") << u"-005"_s << false << QByteArray("838BFFFB") << false;
    QTest::newRow("minus and two digits, left") << u"-05"_s << true << QByteArray() << true;
    QTest::newRow("a letter") << u"01a3"_s << false << QByteArray() << true;
    QTest::newRow("a letter early") << u"x"_s << false << QByteArray() << true;
    QTest::newRow("a second minus") << u"--05"_s << false << QByteArray() << true;
    QTest::newRow("a minus inside") << u"01-3"_s << false << QByteArray() << true;
    QTest::newRow("a space") << u" 123"_s << false << QByteArray() << true;
}

void TstLens::positionEntryRule()
{
    QFETCH(QString, typed);
    QFETCH(bool, leave);
    QFETCH(QByteArray, frame);
    QFETCH(bool, invalid);
    LensRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    auto *edit = rig->w<kit::Edit>("ZoomStep");
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    if (leave)
        emit edit->editingFinished();
    QVERIFY(c.settle());
    const QStringList sent = rig->requestTexts(9);
    if (frame.isEmpty())
        QCOMPARE(sent, QStringList{});
    else
        QCOMPARE(sent.value(0), frameText(requestFrame(frame)));
    QCOMPARE(edit->isInvalid(), invalid);

    // Correcting the text removes the mark and sends.
    edit->selectAll();
    QTest::keyClicks(edit, u"0999"_s);
    QVERIFY(c.settle());
    QVERIFY(!edit->isInvalid());
    QCOMPARE(rig->peer.countOf(0x83, 0x8B), frame.isEmpty() ? 1 : 2);
}

void TstLens::spinButtons_data()
{
    QTest::addColumn<QString>("spin");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    QTest::newRow("zoom up") << u"ZoomSpinButton"_s << u"up"_s << u"0123"_s << u"0124"_s << QByteArray("838B007C");
    QTest::newRow("zoom up at 9999") << u"ZoomSpinButton"_s << u"up"_s << u"9999"_s << u"9999"_s << QByteArray();
    QTest::newRow("zoom down at 0000") << u"ZoomSpinButton"_s << u"down"_s << u"0000"_s << u"0000"_s
                                       << QByteArray();
    QTest::newRow("zoom down below zero") << u"ZoomSpinButton"_s << u"down"_s << u"-005"_s << u"-006"_s
                                          << QByteArray("838BFFFA");
    QTest::newRow("zoom on a letter") << u"ZoomSpinButton"_s << u"up"_s << u"01x3"_s << u"01x3"_s << QByteArray();
    QTest::newRow("zoom on a short text") << u"ZoomSpinButton"_s << u"up"_s << u"12"_s << u"12"_s << QByteArray();
    QTest::newRow("focus up") << u"FocusSpinButton"_s << u"up"_s << u"0100"_s << u"0101"_s << QByteArray("838C0065");
    QTest::newRow("focus up at the maximum") << u"FocusSpinButton"_s << u"up"_s << u"1200"_s << u"1200"_s
                                             << QByteArray();
    QTest::newRow("focus down at the minimum") << u"FocusSpinButton"_s << u"down"_s << u"-050"_s << u"-050"_s
                                               << QByteArray();
    QTest::newRow("focus down, signed") << u"FocusSpinButton"_s << u"down"_s << u"-049"_s << u"-050"_s
                                        << QByteArray("838CFFCE");
}

void TstLens::spinButtons()
{
    QFETCH(QString, spin);
    QFETCH(QString, direction);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QByteArray, frame);
    WindowRig rig(4, 0); // a camera that answers at any speed connects at once
    rig.peer.script = WindowRig::refusing;
    QVERIFY(rig.openPage(Pages::EasyTab));
    // The focus range as the camera reports it, and the starting text, set as a reply sets them.
    rig.form->link.LinkBusy = 1;
    rig.form->pages.len->FocusMinSet(ResponseFrame::of(0x83, 0x09, 0xFF, 0xCE));
    rig.form->pages.len->FocusMaxSet(ResponseFrame::of(0x83, 0x0A, 0x04, 0xB0));
    const char *editName = spin == u"ZoomSpinButton"_s ? "ZoomDir" : "FocusDir";
    rig.w<QLineEdit>(editName)->setText(before);
    rig.form->link.release();

    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    QVERIFY(rig.act(spin, direction, QString()));
    QCOMPARE(rig.w<QLineEdit>(editName)->text(), after);
    QTest::qWait(50);
    QCOMPARE(rig.requestTexts(), frame.isEmpty() ? QStringList{} : QStringList{frameText(requestFrame(frame))});
}

void TstLens::trackingSendsTheLatestAtMostEvery500ms()
{
    LensRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    LensPage *len = rig->form->pages.len;
    auto *bar = rig->w<QSlider>("TrackBar1");

    // A drag: the first move arms the timer, the later ones do not restart it; one frame with
    // the latest position goes out.
    QElapsedTimer clock;
    clock.start();
    for (int p : {10, 20, 30, 45})
        bar->setValue(p);
    QCOMPARE(rig->w<kit::UpDown>("TrackUpDown")->position(), 45);
    QCOMPARE(rig->w<QLineEdit>("TrackEd")->text(), u"0045"_s);
    QVERIFY(len->TrackTimer->isActive());
    QTRY_COMPARE(rig->peer.countOf(0x83, 0xB1), 1);
    QVERIFY(clock.elapsed() >= 450);
    QCOMPARE(frameText(rig->peer.requests.last()), frameText(requestFrame("83B12D01")));
    QVERIFY(!len->TrackTimer->isActive());
    QVERIFY(c.settle());

    // A move while a request is outstanding does not arm the timer. (The answer used here
    // ends without a re-read, which would put the camera's position back on the slider.)
    c.unanswered.insert(0x838A);
    rig->w<kit::RadioGroup>("DZoomNew")->button(2)->click();
    QTRY_VERIFY(!rig->idle());
    bar->setValue(60);
    QCOMPARE(rig->w<kit::UpDown>("TrackUpDown")->position(), 60);
    QVERIFY(!len->TrackTimer->isActive());
    rig->peer.sendFrame(0x83, 0x8A, 2);
    QVERIFY(c.settle());
    QTest::qWait(600);
    QCOMPARE(rig->peer.countOf(0x83, 0xB1), 1);

    // Armed while idle, its tick finds the link busy: it waits for the next tick, and then
    // sends the position the slider has then.
    bar->setValue(70);
    QVERIFY(len->TrackTimer->isActive());
    rig->w<kit::RadioGroup>("DZoomNew")->button(3)->click();
    QTRY_VERIFY(!rig->idle());
    QTest::qWait(700);
    QCOMPARE(rig->peer.countOf(0x83, 0xB1), 1);
    QVERIFY(len->TrackTimer->isActive());
    bar->setValue(75);
    rig->peer.sendFrame(0x83, 0x8A, 3);
    QTRY_COMPARE(rig->peer.countOf(0x83, 0xB1), 2);
    QCOMPARE(frameText(rig->peer.requests.last()), frameText(requestFrame("83B14B01")));
}

void TstLens::pollingShowsTheZoomMoving()
{
    LensRig c(true); // the lens moves with real time
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    LensPage *len = rig->form->pages.len;
    auto *check = rig->w<QCheckBox>("CurrentCheck");
    check->click();
    QVERIFY(len->LensTimer1->isActive());
    QCOMPARE(len->LensTimer1->interval(), 10000);

    rig->w<QPushButton>("TeleSW")->click();
    QVERIFY(c.settle());
    auto zoom = [&] { return rig->w<QLineEdit>("ZoomStep")->text().toInt(); };
    int last = zoom();
    for (int i = 0; i < 2; ++i) {
        QTest::qWait(200);
        const qsizetype before = rig->peer.requests.size();
        len->LensTimer1Timer(); // a tick: the zoom position read, and the page read on
        QVERIFY(c.settle());
        QCOMPARE(rig->requestTexts(before).value(0), frameText(requestFrame("8300")));
        QVERIFY2(zoom() > last, qPrintable(QString::number(zoom())));
        last = zoom();
    }
    // 'Get' reads once.
    QTest::qWait(200);
    rig->w<QPushButton>("GetZoomCurrent")->click();
    QVERIFY(c.settle());
    QVERIFY(zoom() > last);

    // A tick that finds the link busy stops the polling for good; CurrentCheck stays ticked.
    c.unanswered.insert(0x8382);
    rig->w<QPushButton>("StopSW")->click();
    QTRY_VERIFY(!rig->idle());
    const qsizetype before = rig->peer.requests.size();
    len->LensTimer1Timer();
    QVERIFY(!len->LensTimer1->isActive());
    QVERIFY(check->isChecked());
    QCOMPARE(rig->peer.requests.size(), before);
    check->click();
    check->click();
    QVERIFY(len->LensTimer1->isActive());
    check->click();
    QVERIFY(!len->LensTimer1->isActive());
}

void TstLens::repeatTestAlternatesAndStopsOnAnotherPage()
{
    LensRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    LensPage *len = rig->form->pages.len;
    QCOMPARE(len->Lens_TestTimer1->interval(), 5000);
    rig->w<QCheckBox>("Lens_Repeat")->click();
    QVERIFY(len->Lens_TestTimer1->isActive());
    auto *time = rig->w<kit::RadioGroup>("Lens_Repeat_Time");
    time->button(0)->click();
    QCOMPARE(len->Lens_TestTimer1->interval(), 1000);
    time->button(9)->click();
    QCOMPARE(len->Lens_TestTimer1->interval(), 10000);

    // Tele first, then wide, alternating; each answer re-reads the page from the focus on.
    QStringList drives;
    for (int tick = 0; tick < 3; ++tick) {
        const qsizetype before = rig->peer.requests.size();
        len->Lens_TestTimer1Timer();
        QVERIFY(c.settle());
        drives << rig->requestTexts(before).value(0);
        QCOMPARE(rig->peer.requests.size() - before, 9);
    }
    QCOMPARE(drives, requestTexts({"8381", "8380", "8381"}));

    // Busy at a tick: nothing goes out, but the phase still flips.
    c.unanswered.insert(0x8301);
    rig->w<QPushButton>("StopSW")->click();
    QTRY_VERIFY(!rig->idle());
    const qsizetype busyAt = rig->peer.requests.size();
    len->Lens_TestTimer1Timer();
    QCOMPARE(rig->peer.requests.size(), busyAt);
    c.unanswered.clear();
    rig->peer.sendFrame(0x83, 0x01);
    QVERIFY(c.settle());
    qsizetype before = rig->peer.requests.size();
    len->Lens_TestTimer1Timer();
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before).value(0), frameText(requestFrame("8381")));

    // On another page the next tick stops the test and clears 'Repeat'.
    rig->showPage(Pages::OthTab);
    QVERIFY(c.settle());
    before = rig->peer.requests.size();
    len->Lens_TestTimer1Timer();
    QVERIFY(!len->Lens_TestTimer1->isActive());
    QVERIFY(!rig->w<QCheckBox>("Lens_Repeat")->isChecked());
    QVERIFY(c.settle());
    QCOMPARE(rig->peer.requests.size(), before);
}

void TstLens::chainStops_data()
{
    QTest::addColumn<int>("category"); // the answer to the third read
    QTest::addColumn<int>("item");
    QTest::newRow("error bit 0x40") << 0xC3 << 0x02;
    QTest::newRow("error bit 0x20") << 0xA3 << 0x02;
    QTest::newRow("another category") << 0x84 << 0x02;
    QTest::newRow("an item the page does not know") << 0x83 << 0x7F;
    QTest::newRow("a write answer that ends") << 0x83 << 0x8A;
}

void TstLens::chainStops()
{
    QFETCH(int, category);
    QFETCH(int, item);
    LensRig c;
    QVERIFY(c.rig);
    WindowRig *rig = c.rig.get();
    c.unanswered.insert(0x8302);
    c.camera->live().autoFocus = 1;
    const qsizetype before = rig->peer.requests.size();
    rig->showPage(Pages::LenTab);
    QTRY_COMPARE(rig->peer.requests.size(), before + 3);
    rig->peer.sendFrame(uint8_t(category), uint8_t(item), 1, 1, 1);
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before), requestTexts({"8300", "8301", "8302"}));
    // The answers before it were applied; it was not.
    QCOMPARE(rig->w<QLineEdit>("FocusStep")->text(), u"0100"_s);
    QVERIFY(!rig->w<QCheckBox>("AFocus")->isChecked());
}

QTEST_MAIN(TstLens)
#include "tst_lens.moc"
