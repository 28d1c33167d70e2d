// The Tool page against the camera simulator: the page chain, the white clip and burst
// writes and their timers, the Day/Night words, the iris and lens adjustments, the defect
// table read, and the automatic defect search with each of its endings.
#include "pages/toolpage.h"
#include "support/camerarig.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>

#include <QtTest>

#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

struct ToolRig : CameraRig
{
    // Table reads answered as EEPROM 1 words (category 0x90), as some cameras might.
    bool tableAsEeprom = false;

    ToolRig()
    {
        before = [this](const Frame7 &r) -> std::optional<Frame7> {
            // Auto focus off, which the lens adjustment starts with.
            if (r[0] == 0x83 && r[1] == 0x86)
                return PtyPeer::reply(r[0], r[1], r[2]);
            if (!tableAsEeprom || r[0] != 0x9D)
                return std::nullopt;
            auto reply = camera->answer(r);
            (*reply)[0] = 0x90;
            sealFrame(*reply);
            return reply;
        };
    }
    ToolPage *page() const { return rig->form->pages.tool; }
    bool show() { return CameraRig::show(Pages::ToolTab, 10); }
};

QString text(const QByteArray &hex)
{
    return requestText(hex);
}

// A timer's timeout, at once.
void fire(QTimer *timer)
{
    QVERIFY2(timer->isActive(), qPrintable(timer->objectName()));
    QMetaObject::invokeMethod(timer, "timeout");
}

const QStringList PageChain{text("8306"),   text("9434"),   text("9438"),   text("900109"), text("90021B"),
                            text("900118"), text("90021C"), text("900221"), text("90021A"), text("9D00C0")};

} // namespace

class TstTool : public QObject
{
    Q_OBJECT
private slots:
    void pageChainReadsTheSettings();
    void copyPlaysTheFileLastChosenAnywhere();
    void whiteClipReply_data();
    void whiteClipReply();
    void whiteClipWrittenOneSecondAfterTheLastMove();
    void burstWrittenOneSecondAfterTheFirstChange();
    void writes_data();
    void writes();
    void lensAdjustmentSequence();
    void tableReadFillsKizuData_data();
    void tableReadFillsKizuData();
    void defectSearch_data();
    void defectSearch();
    void missIsNotReportedAgain();
    void searchStops_data();
    void searchStops();
};

void TstTool::pageChainReadsTheSettings()
{
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->live().irisBias = 0x5C;
    QVERIFY(t.show());
    // The table read ends the chain: the camera answers it in its own category.
    QCOMPARE(texts(t.rig->peer.requests), PageChain);
    ToolPage *p = t.page();
    QCOMPARE(p->IAdata->text(), u"5C"_s);
    QCOMPARE(p->WCLIPBar->position(), 8);
    QCOMPARE(p->WCLIP->text(), u"E0"_s);
    QCOMPARE(p->burst_level_hi->text(), u"48"_s);
    QCOMPARE(p->burst_level_lo->text(), u"58"_s);
    const QStringList limits{p->IrRedUp->text(), p->IrRedLow->text(), p->IrBlueUp->text(), p->IrBlueLow->text()};
    QCOMPARE(limits, (QStringList{u"0180"_s, u"0040"_s, u"0160"_s, u"0030"_s}));
    QCOMPARE(p->ColorCheck->itemIndex(), 1);
    QVERIFY(p->IrRedUp->isEnabled() && p->IrBlueLowSP->isEnabled());
    QCOMPARE(p->NtoDUpDown->position(), 3);
    // Applying wrote nothing back and armed no timer.
    QVERIFY(!p->WCLIPTimer->isActive() && !p->BurstTimer->isActive());

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty()) {
        t.rig->form->resize(1280, 800);
        runFor(50);
        t.rig->form->grab().save(dir + u"/tool.png"_s);
    }
}

void TstTool::whiteClipReply_data()
{
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shown");
    QTest::newRow("D3") << 0xD3 << 4 << u"D0"_s;
    QTest::newRow("FF") << 0xFF << 16 << u"FF"_s;
    QTest::newRow("FE") << 0xFE << 15 << u"FC"_s;
    QTest::newRow("C4") << 0xC4 << 1 << u"C4"_s;
    QTest::newRow("C1") << 0xC1 << 0 << u"C0"_s;
    QTest::newRow("10") << 0x10 << 0 << u"C0"_s;
}

void TstTool::whiteClipReply()
{
    QFETCH(int, low);
    QFETCH(int, position);
    QFETCH(QString, shown);
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->dspRegisters()[0x34] = uint16_t(0x5A00 | low);
    QVERIFY(t.show());
    QCOMPARE(t.page()->WCLIPBar->position(), position);
    QCOMPARE(t.page()->WCLIP->text(), shown);
    QVERIFY(!t.page()->WCLIPTimer->isActive());
}

void TstTool::whiteClipWrittenOneSecondAfterTheLastMove()
{
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->dspRegisters()[0x34] = 0x1234;
    QVERIFY(t.show());
    ToolPage *p = t.page();
    t.rig->peer.requests.clear();
    p->WCLIPBar->setPosition(10);
    QCOMPARE(p->WCLIP->text(), u"E8"_s);
    QVERIFY(p->WCLIPTimer->isActive());
    QCOMPARE(p->WCLIPTimer->interval(), 1000);
    runFor(300);
    // Another move starts the second again.
    p->WCLIPBar->setPosition(16);
    QCOMPARE(p->WCLIP->text(), u"FF"_s);
    QVERIFY(p->WCLIPTimer->remainingTime() > 900);
    QVERIFY(t.settle());
    QVERIFY(t.rig->peer.requests.isEmpty());
    QCOMPARE(t.framesOf([&] { fire(p->WCLIPTimer); }), QStringList{text("973412FF")});
    QVERIFY(!p->WCLIPTimer->isActive());
    QCOMPARE(t.camera->dspEeprom()[0x34], uint16_t(0x12FF));
    QCOMPARE(p->WCLIPBar->position(), 16);

    // A move while a request is outstanding arms nothing.
    t.silent = true;
    p->IAset->click();
    p->WCLIPBar->setPosition(3);
    QCOMPARE(p->WCLIP->text(), u"CC"_s);
    QVERIFY(!p->WCLIPTimer->isActive());
}

void TstTool::burstWrittenOneSecondAfterTheFirstChange()
{
    ToolRig t;
    QVERIFY(t.rig);
    QVERIFY(t.show());
    ToolPage *p = t.page();
    t.rig->peer.requests.clear();
    p->burst_level_hi->setText(u"4A"_s);
    QVERIFY(p->BurstTimer->isActive());
    QCOMPARE(p->BurstTimer->interval(), 1000);
    runFor(300);
    // A later change keeps the countdown of the first.
    p->burst_level_l_spin->clickUp();
    QCOMPARE(p->burst_level_lo->text(), u"59"_s);
    QVERIFY(p->BurstTimer->remainingTime() < 800);
    QVERIFY(t.rig->peer.requests.isEmpty());
    QCOMPARE(t.framesOf([&] { fire(p->BurstTimer); }), QStringList{text("97384A59")});
    QVERIFY(!p->BurstTimer->isActive());
    QCOMPARE(t.camera->dspEeprom()[0x38], uint16_t(0x4A59));

    // The timer firing while a request is outstanding drops the write.
    p->burst_level_h_spin->clickDown();
    QCOMPARE(p->burst_level_hi->text(), u"49"_s);
    QVERIFY(p->BurstTimer->isActive());
    t.silent = true;
    const QStringList sent = t.framesOf([&] {
        p->IAset->click();
        fire(p->BurstTimer);
    });
    QCOMPARE(sent, QStringList{text("81C000")});
    QVERIFY(!p->BurstTimer->isActive());
}

void TstTool::writes_data()
{
    QTest::addColumn<bool>("readFirst");
    QTest::addColumn<int>("colourCheckWord");   // EEPROM 1 0x221
    QTest::addColumn<int>("nightToDayWord");    // EEPROM 1 0x21A
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<int>("limitsEnabled");     // after the answer; -1: not looked at
    auto row = [](const char *name, bool read, int cc, int nd, const char *control, const char *action,
                  const char *value, QStringList frames, int enabled) {
        QTest::newRow(name) << read << cc << nd << QString::fromLatin1(control) << QString::fromLatin1(action)
                            << QString::fromLatin1(value) << frames << enabled;
    };
    row("Color Check ON before any read", false, 0, 0, "ColorCheck", "item", "1", {text("9302210101")}, 1);
    row("Color Check OFF before any read", false, 0, 0, "ColorCheck", "item", "0", {text("9302210102")}, 0);
    row("Color Check ON keeps the high byte read", true, 0x1202, 0, "ColorCheck", "item", "1",
        {text("9302211201")}, 1);
    row("Night->Day before any read", false, 0, 0, "NtoDUpDown", "up", "", {text("93021A1901")}, -1);
    row("Night->Day keeps the high byte read", true, 0x0001, 0x0703, "NtoDUpDown", "up", "",
        {text("93021A0704")}, -1);
    row("IrRedUp typed", true, 0x0001, 0, "IrRedUp", "text", "0123", {text("9301090123")}, -1);
    row("IrBlueLow typed", true, 0x0001, 0, "IrBlueLow", "text", "00ff", {text("93021C00FF")}, -1);
    row("IrRedUp three digits", true, 0x0001, 0, "IrRedUp", "text", "012", {}, -1);
    row("IrRedLow spin up", true, 0x0001, 0, "IrRedLowSP", "spinUp", "01FF", {text("93021B0200")}, -1);
    row("IrRedLow spin up stops at 0200", true, 0x0001, 0, "IrRedLowSP", "spinUp", "0200", {}, -1);
    row("IrBlueUp spin down stops at 0000", true, 0x0001, 0, "IrBlueUpSP", "spinDown", "0000", {}, -1);
    row("IrBlueUp spin on text that is not hex", true, 0x0001, 0, "IrBlueUpSP", "spinDown", "00X1", {}, -1);
    row("IRIS SET", false, 0, 0, "IAset", "press", "", {text("81C000")}, -1);
    row("IRIS EXIT", false, 0, 0, "IAexit", "press", "", {text("81C001")}, -1);
    row("BIAS typed", false, 0, 0, "IAdata", "text", "3c", {text("83A43C")}, -1);
    row("BIAS of one digit", false, 0, 0, "IAdata", "text", "3", {}, -1);
    row("BIAS not hex", false, 0, 0, "IAdata", "text", "3G", {}, -1);
    // The iris spin runs the other way round: down raises the bias.
    row("BIAS spin down", false, 0, 0, "IASpinButton", "spinDown", "0", {text("83A401")}, -1);
    row("BIAS spin up", false, 0, 0, "IASpinButton", "spinUp", "05", {text("83A404")}, -1);
    row("BIAS spin up stops at 00", false, 0, 0, "IASpinButton", "spinUp", "00", {}, -1);
}

void TstTool::writes()
{
    QFETCH(bool, readFirst);
    QFETCH(int, colourCheckWord);
    QFETCH(int, nightToDayWord);
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QString, value);
    QFETCH(QStringList, frames);
    QFETCH(int, limitsEnabled);
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->eeprom1()[0x221] = uint16_t(colourCheckWord);
    t.camera->eeprom1()[0x21A] = uint16_t(nightToDayWord);
    if (readFirst) {
        QVERIFY(t.show());
    } else {
        // The page is shown, but its first read is refused: nothing is read.
        t.refused.insert(0x8306);
        QCOMPARE(t.framesOf([&] { t.rig->showPage(Pages::ToolTab); }), QStringList{text("8306")});
    }
    ToolPage *p = t.page();
    // The spin buttons step their edit; the edit sends.
    static const std::map<QString, kit::Edit *ToolPage::*> spun{
        {u"IrRedUpSP"_s, &ToolPage::IrRedUp}, {u"IrRedLowSP"_s, &ToolPage::IrRedLow},
        {u"IrBlueUpSP"_s, &ToolPage::IrBlueUp}, {u"IrBlueLowSP"_s, &ToolPage::IrBlueLow},
        {u"IASpinButton"_s, &ToolPage::IAdata}};
    if (action.startsWith(u"spin"))
        t.framesOf([&] { (p->*spun.at(control))->setText(value); });
    const QStringList sent = t.framesOf([&] {
        if (action == u"item" || action == u"press")
            t.rig->act(control, action, value);
        else if (action == u"up")
            p->NtoDUpDown->stepUp();
        else if (action == u"text")
            t.rig->w<QLineEdit>(control.toLatin1().constData())->setText(value);
        else if (action == u"spinUp")
            t.rig->w<kit::SpinButton>(control.toLatin1().constData())->clickUp();
        else
            t.rig->w<kit::SpinButton>(control.toLatin1().constData())->clickDown();
    });
    QCOMPARE(sent, frames);
    if (limitsEnabled >= 0) {
        // The camera's answer switches the four limits on or off.
        QCOMPARE(p->IrRedUp->isEnabled(), limitsEnabled == 1);
        QCOMPARE(p->IrBlueLowSP->isEnabled(), limitsEnabled == 1);
    }
}

void TstTool::lensAdjustmentSequence()
{
    ToolRig t;
    QVERIFY(t.rig);
    QVERIFY(t.show());
    ToolPage *p = t.page();
    QCOMPARE(t.framesOf([&] { p->LAGo2->click(); }), (QStringList{text("838600"), text("83A1")}));
    QVERIFY(p->LensADJTimer->isActive());
    QCOMPARE(p->LensADJTimer->interval(), 2000);
    QCOMPARE(t.framesOf([&] { fire(p->LensADJTimer); }), (QStringList{text("83A2"), text("83A3")}));
    QVERIFY(!p->LensADJTimer->isActive());
}

void TstTool::tableReadFillsKizuData_data()
{
    QTest::addColumn<bool>("pageChain");   // by the page chain, else by 'EEP READ'
    QTest::newRow("EEP READ") << false;
    QTest::newRow("page chain, table words answered as EEPROM words") << true;
}

void TstTool::tableReadFillsKizuData()
{
    QFETCH(bool, pageChain);
    ToolRig t;
    QVERIFY(t.rig);
    auto &table = t.camera->dspEeprom();
    table[0xC0] = 0xF123;   // A: H shown in 10 bits
    table[0xC1] = 0x1440;   // A: V 0x040, ON, R
    table[0xDC] = 0x03FF;
    table[0xDD] = 0x0BFF;   // O: V shown in 9 bits, F
    t.tableAsEeprom = pageChain;
    if (pageChain) {
        t.rig->showPage(Pages::ToolTab);
    } else {
        QVERIFY(t.show());
        t.rig->peer.requests.clear();
        t.page()->KiAuRe->click();
    }
    QVERIFY(runUntil([&] { return t.idle() && t.rig->peer.requests.size() >= (pageChain ? 39 : 30); }));
    QVERIFY(t.settle());
    QStringList reads;
    for (int a = 0xC0; a <= 0xDD; ++a)
        reads << text("9D00" + QByteArray::number(a, 16));
    QCOMPARE(texts(t.rig->peer.requests, pageChain ? 9 : 0), reads);
    const defect::Row &a = t.page()->KizuData[0], &o = t.page()->KizuData[14];
    QCOMPARE(a.H->text(), u"0123"_s);
    QCOMPARE(a.V->text(), u"0040"_s);
    QVERIFY(a.ON->isChecked() && !a.F->isChecked() && a.R->isChecked());
    QCOMPARE(o.H->text(), u"03FF"_s);
    QCOMPARE(o.V->text(), u"01FF"_s);
    QVERIFY(!o.ON->isChecked() && o.F->isChecked() && !o.R->isChecked());
    QCOMPARE(t.page()->KizuData[7].V->text(), u"0000"_s);
}

using Defects = std::vector<camsim::PlantedDefect>;
using Positions = QList<QPair<int, int>>;
Q_DECLARE_METATYPE(Defects)

namespace {

// Go1, then Go2 and every pass, each pause cut short. False when it does not end.
bool runSearch(ToolRig &t)
{
    ToolPage *p = t.page();
    p->Go1->click();
    if (!runUntil([&] { return t.idle() && p->KizuAuto->isEnabled(); }))
        return false;
    p->KizuAuto->click();
    for (int pass = 0; pass <= 16; ++pass) {
        if (!runUntil([&] { return p->AutoKizuTimer->isActive() || !t.rig->dialogs.messages.isEmpty(); }))
            return false;
        if (!p->AutoKizuTimer->isActive())
            return t.settle();
        QMetaObject::invokeMethod(p->AutoKizuTimer, "timeout");
    }
    return false;
}

QStringList passReads()
{
    QStringList out;
    for (const char *item : {"9A01", "9A02", "9A03", "9A04", "9A05"})
        out << text(item);
    return out;
}
} // namespace

void TstTool::defectSearch_data()
{
    QTest::addColumn<Defects>("defects");
    QTest::addColumn<int>("peakUnits");      // KPUpDown: the threshold in units of 16
    QTest::addColumn<Positions>("stored");   // in the order found
    QTest::addColumn<bool>("miss");
    using D = camsim::PlantedDefect;
    QTest::newRow("a weak defect ends it at the threshold")
        << Defects{{0x100, 0x080, 0x0060}, {0x051, 0x1F0, 0x000C}, {0x2A5, 0x13C, 0x0048}} << 1
        << Positions{{0x100, 0x080}, {0x2A5, 0x13C}} << false;
    QTest::newRow("a peak just at the threshold is rejected")
        << Defects{{0x100, 0x080, 0x0060}, {0x200, 0x100, 0x0040}} << 4 << Positions{{0x100, 0x080}} << false;
    QTest::newRow("a stuck defect is seen again: MISS")
        << Defects{{0x100, 0x080, 0x0060}, {0x0AB, 0x0CD, 0x0050, 0, 0, true}} << 1
        << Positions{{0x100, 0x080}, {0x0AB, 0x0CD}} << true;
    QTest::newRow("the fields disagree") << Defects{{0x100, 0x080, 0x0060}, D{0x200, 0x100, 0x0050, 2, 0}} << 1
                                         << Positions{{0x100, 0x080}} << false;
    QTest::newRow("fields one pixel apart agree") << Defects{D{0x3FF, 0x1FF, 0x0060, -1, -1}} << 1
                                                  << Positions{{0x3FF, 0x1FF}} << false;
    QTest::newRow("nothing found: position 0 at the first pass, no MISS") << Defects{} << 1 << Positions{} << false;
    Defects many;
    Positions first15;
    for (int k = 0; k < 16; ++k) {
        many.push_back({0x020 + 0x31 * k, 0x010 + 0x1D * k, 0x0200 - 0x10 * k});
        if (k < 15)
            first15.append({0x020 + 0x31 * k, 0x010 + 0x1D * k});
    }
    QTest::newRow("fifteen fill the table") << many << 1 << first15 << false;
}

void TstTool::defectSearch()
{
    QFETCH(Defects, defects);
    QFETCH(int, peakUnits);
    QFETCH(Positions, stored);
    QFETCH(bool, miss);
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->defects() = defects;
    // Field flags on every entry, which the entries the search stores lose.
    for (int n = 0; n < defect::Count; ++n)
        t.camera->dspEeprom()[size_t(0xC1 + 2 * n)] = defect::Field | defect::Rev;
    QVERIFY(t.show());
    ToolPage *p = t.page();
    p->KiAuRe->click();
    QVERIFY(runUntil([&] { return t.idle() && p->KizuData[14].F->isChecked(); }));
    if (peakUnits != 1) {
        p->KPara->click();
        for (int k = 1; k < peakUnits; ++k)
            p->KPUpDown->stepUp();
    }
    t.rig->peer.requests.clear();
    QVERIFY(runSearch(t));

    QStringList expected{text("9A8001"), text("818100")};
    for (int n = 0; n < stored.size(); ++n) {
        const auto [x, y] = stored[n];
        expected << passReads();
        expected << text(QString::asprintf("9A81%02X%04X", n, x).toLatin1());
        expected << text(QString::asprintf("9A82%02X%04X", n, 0x0400 | y).toLatin1());
    }
    if (stored.size() < 15)
        expected << passReads();   // the pass that ends it
    expected << text("9A8000") << text("868001");
    QCOMPARE(texts(t.rig->peer.requests), expected);

    const auto &messages = t.rig->dialogs.messages;
    QCOMPARE(messages.size(), miss ? 2 : 1);
    QCOMPARE(messages[0].text, u"KIZU=%1"_s.arg(stored.size()));
    QCOMPARE(messages[0].caption, u"KIZU HOSEI END"_s);
    QVERIFY(messages[0].buttons == Dialogs::Buttons::OkCancel);
    if (miss) {
        QCOMPARE(messages[1].text, u"MISS"_s);
        QCOMPARE(messages[1].caption, u"USE MANUAL"_s);
        QVERIFY(messages[1].buttons == Dialogs::Buttons::OkCancel);
    }
    // The camera's table and the grid hold the defects found, switched on.
    for (int n = 0; n < defect::Count; ++n) {
        const bool found = n < stored.size();
        const int x = found ? stored[n].first : 0, y = found ? stored[n].second : 0;
        QCOMPARE(t.camera->dspEeprom()[size_t(0xC0 + 2 * n)], uint16_t(x));
        QCOMPARE(t.camera->dspEeprom()[size_t(0xC1 + 2 * n)], uint16_t(found ? 0x0400 | y : 0x1800));
        const defect::Row &row = p->KizuData[size_t(n)];
        QCOMPARE(row.ON->isChecked(), found);
        QCOMPARE(row.F->isChecked(), !found);
        QCOMPARE(row.R->isChecked(), !found);
        QCOMPARE(row.H->text(), QString::asprintf("%04X", x));
        QCOMPARE(row.V->text(), QString::asprintf("%04X", y));
    }
    QCOMPARE(p->storedDefects(), int(stored.size()));
    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty() && stored.size() == 15) {
        t.rig->form->resize(1280, 800);
        runFor(50);
        t.rig->form->grab().save(dir + u"/tool-search.png"_s);
    }
    // Only Go1 enables the next search.
    QVERIFY(!p->KizuAuto->isEnabled());
    QVERIFY(!p->AutoKizuTimer->isActive());
}

void TstTool::missIsNotReportedAgain()
{
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->defects() = {{0x100, 0x080, 0x0060, 0, 0, true}};
    QVERIFY(t.show());
    QVERIFY(runSearch(t));
    QCOMPARE(t.rig->dialogs.messages.size(), 2);
    // The next search fills the table without a rejected pass: no MISS this time.
    t.rig->dialogs.messages.clear();
    t.camera->defects().clear();
    for (int k = 0; k < 15; ++k)
        t.camera->defects().push_back({0x200 + k, 0x100, 0x0080});
    QVERIFY(runSearch(t));
    QCOMPARE(t.rig->dialogs.messages.size(), 1);
    QCOMPARE(t.rig->dialogs.messages[0].text, u"KIZU=15"_s);
}

void TstTool::searchStops_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("a refused detection read") << u"refusal"_s;
    QTest::newRow("the link busy when the pause ends") << u"busy"_s;
}

void TstTool::searchStops()
{
    QFETCH(QString, how);
    ToolRig t;
    QVERIFY(t.rig);
    t.camera->defects() = {{0x100, 0x080, 0x0060}, {0x200, 0x100, 0x0050}};
    QVERIFY(t.show());
    ToolPage *p = t.page();
    p->Go1->click();
    QVERIFY(runUntil([&] { return t.idle() && p->KizuAuto->isEnabled(); }));
    if (how == u"refusal")
        t.refused.insert(0x9A03);
    p->KizuAuto->click();
    if (how == u"busy") {
        QVERIFY(runUntil([&] { return p->AutoKizuTimer->isActive(); }));
        t.silent = true;
        p->IAset->click();
        fire(p->AutoKizuTimer);
    }
    QVERIFY(runUntil([&] { return how == u"busy" || t.idle(); }));
    runFor(40);
    t.rig->peer.requests.clear();
    // No end request, no message; a late detection answer moves nothing.
    t.rig->peer.sendFrame(0x9A, 0x05, 0x00, 0x80);
    runFor(60);
    QVERIFY(t.rig->peer.requests.isEmpty());
    QVERIFY(t.rig->dialogs.messages.isEmpty());
    QVERIFY(!p->KizuAuto->isEnabled());
    QVERIFY(!p->AutoKizuTimer->isActive());
}

void TstTool::copyPlaysTheFileLastChosenAnywhere()
{
    ToolRig t;
    QVERIFY(t.rig);
    QVERIFY(t.show());
    QTemporaryDir dir;
    const QString path = dir.filePath(u"delivery.dat"_s);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("9C0010ABCD\r\n9C0011EF01\r\n8F00000000\r\n");
    }
    auto *same = t.rig->w<QCheckBox>("TSameName");
    auto *play = t.rig->w<QPushButton>("PtoC1");

    // 'Same File Name' with no file chosen yet: the box is cleared and the dialog asks.
    same->setChecked(true);
    t.rig->dialogs.openQueue << path;
    t.rig->peer.requests.clear();
    play->click();
    QVERIFY(t.settle());
    QVERIFY(!same->isChecked());
    QVERIFY(t.rig->dialogs.openQueue.isEmpty());
    QCOMPARE(texts(t.rig->peer.requests), (QStringList{text("9C0010ABCD"), text("9C0011EF01"), text("8F")}));
    QCOMPARE(t.camera->eeprom2()[0x10], uint16_t(0xABCD));
    QCOMPARE(t.camera->eeprom2()[0x11], uint16_t(0xEF01));
    QCOMPARE(t.rig->w<QLabel>("copyfname3")->text(), path);
    QCOMPARE(t.rig->w<QProgressBar>("Ptoc1Bar")->value(), 0);

    // Ticked now, the file last chosen is played again without asking.
    t.camera->eeprom2()[0x10] = 0;
    same->setChecked(true);
    t.rig->peer.requests.clear();
    play->click();
    QVERIFY(t.settle());
    QCOMPARE(t.rig->peer.requests.size(), 3);
    QCOMPARE(t.camera->eeprom2()[0x10], uint16_t(0xABCD));
    QVERIFY(t.rig->dialogs.messages.isEmpty());
}

QTEST_MAIN(TstTool)
#include "tst_tool.moc"
