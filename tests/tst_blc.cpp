// The BLC page and its EASY copy against a scripted camera: the read chain, the grid's
// row bytes both ways, which copy a click reads, the enabling by the on/off state, the
// writes, error replies and busy drops.
#include "pages/blcpage.h"
#include "pages/easypage.h"
#include "support/windowrig.h"

#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <map>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// The camera's BLC settings as the scripted camera reports them.
struct BlcCamera
{
    uint8_t on = 1, level = 0, peak = 0;
    uint8_t area1[3] = {0, 0, 0};
    uint8_t area2[3] = {0, 0, 0};
    // Requests left unanswered (category << 8 | item).
    std::set<int> silent;
    // Requests answered with this category instead (an error reply).
    std::map<int, uint8_t> errorCategory;

    std::optional<Frame7> answer(const Frame7 &r) const
    {
        const int key = r[0] << 8 | r[1];
        if (silent.count(key))
            return std::nullopt;
        if (auto it = errorCategory.find(key); it != errorCategory.end())
            return PtyPeer::reply(it->second, r[1]);
        if (r[0] != 0x81)
            return PtyPeer::reply(r[0], r[1]);
        switch (r[1]) {
        case 0x30:
            return PtyPeer::reply(0x81, 0x30, on, level, peak);
        case 0x31:
            return PtyPeer::reply(0x81, 0x31, area1[0], area1[1], area1[2]);
        case 0x32:
            return PtyPeer::reply(0x81, 0x32, area2[0], area2[1], area2[2]);
        case 0xB0: // the on/off answer carries the new state
            return PtyPeer::reply(0x81, 0xB0, r[2], level, peak);
        default:
            return PtyPeer::reply(r[0], r[1]);
        }
    }
};

QCheckBox *cell(const WindowRig &rig, int number, bool easy)
{
    const QString name = u"BLCCheck%1"_s.arg(number, 2, 10, QLatin1Char('0')) + (easy ? u"E"_s : QString());
    return rig.form->findChild<QCheckBox *>(name);
}

std::set<int> tickedCells(const WindowRig &rig, bool easy)
{
    std::set<int> out;
    for (int c = 1; c <= BlcPage::GridCells; ++c) {
        if (cell(rig, c, easy)->isChecked())
            out.insert(c);
    }
    return out;
}

QList<int> itemsSent(const WindowRig &rig)
{
    QList<int> out;
    for (const Frame7 &f : rig.peer.requests)
        out << (f[0] << 8 | f[1]);
    return out;
}

} // namespace

class TstBlc : public QObject
{
    Q_OBJECT
private slots:
    void readChainFillsBothCopies();
    void rowBytes_data();
    void clickSendsTheHalfGrid_data() { rowBytes_data(); }
    void clickSendsTheHalfGrid();
    void areaReplyTicksBothCopies_data() { rowBytes_data(); }
    void areaReplyTicksBothCopies();
    void easyClickReadsTheEasyCopy();
    void onOffEnablesLevelAndGrids_data();
    void onOffEnablesLevelAndGrids();
    void onOffAnswerAppliesAndEndsThere();
    void peakReplyDoesNotEnable();
    void writes_data();
    void writes();
    void errorReplyStopsTheChain_data();
    void errorReplyStopsTheChain();
    void clickWhileBusyIsDropped();
};

void TstBlc::readChainFillsBothCopies()
{
    auto cam = std::make_shared<BlcCamera>();
    *cam = BlcCamera{1, 5, 1, {0xFF, 0x02, 0x80}, {0x01, 0x00, 0x80}, {}, {}};
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));

    // Three reads, nothing written back while the boxes were ticked.
    QTest::qWait(50);
    QCOMPARE(itemsSent(*rig), (QList<int>{0x8130, 0x8131, 0x8132}));
    QCOMPARE(rig->peer.requests.at(0), (Frame7{0x81, 0x30, 0, 0, 0, 0, 0x4F}));

    EasyPage *e = rig->form->pages.easy;
    BlcPage *b = rig->form->pages.blc;
    QCOMPARE(b->BLC->itemIndex(), 1);
    QCOMPARE(e->BLCE->itemIndex(), 1);
    QCOMPARE(b->BLCLv->itemIndex(), 5);
    QCOMPARE(e->BLCSensBar->value(), 5);
    QCOMPARE(e->PEAK->itemIndex(), 1);
    std::set<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 10, 24, 25, 48};
    QCOMPARE(tickedCells(*rig, false), expected);
    QCOMPARE(tickedCells(*rig, true), expected);

    // The panel is a label sized by its grid: no box may be cut off.
    for (QCheckBox *box : b->BLCCheck)
        QVERIFY2(b->BLCArea->contentsRect().contains(box->geometry()), qPrintable(box->objectName()));

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty()) {
        rig->form->resize(1500, 1000);
        QTest::qWait(50);
        rig->form->grab().save(dir + u"/blc.png"_s);
        rig->showPage(Pages::EasyTab);
        QTRY_VERIFY(rig->idle());
        rig->form->grab().save(dir + u"/blc-easy.png"_s);
    }
}

// One half of the grid: the ticked cells and the write that carries them.
void TstBlc::rowBytes_data()
{
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<bool>("easy");
    QTest::addColumn<int>("half");
    QTest::addColumn<QList<int>>("bytes");
    QTest::newRow("01 10 24") << QList<int>{1, 10, 24} << false << 0 << QList<int>{0x01, 0x02, 0x80};
    QTest::newRow("09 alone") << QList<int>{9} << false << 0 << QList<int>{0x00, 0x01, 0x00};
    QTest::newRow("top row") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << false << 0 << QList<int>{0xFF, 0, 0};
    QTest::newRow("25 alone") << QList<int>{25} << false << 1 << QList<int>{0x01, 0x00, 0x00};
    QTest::newRow("48 alone") << QList<int>{48} << false << 1 << QList<int>{0x00, 0x00, 0x80};
    QTest::newRow("33 40 41") << QList<int>{33, 40, 41} << false << 1 << QList<int>{0x00, 0x81, 0x01};
    QTest::newRow("E 01 10 24") << QList<int>{1, 10, 24} << true << 0 << QList<int>{0x01, 0x02, 0x80};
    QTest::newRow("E 48 alone") << QList<int>{48} << true << 1 << QList<int>{0x00, 0x00, 0x80};
}

void TstBlc::clickSendsTheHalfGrid()
{
    QFETCH(QList<int>, cells);
    QFETCH(bool, easy);
    QFETCH(int, half);
    QFETCH(QList<int>, bytes);
    auto cam = std::make_shared<BlcCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    rig->peer.requests.clear();

    // Each click writes the whole half as it stands; the last one carries every tick.
    for (int c : cells) {
        cell(*rig, c, easy)->click();
        QTRY_VERIFY(rig->idle());
    }
    QCOMPARE(rig->peer.requests.size(), cells.size());
    const Frame7 &last = rig->peer.requests.last();
    QCOMPARE(last[0], uint8_t(0x81));
    QCOMPARE(int(last[1]), half == 0 ? 0xB2 : 0xB3);
    QCOMPARE((QList<int>{last[2], last[3], last[4]}), bytes);
    // The other copy is untouched until the next area read.
    QVERIFY(tickedCells(*rig, !easy).empty());
}

void TstBlc::areaReplyTicksBothCopies()
{
    QFETCH(QList<int>, cells);
    QFETCH(int, half);
    QFETCH(QList<int>, bytes);
    auto cam = std::make_shared<BlcCamera>();
    uint8_t *rows = half == 0 ? cam->area1 : cam->area2;
    for (int i = 0; i < 3; ++i)
        rows[i] = uint8_t(bytes[i]);
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    // Start from a grid full of ticks, so that unticking is seen as well.
    for (int c = 1; c <= BlcPage::GridCells; ++c) {
        cell(*rig, c, false)->setChecked(true);
        cell(*rig, c, true)->setChecked(true);
        QTRY_VERIFY(rig->idle());
    }
    rig->peer.requests.clear();
    QVERIFY(rig->refresh(Pages::BlcTab, 3));

    const std::set<int> expected(cells.begin(), cells.end());
    QCOMPARE(tickedCells(*rig, false), expected);
    QCOMPARE(tickedCells(*rig, true), expected);
    QTest::qWait(50);
    QCOMPARE(itemsSent(*rig), (QList<int>{0x8130, 0x8131, 0x8132}));
}

void TstBlc::easyClickReadsTheEasyCopy()
{
    auto cam = std::make_shared<BlcCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    // The page copy gets cells 01-03 and 25; the EASY copy knows nothing of them.
    for (int c : {1, 2, 3, 25}) {
        cell(*rig, c, false)->click();
        QTRY_VERIFY(rig->idle());
    }
    rig->peer.requests.clear();
    cell(*rig, 10, true)->click();
    QTRY_VERIFY(rig->idle());
    cell(*rig, 26, true)->click();
    QTRY_VERIFY(rig->idle());
    QCOMPARE(rig->peer.requests.size(), 2);
    QCOMPARE(rig->peer.requests.at(0), (Frame7{0x81, 0xB2, 0x00, 0x02, 0x00, 0, 0xCB}));
    QCOMPARE(rig->peer.requests.at(1)[1], uint8_t(0xB3));
    QCOMPARE(rig->peer.requests.at(1)[2], uint8_t(0x02));
}

void TstBlc::onOffEnablesLevelAndGrids_data()
{
    QTest::addColumn<int>("on");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("off") << 0 << false;
    QTest::newRow("on") << 1 << true;
    QTest::newRow("any non-zero") << 0x80 << true;
}

void TstBlc::onOffEnablesLevelAndGrids()
{
    QFETCH(int, on);
    QFETCH(bool, enabled);
    auto cam = std::make_shared<BlcCamera>();
    cam->on = uint8_t(!enabled);
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    cam->on = uint8_t(on);
    rig->peer.requests.clear();
    QVERIFY(rig->refresh(Pages::BlcTab, 3));

    for (const char *name : {"BLCLv", "BLCArea", "BLCSensBar", "BLCPanel"})
        QVERIFY2(rig->w<QWidget>(name)->isEnabled() == enabled, name);
    // The boxes follow their panels, in both copies.
    for (int c : {1, 24, 48}) {
        QCOMPARE(cell(*rig, c, false)->isEnabled(), enabled);
        QCOMPARE(cell(*rig, c, true)->isEnabled(), enabled);
    }
    QCOMPARE(rig->form->pages.blc->BLC->itemIndex(), on ? 1 : 0);
    QCOMPARE(rig->form->pages.easy->BLCE->itemIndex(), on ? 1 : 0);
}

void TstBlc::onOffAnswerAppliesAndEndsThere()
{
    auto cam = std::make_shared<BlcCamera>();
    cam->level = 4;
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    rig->peer.requests.clear();

    rig->form->pages.blc->BLC->button(0)->click();
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), 1);
    QCOMPARE(rig->peer.requests.at(0), (Frame7{0x81, 0xB0, 0x00, 0, 0, 0, 0xCF}));
    // The answer carries the new state: the level and the grids go grey, the EASY copy follows.
    QVERIFY(!rig->w<QWidget>("BLCLv")->isEnabled());
    QVERIFY(!rig->w<QWidget>("BLCPanel")->isEnabled());
    QCOMPARE(rig->form->pages.easy->BLCE->itemIndex(), 0);
    QCOMPARE(rig->form->pages.easy->BLCSensBar->value(), 4);
}

void TstBlc::peakReplyDoesNotEnable()
{
    auto cam = std::make_shared<BlcCamera>();
    cam->on = 1;
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    rig->peer.script = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x81 && r[1] == 0x40)
            return PtyPeer::reply(0x81, 0x40, 1, 6, 0);
        return PtyPeer::reply(r[0], r[1]);
    };
    rig->peer.requests.clear();
    rig->form->pages.blc->PeakRead();
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(itemsSent(*rig), QList<int>{0x8140});

    EasyPage *e = rig->form->pages.easy;
    QCOMPARE(e->PEAK->itemIndex(), 1);
    QCOMPARE(e->PeakOnBar->value(), 6);
    QCOMPARE(e->BLCE->itemIndex(), 0);
    QCOMPARE(rig->form->pages.blc->BLC->itemIndex(), 0);
    // BLC went off here, but only BLCSet decides what is editable.
    QVERIFY(rig->w<QWidget>("BLCLv")->isEnabled());
    QVERIFY(rig->w<QWidget>("BLCPanel")->isEnabled());
}

void TstBlc::writes_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("item");
    QTest::newRow("BLC") << u"BLC"_s << 0 << 0xB0;
    QTest::newRow("BLCE") << u"BLCE"_s << 0 << 0xB0;
    QTest::newRow("BLCLv") << u"BLCLv"_s << 7 << 0xB1;
    QTest::newRow("BLCSensBar") << u"BLCSensBar"_s << 6 << 0xB1;
    QTest::newRow("PEAK") << u"PEAK"_s << 1 << 0xD0;
    QTest::newRow("PeakOnBar") << u"PeakOnBar"_s << 8 << 0xD1;
}

void TstBlc::writes()
{
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(int, item);
    auto cam = std::make_shared<BlcCamera>();
    cam->on = 1;
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    rig->peer.requests.clear();

    QObject *w = rig->form->findChild<QObject *>(control);
    QVERIFY(w);
    if (auto *g = qobject_cast<kit::RadioGroup *>(w))
        g->button(value)->click();
    else
        qobject_cast<QSlider *>(w)->setValue(value);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), 1);
    const Frame7 &f = rig->peer.requests.first();
    QCOMPARE((QList<int>{f[0], f[1], f[2], f[3], f[4]}), (QList<int>{0x81, item, value, 0, 0}));
}

void TstBlc::errorReplyStopsTheChain_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("sent");
    QTest::newRow("BLC read, 0x40") << 0x8130 << 0xC1 << 1;
    QTest::newRow("area 1, 0x20") << 0x8131 << 0xA1 << 2;
}

void TstBlc::errorReplyStopsTheChain()
{
    QFETCH(int, failing);
    QFETCH(int, category);
    QFETCH(int, sent);
    auto cam = std::make_shared<BlcCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    const int levelBefore = rig->form->pages.blc->BLCLv->itemIndex();
    const std::set<int> ticksBefore = tickedCells(*rig, false);
    *cam = BlcCamera{1, 3, 0, {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}, {}, {}};
    cam->errorCategory[failing] = uint8_t(category);
    rig->showPage(Pages::BlcTab);
    QTRY_COMPARE(rig->peer.requests.size(), sent);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), sent);
    // The error reply changed nothing.
    if (failing == 0x8130)
        QCOMPARE(rig->form->pages.blc->BLCLv->itemIndex(), levelBefore);
    QCOMPARE(tickedCells(*rig, false), ticksBefore);
}

void TstBlc::clickWhileBusyIsDropped()
{
    auto cam = std::make_shared<BlcCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::BlcTab, 3));
    cam->silent.insert(0x81B2);
    rig->peer.requests.clear();

    cell(*rig, 1, false)->click();
    QTRY_COMPARE(rig->peer.requests.size(), 1);
    QVERIFY(!rig->idle());
    // Neither copy sends while the write is outstanding; the user's tick stays.
    cell(*rig, 2, false)->click();
    cell(*rig, 30, true)->click();
    rig->form->pages.blc->BLCLv->button(2)->click();
    QTest::qWait(100);
    QCOMPARE(rig->peer.requests.size(), 1);
    QVERIFY(cell(*rig, 2, false)->isChecked());
    QVERIFY(cell(*rig, 30, true)->isChecked());

    // The late answer only frees the link.
    rig->peer.sendFrame(0x81, 0xB2);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), 1);
}

QTEST_MAIN(TstBlc)
#include "tst_blc.moc"
