// The Pos page and its EASY and EASY2 twins against the simulated camera: the refresh chain
// and what it fills, every write, storing a preset (zoom, then focus), reading a preset and
// the lens now, moving to a preset, the repeat test and its phase shared with the lens test,
// and error replies ending the chain.
#include "link/convert.h"
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/lenspage.h"
#include "pages/pospage.h"
#include "support/camerarig.h"

#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The reads about preset n: zoom, focus and the three further items.
QStringList presetReads(int n)
{
    QStringList out;
    for (int item : {0x03, 0x04, 0x11, 0x12, 0x13})
        out << frameText(requestFrame(QByteArray::number(0x8400 + item, 16) + QByteArray::number(0x100 + n, 16).mid(1)));
    return out;
}

// The window against the simulated camera, whose clock stands still (nothing the lens is
// told moves it) unless the lens is to move with real time.
struct PosRig : CameraRig
{
    explicit PosRig(bool moving = false)
    {
        if (!moving)
            camera->setClock([] { return int64_t(0); });
    }
    // Shows the Pos page and waits for its refresh.
    bool show() { return CameraRig::show(Pages::PosTab, 9); }
};

} // namespace

class TstPos : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsThePageAndItsTwins();
    void defaultPositionWithoutPowerOn();
    void writeFrames_data();
    void writeFrames();
    void offMovesNowhere();
    void saveStoresZoomThenFocus_data();
    void saveStoresZoomThenFocus();
    void readAndCurrentRead();
    void loadMovesTheLens();
    void powerOnPositionOfTheEasy2Page();
    void repeatTestAlternatesAndSharesThePhase();
    void chainStops_data();
    void chainStops();
};

void TstPos::refreshFillsThePageAndItsTwins()
{
    PosRig c;
    QVERIFY(c.rig);
    WindowRig *rig = c.rig.get();
    camsim::Settings &s = c.camera->live();
    s.positionOsd = 1, s.alarmPosition = 7, s.lastPreset = 12, s.defaultPosition = 9, s.powerOnPosition = 1;
    c.camera->presets()[11] = camsim::LensPreset{0x0123, 0xFFFB, {1, 2, 3}};

    QVERIFY(c.show());
    // The chain, with the preset the refresh itself chose; no load request of its own.
    QCOMPARE(rig->requestTexts(), requestTexts({"8400", "8401", "8402", "8410"}) + presetReads(12));

    PosPage *pos = rig->form->pages.pos;
    EasyPage *easy = rig->form->pages.easy;
    QVERIFY(pos->OSDM->isChecked());
    QCOMPARE(easy->PoOSD->itemIndex(), 1);
    QCOMPARE(pos->AlSaveUD->position(), 7);
    QCOMPARE(pos->AlmPosEdit->text(), u"7"_s);
    QCOMPARE(easy->AlarmUpDown1->position(), 7);
    QCOMPARE(easy->AlarmNo->text(), u"7"_s);
    QCOMPARE(pos->PosLoad->itemIndex(), 12);
    QCOMPARE(pos->PosSaveUD->position(), 12);
    QCOMPARE(pos->PosSaveEdit->text(), u"12"_s);
    QCOMPARE(easy->PosUpDown1->position(), 12);
    QCOMPARE(pos->DefPosUD->position(), 9);
    QCOMPARE(pos->PosZoom->text(), u"0291"_s);
    QCOMPARE(pos->PosFocus->text(), u"-005"_s);

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        rig->form->resize(1320, 780);
        QTest::qWait(50);
        rig->form->grab().save(QString::fromLocal8Bit(dir) + u"/pos.png"_s);
    }
}

void TstPos::defaultPositionWithoutPowerOn()
{
    // The camera reports no power-on position (0) while it is not to move there at power-on.
    PosRig c;
    QVERIFY(c.rig);
    c.camera->live().defaultPosition = 9;
    QVERIFY(c.show());
    QCOMPARE(c.rig->form->pages.pos->DefPosUD->position(), 0);
    QCOMPARE(c.rig->w<QLineEdit>("DefPosEdit")->text(), u"0"_s);
}

void TstPos::writeFrames_data()
{
    WriteRow::columns();
    const int pos = Pages::PosTab, easy = Pages::EasyTab, easy2 = Pages::Easy2Tab;
    WriteRow::add("Position Load 12", pos, "PosLoad", "item", "12", "84820C");
    WriteRow::add("Position Load 64", pos, "PosLoad", "item", "64", "848240");
    WriteRow::add("Load (EASY)", easy, "load_pos", "press", "", "848201");
    WriteRow::add("Save the lens now (EASY)", easy, "save_pos", "press", "", "849001");
    WriteRow::add("Read", pos, "PosReadx", "press", "", "840301");
    WriteRow::add("Current Read", pos, "PosNowRead", "press", "", "8405");
    WriteRow::add("Position No. Display", pos, "OSDM", "tick", "", "848301");
    WriteRow::add("Position OSD (EASY)", easy, "PoOSD", "item", "1", "848301");
    WriteRow::add("Alarm Send", pos, "AlSave", "press", "", "848501");
    WriteRow::add("Alarm Send (EASY)", easy, "AlSaveE", "press", "", "848501");
    WriteRow::add("Default Send", pos, "DefPosSave", "press", "", "848D01");
    WriteRow::add("power-on position number (EASY2)", easy2, "P_ON_P_UpDown", "up", "", "848D02");
    WriteRow::add("power-on position (EASY2)", easy2, "P_ON_POS", "item", "1", "848F01");
}

void TstPos::writeFrames()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig(4, 0); // a camera that answers at any speed connects at once
    rig.peer.script = WindowRig::refusing;
    QVERIFY(rig.openPage(w.tab));
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstPos::offMovesNowhere()
{
    WindowRig rig(4, 0); // a camera that answers at any speed connects at once
    rig.peer.script = WindowRig::refusing;
    QVERIFY(rig.openPage(Pages::PosTab));
    auto *load = rig.w<kit::RadioGroup>("PosLoad");
    load->button(3)->click();
    QVERIFY(rig.settle());
    QCOMPARE(rig.requestTexts(), requestTexts({"848203"}));
    load->button(0)->click();
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 1);
    // Nothing to store: an empty zoom sends nothing.
    rig.w<QPushButton>("PosSave")->click();
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 1);
}

void TstPos::saveStoresZoomThenFocus_data()
{
    QTest::addColumn<QString>("zoom");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("invalid"); // the edit marked, if any
    QTest::newRow("zoom and focus") << u"0123"_s << u"0456"_s << requestTexts({"848005007B", "84810501C8"})
                                    << QString();
    QTest::newRow("an empty focus stores the zoom only") << u"0123"_s << QString() << requestTexts({"848005007B"})
                                                         << QString();
    QTest::newRow("a short focus stores the zoom only") << u"-005"_s << u"045"_s << requestTexts({"848005FFFB"})
                                                        << QString();
    QTest::newRow("a focus that is no position is not stored")
        << u"0123"_s << u"12x4"_s << requestTexts({"848005007B"}) << u"PosFocus"_s;
    QTest::newRow("a short zoom stores nothing") << u"012"_s << u"0456"_s << QStringList{} << QString();
    QTest::newRow("a zoom that is no position stores nothing")
        << u"01a3"_s << u"0456"_s << QStringList{} << u"PosZoom"_s;
}

void TstPos::saveStoresZoomThenFocus()
{
    QFETCH(QString, zoom);
    QFETCH(QString, focus);
    QFETCH(QStringList, frames);
    QFETCH(QString, invalid);
    PosRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    PosPage *pos = rig->form->pages.pos;
    pos->PosSaveUD->setPosition(5);
    pos->PosZoom->setText(zoom);
    pos->PosFocus->setText(focus);
    const qsizetype before = rig->peer.requests.size();
    rig->w<QPushButton>("PosSave")->click();
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before), frames);
    for (kit::Edit *e : {pos->PosZoom, pos->PosFocus})
        QCOMPARE(e->isInvalid(), e->objectName() == invalid);

    // The camera keeps what was sent, and its answers show it.
    const camsim::LensPreset &p = c.camera->presets()[4];
    QCOMPARE(p.zoom, frames.isEmpty() ? uint16_t(0) : conv::signedDisplayToU16(zoom));
    QCOMPARE(p.focus, frames.size() == 2 ? conv::signedDisplayToU16(focus) : uint16_t(0));
    QCOMPARE(pos->PosZoom->text(), zoom);
    QCOMPARE(pos->PosFocus->text(), focus);
}

void TstPos::readAndCurrentRead()
{
    PosRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    c.camera->presets()[2] = camsim::LensPreset{0x0400, 0x0010, {}};
    c.camera->lensNow().zoom.position = 0x0200;
    c.camera->lensNow().focus.position = -20;
    PosPage *pos = rig->form->pages.pos;

    // 'Read': the second half of the refresh, for the preset chosen.
    pos->PosSaveUD->stepUp();
    pos->PosSaveUD->stepUp();
    qsizetype before = rig->peer.requests.size();
    rig->w<QPushButton>("PosReadx")->click();
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before), presetReads(3));
    QCOMPARE(pos->PosZoom->text(), u"1024"_s);
    QCOMPARE(pos->PosFocus->text(), u"0016"_s);

    // 'Current Read': the same shape of chain for the lens now.
    before = rig->peer.requests.size();
    rig->w<QPushButton>("PosNowRead")->click();
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before), requestTexts({"8405", "8406", "8414", "8415", "8416"}));
    QCOMPARE(pos->PosZoom->text(), u"0512"_s);
    QCOMPARE(pos->PosFocus->text(), u"-020"_s);
}

void TstPos::loadMovesTheLens()
{
    PosRig c(true); // the lens moves with real time
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    // Store zoom 0100 in preset 3, move there, and read the lens when it has arrived.
    PosPage *pos = rig->form->pages.pos;
    pos->PosSaveUD->setPosition(3);
    pos->PosZoom->setText(u"0100"_s);
    pos->PosFocus->setText(u"0300"_s);
    rig->w<QPushButton>("PosSave")->click();
    QVERIFY(c.settle());
    rig->w<kit::RadioGroup>("PosLoad")->button(3)->click();
    QVERIFY(c.settle());
    QCOMPARE(frameText(rig->peer.requests.last()), frameText(requestFrame("848203")));
    QString lens;
    for (int i = 0; i < 30 && lens != u"0100 0300"_s; ++i) {
        QTest::qWait(100);
        rig->w<QPushButton>("PosNowRead")->click();
        QVERIFY(c.settle());
        lens = pos->PosZoom->text() + u' ' + pos->PosFocus->text();
    }
    QCOMPARE(lens, u"0100 0300"_s);
}

void TstPos::powerOnPositionOfTheEasy2Page()
{
    WindowRig rig(4, 0); // a camera that answers at any speed connects at once
    rig.peer.script = WindowRig::refusing;
    QVERIFY(rig.openPage(Pages::Easy2Tab));
    rig.form->link.LinkBusy = 1; // as a decoder applies it
    rig.form->pages.pos->PONPOSSet(ResponseFrame::of(0x84, 0x10, 1, 9));
    rig.form->link.release();
    QCOMPARE(rig.w<kit::RadioGroup>("P_ON_POS")->itemIndex(), 1);
    QCOMPARE(rig.w<kit::UpDown>("P_ON_P_UpDown")->position(), 9);
    QCOMPARE(rig.w<QLineEdit>("P_ON_POS_E")->text(), u"9"_s);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 0);
    // The EASY2 read of the same item.
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.form->pages.pos->PONPOSRead();
    QTRY_COMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8410")));
}

void TstPos::repeatTestAlternatesAndSharesThePhase()
{
    PosRig c;
    QVERIFY(c.rig && c.show());
    WindowRig *rig = c.rig.get();
    PosPage *pos = rig->form->pages.pos;
    QCOMPARE(pos->Pos_TestTimer1->interval(), 5000);
    rig->w<QCheckBox>("Pos_Repeat")->click();
    QVERIFY(pos->Pos_TestTimer1->isActive());
    auto *time = rig->w<kit::RadioGroup>("Pos_Repeat_time");
    time->button(1)->click();
    QCOMPARE(pos->Pos_TestTimer1->interval(), 2000);
    time->button(9)->click();
    QCOMPARE(pos->Pos_TestTimer1->interval(), 10000);

    auto tick = [&] {
        const qsizetype before = rig->peer.requests.size();
        pos->Pos_TestTimer1Timer();
        (void)c.settle();
        return rig->requestTexts(before);
    };
    QCOMPARE(tick(), requestTexts({"848201"}));
    QCOMPARE(tick(), requestTexts({"848202"}));
    QCOMPARE(tick(), requestTexts({"848201"}));
    // The phase is the lens test's too: a lens tick in between moves it on.
    rig->form->pages.len->RepeatPhase = !rig->form->pages.len->RepeatPhase;
    QCOMPARE(tick(), requestTexts({"848201"}));

    // Busy at a tick: nothing is sent, the phase flips anyway.
    c.unanswered.insert(0x8483);
    rig->w<QCheckBox>("OSDM")->click();
    QTRY_VERIFY(!rig->idle());
    const qsizetype busyAt = rig->peer.requests.size();
    pos->Pos_TestTimer1Timer();
    QCOMPARE(rig->peer.requests.size(), busyAt);
    rig->peer.sendFrame(0x84, 0x83, 1);
    QVERIFY(c.settle());
    QCOMPARE(tick(), requestTexts({"848201"}));

    // On another page the next tick stops the test and clears 'Repeat'.
    rig->showPage(Pages::LenTab);
    QVERIFY(c.settle());
    QCOMPARE(tick(), QStringList{});
    QVERIFY(!pos->Pos_TestTimer1->isActive());
    QVERIFY(!rig->w<QCheckBox>("Pos_Repeat")->isChecked());
}

void TstPos::chainStops_data()
{
    QTest::addColumn<int>("category"); // the answer to the third read (the last preset number)
    QTest::addColumn<int>("item");
    QTest::newRow("error bit 0x40") << 0xC4 << 0x02;
    QTest::newRow("error bit 0x20") << 0xA4 << 0x02;
    QTest::newRow("another category") << 0x83 << 0x02;
    QTest::newRow("an item the page does not know") << 0x84 << 0x7F;
    QTest::newRow("the answer to a load") << 0x84 << 0x82;
}

void TstPos::chainStops()
{
    QFETCH(int, category);
    QFETCH(int, item);
    PosRig c;
    QVERIFY(c.rig);
    WindowRig *rig = c.rig.get();
    c.unanswered.insert(0x8402);
    c.camera->live().alarmPosition = 7;
    // The EASY page's refresh at the connection filled the preset: start it anew.
    rig->quietly([&] { rig->form->pages.pos->PosLoad->setItemIndex(-1); });
    const qsizetype before = rig->peer.requests.size();
    rig->showPage(Pages::PosTab);
    QTRY_COMPARE(rig->peer.requests.size(), before + 3);
    rig->peer.sendFrame(uint8_t(category), uint8_t(item), 9, 9, 9);
    QVERIFY(c.settle());
    QCOMPARE(rig->requestTexts(before), requestTexts({"8400", "8401", "8402"}));
    QCOMPARE(rig->form->pages.pos->AlSaveUD->position(), 7);
    QCOMPARE(rig->form->pages.pos->PosLoad->itemIndex(), -1);
    QCOMPARE(rig->form->pages.pos->PosSaveUD->position(), 1);
}

QTEST_MAIN(TstPos)
#include "tst_pos.moc"
