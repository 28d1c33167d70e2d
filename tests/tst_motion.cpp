// The Motion page and its EASY2 copy against the simulated camera on a pseudo-terminal: the
// refresh chain and the copies it fills, the grid's row bytes both ways for both copies, the
// enabling by the detection state, the level lists, every write, the area 1 rectangle and its
// re-read, the motion data with reference and differences, the inspection test, error replies
// and busy drops.
#include "link/categories.h"
#include "pages/easy2page.h"
#include "pages/facpage.h"
#include "pages/motionpage.h"
#include "support/simcamera.h"

#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// An error reply for one category and item, everything else to the camera.
std::function<std::optional<Frame7>(const Frame7 &)> failing(int key, uint8_t category)
{
    return [=](const Frame7 &r) -> std::optional<Frame7> {
        if ((r[0] << 8 | r[1]) == key)
            return PtyPeer::reply(category, r[1]);
        return std::nullopt;
    };
}

using Shown = QMap<int, QString>;   // cell index -> the text of its data edit

const QList<int> RefreshItems{0x10, 0x11, 0x12, 0x13, 0x16, 0x17, 0x23, 0x18, 0x19,
                              0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x22};

QList<int> itemsSent(const WindowRig &rig, qsizetype from = 0)
{
    QList<int> out;
    for (qsizetype i = from; i < rig.peer.requests.size(); ++i)
        out << rig.peer.requests[i][1];
    return out;
}

QCheckBox *box(const WindowRig &rig, const char *pattern, int number)
{
    return rig.form->findChild<QCheckBox *>(QString::fromLatin1(kit::familyName(pattern, number, 2)));
}

QCheckBox *cell(const WindowRig &rig, int number, bool easy)
{
    return box(rig, easy ? "MoCheck%1E" : "MoCheck%1", number);
}

std::set<int> ticked(const WindowRig &rig, const char *pattern)
{
    std::set<int> out;
    for (int c = 1; c <= MotionPage::Cells; ++c)
        if (box(rig, pattern, c)->isChecked())
            out.insert(c);
    return out;
}

std::set<int> tickedCells(const WindowRig &rig, bool easy)
{
    return ticked(rig, easy ? "MoCheck%1E" : "MoCheck%1");
}

QString dataEdit(const WindowRig &rig, int index)
{
    const QString name = u"mot_"_s + MotionPage::cellName(index).toLower();
    return rig.form->findChild<QLineEdit *>(name)->text();
}

// "85" "84" and three data bytes as a request text.
QString writeText(int item, const QList<int> &data)
{
    QByteArray hex = "85" + QByteArray::number(item, 16);
    for (int b : data)
        hex += QByteArray::number(b, 16).rightJustified(2, '0');
    return frameText(requestFrame(hex));
}

// Connected, the Motion page shown and its refresh done: requests 0-15.
std::unique_ptr<WindowRig> motionShown(const std::shared_ptr<SimCamera> &cam)
{
    auto rig = WindowRig::connectedTo(cam, 9600);
    if (!rig || !rig->settle())
        return nullptr;
    rig->peer.requests.clear();
    rig->showPage(Pages::MotTab);
    return chainOf(*rig, 0, 16) ? std::move(rig) : nullptr;
}

} // namespace

class TstMotion : public QObject
{
    Q_OBJECT
private slots:
    void refreshFillsThePageAndItsCopies();
    void rowBytes_data();
    void clickSendsTheHalfGrid_data() { rowBytes_data(); }
    void clickSendsTheHalfGrid();
    void areaReplyTicksBothCopies_data() { rowBytes_data(); }
    void areaReplyTicksBothCopies();
    void clickReadsOnlyItsOwnCopy();
    void detectionReply_data();
    void detectionReply();
    void writes_data();
    void writes();
    void areaRectangleRereadsTheGrid_data();
    void areaRectangleRereadsTheGrid();
    void motionData_data();
    void motionData();
    void diffReadShowsCameraValuesOnly();
    void dataIndexBeyondTheGrid();
    void happenLabels_data();
    void happenLabels();
    void inspectionBits_data();
    void inspectionBits();
    void inspectionFindsTheMovingCell_data();
    void inspectionFindsTheMovingCell();
    void repeatEndsAfterTheCurrentRound();
    void errorRepliesStopChains_data();
    void errorRepliesStopChains();
    void clicksWhileBusyAreDropped();
};

void TstMotion::refreshFillsThePageAndItsCopies()
{
    auto cam = std::make_shared<SimCamera>();
    camsim::Settings &s = cam->cam.live();
    s.motion = 1, s.motionLevel = 9, s.motionContact = 1, s.motionTime = 2, s.motionOsd = 1;
    s.motionRow1 = 0x01, s.motionRow2 = 0x02, s.motionRow3 = 0x80;
    s.motionRow4 = 0x00, s.motionRow5 = 0x81, s.motionRow6 = 0x80;
    s.motionHPos = 0xEC, s.motionVPos = 0x28, s.motionWidth = 30, s.motionHeight = 20;
    s.motionIntervalFix = 100;
    s.area2HPos = 0xFF38, s.area2VPos = 100, s.area2Width = 300, s.area2Height = 400;
    s.area3HPos = 0x7FFF, s.area3VPos = 0x8000, s.area3Width = 0, s.area3Height = 0x7FFF;
    cam->cam.setMotionInCell(10);
    auto rig = motionShown(cam);
    QVERIFY(rig);
    // Only reads: applying the values wrote nothing back.
    QCOMPARE(itemsSent(*rig), RefreshItems);
    QCOMPARE(rig->peer.requests.at(0), requestFrame("8510"));

    MotionPage *m = rig->form->pages.mot;
    Easy2Page *e = rig->form->pages.easy2;
    QCOMPARE(m->MoDetect->itemIndex(), 1);
    QCOMPARE(e->MoDetectE->itemIndex(), 1);
    QCOMPARE(rig->form->pages.fac->FMotion->itemIndex(), 1);
    QCOMPARE(m->MoLv->itemIndex(), 9);
    QCOMPARE(e->MoLvE->itemIndex(), 7);
    QCOMPARE(m->MoCon->itemIndex(), 1);
    QCOMPARE(m->MoTime->itemIndex(), 2);
    QCOMPARE(e->MoTimeE->itemIndex(), 2);
    QVERIFY(m->MoOSD->isChecked() && e->MoOSDE->isChecked());
    const std::set<int> cells{1, 10, 24, 33, 40, 48};
    QCOMPARE(tickedCells(*rig, false), cells);
    QCOMPARE(tickedCells(*rig, true), cells);
    // Area 1 positions are signed bytes; areas 2 and 3 are 16 bits, positions signed.
    const std::pair<const char *, const char *> shown[] = {
        {"mot_hp", "-20"}, {"mot_vp", "40"}, {"mot_w", "30"}, {"mot_h", "20"}, {"mot_it", "100"},
        {"mot_whp", "-200"}, {"mot_wvp", "100"}, {"mot_ww", "300"}, {"mot_wh", "400"},
        {"mot_rhp", "32767"}, {"mot_rvp", "-32768"}, {"mot_rw", "0"}, {"mot_rh", "32767"},
    };
    for (const auto &[name, text] : shown)
        QVERIFY2(rig->w<QLineEdit>(name)->text() == QLatin1String(text), name);
    QCOMPARE(m->mot_hpUD->position(), -20);
    // Something moves in the watched cell 10 ("B2") with detection on.
    QCOMPARE(m->mot_happen->text(), u"Happen!"_s);
    QCOMPARE(m->mot_max->text(), u"B2"_s);
    QCOMPARE(m->mot_max_h->text(), u"B2"_s);

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty()) {
        m->MotDR->click();
        QVERIFY(chainOf(*rig, 16, 49));
        m->mot_get->click();
        QVERIFY(chainOf(*rig, 65, 3));
        rig->form->resize(1400, 900);
        QTest::qWait(50);
        rig->form->grab().save(dir + u"/mot.png"_s);
        rig->showPage(Pages::Easy2Tab);
        QVERIFY(rig->waitIdle());
        rig->form->grab().save(dir + u"/mot-easy2.png"_s);
    }
}

// One half of the grid: the ticked cells and the write that carries them.
void TstMotion::rowBytes_data()
{
    QTest::addColumn<QList<int>>("cells");
    QTest::addColumn<bool>("easy");
    QTest::addColumn<int>("half");
    QTest::addColumn<QList<int>>("bytes");
    QTest::newRow("09 alone") << QList<int>{9} << false << 0 << QList<int>{0x00, 0x01, 0x00};
    QTest::newRow("01 16 24") << QList<int>{1, 16, 24} << false << 0 << QList<int>{0x01, 0x80, 0x80};
    QTest::newRow("48 alone") << QList<int>{48} << false << 1 << QList<int>{0x00, 0x00, 0x80};
    QTest::newRow("25 34 41") << QList<int>{25, 34, 41} << false << 1 << QList<int>{0x01, 0x02, 0x01};
    QTest::newRow("E 08 24") << QList<int>{8, 24} << true << 0 << QList<int>{0x80, 0x00, 0x80};
    QTest::newRow("E 32 33") << QList<int>{32, 33} << true << 1 << QList<int>{0x80, 0x01, 0x00};
}

void TstMotion::clickSendsTheHalfGrid()
{
    QFETCH(QList<int>, cells);
    QFETCH(bool, easy);
    QFETCH(int, half);
    QFETCH(QList<int>, bytes);
    auto cam = std::make_shared<SimCamera>();
    cam->cam.live().motion = 1;
    camsim::Settings &s = cam->cam.live();
    s.motionRow1 = s.motionRow2 = s.motionRow3 = s.motionRow4 = s.motionRow5 = s.motionRow6 = 0;
    auto rig = WindowRig::connectedTo(cam, 9600);
    QVERIFY(rig);
    rig->showPage(easy ? Pages::Easy2Tab : Pages::MotTab);
    QVERIFY(rig->settle());
    const qsizetype from = rig->peer.requests.size();

    // Each click writes the whole half as it stands; the last one carries every tick.
    for (int c : cells) {
        cell(*rig, c, easy)->click();
        QVERIFY(rig->waitIdle());
    }
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), from + cells.size());
    QCOMPARE(frameText(rig->peer.requests.last()), writeText(half == 0 ? 0x84 : 0x85, bytes));
    // The camera keeps them; the other copy is untouched until the grid is read.
    const int rows = half == 0 ? cam->cam.live().motionRow1 : cam->cam.live().motionRow4;
    QCOMPARE(rows, bytes[0]);
    QVERIFY(tickedCells(*rig, !easy).empty());
}

void TstMotion::areaReplyTicksBothCopies()
{
    QFETCH(QList<int>, cells);
    QFETCH(int, half);
    QFETCH(QList<int>, bytes);
    auto cam = std::make_shared<SimCamera>();
    camsim::Settings &s = cam->cam.live();
    s.motionRow1 = half == 0 ? bytes[0] : 0, s.motionRow2 = half == 0 ? bytes[1] : 0;
    s.motionRow3 = half == 0 ? bytes[2] : 0, s.motionRow4 = half == 1 ? bytes[0] : 0;
    s.motionRow5 = half == 1 ? bytes[1] : 0, s.motionRow6 = half == 1 ? bytes[2] : 0;
    auto rig = WindowRig::connectedTo(cam, 9600);
    QVERIFY(rig);
    // Start from full grids, so that clearing is seen as well: the first tick's write stays
    // unanswered, so the others send nothing, then a late answer frees the link.
    cam->silent = {0x8584};
    for (int c = 1; c <= MotionPage::Cells; ++c) {
        cell(*rig, c, false)->setChecked(true);
        cell(*rig, c, true)->setChecked(true);
    }
    QVERIFY(WindowRig::waitFor([&] { return !rig->peer.requests.isEmpty(); }));
    rig->peer.sendFrame(0x85, 0x84);
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), 1);
    cam->silent.clear();
    const qsizetype from = rig->peer.requests.size();
    rig->showPage(Pages::MotTab);
    QVERIFY(chainOf(*rig, from, 16));

    const std::set<int> expected(cells.begin(), cells.end());
    QCOMPARE(tickedCells(*rig, false), expected);
    QCOMPARE(tickedCells(*rig, true), expected);
    QCOMPARE(itemsSent(*rig, from), RefreshItems);
}

void TstMotion::clickReadsOnlyItsOwnCopy()
{
    auto cam = std::make_shared<SimCamera>();
    cam->cam.live().motion = 1;   // the page's grid takes clicks only while detection is on
    auto rig = motionShown(cam);
    QVERIFY(rig);
    // The camera watches every cell at first: both copies are full. Clearing cells on the
    // page copy leaves the EASY2 copy full, and its clicks send its own boxes.
    for (int c : {1, 2, 3, 25}) {
        cell(*rig, c, false)->click();
        QVERIFY(rig->waitIdle());
    }
    const qsizetype from = rig->peer.requests.size();
    cell(*rig, 10, true)->click();
    QVERIFY(rig->waitIdle());
    cell(*rig, 26, true)->click();
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(from), requestTexts({"8584FFFDFF", "8585FDFFFF"}));
    cell(*rig, 4, false)->click();
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(from + 2), requestTexts({"8584F0FFFF"}));
}

void TstMotion::detectionReply_data()
{
    QTest::addColumn<int>("detect");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("contact");
    QTest::addColumn<int>("copyLevel");   // the eight-item MoLvE
    QTest::newRow("off, MIN, contact 1") << 0 << 0 << 1 << 0;
    QTest::newRow("on, +7, contact 0") << 1 << 7 << 0 << 7;
    QTest::newRow("any non-zero, +8, contact 2") << 0x80 << 8 << 2 << 7;
    QTest::newRow("on, MAX") << 1 << 9 << 0 << 7;
    QTest::newRow("on, beyond MAX") << 1 << 12 << 0 << 7;
}

void TstMotion::detectionReply()
{
    QFETCH(int, detect);
    QFETCH(int, level);
    QFETCH(int, contact);
    QFETCH(int, copyLevel);
    auto cam = std::make_shared<SimCamera>();
    cam->cam.live().motion = detect ? 0 : 1;
    auto rig = motionShown(cam);
    QVERIFY(rig);
    cam->cam.live().motion = detect;
    cam->cam.live().motionLevel = level;
    cam->cam.live().motionContact = contact;
    rig->form->SW1Click();
    QVERIFY(chainOf(*rig, 16, 16));

    auto check = [&](bool on) {
        for (const char *name : {"MoLv", "MoLvE", "MoArea2", "MoTime", "MoTimeE"})
            QVERIFY2(rig->w<QWidget>(name)->isEnabled() == on, name);
        QCOMPARE(cell(*rig, 30, false)->isEnabled(), on);
        for (const char *name : {"MoDetect", "MoDetectE", "FMotion"})
            QVERIFY2(rig->w<kit::RadioGroup>(name)->itemIndex() == (on ? 1 : 0), name);
    };
    check(detect != 0);
    QCOMPARE(rig->form->pages.mot->MoLv->itemIndex(), std::min(level, 9));
    QCOMPARE(rig->form->pages.easy2->MoLvE->itemIndex(), copyLevel);
    // Only a contact value of 1 means 'Normal Low'.
    QCOMPARE(rig->form->pages.mot->MoCon->itemIndex(), contact == 1 ? 1 : 0);

    // The answer to a switch write carries the new state: applied, and nothing follows.
    rig->form->pages.mot->MoDetect->button(detect ? 0 : 1)->click();
    QVERIFY(chainOf(*rig, 32, 1));
    check(detect == 0);
}

void TstMotion::writes_data()
{
    WriteRow::columns();
    const int mot = Pages::MotTab, e2 = Pages::Easy2Tab;
    WriteRow::add("MoDetect ON", mot, "MoDetect", "item", "1", "8590010000");
    WriteRow::add("MoDetectE ON", e2, "MoDetectE", "item", "1", "8590010000");
    WriteRow::add("MoLv MAX", mot, "MoLv", "item", "9", "8591090000");
    WriteRow::add("MoLv +4", mot, "MoLv", "item", "4", "8591040000");
    WriteRow::add("MoLvE MAX", e2, "MoLvE", "item", "7", "8591070000");
    WriteRow::add("MoTime 60sec", mot, "MoTime", "item", "2", "8592020000");
    WriteRow::add("MoTimeE 30sec", e2, "MoTimeE", "item", "1", "8592010000");
    WriteRow::add("MoOSD ticked", mot, "MoOSD", "tick", "", "8593010000");
    WriteRow::add("MoOSDE ticked", e2, "MoOSDE", "tick", "", "8593010000");
    WriteRow::add("MoCon Normal Low", mot, "MoCon", "item", "1", "8596010000");
    WriteRow::add("MoCheck09", mot, "MoCheck09", "tick", "", "8584000100");
    WriteRow::add("MoCheck48", mot, "MoCheck48", "tick", "", "8585000080");
    WriteRow::add("MoCheck24E", e2, "MoCheck24E", "tick", "", "8584000080");
    WriteRow::add("MoCheck25E", e2, "MoCheck25E", "tick", "", "8585010000");
    WriteRow::add("mot_hpUD down", mot, "mot_hpUD", "down", "1", "8594FF0000");
    WriteRow::add("mot_vpUD up", mot, "mot_vpUD", "up", "1", "8594000100");
    WriteRow::add("mot_wUD up", mot, "mot_wUD", "up", "1", "8595010000");
    WriteRow::add("mot_hUD up", mot, "mot_hUD", "up", "1", "8595000100");
    WriteRow::add("mot_itUD up", mot, "mot_itUD", "up", "1", "859B000400");
    WriteRow::add("MotDR", mot, "MotDR", "press", "", "8520000000");
    WriteRow::add("MotDD", mot, "MotDD", "press", "", "8521000000");
    WriteRow::add("mot_get quick, all cells", mot, "mot_get", "press", "", "859CFFFF08");
}

void TstMotion::writes()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig;
    // The page stays unfilled: every control starts from its laid-out state.
    rig.peer.script = [](const Frame7 &r) {
        return PtyPeer::reply(r[0] == cat::Comm ? r[0] : uint8_t(r[0] | 0x40), r[1]);
    };
    QVERIFY(rig.openPage(w.tab));
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstMotion::areaRectangleRereadsTheGrid_data()
{
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<bool>("eeprom");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QList<int>>("cells");
    // The camera's area: centre (-61, -50), half-sizes 10 and 0: cell 1 only.
    QTest::newRow("position, EEPROM") << u"mot_hpUD"_s << true << QByteArray("8594C4CE01") << QList<int>{1, 2};
    QTest::newRow("size") << u"mot_wUD"_s << false << QByteArray("85950B0000") << QList<int>{1, 2};
}

void TstMotion::areaRectangleRereadsTheGrid()
{
    QFETCH(QString, upDown);
    QFETCH(bool, eeprom);
    QFETCH(QByteArray, frame);
    QFETCH(QList<int>, cells);
    auto cam = std::make_shared<SimCamera>();
    camsim::Settings &s = cam->cam.live();
    s.motion = 1, s.motionHPos = uint8_t(-61), s.motionVPos = uint8_t(-50), s.motionWidth = 10, s.motionHeight = 0;
    s.motionRow1 = 0x01, s.motionRow2 = s.motionRow3 = s.motionRow4 = s.motionRow5 = s.motionRow6 = 0;
    auto rig = motionShown(cam);
    QVERIFY(rig);
    QCOMPARE(tickedCells(*rig, false), (std::set<int>{1}));
    rig->form->pages.mot->mot_eep->setChecked(eeprom);

    QVERIFY(rig->act(upDown, u"up"_s, u"1"_s));
    // The write, then the grid and everything after it in the refresh.
    QVERIFY(chainOf(*rig, 16, 15));
    QCOMPARE(rig->requestTexts(16).mid(0, 1), QStringList{frameText(requestFrame(frame))});
    QCOMPARE(itemsSent(*rig, 17), RefreshItems.mid(2));
    const std::set<int> expected(cells.begin(), cells.end());
    QCOMPARE(tickedCells(*rig, false), expected);
    QCOMPARE(tickedCells(*rig, true), expected);
}

void TstMotion::motionData_data()
{
    using Reads = QList<QMap<int, int>>;   // one map per "Read": cell index -> value
    QTest::addColumn<Reads>("reads");
    QTest::addColumn<bool>("diff");
    QTest::addColumn<Shown>("shown");     // after the last read
    QTest::addColumn<Shown>("toggled");   // after a click on 'Diff', which sends nothing
    QTest::newRow("first read shows the values")
        << Reads{{{0, 1234}, {47, 9999}}} << true << Shown{{0, u"1234"_s}, {47, u"9999"_s}, {5, u"0000"_s}}
        << Shown{{0, u"1234"_s}, {47, u"9999"_s}};
    QTest::newRow("differences since the previous read")
        << Reads{{{0, 1000}, {1, 5}, {2, 300}}, {{0, 975}, {1, 1005}, {2, 300}}} << true
        << Shown{{0, u"-025"_s}, {1, u"1000"_s}, {2, u"0000"_s}} << Shown{{0, u"0975"_s}, {1, u"1005"_s}, {2, u"0300"_s}};
    QTest::newRow("stored values without Diff")
        << Reads{{{0, 1000}, {1, 5}}, {{0, 975}, {1, 1005}}} << false
        << Shown{{0, u"0975"_s}, {1, u"1005"_s}, {2, u"0000"_s}} << Shown{{0, u"-025"_s}, {1, u"1000"_s}};
    QTest::newRow("a large negative keeps three digits")
        << Reads{{{8, 5000}}, {{8, 1}}} << true << Shown{{8, u"-999"_s}} << Shown{{8, u"0001"_s}};
    QTest::newRow("10000 and above in full")
        << Reads{{{0, 12345}, {1, 0xFFFF}, {2, 10000}}} << false
        << Shown{{0, u"12345"_s}, {1, u"65535"_s}, {2, u"10000"_s}} << Shown{{0, u"12345"_s}};
    QTest::newRow("three reads: against the one before")
        << Reads{{{3, 10}}, {{3, 50}}, {{3, 20}}} << true << Shown{{3, u"-030"_s}} << Shown{{3, u"0020"_s}};
}

void TstMotion::motionData()
{
    using Reads = QList<QMap<int, int>>;
    QFETCH(Reads, reads);
    QFETCH(bool, diff);
    QFETCH(Shown, shown);
    QFETCH(Shown, toggled);
    auto cam = std::make_shared<SimCamera>();
    QMap<int, int> values;
    cam->script = [&values](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x85 && r[1] == 0x20)
            return PtyPeer::reply(0x85, 0x20, r[2], uint8_t(values.value(r[2]) >> 8), uint8_t(values.value(r[2])));
        return std::nullopt;
    };
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->mot_diff->setChecked(diff);

    QList<Frame7> chain;
    for (int i = 0; i < MotionPage::Cells; ++i)
        chain << requestFrame("8520" + QByteArray::number(i, 16).rightJustified(2, '0'));
    chain << requestFrame("8522");
    for (const QMap<int, int> &read : reads) {
        values = read;
        const qsizetype from = rig->peer.requests.size();
        m->MotDR->click();
        QVERIFY(chainOf(*rig, from, 49));
        QCOMPARE(texts(rig->peer.requests, from), texts(chain));
    }
    for (auto it = shown.begin(); it != shown.end(); ++it)
        QCOMPARE(dataEdit(*rig, it.key()), it.value());

    const qsizetype sent = rig->peer.requests.size();
    m->mot_diff->click();
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), sent);
    for (auto it = toggled.begin(); it != toggled.end(); ++it)
        QCOMPARE(dataEdit(*rig, it.key()), it.value());
    QCOMPARE(m->mot_max->text(), u" "_s);
}

void TstMotion::diffReadShowsCameraValuesOnly()
{
    auto cam = std::make_shared<SimCamera>();
    cam->script = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x85 && r[1] == 0x20)
            return PtyPeer::reply(0x85, 0x20, r[2], 0, 50);
        if (r[0] == 0x85 && r[1] == 0x21)
            return PtyPeer::reply(0x85, 0x21, r[2], 0x03, uint8_t(r[2]));   // 768 + index
        return std::nullopt;
    };
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->MotDR->click();
    QVERIFY(chainOf(*rig, 16, 49));
    m->mot_diff->setChecked(true);   // shows 50 - 0
    m->MotDD->click();
    QVERIFY(chainOf(*rig, 65, 49));
    QCOMPARE(rig->peer.requests.at(65), requestFrame("852100"));
    QCOMPARE(rig->peer.requests.at(112), requestFrame("85212F"));
    QCOMPARE(rig->peer.requests.at(113), requestFrame("8522"));
    // Shown as they come, without the subtraction.
    QCOMPARE(dataEdit(*rig, 0), u"0768"_s);
    QCOMPARE(dataEdit(*rig, 47), u"0815"_s);
    // Not stored: the tables still hold the last "Read".
    m->mot_diff->setChecked(false);
    QCOMPARE(dataEdit(*rig, 0), u"0050"_s);
    QCOMPARE(dataEdit(*rig, 47), u"0050"_s);
}

void TstMotion::dataIndexBeyondTheGrid()
{
    auto cam = std::make_shared<SimCamera>();
    cam->script = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x85 && r[1] == 0x20 && r[2] == 3)   // the answer to index 3 names index 48
            return PtyPeer::reply(0x85, 0x20, 48, 0x04, 0x00);
        if (r[0] == 0x85 && r[1] == 0x20)
            return PtyPeer::reply(0x85, 0x20, r[2], 0x03, 0x09);
        return std::nullopt;
    };
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->MotDR->click();
    // Indexes 0 to 3 (the last answered as 48), then straight to the maxima.
    QVERIFY(chainOf(*rig, 16, 5));
    QCOMPARE(itemsSent(*rig, 16), (QList<int>{0x20, 0x20, 0x20, 0x20, 0x22}));
    QCOMPARE(dataEdit(*rig, 3), QString());
    QCOMPARE(dataEdit(*rig, 0), u"0777"_s);
    // The value went into cell 0's entry: the view rebuilt from the tables shows it there.
    m->mot_diff->click();
    QCOMPARE(dataEdit(*rig, 0), u"1024"_s);
    QCOMPARE(dataEdit(*rig, 2), u"0777"_s);
    QCOMPARE(dataEdit(*rig, 3), u"0000"_s);
}

void TstMotion::happenLabels_data()
{
    QTest::addColumn<QList<int>>("data");
    QTest::addColumn<QStringList>("labels");   // mot_max_h, mot_max, mot_happen
    QTest::newRow("B2 H6 happen") << QList<int>{9, 47, 1} << QStringList{u"B2"_s, u"H6"_s, u"Happen!"_s};
    QTest::newRow("no cells") << QList<int>{0xFF, 48, 0} << QStringList{u"  "_s, u"  "_s, u" "_s};
    QTest::newRow("A1 H1, 2 is no motion") << QList<int>{0, 7, 2} << QStringList{u"A1"_s, u"H1"_s, u" "_s};
}

void TstMotion::happenLabels()
{
    QFETCH(QList<int>, data);
    QFETCH(QStringList, labels);
    auto cam = std::make_shared<SimCamera>();
    cam->script = [data](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x85 && r[1] == 0x22)
            return PtyPeer::reply(0x85, 0x22, uint8_t(data[0]), uint8_t(data[1]), uint8_t(data[2]));
        return std::nullopt;
    };
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    QCOMPARE((QStringList{m->mot_max_h->text(), m->mot_max->text(), m->mot_happen->text()}), labels);
}

void TstMotion::inspectionBits_data()
{
    QTest::addColumn<QList<int>>("inspect");   // Mos boxes left ticked
    QTest::addColumn<bool>("quick");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QList<int>>("answers");   // data 1, data 2 of the three replies
    QTest::addColumn<QList<int>>("found");     // Mok boxes ticked
    QTest::newRow("Mos01 alone, quick")
        << QList<int>{1} << true << 8 << requestTexts({"859C800008", "859D000008", "859E000008"})
        << QList<int>{0x01, 0, 0, 0, 0, 0} << QList<int>{8};
    QTest::newRow("16 17 32 48, full, value 128")
        << QList<int>{16, 17, 32, 48} << false << 128 << requestTexts({"8598000180", "8599800180", "859A000180"})
        << QList<int>{0x80, 0x00, 0x00, 0x01, 0xFF, 0x01} << QList<int>{1, 32, 33, 34, 35, 36, 37, 38, 39, 40, 48};
    QTest::newRow("every cell, value 1") << QList<int>{} << true << 1
        << requestTexts({"859CFFFF01", "859DFFFF01", "859EFFFF01"})
        << QList<int>{0x00, 0x40, 0x20, 0x00, 0x00, 0x02} << QList<int>{10, 19, 47};
}

void TstMotion::inspectionBits()
{
    QFETCH(QList<int>, inspect);
    QFETCH(bool, quick);
    QFETCH(int, value);
    QFETCH(QStringList, frames);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, found);
    auto cam = std::make_shared<SimCamera>();
    cam->script = [answers](const Frame7 &r) -> std::optional<Frame7> {
        const int group = r[1] & 0x03;   // 0x98 / 0x9C: 0 ... 0x9A / 0x9E: 2
        if (r[0] == 0x85 && ((r[1] >= 0x98 && r[1] <= 0x9A) || (r[1] >= 0x9C && r[1] <= 0x9E)))
            return PtyPeer::reply(0x85, r[1], uint8_t(answers[2 * group]), uint8_t(answers[2 * group + 1]));
        return std::nullopt;
    };
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    if (!inspect.isEmpty())
        for (int c = 1; c <= MotionPage::Cells; ++c)
            m->Mos[size_t(c - 1)]->setChecked(inspect.contains(c));
    for (QCheckBox *b : m->Mok)
        b->setChecked(true);   // every result is written, ticks and clears alike
    m->mot_it_fix->setChecked(quick);
    m->mot_ivUD->setPosition(value);
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), 16);   // the boxes send nothing

    m->mot_get->click();
    QVERIFY(chainOf(*rig, 16, 3));
    QCOMPARE(rig->requestTexts(16), frames);
    QCOMPARE(ticked(*rig, "Mok%1"), std::set<int>(found.begin(), found.end()));
}

void TstMotion::inspectionFindsTheMovingCell_data()
{
    QTest::addColumn<int>("moving");
    QTest::addColumn<bool>("quick");
    QTest::newRow("cell 1") << 1 << true;
    QTest::newRow("cell 48, full") << 48 << false;
}

void TstMotion::inspectionFindsTheMovingCell()
{
    QFETCH(int, moving);
    QFETCH(bool, quick);
    auto cam = std::make_shared<SimCamera>();
    cam->cam.setMotionInCell(moving);
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->mot_it_fix->setChecked(quick);
    m->mot_get->click();
    QVERIFY(chainOf(*rig, 16, 3));
    QCOMPARE(ticked(*rig, "Mok%1"), std::set<int>{moving});
    // The scene changes: the next inspection follows it.
    cam->cam.clearMotion();
    cam->cam.setMotionInCell(moving == 1 ? 2 : 1);
    m->mot_get->click();
    QVERIFY(chainOf(*rig, 19, 3));
    QCOMPARE(ticked(*rig, "Mok%1"), std::set<int>{moving == 1 ? 2 : 1});
}

void TstMotion::repeatEndsAfterTheCurrentRound()
{
    auto cam = std::make_shared<SimCamera>();
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->mot_rep->setChecked(true);
    m->mot_get->click();
    QVERIFY(WindowRig::waitFor([&] { return rig->peer.requests.size() >= 16 + 8; }));
    m->mot_rep->setChecked(false);
    QVERIFY(rig->settle());
    const qsizetype sent = rig->peer.requests.size() - 16;
    QCOMPARE(sent % 3, 0);
    QVERIFY(sent >= 9);
    const QStringList round = requestTexts({"859CFFFF08", "859DFFFF08", "859EFFFF08"});
    for (qsizetype i = 16; i < rig->peer.requests.size(); ++i)
        QCOMPARE(frameText(rig->peer.requests[i]), round[(i - 16) % 3]);
}

void TstMotion::errorRepliesStopChains_data()
{
    QTest::addColumn<QString>("start");   // the button, or "" for the refresh
    QTest::addColumn<int>("key");         // the request answered badly
    QTest::addColumn<int>("category");    // its reply's category
    QTest::addColumn<int>("sent");        // requests until the chain stopped
    QTest::newRow("refresh: grid, 0x40") << QString() << 0x8512 << 0xC5 << 3;
    QTest::newRow("refresh: area 2, 0x20") << QString() << 0x8518 << 0xA5 << 8;
    QTest::newRow("refresh: another category") << QString() << 0x8516 << 0x86 << 5;
    QTest::newRow("data read") << u"MotDR"_s << 0x8520 << 0xC5 << 1;
    QTest::newRow("inspection") << u"mot_get"_s << 0x859D << 0xC5 << 2;
}

void TstMotion::errorRepliesStopChains()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(int, category);
    QFETCH(int, sent);
    auto cam = std::make_shared<SimCamera>();
    camsim::Settings &s = cam->cam.live();
    s.motion = 1, s.motionRow1 = 0x0F, s.motionHPos = 5, s.area2HPos = 7;
    cam->cam.setMotionInCell(20);
    auto rig = WindowRig::connectedTo(cam, 9600);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    m->mot_rep->setChecked(true);   // the inspection loop would go on without the error
    if (!start.isEmpty()) {
        rig->showPage(Pages::MotTab);
        QVERIFY(chainOf(*rig, 0, 16));
    }
    cam->script = failing(key, uint8_t(category));
    const qsizetype from = rig->peer.requests.size();
    if (start.isEmpty())
        rig->showPage(Pages::MotTab);
    else
        rig->w<QPushButton>(start.toLatin1().constData())->click();
    QVERIFY(chainOf(*rig, from, sent));
    QCOMPARE(rig->peer.requests.last()[0] << 8 | rig->peer.requests.last()[1], key);
    if (key == 0x8512)
        QVERIFY(tickedCells(*rig, false).empty());
    if (key == 0x8516)
        QCOMPARE(m->mot_hpUD->position(), 0);
    if (key == 0x8518)
        QCOMPARE(m->mot_whpUD->position(), 0);
    if (key == 0x859D)
        QCOMPARE(ticked(*rig, "Mok%1"), std::set<int>{});   // cell 20 is in the refused group
}

void TstMotion::clicksWhileBusyAreDropped()
{
    auto cam = std::make_shared<SimCamera>();
    cam->cam.live().motion = 1;
    auto rig = motionShown(cam);
    QVERIFY(rig);
    MotionPage *m = rig->form->pages.mot;
    cam->silent.insert(0x8584);
    cell(*rig, 1, false)->click();
    QTRY_COMPARE(rig->peer.requests.size(), 17);
    QVERIFY(!rig->idle());

    // Nothing goes out while the write is outstanding; what the user changed stays.
    cell(*rig, 2, false)->click();
    cell(*rig, 30, true)->click();
    m->MoLv->button(2)->click();
    m->mot_hpUD->stepUp();
    m->mot_itUD->stepUp();
    m->MotDR->click();
    m->MotDD->click();
    m->mot_get->click();
    rig->form->pages.easy2->MoDetectE->button(1)->click();
    QTest::qWait(100);
    QCOMPARE(rig->peer.requests.size(), 17);
    QVERIFY(!cell(*rig, 2, false)->isChecked());
    QVERIFY(!cell(*rig, 30, true)->isChecked());
    QCOMPARE(m->mot_hpUD->position(), 1);

    // The late answer only frees the link.
    rig->peer.sendFrame(0x85, 0x84);
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), 17);
}

QTEST_MAIN(TstMotion)
#include "tst_motion.moc"
