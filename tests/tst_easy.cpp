// The EASY page against the simulated camera: the long refresh that reads the title and then
// the values of every twin page, the title written and read through its code table, the
// page's own writes, the OSD keys and their key state, the marker, the shortened chain after
// an exposure write, and error replies ending a chain or a title write.
#include "link/link.h"
#include "pages/alcpage.h"
#include "pages/blcpage.h"
#include "pages/colorpage.h"
#include "pages/easypage.h"
#include "pages/eeppage.h"
#include "pages/facpage.h"
#include "pages/lenspage.h"
#include "pages/otherpage.h"
#include "support/camerarig.h"

#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Easy = Pages::EasyTab;

// The whole refresh: 20 title characters, then the values of the other pages.
QStringList easyChain()
{
    QStringList out;
    for (int k = 1; k <= EasyPage::TitleLength; ++k)
        out << requestText("8000" + QByteArray::number(k, 16).rightJustified(2, '0'));
    return out + requestTexts({"8001", "8100", "8110", "8120", "8130", "8131", "8132", "8140", "8200", "8201",
                               "8202", "8203", "8A00", "8400", "8401", "8402", "8911", "8910", "8600", "8601",
                               "8602", "8603", "8604", "8608", "8609", "8610", "8611", "860A", "8612", "8300",
                               "8301", "8302", "8303", "8304", "8309", "830A", "8305"});
}

// A title write as the camera receives it: character k with its code.
QStringList titleWrite(const QList<uint16_t> &codes)
{
    QStringList out;
    for (int k = 1; k <= EasyPage::TitleLength; ++k) {
        const uint16_t code = k <= codes.size() ? codes[k - 1] : 0x007E;
        out << requestText("8080" + QByteArray::number(k << 16 | code, 16).rightJustified(6, '0'));
    }
    return out;
}

// The window against the simulated camera; the EASY page is shown from the start.
struct EasyRig : CameraRig
{
    // Reads the page again as Camera > 'LOAD' does and waits for `requests` reads (the whole
    // refresh by default); the requests then hold that chain.
    bool show(int requests = int(easyChain().size()))
    {
        rig->peer.requests.clear();
        rig->form->SW1Click();
        return runUntil([&] { return idle() && rig->peer.requests.size() >= requests; }) && settle();
    }
    EasyPage *easy() const { return rig->form->pages.easy; }
};

} // namespace

class TstEasy : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsEveryTwin();
    void titleCodesBothWays_data();
    void titleCodesBothWays();
    void brokenTitleWriteKeepsSetDisabled();
    void ownWriteFrames_data();
    void ownWriteFrames();
    void keysUpdateTheKeyState();
    void markerMovesByTheStep();
    void exposureWriteShortensTheChain_data();
    void exposureWriteShortensTheChain();
    void chainStops_data();
    void chainStops();
    void titleAnswerOutOfRangeEnds_data();
    void titleAnswerOutOfRangeEnds();
};

void TstEasy::refreshFillsEveryTwin()
{
    EasyRig c;
    QVERIFY(c.rig);
    camsim::Camera &cam = *c.camera;
    cam.setTitleText(u"Orvik~Cam 7"_s);
    cam.title()[18] = 0xFFFF;   // codes no character has
    cam.title()[19] = 0x0040;
    camsim::Settings &s = cam.live();
    s.titleDisplay = 0, s.titlePosition = 1, s.commId = 42, s.twoStopBits = 1, s.marker = 1;
    s.menuOpen = 1, s.zoomFocusKeys = 1;
    s.agcLevel = 6, s.sensLevel = 2, s.alcMode = 1, s.aesMode = 1;
    s.blc = 1, s.blcRow1 = 0x81, s.wbMode = 1, s.ryGain = 7, s.byGain = 2, s.hGain = 9, s.vGain = 11;
    s.presetFlag = 1, s.hReverse = 1, s.phaseOn = 1, s.phase = 300, s.freeze = 1, s.gamma = 1;
    s.language = 2, s.dayNight = 2, s.pushSw = 1;
    s.zoomSpeed = 3, s.focusSpeed = 1, s.digitalZoomMax = 4, s.autoFocus = 1;
    s.positionOsd = 1, s.alarmPosition = 7, s.lastPreset = 12;

    QVERIFY(c.show());
    // Reads only, in the decoder's order: applying a reply writes nothing back.
    QCOMPARE(c.rig->requestTexts(), easyChain());

    const Pages &p = c.rig->form->pages;
    EasyPage *e = p.easy;
    QCOMPARE(e->CName->text(), u"Orvik~Cam 7       ??"_s);
    QVERIFY(e->SetTitle->isEnabled());
    QCOMPARE(e->CommUpDown->position(), 42);
    QCOMPARE(e->CommID->text(), u"42"_s);
    QCOMPARE(e->Label178->text(), u"38,400"_s);
    QCOMPARE(e->Label182->text(), u"2bit"_s);
    QCOMPARE(e->C_Menu->text(), u"ON"_s);
    QCOMPARE(e->C_SW->text(), u"Z/F Key"_s);
    QCOMPARE(p.eep->SW_Mode->text(), u"Z/F Key"_s);
    const std::pair<kit::RadioGroup *, int> groups[] = {
        {e->TitleDisp, 0}, {e->TitlePos, 1}, {e->CommMode, 0}, {e->Mark, 1},   {e->ALCE, 1},
        {p.alc->ALC, 1},   {e->AESE, 1},     {e->BLCE, 1},     {p.blc->BLC, 1}, {e->wb_select, 1},
        {p.col->Color, 1}, {e->Default, 1},  {p.oth->Preset, 0}, {e->Sync, 1}, {e->FreezeE, 1},
        {e->GammaE, 1},    {p.oth->Gamma, 1}, {e->langu_sel, 2}, {e->chromaE, 2}, {p.fac->FDayNight, 0},
        {e->PushSW, 1},    {e->DigitalZoom, 4}, {p.len->DZoomNew, 4}, {e->PoOSD, 1},
    };
    for (const auto &[group, index] : groups)
        QVERIFY2(group->itemIndex() == index, qPrintable(group->objectName()));
    const std::pair<QSlider *, int> bars[] = {
        {e->AGCBar, 6}, {e->SENSBar, 2}, {e->Rgain, 7}, {e->BGain, 2}, {e->HGainBar, 9}, {e->VGainBar, 11},
        {e->ZoomSpeedBar, 3}, {e->FocusSpeedBar, 1},
    };
    for (const auto &[bar, value] : bars)
        QVERIFY2(bar->value() == value, qPrintable(bar->objectName()));
    QCOMPARE(p.fac->HGain->itemIndex(), 9);
    QVERIFY(e->BLCCheckE[0]->isChecked() && e->BLCCheckE[7]->isChecked() && !e->BLCCheckE[1]->isChecked());
    QVERIFY(e->HReverse->isChecked());
    QVERIFY(e->AutoFocus->isChecked() && p.len->AFocus->isChecked());
    QCOMPARE(e->PhaseUD->position(), 300);
    QCOMPARE(e->AlarmUpDown1->position(), 7);
    QCOMPARE(e->PosUpDown1->position(), 12);

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        c.rig->form->resize(1320, 780);
        QTest::qWait(50);
        c.rig->form->grab().save(QString::fromLocal8Bit(dir) + u"/easy.png"_s);
    }
}

void TstEasy::titleCodesBothWays_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QList<uint16_t>>("codes");
    QTest::addColumn<QString>("readBack");
    QTest::newRow("AB padded with blanks") << u"AB"_s << QList<uint16_t>{0x41, 0x42} << u"AB"_s;
    QTest::newRow("question mark as a blank") << u"A?B"_s << QList<uint16_t>{0x41, 0x7E, 0x42} << u"A B"_s;
    QTest::newRow("tilde both ways") << u"x~y"_s << QList<uint16_t>{0x78, 0x18, 0x79} << u"x~y"_s;
    QTest::newRow("brackets and braces") << u"[]{}"_s << QList<uint16_t>{0x5B, 0x5D, 0x7B, 0x7D} << u"[]{}"_s;
    QTest::newRow("characters without a code") << u"a\\@|b"_s << QList<uint16_t>{0x61, 0x7E, 0x7E, 0x7E, 0x62}
                                               << u"a   b"_s;
    QTest::newRow("characters above 0x7F") << u"\u00E9\u03A9\u20AC1"_s << QList<uint16_t>{0x7E, 0x7E, 0x7E, 0x31}
                                           << u"   1"_s;
}

void TstEasy::titleCodesBothWays()
{
    QFETCH(QString, title);
    QFETCH(QList<uint16_t>, codes);
    QFETCH(QString, readBack);
    EasyRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    EasyPage *e = c.easy();
    e->CName->setText(title);
    QCOMPARE(c.framesOf([&] { e->SetTitle->click(); }), titleWrite(codes));
    QVERIFY(e->SetTitle->isEnabled());
    for (int k = 0; k < EasyPage::TitleLength; ++k)
        QCOMPARE(c.camera->title()[size_t(k)], k < codes.size() ? codes[k] : uint16_t(0x7E));

    e->CName->clear();
    QVERIFY(c.show());
    QCOMPARE(e->CName->text(), readBack.leftJustified(EasyPage::TitleLength));
}

void TstEasy::brokenTitleWriteKeepsSetDisabled()
{
    EasyRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    EasyPage *e = c.easy();
    e->CName->setText(u"AB"_s);
    c.refused.insert(0x8080);
    QCOMPARE(c.framesOf([&] { e->SetTitle->click(); }), titleWrite({0x41}).mid(0, 1));
    QVERIFY(!e->SetTitle->isEnabled());
    // The next complete title read enables it again.
    c.refused.clear();
    QVERIFY(c.show());
    QVERIFY(e->SetTitle->isEnabled());
}

void TstEasy::ownWriteFrames_data()
{
    WriteRow::columns();
    WriteRow::add("Set: an empty title", Easy, "SetTitle", "press", "", "808001007E");
    WriteRow::add("TitleDisp ON", Easy, "TitleDisp", "set", "1", "8081010000");
    WriteRow::add("TitlePos DOWN", Easy, "TitlePos", "item", "1", "8082010000");
    WriteRow::add("IDset", Easy, "IDset", "press", "", "8990010000");
    WriteRow::add("CommMode 1:N", Easy, "CommMode", "item", "1", "8991010000");
    WriteRow::add("Mark ON", Easy, "Mark", "item", "1", "8A80010000");
    WriteRow::add("Mark right", Easy, "Mark_right", "press", "", "8A83010100");
    WriteRow::add("Mark left", Easy, "Mark_left", "press", "", "8A84010100");
    WriteRow::add("Mark down", Easy, "Mark_down", "press", "", "8A85010100");
    WriteRow::add("Mark up", Easy, "Mark_up", "press", "", "8A86010100");
    WriteRow::add("key UP", Easy, "Button9", "press", "", "8980080000");
    WriteRow::add("key DOWN", Easy, "Button12", "press", "", "8980040000");
    WriteRow::add("key ENTER", Easy, "Button10", "press", "", "8980020000");
    WriteRow::add("key BACK", Easy, "Button11", "press", "", "8980010000");
    WriteRow::add("key COMM.ID", Easy, "IDBu", "press", "", "8980030000");
    WriteRow::add("key VER", Easy, "VERSW", "press", "", "8980050000");
    WriteRow::add("key ZF MODE", Easy, "Button4", "press", "", "89800A0000");
    WriteRow::add("key FREEZE", Easy, "FrBu", "press", "", "89800C0000");
}

void TstEasy::ownWriteFrames()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig;
    rig.peer.script = WindowRig::refusing;   // the page stays unfilled: every item is a change
    QVERIFY(rig.openPage(w.tab));
    // The key group is removed as designed; its keys still send once it is usable.
    rig.form->pages.easy->GroupBox29->setEnabled(true);
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstEasy::keysUpdateTheKeyState()
{
    EasyRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    EasyPage *e = c.easy();
    e->GroupBox29->setEnabled(true);
    QCOMPARE(e->C_SW->text(), u"OSD Key"_s);
    QCOMPARE(c.framesOf([&] { e->Button4->click(); }), requestTexts({"89800A"}));
    QCOMPARE(e->C_SW->text(), u"Z/F Key"_s);
    QCOMPARE(e->C_Menu->text(), u"OFF"_s);
    QCOMPARE(c.framesOf([&] { e->Button10->click(); }), requestTexts({"898002"}));
    QCOMPARE(e->C_Menu->text(), u"ON"_s);
    QCOMPARE(c.rig->form->pages.eep->SW_Menu->text(), u"ON"_s);
}

void TstEasy::markerMovesByTheStep()
{
    EasyRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    EasyPage *e = c.easy();
    const int x = c.camera->live().markerX, y = c.camera->live().markerY;
    e->MarkIUpDown1->stepUp();
    e->MarkIUpDown1->stepUp();
    QCOMPARE(c.framesOf([&] { e->Mark_right->click(); }), requestTexts({"8A830301"}));
    QCOMPARE(c.framesOf([&] { e->Mark_up->click(); }), requestTexts({"8A860301"}));
    QCOMPARE(c.camera->live().markerX, x + 3);
    QCOMPARE(c.camera->live().markerY, y - 3);
}

void TstEasy::exposureWriteShortensTheChain_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("ALC: AES read again") << u"ALCE"_s << requestTexts({"819001", "8120"});
    QTest::newRow("AES: ALC and AES read again") << u"AESE"_s << requestTexts({"81A001", "8110", "8120"});
}

void TstEasy::exposureWriteShortensTheChain()
{
    QFETCH(QString, control);
    QFETCH(QStringList, frames);
    EasyRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    auto *group = c.rig->w<kit::RadioGroup>(control.toLatin1().constData());
    QCOMPARE(c.framesOf([&] { group->button(1)->click(); }), frames);
    // The flag is spent: the next refresh runs whole.
    QVERIFY(c.show());
    QCOMPARE(c.rig->requestTexts(), easyChain());
}

void TstEasy::chainStops_data()
{
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("sent");
    QTest::newRow("title refused") << 0x8000 << 1;
    QTest::newRow("marker refused") << 0x8A00 << 33;
    QTest::newRow("key state refused") << 0x8612 << 49;
}

void TstEasy::chainStops()
{
    QFETCH(int, refused);
    QFETCH(int, sent);
    EasyRig c;
    QVERIFY(c.rig);
    c.refused.insert(refused);
    c.camera->live().commId = 42;
    QVERIFY(c.show(sent));
    QCOMPARE(c.rig->requestTexts(), easyChain().mid(0, sent));
    // The values after the refusal stay as they were.
    QCOMPARE(c.easy()->CommUpDown->position(), sent > 38 ? 42 : 1);
}

void TstEasy::titleAnswerOutOfRangeEnds_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("character");
    QTest::newRow("read answered as character 0") << false << 0;
    QTest::newRow("read answered as character 21") << false << 21;
    QTest::newRow("write answered as character 0") << true << 0;
}

void TstEasy::titleAnswerOutOfRangeEnds()
{
    QFETCH(bool, write);
    QFETCH(int, character);
    EasyRig c;
    QVERIFY(c.rig);
    c.before = [character](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x80 && (r[1] == 0x00 || r[1] == 0x80))
            return PtyPeer::reply(0x80, r[1], uint8_t(character), 0x00, 0x41);
        return std::nullopt;
    };
    EasyPage *e = c.easy();
    const QString before = e->CName->text();
    const QStringList sent = c.framesOf([&] { write ? e->SetTitle->click() : c.rig->form->SW1Click(); });
    QCOMPARE(sent.size(), 1);
    QVERIFY(c.idle());
    QCOMPARE(e->CName->text(), before);
}

QTEST_MAIN(TstEasy)
#include "tst_easy.moc"
