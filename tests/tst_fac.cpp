// The Fac page against the simulated camera: its nine-read refresh and what it fills, every
// switch's frame and whether it ends the copy mode, the AES answer that puts the iris on
// automatic, the version clear followed by the camera reset, the EEPROM copy with its
// progress, and error replies ending the chain or the copy.
#include "link/link.h"
#include "pages/eeppage.h"
#include "pages/facpage.h"
#include "support/camerarig.h"
#include "transfer/playback.h"

#include <QFile>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int Fac = Pages::FacTab;

// The refresh of the page, as the camera receives it.
const QStringList Chain = requestTexts(
    {"8600", "8602", "8607", "8610", "8100", "8120", "8800", "8510", "8305"});

// The window against the simulated camera, with mask A's state answered here and the lens
// ratio fixed, so the page's every read has a known answer.
struct FacRig : CameraRig
{
    FacRig()
    {
        before = [](const Frame7 &r) -> std::optional<Frame7> {
            if (r[0] == 0x88 && r[1] == 0x00)
                return PtyPeer::reply(0x88, 0x00, 0x0E, 0x0D, 0x00);   // mask A on
            if (r[0] == 0x83 && r[1] == 0x05)
                return PtyPeer::reply(0x83, 0x05, 7, 3, 0);
            return std::nullopt;
        };
    }
    // Shows the page and waits for `requests` reads (the whole refresh by default).
    bool show(int requests = int(Chain.size())) { return CameraRig::show(Fac, requests); }
    FacPage *fac() const { return rig->form->pages.fac; }
};

QString writeDataFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(u"delivery.dat"_s);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        return {};
    return path;
}

} // namespace

class TstFac : public QObject
{
    Q_OBJECT
private slots:
    void refreshReadsTheDeliveryState();
    void switchFrames_data();
    void switchFrames();
    void presetEnterOnlyWhenOn();
    void fixingTheShutterPutsTheIrisOnAutomatic_data();
    void fixingTheShutterPutsTheIrisOnAutomatic();
    void clearRestartsTheCamera_data();
    void clearRestartsTheCamera();
    void copyPlaysAFileWithProgress();
    void refusedCopyStopsForGood();
    void chainStops_data();
    void chainStops();
};

void TstFac::refreshReadsTheDeliveryState()
{
    FacRig c;
    QVERIFY(c.rig);
    camsim::Settings &s = c.camera->live();
    s.presetFlag = 1, s.phaseOn = 1, s.tvNtsc = 0, s.lowResolution = 1, s.dayNight = 3;
    s.sensLevel = 3, s.aesMode = 1, s.motion = 1;
    QVERIFY(c.show());
    // Reads only: applying a reply writes nothing back.
    QCOMPARE(c.rig->requestTexts(), Chain);

    FacPage *f = c.fac();
    const std::pair<kit::RadioGroup *, int> groups[] = {
        {f->FPreset, 1}, {f->FPhase, 1}, {f->FDayNight, 1}, {f->FSENS, 1},
        {f->FAES, 0},    {f->FMASK, 1},  {f->FMotion, 1},
    };
    for (const auto &[group, index] : groups)
        QVERIFY2(group->itemIndex() == index, qPrintable(group->objectName()));
    QCOMPARE(f->FZoomBar->value(), 7);
    QCOMPARE(f->Label255->text(), u"PAL"_s);
    QCOMPARE(f->Label256->text(), u"LOW"_s);
    QCOMPARE(c.rig->form->pages.eep->TV->text(), u"PAL"_s);
    QCOMPARE(c.rig->form->pages.eep->Resolution->text(), u"LOW"_s);

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        c.rig->form->resize(1320, 780);
        QTest::qWait(50);
        c.rig->form->grab().save(QString::fromLocal8Bit(dir) + u"/fac.png"_s);
    }
}

void TstFac::switchFrames_data()
{
    WriteRow::columns();
    QTest::addColumn<bool>("endsCopy");
    const auto row = [](const char *name, int tab, const char *control, const char *action, const char *value,
                        const char *frame, bool endsCopy) {
        QTest::newRow(name) << tab << QString::fromLatin1(control) << QString::fromLatin1(action)
                            << QString::fromLatin1(value) << QByteArray(frame) << endsCopy;
    };
    const int easy = Pages::EasyTab;
    row("HGain +4", Fac, "HGain", "item", "5", "868D050000", false);
    row("VGain MAX", Fac, "VGain", "item", "12", "868E0C0000", false);
    row("HGainBar 7", easy, "HGainBar", "bar", "7", "868D070000", false);
    row("VGainBar 3", easy, "VGainBar", "bar", "3", "868E030000", false);
    row("FColorBar ON", Fac, "FColorBar", "item", "1", "86B1010000", false);
    row("FPhase ON", Fac, "FPhase", "item", "1", "8685010000", true);
    row("FMASK ON: mask A", Fac, "FMASK", "item", "1", "8880000100", true);
    row("FZoomBar 6", Fac, "FZoomBar", "bar", "6", "838D060A00", true);
    row("FMotion ON", Fac, "FMotion", "item", "1", "8590010000", true);
    row("FAES FIX", Fac, "FAES", "item", "0", "81A0010000", true);
    row("FAES AUTO", Fac, "FAES", "item", "1", "81A0000000", true);
    row("FSENS ON: x8", Fac, "FSENS", "item", "1", "8181040000", true);
    row("FSENS OFF", Fac, "FSENS", "item", "0", "8181000000", true);
    row("FDayNight AUTO", Fac, "FDayNight", "item", "0", "86A0020000", true);
    row("FDayNight EXT", Fac, "FDayNight", "item", "1", "86A0030000", true);
    row("FPreset ON", Fac, "FPreset", "item", "1", "8680020100", true);
    row("FClear: version word cleared", Fac, "FClear", "press", "", "9203FF0000", true);
    row("FLoad: the refresh", Fac, "FLoad", "press", "", "8600000000", true);
}

void TstFac::switchFrames()
{
    const WriteRow w = WriteRow::fetch();
    QFETCH(bool, endsCopy);
    WindowRig rig;
    rig.peer.script = WindowRig::refusing;   // the page stays unfilled: every item is a change
    QVERIFY(rig.openPage(w.tab));
    FacPage *fac = rig.form->pages.fac;
    fac->setTransactionKind(FacPage::Transaction::Copy);
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
    QCOMPARE(fac->TransactionKind() == FacPage::Transaction::Settings, endsCopy);
}

void TstFac::presetEnterOnlyWhenOn()
{
    WindowRig rig;
    rig.peer.script = WindowRig::refusing;
    QVERIFY(rig.openPage(Fac));
    FacPage *fac = rig.form->pages.fac;
    rig.quietly([&] { fac->FPreset->setItemIndex(0); });
    QVERIFY(rig.framesOf(u"FPreEnter"_s, u"press"_s, {}).isEmpty());

    // While a request is outstanding nothing is sent and the copy mode stays.
    rig.quietly([&] {
        fac->FPreset->setItemIndex(1);
        fac->setTransactionKind(FacPage::Transaction::Copy);
        fac->FPreEnter->click();
    });
    QVERIFY(rig.peer.requests.isEmpty());
    QCOMPARE(fac->TransactionKind(), FacPage::Transaction::Copy);

    QCOMPARE(rig.framesOf(u"FPreEnter"_s, u"press"_s, {}), requestTexts({"8680000000"}));
    QCOMPARE(fac->TransactionKind(), FacPage::Transaction::Settings);
}

void TstFac::fixingTheShutterPutsTheIrisOnAutomatic_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<int>("alcMode");
    QTest::newRow("FIX: then ALC automatic") << 0 << requestTexts({"81A001", "819000"}) << 0;
    QTest::newRow("AUTO: nothing follows") << 1 << requestTexts({"81A000"}) << 1;
}

void TstFac::fixingTheShutterPutsTheIrisOnAutomatic()
{
    QFETCH(int, item);
    QFETCH(QStringList, frames);
    QFETCH(int, alcMode);
    FacRig c;
    QVERIFY(c.rig);
    c.camera->live().alcMode = 1;
    c.camera->live().aesMode = item == 0 ? 0 : 1;
    QVERIFY(c.show());
    QCOMPARE(c.framesOf([&] { c.fac()->FAES->button(item)->click(); }), frames);
    QCOMPARE(c.camera->live().aesMode, item == 0 ? 1 : 0);
    QCOMPARE(c.camera->live().alcMode, alcMode);
}

void TstFac::clearRestartsTheCamera_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("answered: reset follows") << false;
    QTest::newRow("refused: no reset") << true;
}

void TstFac::clearRestartsTheCamera()
{
    QFETCH(bool, refused);
    FacRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    if (refused)
        c.refused.insert(0x9203);
    TForm1 *form = c.rig->form;
    const uint16_t version = c.camera->eeprom1()[0x3FF];
    QVERIFY(version != 0);
    QCOMPARE(c.framesOf([&] { c.fac()->FClear->click(); }),
             refused ? requestTexts({"9203FF0000"}) : requestTexts({"9203FF0000", "8F"}));
    QCOMPARE(c.camera->eeprom1()[0x3FF], refused ? version : uint16_t(0));
    // The restart: link free, cursor normal, receiver waiting, tabs usable, no speed search.
    QVERIFY(form->link.Trans_chk());
    QVERIFY(!kit::isBusyCursor());
    QCOMPARE(form->link.receiver().state(), RxState::Idle);
    QVERIFY(form->PageControl1->isEnabled());
    QVERIFY(!form->connection->PONTimer1->isActive());
}

void TstFac::copyPlaysAFileWithProgress()
{
    FacRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    QTemporaryDir dir;
    const QByteArray content = "9200100ABC\r\n9200111234\r\n9C0012BEEF\r\n8F00000000\r\n";
    const QString path = writeDataFile(dir, content);
    QVERIFY(!path.isEmpty());
    auto *bar = c.rig->w<QProgressBar>("FProgressBar");
    QList<int> positions;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) { positions << v; });

    c.rig->dialogs.openQueue << path;
    QCOMPARE(c.framesOf([&] { c.fac()->FPtoC->click(); }),
             requestTexts({"9200100ABC", "9200111234", "9C0012BEEF", "8F"}));
    QCOMPARE(c.camera->eeprom1()[0x10], uint16_t(0x0ABC));
    QCOMPARE(c.camera->eeprom1()[0x11], uint16_t(0x1234));
    QCOMPARE(c.camera->eeprom2()[0x12], uint16_t(0xBEEF));
    QCOMPARE(c.rig->w<QLabel>("FFileName")->text(), path);
    // The bytes consumed with each record sent after the first, then 0 at the end record.
    QCOMPARE(bar->maximum(), int(content.size()));
    QCOMPARE(positions, (QList<int>{24, 36, 0}));
    QVERIFY(!c.rig->form->pages.playback->running());
    QVERIFY(c.rig->form->link.Trans_chk());
    QVERIFY(!kit::isBusyCursor());
    QVERIFY(c.rig->dialogs.messages.isEmpty());

    // Showing the page again changes nothing while the copy mode lasts ...
    QCOMPARE(c.fac()->Label255->text(), u"NTSC"_s);
    c.camera->live().tvNtsc = 0;
    c.rig->showPage(Pages::OthTab);
    QVERIFY(c.settle());
    QVERIFY(c.show(1));
    QCOMPARE(c.rig->requestTexts(), requestTexts({"8600"}));
    QCOMPARE(c.fac()->Label255->text(), u"NTSC"_s);
    // ... until 'Load' refreshes it.
    QCOMPARE(c.framesOf([&] { c.fac()->FLoad->click(); }), Chain);
    QCOMPARE(c.fac()->Label255->text(), u"PAL"_s);
}

void TstFac::refusedCopyStopsForGood()
{
    FacRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show());
    QTemporaryDir dir;
    const QString path = writeDataFile(dir, "9200100ABC\r\n9200111234\r\n9200121111\r\n8F00000000\r\n");
    c.refused.insert(0x9200);
    c.rig->dialogs.openQueue << path;
    QCOMPARE(c.framesOf([&] { c.fac()->FPtoC->click(); }), requestTexts({"9200100ABC"}));
    QCOMPARE(c.rig->dialogs.messages.size(), 1);
    QCOMPARE(c.rig->dialogs.messages[0].text, u" Error "_s);
    QCOMPARE(c.rig->dialogs.messages[0].caption, u"ERR"_s);
    // The file is closed: a later reply on the page sends none of its lines.
    QVERIFY(!c.rig->form->pages.playback->running());
    c.refused.clear();
    QCOMPARE(c.fac()->TransactionKind(), FacPage::Transaction::Copy);
    c.rig->form->SW1Click();
    QVERIFY(c.settle());
    QCOMPARE(c.rig->requestTexts(), requestTexts({"9200100ABC", "8600"}));
}

void TstFac::chainStops_data()
{
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("sent");
    QTest::newRow("video standard refused") << 0x8607 << 3;
    QTest::newRow("mask state refused") << 0x8800 << 7;
    // An error reply to the motion read is no motion reply, although its item matches.
    QTest::newRow("motion refused") << 0x8510 << 8;
}

void TstFac::chainStops()
{
    QFETCH(int, refused);
    QFETCH(int, sent);
    FacRig c;
    QVERIFY(c.rig);
    c.refused.insert(refused);
    c.camera->live().lowResolution = 1;
    c.camera->live().motion = 1;
    QVERIFY(c.show(sent));
    QCOMPARE(c.rig->requestTexts(), Chain.mid(0, sent));
    QCOMPARE(c.fac()->Label256->text(), sent > 3 ? u"LOW"_s : u"----"_s);
    QCOMPARE(c.fac()->FMotion->itemIndex(), sent > 8 ? 1 : -1);
}

QTEST_MAIN(TstFac)
#include "tst_fac.moc"
