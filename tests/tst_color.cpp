// The colour page and its EASY copies against a scripted camera: the read chain with the
// IR alternation, the white-balance mode table, the writes, the threshold edits, the repeat
// loop, error replies and busy drops.
#include "pages/colorpage.h"
#include "pages/easypage.h"
#include "support/windowrig.h"

#include <QTabWidget>
#include <QRadioButton>
#include <QtTest>

#include <map>
#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

struct ColourCamera
{
    uint8_t mode = 0, atwRange = 0;
    uint8_t atw = 0, in = 0, out = 0, awb = 0, ry = 0, by = 0;
    uint16_t figures[7] = {};
    uint8_t chroma = 0;
    uint16_t thresholds[6] = {};
    std::set<int> silent;                 // category << 8 | item
    std::map<int, uint8_t> errorCategory; // answered with this category instead

    std::optional<Frame7> answer(const Frame7 &r) const
    {
        const int key = r[0] << 8 | r[1];
        if (silent.count(key))
            return std::nullopt;
        if (auto it = errorCategory.find(key); it != errorCategory.end())
            return PtyPeer::reply(it->second, r[1]);
        if (r[0] == 0x91) {
            const int k = (r[1] << 8 | r[2]) - 0xE0;
            const uint16_t v = (k >= 0 && k < 6) ? thresholds[k] : 0;
            return PtyPeer::reply(0x91, r[1], r[2], uint8_t(v >> 8), uint8_t(v));
        }
        if (r[0] != 0x82)
            return PtyPeer::reply(r[0], r[1]);
        switch (r[1]) {
        case 0x00:
            return PtyPeer::reply(0x82, 0x00, mode, atwRange);
        case 0x01:
            return PtyPeer::reply(0x82, 0x01, atw, in, out);
        case 0x02:
            return PtyPeer::reply(0x82, 0x02, awb);
        case 0x03:
            return PtyPeer::reply(0x82, 0x03, ry, by);
        case 0x80: // the mode answer carries the new state
            return PtyPeer::reply(0x82, 0x80, r[2], atwRange);
        default:
            break;
        }
        if (r[1] >= 0x10 && r[1] <= 0x16) {
            const uint16_t v = figures[r[1] - 0x10];
            return PtyPeer::reply(0x82, r[1], uint8_t(v >> 8), uint8_t(v), r[1] == 0x10 ? chroma : 0);
        }
        return PtyPeer::reply(r[0], r[1]);
    }
};

// The whole chain: four settings reads, then seven figures each followed by a threshold.
QList<Frame7> fullChain()
{
    QList<Frame7> out;
    for (uint8_t item : {0x00, 0x01, 0x02, 0x03})
        out << Frame7{0x82, item};
    for (int k = 0; k < 7; ++k) {
        out << Frame7{0x82, uint8_t(0x10 + k)};
        if (k < 6)
            out << Frame7{0x91, 0x00, uint8_t(0xE0 + k)};
    }
    return out;
}

// Compares the first five bytes of each request.
QStringList heads(const QList<Frame7> &frames)
{
    QStringList out;
    for (const Frame7 &f : frames)
        out << u"%1 %2 %3 %4 %5"_s.arg(f[0], 2, 16, QLatin1Char('0'))
                   .arg(f[1], 2, 16, QLatin1Char('0'))
                   .arg(f[2], 2, 16, QLatin1Char('0'))
                   .arg(f[3], 2, 16, QLatin1Char('0'))
                   .arg(f[4], 2, 16, QLatin1Char('0'));
    return out;
}

kit::Edit *thresholdEdit(const WindowRig &rig, int k)
{
    return rig.form->pages.col->threshold(k);
}

} // namespace

class TstColor : public QObject
{
    Q_OBJECT
private slots:
    void readChainFillsPageAndEasyCopies();
    void irAlternationOneRequestAtATime();
    void modeEnabling_data();
    void modeEnabling();
    void writes_data();
    void writes();
    void thresholdEdits_data();
    void thresholdEdits();
    void decoderClearsTheInvalidMark();
    void repeatLoopEndsAfterThePassInProgress();
    void chainStops_data();
    void chainStops();
    void writesWhileBusyAreDropped();
};

void TstColor::readChainFillsPageAndEasyCopies()
{
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    *cam = ColourCamera{1, 2, 3, 4, 5, 6, 7, 8,
                        {0x1234, 0x0001, 0x00FF, 0xABCD, 0x8000, 0x7FFF, 0x0102}, 0x56,
                        {0x00A0, 0x00A1, 0x1000, 0xFFFF, 0x0042, 0xBEEF}, {}, {}};
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    QTest::qWait(50);
    QCOMPARE(heads(rig->peer.requests), heads(fullChain()));

    ColorPage *c = rig->form->pages.col;
    EasyPage *e = rig->form->pages.easy;
    QCOMPARE(c->Color->itemIndex(), 1);
    QCOMPARE(e->wb_select->itemIndex(), 1);
    QCOMPARE(c->ATWMode->itemIndex(), 2);
    QCOMPARE(c->WBAutoLv->itemIndex(), 3);
    QCOMPARE(e->ATWBar->value(), 3);
    QCOMPARE(c->WBInLv->itemIndex(), 4);
    QCOMPARE(c->WBOutLv->itemIndex(), 5);
    QCOMPARE(c->WBOPLv->itemIndex(), 6);
    QCOMPARE(e->AWBBar->value(), 6);
    QCOMPARE(c->RYGain->itemIndex(), 7);
    QCOMPARE(e->Rgain->value(), 7);
    QCOMPARE(c->BYGain->itemIndex(), 8);
    QCOMPARE(e->BGain->value(), 8);

    const QStringList figures{u"1234"_s, u"0001"_s, u"00FF"_s, u"ABCD"_s, u"8000"_s, u"7FFF"_s, u"0102"_s};
    int k = 0;
    for (const char *name : {"R_DET", "G_DET", "B_DET", "Y_DET", "IR_RPBY", "IR_RMBY", "B_PER_Y"})
        QCOMPARE(rig->w<QLineEdit>(name)->text(), figures[k++]);
    QCOMPARE(c->RA_CHROMA->text(), u"0056"_s);
    const QStringList limits{u"00A0"_s, u"00A1"_s, u"1000"_s, u"FFFF"_s, u"0042"_s, u"BEEF"_s};
    for (k = 0; k < 6; ++k)
        QCOMPARE(thresholdEdit(*rig, k)->text(), limits[k]);

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty()) {
        rig->form->resize(1500, 1000);
        QTest::qWait(50);
        rig->form->grab().save(dir + u"/color.png"_s);
    }
}

void TstColor::irAlternationOneRequestAtATime()
{
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    ColorPage *c = rig->form->pages.col;
    rig->showPage(Pages::ColTab);
    QTRY_VERIFY(rig->idle());
    // From here the camera answers by hand, one reply at a time.
    rig->peer.script = [](const Frame7 &) -> std::optional<Frame7> { return std::nullopt; };
    rig->peer.requests.clear();
    c->IRGET->click();
    QTRY_COMPARE(rig->peer.requests.size(), 1);

    const QList<Frame7> expected = fullChain().mid(4);
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(heads({rig->peer.requests.at(i)}), heads({expected.at(i)}));
        QVERIFY(!rig->idle());
        const Frame7 &req = expected.at(i);
        if (req[0] == 0x91)
            rig->peer.sendFrame(0x91, 0x00, req[2], 0x10, uint8_t(i));
        else
            rig->peer.sendFrame(0x82, req[1], 0x20, uint8_t(i), 0x30);
        if (i + 1 < expected.size()) {
            // Exactly one next request goes out, and it stays outstanding.
            QTRY_COMPARE(rig->peer.requests.size(), i + 2);
        }
    }
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), expected.size());
    QCOMPARE(thresholdEdit(*rig, 0)->text(), u"1001"_s);
    QCOMPARE(thresholdEdit(*rig, 5)->text(), u"100B"_s);
    QCOMPARE(c->B_PER_Y->text(), u"200C"_s);
    QCOMPARE(c->RA_CHROMA->text(), u"0030"_s);
}

// Enabled states in the order WBAutoLv, ATWBar, WBOPLv, AWBBar, WBOPB, AWB, WBInLv, WBOutLv.
void TstColor::modeEnabling_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<int>("wbSelect");
    QTest::newRow("ATW") << 1 << 0 << u"EEDDDDDD"_s << 0;
    QTest::newRow("AWB") << 0 << 1 << u"DDEEEEDD"_s << 1;
    QTest::newRow("In Door after ATW") << 0 << 2 << u"DEDDDDED"_s << 1;
    QTest::newRow("In Door after AWB") << 1 << 2 << u"DDDEDEED"_s << 1;
    QTest::newRow("Out Door after ATW") << 0 << 3 << u"DEDDDDDE"_s << 1;
    QTest::newRow("Out Door after AWB") << 1 << 3 << u"DDDEDEDE"_s << 1;
    QTest::newRow("mode 4 changes nothing") << 0 << 4 << u"EEDDDDDD"_s << 1;
    QTest::newRow("mode 255 changes nothing") << 1 << 255 << u"DDEEEEDD"_s << 1;
}

void TstColor::modeEnabling()
{
    QFETCH(int, before);
    QFETCH(int, mode);
    QFETCH(QString, enabled);
    QFETCH(int, wbSelect);
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    cam->mode = uint8_t(before);
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    cam->mode = uint8_t(mode);
    QVERIFY(rig->refresh(Pages::ColTab, 17));

    QString seen;
    for (const char *name : {"WBAutoLv", "ATWBar", "WBOPLv", "AWBBar", "WBOPB", "AWB", "WBInLv", "WBOutLv"})
        seen += rig->w<QWidget>(name)->isEnabled() ? u'E' : u'D';
    QCOMPARE(seen, enabled);
    auto *wb = rig->form->pages.easy->wb_select;
    QCOMPARE(wb->itemIndex(), wbSelect);
    QCOMPARE(wb->button(wb->itemIndex())->text(), wbSelect ? u"AWB"_s : u"ATW"_s);
    QCOMPARE(rig->form->pages.col->Color->itemIndex(), std::min(mode, 3));
}

void TstColor::writes_data()
{
    QTest::addColumn<int>("mode");   // the camera's mode, so that the control is enabled
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value");  // -1: a button
    QTest::addColumn<QList<int>>("sent");
    QTest::newRow("Color") << 0 << u"Color"_s << 2 << QList<int>{0x80, 2};
    QTest::newRow("wb_select") << 0 << u"wb_select"_s << 1 << QList<int>{0x80, 1};
    QTest::newRow("WBAutoLv") << 0 << u"WBAutoLv"_s << 8 << QList<int>{0x81, 8};
    QTest::newRow("ATWBar") << 0 << u"ATWBar"_s << 5 << QList<int>{0x81, 5};
    QTest::newRow("WBOPLv") << 1 << u"WBOPLv"_s << 3 << QList<int>{0x82, 3};
    QTest::newRow("AWBBar") << 1 << u"AWBBar"_s << 7 << QList<int>{0x82, 7};
    QTest::newRow("RYGain") << 0 << u"RYGain"_s << 4 << QList<int>{0x83, 4};
    QTest::newRow("Rgain") << 0 << u"Rgain"_s << 1 << QList<int>{0x83, 1};
    QTest::newRow("BYGain") << 0 << u"BYGain"_s << 6 << QList<int>{0x84, 6};
    QTest::newRow("BGain") << 0 << u"BGain"_s << 2 << QList<int>{0x84, 2};
    QTest::newRow("WBOPB") << 1 << u"WBOPB"_s << -1 << QList<int>{0x85, 0};
    QTest::newRow("AWB") << 1 << u"AWB"_s << -1 << QList<int>{0x85, 0};
    QTest::newRow("WBInLv") << 2 << u"WBInLv"_s << 0 << QList<int>{0x86, 0};
    QTest::newRow("WBOutLv") << 3 << u"WBOutLv"_s << 8 << QList<int>{0x87, 8};
    QTest::newRow("ATWMode") << 0 << u"ATWMode"_s << 1 << QList<int>{0x88, 1};
}

void TstColor::writes()
{
    QFETCH(int, mode);
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(QList<int>, sent);
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    cam->mode = uint8_t(mode);
    cam->in = 4; // so that index 0 is a change
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    rig->peer.requests.clear();

    QObject *w = rig->form->findChild<QObject *>(control);
    QVERIFY(w);
    if (auto *g = qobject_cast<kit::RadioGroup *>(w))
        g->button(value)->click();
    else if (auto *s = qobject_cast<QSlider *>(w))
        s->setValue(value);
    else
        qobject_cast<QAbstractButton *>(w)->click();
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    // One write; its answer ends there.
    QCOMPARE(rig->peer.requests.size(), 1);
    const Frame7 &f = rig->peer.requests.first();
    QCOMPARE((QList<int>{f[0], f[1], f[2], f[3], f[4]}), (QList<int>{0x82, sent[0], sent[1], 0, 0}));
    if (control == u"Color") {
        // The mode answer is applied with its enabling.
        QVERIFY(rig->w<QWidget>("WBInLv")->isEnabled());
        QVERIFY(!rig->w<QWidget>("WBAutoLv")->isEnabled());
        QCOMPARE(rig->form->pages.easy->wb_select->itemIndex(), 1);
    }
}

void TstColor::thresholdEdits_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("sent");   // empty: nothing
    QTest::addColumn<bool>("markedWhileTyping");
    QTest::addColumn<bool>("markedAfterLeaving");
    QTest::newRow("00a0") << 0 << u"00a0"_s << QList<int>{0x93, 0x00, 0xE0, 0x00, 0xA0} << false << false;
    QTest::newRow("upper case, last edit") << 5 << u"12F4"_s << QList<int>{0x93, 0x00, 0xE5, 0x12, 0xF4} << false
                                           << false;
    QTest::newRow("ffff, third edit") << 2 << u"ffff"_s << QList<int>{0x93, 0x00, 0xE2, 0xFF, 0xFF} << false << false;
    QTest::newRow("three characters") << 0 << u"00a"_s << QList<int>{} << false << true;
    QTest::newRow("non-hex fourth") << 1 << u"00aG"_s << QList<int>{} << true << true;
    QTest::newRow("non-hex second") << 3 << u"0x12"_s << QList<int>{} << true << true;
    QTest::newRow("sign") << 4 << u"-001"_s << QList<int>{} << true << true;
}

void TstColor::thresholdEdits()
{
    QFETCH(int, k);
    QFETCH(QString, typed);
    QFETCH(QList<int>, sent);
    QFETCH(bool, markedWhileTyping);
    QFETCH(bool, markedAfterLeaving);
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    cam->thresholds[k] = 0x5555;
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    kit::Edit *edit = thresholdEdit(*rig, k);
    QCOMPARE(edit->text(), u"5555"_s);
    edit->clear();
    QTRY_VERIFY(rig->idle());
    rig->peer.requests.clear();

    QTest::keyClicks(edit, typed);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    if (sent.isEmpty()) {
        QCOMPARE(rig->peer.requests.size(), 0);
    } else {
        QCOMPARE(rig->peer.requests.size(), 1);
        const Frame7 &f = rig->peer.requests.first();
        QCOMPARE((QList<int>{f[0], f[1], f[2], f[3], f[4]}), sent);
    }
    QCOMPARE(edit->isInvalid(), markedWhileTyping);
    emit edit->editingFinished();
    QCOMPARE(edit->isInvalid(), markedAfterLeaving);
}

void TstColor::decoderClearsTheInvalidMark()
{
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    kit::Edit *edit = thresholdEdit(*rig, 3);
    edit->clear();
    QTest::keyClicks(edit, u"zz"_s);
    QVERIFY(edit->isInvalid());
    cam->thresholds[3] = 0x0C0C;
    rig->form->pages.col->IRGET->click();
    QTRY_COMPARE(edit->text(), u"0C0C"_s);
    QVERIFY(!edit->isInvalid());
}

void TstColor::repeatLoopEndsAfterThePassInProgress()
{
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    ColorPage *c = rig->form->pages.col;
    c->IRRepeat->click();
    rig->peer.requests.clear();

    // Ticking "Repeat" alone starts nothing; "Get" does, and the loop keeps going.
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), 0);
    c->IRGET->click();
    QTRY_VERIFY(rig->peer.countOf(0x82, 0x10) >= 3);
    QCOMPARE(rig->peer.countOf(0x82, 0x00), 0);

    // Unticked mid-pass: the pass ends at its last figure and nothing follows.
    c->IRRepeat->click();
    const int passes = rig->peer.countOf(0x82, 0x10);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(100);
    QVERIFY(rig->idle());
    QCOMPARE(rig->peer.countOf(0x82, 0x10), passes);
    QCOMPARE(rig->peer.requests.last()[1], uint8_t(0x16));
    QCOMPARE(rig->peer.countOf(0x82, 0x16), passes);
    QCOMPARE(rig->peer.countOf(0x91, 0x00), passes * 6);
}

void TstColor::chainStops_data()
{
    QTest::addColumn<int>("failing");    // category << 8 | item of the request answered badly
    QTest::addColumn<int>("category");   // 0: the camera answers with item 0x05 instead
    QTest::addColumn<int>("sent");
    QTest::newRow("mode read, 0x20") << 0x8200 << 0xA2 << 1;
    QTest::newRow("gain read, 0x40") << 0x8203 << 0xC2 << 4;
    QTest::newRow("figure 0x12, 0x40") << 0x8212 << 0xC2 << 9;
    QTest::newRow("memory read, 0x20") << 0x9100 << 0xB1 << 6;
    QTest::newRow("unexpected item") << 0x8201 << 0 << 2;
}

void TstColor::chainStops()
{
    QFETCH(int, failing);
    QFETCH(int, category);
    QFETCH(int, sent);
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    const QString figureBefore = rig->form->pages.col->G_DET->text();
    cam->figures[1] = 0x4444;
    if (category)
        cam->errorCategory[failing] = uint8_t(category);
    auto base = rig->peer.script;
    if (!category)
        rig->peer.script = [base, failing](const Frame7 &r) -> std::optional<Frame7> {
            if ((r[0] << 8 | r[1]) == failing)
                return PtyPeer::reply(r[0], 0x05, 1, 1, 1);
            return base(r);
        };
    rig->showPage(Pages::ColTab);
    QTRY_COMPARE(rig->peer.requests.size(), sent);
    QTRY_VERIFY(rig->idle());
    QTest::qWait(50);
    QCOMPARE(rig->peer.requests.size(), sent);
    if (failing == 0x8212)
        QCOMPARE(rig->form->pages.col->G_DET->text(), u"4444"_s);
    if (failing == 0x9100)
        QCOMPARE(rig->form->pages.col->G_DET->text(), figureBefore);
}

void TstColor::writesWhileBusyAreDropped()
{
    auto cam = std::make_shared<ColourCamera>();
    auto rig = WindowRig::connectedTo(cam);
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::ColTab, 17));
    ColorPage *c = rig->form->pages.col;
    // A loop read left outstanding.
    cam->silent.insert(0x8210);
    rig->peer.requests.clear();
    c->IRGET->click();
    QTRY_COMPARE(rig->peer.requests.size(), 1);

    c->Color->button(2)->click();
    rig->form->pages.easy->Rgain->setValue(6);
    c->IRGET->click();
    thresholdEdit(*rig, 0)->clear();
    QTest::keyClicks(thresholdEdit(*rig, 0), u"1234"_s);
    QTest::qWait(100);
    QCOMPARE(rig->peer.requests.size(), 1);
    QVERIFY(!thresholdEdit(*rig, 0)->isInvalid());
}

QTEST_MAIN(TstColor)
#include "tst_color.moc"
