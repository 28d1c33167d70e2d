// The EASY2 page against the simulated camera on a pseudo-terminal: the one-chain refresh
// through the lens, motion, power-on preset and mask copies and every copy it fills on the
// EASY, Oth and Fac pages; every write of the page and of its EASY twins; the copies of the
// sensitivity and day/night replies; writes dropped while the chain runs.
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "pages/otherpage.h"
#include "support/camerarig.h"

#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

int key(uint8_t category, uint8_t item)
{
    return category << 8 | item;
}

} // namespace

class TstEasy2 : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsEveryCopy();
    void writeFrames_data();
    void writeFrames();
    void sensitivityAndDayNightCopies_data();
    void sensitivityAndDayNightCopies();
    void writeWhileTheChainRunsIsDropped();
};

void TstEasy2::refreshFillsEveryCopy()
{
    CameraRig c;
    QVERIFY(c.rig);
    camsim::Settings &s = c.camera->live();
    s.priority = 1, s.agcLevel = 7, s.sensLevel = 3;
    s.dayNight = 3, s.dayNightLevel = 6;   // external switching: beyond the three items
    s.blueBack = 1, s.colorBar = 1;
    s.powerOnPosition = 1, s.defaultPosition = 12;
    s.afMode = 1, s.motion = 1;
    s.maskOn = 0b0101, s.maskConnect = 0b1000;
    s.mask3VStart = 17, s.mask3VEnd = 111;
    // The running figures as a camera might report them.
    c.before = [&](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x81 && r[1] == 0x01)
            return PtyPeer::reply(0x81, 0x01, 0x0A, 0x3C, 0xFF);
        return std::nullopt;
    };
    QVERIFY(c.show(Pages::Easy2Tab, 19));
    QCOMPARE(texts(c.rig->peer.requests),
             requestTexts({"8100", "8101", "8310", "8510", "8511", "8512", "8513", "8610", "8613", "8410",
                           "8800", "880100", "880101", "880102", "880103", "880200", "880201", "880202",
                           "880203"}));

    const std::pair<const char *, int> groups[] = {
        {"ASPriority", 1}, {"AGCLv", 7},     {"SENSLv", 3},      {"FSENS", 1},       {"DayNight", 2},
        {"chromaE", 2},    {"Chroma", 2},    {"FDayNight", 1},   {"DayNightLv", 6},  {"ChromaAutoLv", 6},
        {"BlueBack", 1},   {"ColorBar", 1},  {"P_ON_POS", 1},    {"EAFTRC", 1},      {"MoDetectE", 1},
        {"MASK1OnOffE", 1}, {"MASK2OnOffE", 0}, {"MASK3OnOffE", 1}, {"MASK4OnOffE", 0}, {"FMASK", 1},
    };
    for (const auto &[name, index] : groups)
        QVERIFY2(c.rig->w<kit::RadioGroup>(name)->itemIndex() == index, name);
    QCOMPARE(c.rig->w<QSlider>("AGCBar")->value(), 7);
    QCOMPARE(c.rig->w<QSlider>("SENSBar")->value(), 3);
    QVERIFY(c.rig->w<QCheckBox>("MASK4Conn")->isChecked());
    QVERIFY(!c.rig->w<QCheckBox>("MASK1Conn")->isChecked());
    const std::pair<const char *, const char *> shown[] = {
        {"ALCNow", "0A"}, {"AGCNow", "3C"}, {"AESNow", "FF"}, {"P_ON_POS_E", "12"},
        {"MASK1_HS", "60"}, {"MASK1_HE", "100"}, {"MASK3_VS", "17"}, {"MASK_3VE", "111"},
    };
    for (const auto &[name, text] : shown)
        QVERIFY2(c.rig->w<QLineEdit>(name)->text() == QLatin1String(text), name);

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOTS"); !dir.isEmpty()) {
        c.rig->form->resize(1400, 820);
        QTest::qWait(50);
        c.rig->form->grab().save(dir + u"/easy2.png"_s);
    }
}

void TstEasy2::writeFrames_data()
{
    WriteRow::columns();
    const int e2 = Pages::Easy2Tab, easy = Pages::EasyTab;
    WriteRow::add("AGC level", e2, "AGCLv", "item", "3", "818003");
    WriteRow::add("AGC bar", easy, "AGCBar", "bar", "5", "818005");
    WriteRow::add("SENS level", e2, "SENSLv", "item", "8", "818108");
    WriteRow::add("SENS bar", easy, "SENSBar", "bar", "2", "818102");
    WriteRow::add("priority", e2, "ASPriority", "item", "1", "818201");
    WriteRow::add("day/night", e2, "DayNight", "item", "2", "86A002");
    WriteRow::add("colour on EASY: the same frame", easy, "chromaE", "item", "2", "86A002");
    WriteRow::add("day/night level", e2, "DayNightLv", "item", "4", "86A104");
    WriteRow::add("blue back", e2, "BlueBack", "item", "1", "86B001");
    WriteRow::add("colour bar", e2, "ColorBar", "item", "1", "86B101");
    WriteRow::add("power-on position", e2, "P_ON_POS", "item", "1", "848F01");
    WriteRow::add("power-on preset number", e2, "P_ON_P_UpDown", "up", "1", "848D02");
    WriteRow::add("AF mode", e2, "EAFTRC", "item", "1", "83B201");
    WriteRow::add("motion detection copy", e2, "MoDetectE", "item", "1", "859001");
}

void TstEasy2::writeFrames()
{
    const WriteRow w = WriteRow::fetch();
    auto rig = WindowRig::connectedTo(WindowRig::refusing, 0);   // the pages stay unfilled
    QVERIFY(rig);
    rig->showPage(w.tab);
    QVERIFY(rig->settle());
    QCOMPARE(rig->framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstEasy2::sensitivityAndDayNightCopies_data()
{
    QTest::addColumn<int>("sens");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("fsens");
    QTest::addColumn<int>("fdaynight");   // the factory switch starts at 'EXT'
    QTest::addColumn<int>("daynight");
    QTest::newRow("no sens-up, night") << 0 << 0 << 0 << 1 << 0;
    QTest::newRow("x64, day") << 8 << 1 << 1 << 1 << 1;
    QTest::newRow("x2, auto") << 1 << 2 << 1 << 0 << 2;
    QTest::newRow("external") << 0 << 3 << 0 << 1 << 2;
}

void TstEasy2::sensitivityAndDayNightCopies()
{
    QFETCH(int, sens);
    QFETCH(int, mode);
    QFETCH(int, fsens);
    QFETCH(int, fdaynight);
    QFETCH(int, daynight);
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().sensLevel = sens;
    c.camera->live().dayNight = mode;
    FacPage *fac = c.rig->form->pages.fac;
    c.rig->quietly([&] {
        fac->FSENS->setItemIndex(1 - fsens);
        fac->FDayNight->setItemIndex(1);
    });
    QVERIFY(c.show(Pages::Easy2Tab, 19));
    QCOMPARE(fac->FSENS->itemIndex(), fsens);
    QCOMPARE(fac->FDayNight->itemIndex(), fdaynight);
    QCOMPARE(c.rig->form->pages.easy2->DayNight->itemIndex(), daynight);
    QCOMPARE(c.rig->form->pages.easy->chromaE->itemIndex(), daynight);
    QCOMPARE(c.rig->form->pages.oth->Chroma->itemIndex(), daynight);
}

void TstEasy2::writeWhileTheChainRunsIsDropped()
{
    CameraRig c;
    QVERIFY(c.rig);
    c.unanswered = {key(0x81, 0x01)};
    c.rig->showPage(Pages::Easy2Tab);
    QVERIFY(runUntil([&] { return c.rig->peer.requests.size() == 2; }));
    QVERIFY(!c.idle());
    Easy2Page *e = c.rig->form->pages.easy2;
    e->AGCLv->button(5)->click();
    e->BlueBack->button(1)->click();
    runFor(60);
    QCOMPARE(c.rig->peer.requests.size(), 2);
    // The controls keep the user's choice until the next read.
    QCOMPARE(e->AGCLv->itemIndex(), 5);
    QCOMPARE(e->BlueBack->itemIndex(), 1);
}

QTEST_MAIN(TstEasy2)
#include "tst_easy2.moc"
