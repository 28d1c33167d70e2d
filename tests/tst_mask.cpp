// The privacy masks against the simulated camera on a pseudo-terminal: the MASK page's
// counter-driven refresh and its signed displays, every write of both views with and without
// 'EEPROM SAVE', the move and resize buttons of the EASY2 copy with clamping, 'Reverse' and
// 'Connect', the re-read after writes by form type, busy drops and error replies.
#include "pages/easy2page.h"
#include "pages/maskpage.h"
#include "support/camerarig.h"

#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaskChain = 1 + 10 * 4 + 2;   // on/off, ten items for four masks, P/T/Z, reversal

// The MASK page's refresh in order.
QStringList maskChainTexts()
{
    QStringList out{requestText("8810")};
    for (const char *item : {"11", "12", "14", "15", "16", "17", "18", "19", "1A", "1B"})
        for (int m = 0; m < 4; ++m)
            out << requestText(QByteArray("88") + item + "0" + QByteArray::number(m));
    out << requestText("8320") << requestText("860A");
    return out;
}

void showMaskTab(CameraRig &c)
{
    // The tab is hidden in every form type; a test shows it as an implementation may.
    c.rig->form->PageControl1->setTabVisible(Pages::MaskTab, true);
}

int key(uint8_t category, uint8_t item)
{
    return category << 8 | item;
}

} // namespace

class TstMask : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsEveryGroup();
    void writes_data();
    void writes();
    void moveAndResize_data();
    void moveAndResize();
    void rereadAfterWrites_data();
    void rereadAfterWrites();
    void positionWriteReachesEveryView();
    void busyDrops();
    void errorRepliesStopTheChain_data();
    void errorRepliesStopTheChain();
    void replyForAnotherMaskEndsTheEasy2Chain();
};

void TstMask::refreshFillsEveryGroup()
{
    CameraRig c;
    QVERIFY(c.rig);
    camsim::Settings &s = c.camera->live();
    s.maskOn = 0b1010;
    // Mask A: middle 55 (centre 80) and half-width 10: -25, which is -200 in sensor units.
    s.mask1HStart = 45, s.mask1HEnd = 65, s.mask1VStart = 50, s.mask1VEnd = 70;
    // Mask C at the far left and the bottom: -80 and 60.
    s.mask3HStart = 0, s.mask3HEnd = 0, s.mask3VStart = 110, s.mask3VEnd = 130;
    s.maskHRevision = 0xFFFB;   // -5
    s.maskVRevision = 7;
    s.dptPan = 0xF0, s.dptTilt = 0x10, s.dptWidth = 40;
    s.hReverse = 1;
    showMaskTab(c);
    QVERIFY(c.show(Pages::MaskTab, MaskChain));
    // Only reads: applying the replies wrote nothing back.
    QCOMPARE(texts(c.rig->peer.requests), maskChainTexts());

    MaskPage *m = c.rig->form->pages.mask;
    QCOMPARE(m->MASKOnOff[0]->itemIndex(), 0);
    QCOMPARE(m->MASKOnOff[1]->itemIndex(), 1);
    QCOMPARE(m->MASKOnOff[3]->itemIndex(), 1);
    const std::pair<const char *, const char *> shown[] = {
        {"MASK1_HP", "-25"}, {"MASK1_VP", "0"},   {"MASK1_W", "10"},    {"MASK1_H", "10"},
        {"MASK3_HP", "-80"}, {"MASK3_VP", "60"},  {"MASK3_W", "0"},
        {"MASK1_WHP", "-200"}, {"MASK1_WW", "80"}, {"MASK3_WVP", "480"},
        {"MASK1_RHP", "-205"}, {"MASK1_RVP", "7"}, {"MASK3_RHP", "-645"},
        {"dpt1_xe", "-16"},  {"dpt1_ye", "16"},   {"dpt1_we", "40"},
    };
    for (const auto &[name, text] : shown)
        QVERIFY2(c.rig->w<QLineEdit>(name)->text() == QLatin1String(text),
                 qPrintable(QLatin1String(name) + u" shows "_s + c.rig->w<QLineEdit>(name)->text()));
    QCOMPARE(m->Group2UD[0][0]->position(), -200);
    QCOMPARE(m->MaHRev->itemIndex(), 1);
    QCOMPARE(m->MaVRev->itemIndex(), 0);
    QVERIFY(!m->MASKTimer1->isActive());

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOTS"); !dir.isEmpty()) {
        c.rig->form->resize(1320, 780);
        QTest::qWait(50);
        c.rig->form->grab().save(dir + u"/mask.png"_s);
    }
}

void TstMask::writes_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("save");   // the 'EEPROM SAVE' box ticked first, or none
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("frame");
    int tab = Pages::MaskTab;
    const auto row = [&tab](const char *name, const char *save, const char *control, const char *action,
                            const char *value, const char *frame) {
        QTest::newRow(name) << tab << QString::fromLatin1(save) << QString::fromLatin1(control)
                            << QString::fromLatin1(action) << QString::fromLatin1(value) << QByteArray(frame);
    };
    // The MASK page: on/off carries the box in data 3; the up-downs send their pair.
    row("B on", "", "MASK2OnOff", "item", "1", "88900101");
    row("B on saved", "pm_save", "MASK2OnOff", "item", "1", "8890010101");
    row("A H position down: signed", "", "MASK1_HPUD", "down", "1", "889100FF00");
    row("B V position up", "", "MASK2_VPUD", "up", "1", "8891010001");
    row("D H position up saved", "pm_save", "MASK4_HPUD", "up", "1", "8892030100");
    row("D width up", "", "MASK4_WUD", "up", "1", "8893030100");
    row("C height up saved", "pm_save", "MASK3_HUD", "up", "1", "8894020001");
    row("P/T/Z X", "", "dpt1_xud", "up", "1", "83C0010008");
    row("P/T/Z Y", "", "dpt1_yud", "down", "1", "83C000FF08");
    row("P/T/Z W in steps of 2", "", "dpt1_wud", "up", "1", "83C000000A");
    row("P/T/Z cancel", "", "dpt1_cancel", "press", "", "83C1");
    row("no-save H reverse", "", "MaHRev", "item", "1", "868801");
    row("no-save V reverse", "", "MaVRev", "item", "1", "868901");
    // The EASY2 copy: the even item stores.
    tab = Pages::Easy2Tab;
    row("C on", "", "MASK3OnOffE", "item", "1", "88810201");
    row("C on saved", "pm_saveE", "MASK3OnOffE", "item", "1", "88800201");
    row("D connect", "", "MASK4Conn", "tick", "", "88830301");
    row("D connect saved", "pm_saveE", "MASK4Conn", "tick", "", "88820301");
    row("A H end up", "", "MASK1_HEUD", "up", "1", "8885000001");
    row("A H start up saved", "pm_saveE", "MASK1_HSUD", "up", "1", "8884000100");
    row("B V start up", "", "MASK2_VSUD", "up", "1", "8887010100");
    row("D V end up saved", "pm_saveE", "MASK4_VEUD", "up", "1", "8886030001");
}

void TstMask::writes()
{
    QFETCH(int, tab);
    QFETCH(QString, save);
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QString, value);
    QFETCH(QByteArray, frame);
    CameraRig c;
    QVERIFY(c.rig);
    c.refused = {key(0x81, 0x00), key(0x88, 0x10)};   // both views stay as laid out
    showMaskTab(c);
    QVERIFY(c.show(tab, 1));
    if (!save.isEmpty())
        QVERIFY(c.rig->act(save, u"tick"_s, {}));
    QVERIFY(c.settle());
    QCOMPARE(c.rig->peer.requests.size(), 1);   // the box itself sends nothing
    c.silent = true;
    QCOMPARE(c.framesOf([&] { QVERIFY(c.rig->act(control, action, value)); }), QStringList{requestText(frame)});
}

void TstMask::moveAndResize_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("q");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<QList<int>>("before");   // H start, H end, V start, V end
    QTest::addColumn<QList<int>>("after");
    QTest::addColumn<QByteArray>("frame");
    using L = QList<int>;
    QTest::newRow("up clamps the start") << 0 << u"mask_up"_s << 5 << false << false << L{0, 0, 3, 40}
                                         << L{0, 0, 0, 35} << QByteArray("8887000023");
    QTest::newRow("down clamps both") << 3 << u"mask_down"_s << 5 << false << false << L{0, 0, 250, 254}
                                      << L{0, 0, 255, 255} << QByteArray("888703FFFF");
    QTest::newRow("left") << 1 << u"mask_left"_s << 3 << false << false << L{50, 60, 0, 0}
                          << L{47, 57, 0, 0} << QByteArray("8885012F39");
    QTest::newRow("left: Reverse alone does nothing") << 1 << u"mask_left"_s << 3 << false << true
                                                       << L{50, 60, 0, 0} << L{47, 57, 0, 0} << QByteArray("8885012F39");
    QTest::newRow("left: Connect alone does nothing") << 1 << u"mask_left"_s << 3 << true << false
                                                       << L{50, 60, 0, 0} << L{47, 57, 0, 0} << QByteArray("8885012F39");
    QTest::newRow("left connected and reversed adds") << 1 << u"mask_left"_s << 3 << true << true
                                                       << L{50, 60, 0, 0} << L{53, 63, 0, 0} << QByteArray("888501353F");
    QTest::newRow("right") << 2 << u"mask_right"_s << 20 << false << false << L{0, 0, 0, 0}
                           << L{20, 20, 0, 0} << QByteArray("8885021414");
    QTest::newRow("up connected and reversed goes down") << 3 << u"mask_up"_s << 4 << true << true
                                                          << L{0, 0, 10, 20} << L{0, 0, 14, 24} << QByteArray("8887030E18");
    QTest::newRow("high: size ignores Reverse") << 2 << u"mask_high"_s << 2 << true << true << L{0, 0, 10, 20}
                                                << L{0, 0, 8, 22} << QByteArray("8887020816");
    QTest::newRow("low") << 3 << u"mask_low"_s << 1 << false << false << L{0, 0, 50, 60}
                         << L{0, 0, 51, 59} << QByteArray("888703333B");
    QTest::newRow("wide clamps both ends") << 0 << u"mask_wide"_s << 10 << false << false << L{2, 250, 0, 0}
                                           << L{0, 255, 0, 0} << QByteArray("88850000FF");
    QTest::newRow("narrow may cross") << 1 << u"mask_narrow"_s << 10 << false << false << L{100, 104, 0, 0}
                                      << L{110, 94, 0, 0} << QByteArray("8885016E5E");
}

void TstMask::moveAndResize()
{
    QFETCH(int, mask);
    QFETCH(QString, button);
    QFETCH(int, q);
    QFETCH(bool, connected);
    QFETCH(bool, reverse);
    QFETCH(QList<int>, before);
    QFETCH(QList<int>, after);
    QFETCH(QByteArray, frame);
    CameraRig c;
    QVERIFY(c.rig);
    c.refused = {key(0x81, 0x00)};   // the page stays as laid out
    QVERIFY(c.show(Pages::Easy2Tab, 1));
    Easy2Page *e = c.rig->form->pages.easy2;
    const auto i = size_t(mask);
    kit::UpDown *pair[] = {e->MASK_HSUD[i], e->MASK_HEUD[i], e->MASK_VSUD[i], e->MASK_VEUD[i]};
    c.rig->quietly([&] {
        for (int k = 0; k < 4; ++k)
            pair[k]->setPosition(before[k]);
        e->mask_sel->setItemIndex(mask);
        e->mask_q_UpDown->setPosition(q);
        e->MASKConn[i]->setChecked(connected);
        e->mask_reverse->setChecked(reverse);
    });
    c.silent = true;
    QCOMPARE(c.framesOf([&] { c.rig->w<QPushButton>(button.toLatin1().constData())->click(); }),
             QStringList{requestText(frame)});
    for (int k = 0; k < 4; ++k)
        QCOMPARE(pair[k]->position(), after[k]);
    QCOMPARE(pair[0]->associate()->text(), QString::number(after[0]));
}

void TstMask::rereadAfterWrites_data()
{
    QTest::addColumn<int>("formType");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("reread");
    QTest::newRow("position, User: none") << 1 << u"MASK1_HPUD"_s << false;
    QTest::newRow("position, Tool: re-read") << 3 << u"MASK1_HPUD"_s << true;
    QTest::newRow("size, Tool: re-read") << 3 << u"MASK2_HUD"_s << true;
    QTest::newRow("on/off, Tool: none") << 3 << u"MASK1OnOff"_s << false;
    QTest::newRow("P/T/Z, User: re-read") << 1 << u"dpt1_xud"_s << true;
    QTest::newRow("P/T/Z cancel, User: re-read") << 1 << u"dpt1_cancel"_s << true;
}

void TstMask::rereadAfterWrites()
{
    QFETCH(int, formType);
    QFETCH(QString, control);
    QFETCH(bool, reread);
    CameraRig c;
    QVERIFY(c.rig);
    c.rig->form->FormType->setItemIndex(formType);
    showMaskTab(c);
    QVERIFY(c.show(Pages::MaskTab, MaskChain));
    MaskPage *m = c.rig->form->pages.mask;
    c.rig->peer.requests.clear();
    const bool acted = control == u"MASK1OnOff"_s ? c.rig->act(control, u"item"_s, u"1"_s)
                       : control == u"dpt1_cancel"_s ? c.rig->act(control, u"press"_s, {})
                                                      : c.rig->act(control, u"up"_s, u"1"_s);
    QVERIFY(acted);
    QVERIFY(c.settle());
    QCOMPARE(c.rig->peer.requests.size(), 1);   // the write and its answer
    QCOMPARE(m->MASKTimer1->isActive(), reread);
    if (reread) {
        // About a second later the whole page is read again.
        QVERIFY(runUntil([&] { return c.rig->peer.requests.size() >= 1 + MaskChain && c.idle(); }, 4000));
        QCOMPARE(texts(c.rig->peer.requests, 1), maskChainTexts());
        QVERIFY(!m->MASKTimer1->isActive());
    }
}

void TstMask::positionWriteReachesEveryView()
{
    CameraRig c;
    QVERIFY(c.rig);
    c.rig->form->FormType->setItemIndex(3);   // 'Tool': the page reads itself again
    camsim::Settings &s = c.camera->live();
    s.mask2HStart = 70, s.mask2HEnd = 90, s.mask2VStart = 50, s.mask2VEnd = 70;   // centred, 10 x 10
    s.maskHRevision = 3;
    showMaskTab(c);
    QVERIFY(c.show(Pages::MaskTab, MaskChain));
    MaskPage *m = c.rig->form->pages.mask;
    QCOMPARE(m->MASK_HPUD[1]->position(), 0);
    c.rig->quietly([&] { m->MASK_HPUD[1]->setPosition(-4); });
    m->MASK_HPUD[1]->stepDown();
    QVERIFY(c.settle());
    QCOMPARE(texts(c.rig->peer.requests, c.rig->peer.requests.size() - 1),
             QStringList{requestText("889101FB00")});
    // The re-read shows the camera's new figures in both 16-bit groups.
    QVERIFY(runUntil([&] { return m->Group2UD[0][1]->position() == -40 && c.idle(); }, 4000));
    QVERIFY(c.settle());
    QCOMPARE(c.rig->w<QLineEdit>("MASK2_WHP")->text(), u"-40"_s);
    QCOMPARE(c.rig->w<QLineEdit>("MASK2_RHP")->text(), u"-37"_s);
    QCOMPARE(c.rig->w<QLineEdit>("MASK2_HP")->text(), u"-5"_s);
    // ... and the EASY2 copy shows the moved start and end.
    QVERIFY(c.show(Pages::Easy2Tab, 19));
    QCOMPARE(c.rig->w<QLineEdit>("MASK2_HS")->text(), u"65"_s);
    QCOMPARE(c.rig->w<QLineEdit>("MASK2_HE")->text(), u"85"_s);
}

void TstMask::busyDrops()
{
    CameraRig c;
    QVERIFY(c.rig);
    c.refused = {key(0x81, 0x00)};
    QVERIFY(c.show(Pages::Easy2Tab, 1));
    Easy2Page *e = c.rig->form->pages.easy2;
    c.rig->quietly([&] {
        e->MASK_VSUD[0]->setPosition(10);
        e->MASK_VEUD[0]->setPosition(20);
    });
    // A request left outstanding.
    c.unanswered = {key(0x81, 0x00)};
    c.rig->peer.requests.clear();
    c.rig->form->SW1Click();
    QVERIFY(runUntil([&] { return c.rig->peer.requests.size() == 1; }));
    QVERIFY(!c.idle());
    c.rig->peer.requests.clear();
    // The move buttons check first and change nothing.
    e->mask_up->click();
    QCOMPARE(e->MASK_VSUD[0]->position(), 10);
    QCOMPARE(e->MASK_VEUD[0]->position(), 20);
    // An up-down has moved under the user's click, but nothing is sent.
    e->MASK_VSUD[0]->stepUp();
    QCOMPARE(e->MASK_VSUD[0]->position(), 11);
    e->MASKOnOffE[0]->button(1)->click();
    runFor(60);
    QCOMPARE(c.rig->peer.requests.size(), 0);
}

void TstMask::errorRepliesStopTheChain_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("sent");
    QTest::newRow("MASK: group 2 V P") << int(Pages::MaskTab) << key(0x88, 0x15) << 1 + 4 + 4 + 4 + 1;
    QTest::newRow("MASK: P/T/Z") << int(Pages::MaskTab) << key(0x83, 0x20) << 1 + 40 + 1;
    QTest::newRow("EASY2: mask H") << int(Pages::Easy2Tab) << key(0x88, 0x01) << 12;
    QTest::newRow("EASY2: blue back") << int(Pages::Easy2Tab) << key(0x86, 0x13) << 9;
}

void TstMask::errorRepliesStopTheChain()
{
    QFETCH(int, tab);
    QFETCH(int, refused);
    QFETCH(int, sent);
    CameraRig c;
    QVERIFY(c.rig);
    c.refused = {refused};
    showMaskTab(c);
    QVERIFY(c.show(tab, sent));
    QCOMPARE(c.rig->peer.requests.size(), sent);
    QCOMPARE(c.rig->peer.requests.last()[0] << 8 | c.rig->peer.requests.last()[1], refused);
    QVERIFY(!c.rig->form->pages.mask->MASKTimer1->isActive());
}

void TstMask::replyForAnotherMaskEndsTheEasy2Chain()
{
    CameraRig c;
    QVERIFY(c.rig);
    // A camera that always reports mask A.
    c.before = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x88 && r[1] == 0x01)
            return PtyPeer::reply(0x88, 0x01, 0, 5, 6);
        return std::nullopt;
    };
    QVERIFY(c.show(Pages::Easy2Tab, 13));
    QCOMPARE(c.rig->peer.requests.size(), 13);
    QCOMPARE(texts(c.rig->peer.requests, 11), requestTexts({"880100", "880101"}));
    // Applied by the reply's own mask number.
    QCOMPARE(c.rig->form->pages.easy2->MASK_HEUD[0]->position(), 6);
}

QTEST_MAIN(TstMask)
#include "tst_mask.moc"
