// The Oth page against a scripted camera: its nine-read refresh and the twins it fills on
// the EASY, EASY2 and Fac pages, every write of the page and of its EASY twins, the phase
// controls, the answers to writes, and the busy and error rules.
#include "pages/easy2page.h"
#include "pages/easypage.h"
#include "pages/eeppage.h"
#include "pages/facpage.h"
#include "pages/otherpage.h"
#include "support/windowrig.h"

#include <QRadioButton>
#include <QtTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

using Data3 = std::array<uint8_t, 3>;

// The camera's 0x86 functions. Reads answer from `reads`; writes answer from `answers`
// or, by default, with their own data; `errors` lists items answered with an error reply.
struct OtherCamera
{
    std::map<uint8_t, Data3> reads{
        {0x00, {1, 1, 0}},          // preset ON, initial ON
        {0x01, {1, 0, 1}},          // H reversed, V not, negative
        {0x02, {1, 0x01, 0x23}},    // phase locked at 291
        {0x03, {0x02, 0x70, 0}},    // phase maximum 624
        {0x04, {1, 2, 1}},          // gamma 2, Italian, winker ON
        {0x09, {1, 1, 1}},          // freeze, frame, push switch 'Freeze'
        {0x10, {3, 5, 0}},          // day/night external, level +5
        {0x11, {1, 1, 0}},
        {0x0A, {1, 0, 0}},
    };
    std::map<uint8_t, Data3> answers;
    std::map<uint8_t, uint8_t> errors; // item -> category to answer with
    uint8_t otherItemFor0x01 = 0;      // when set, the 0x01 read is answered with this item

    std::optional<Frame7> operator()(const Frame7 &r) const
    {
        if (r[0] == 0x89)
            return PtyPeer::reply(r[0], r[1]);
        if (r[0] != 0x86)
            return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]); // frees the link, nothing else
        if (auto e = errors.find(r[1]); e != errors.end())
            return PtyPeer::reply(e->second, r[1]);
        if (r[1] == 0x01 && otherItemFor0x01)
            return PtyPeer::reply(0x86, otherItemFor0x01, 1, 1, 1);
        const auto &table = (r[1] & 0x80) ? answers : reads;
        if (auto v = table.find(r[1]); v != table.end())
            return PtyPeer::reply(0x86, r[1], v->second[0], v->second[1], v->second[2]);
        return PtyPeer::reply(0x86, r[1], r[2], r[3], r[4]);
    }
};

// Answers the connection read; everything else gets an error reply, which frees the link.
std::optional<Frame7> refusingCamera(const Frame7 &r)
{
    if (r[0] == 0x89)
        return PtyPeer::reply(r[0], r[1]);
    return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
}

} // namespace

class TstOther : public QObject
{
    Q_OBJECT
private slots:
    void refreshReadsNineAndFillsEveryTwin();
    void writeFrames_data();
    void writeFrames();
    void defaultAndPresetEnter();
    void phaseStepAndSet();
    void phaseOffsetEntry_data();
    void phaseOffsetEntry();
    void phaseAnswerShowsThePhase_data();
    void phaseAnswerShowsThePhase();
    void writeAnswers_data();
    void writeAnswers();
    void dayNightModes_data();
    void dayNightModes();
    void chainStops_data();
    void chainStops();
    void actionsWhileBusyAreDropped();
    void easyChainReadsForTheOtherPages();
};

void TstOther::refreshReadsNineAndFillsEveryTwin()
{
    WindowRig rig;
    OtherCamera camera;
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.showPage(Pages::OthTab);
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests),
             requestTexts({"8600000000", "8601000000", "8602000000", "8603000000", "8604000000", "8609000000",
                    "8610000000", "8611000000", "860A000000"}));

    // Every radio group the replies name, on every page. 'Preset' is always back at CANCEL;
    // day/night mode 3 selects the last item and the factory switch's 'EXT'.
    const std::pair<const char *, int> groups[] = {
        {"Preset", 0},      {"Default", 1},    {"FPreset", 1},      {"Initial", 1},     {"InitialE", 1},
        {"HRev", 1},        {"NSHRev", 1},     {"VRev", 0},         {"NSVRev", 0},      {"Nega", 1},
        {"PosiNega", 1},    {"Phase", 1},      {"FPhase", 1},       {"Sync", 1},        {"Gamma", 1},
        {"GammaE", 1},      {"Language", 2},   {"langu_sel", 2},    {"RunMark", 1},     {"Freeze", 1},
        {"FreezeE", 1},     {"FreezeMode", 1}, {"PushSW", 1},       {"Chroma", 2},      {"chromaE", 2},
        {"DayNight", 2},    {"FDayNight", 1},  {"ChromaAutoLv", 5}, {"DayNightLv", 5},  {"eep_no_save", 1},
        {"rec_chk_dpt", 1}, {"rev_chk", 0},
    };
    for (const auto &[name, index] : groups)
        QVERIFY2(rig.w<kit::RadioGroup>(name)->itemIndex() == index, name);
    QVERIFY(rig.w<QCheckBox>("HReverse")->isChecked());
    QVERIFY(!rig.w<QCheckBox>("VReverse")->isChecked());
    QCOMPARE(rig.w<QLineEdit>("PhDisp")->text(), u"0291"_s);
    auto *phaseUD = rig.w<kit::UpDown>("PhaseUD");
    QCOMPARE(phaseUD->position(), 291);
    QCOMPARE(phaseUD->maximum(), 0x270);
    QVERIFY(phaseUD->isEnabled());
    QVERIFY(rig.w<QLineEdit>("PhaseLevel")->isEnabled());
    QCOMPARE(rig.w<QLineEdit>("PhaseLevel")->text(), u"291"_s);
    QCOMPARE(rig.w<QLabel>("hrev_disp")->text(), u"H-Reverse"_s);
    QCOMPARE(rig.w<QLabel>("vrev_disp")->text(), u"Not V-Reverse"_s);

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        rig.form->resize(1320, 780);
        QTest::qWait(50);
        rig.form->grab().save(QString::fromLocal8Bit(dir) + u"/oth.png"_s);
        // The twins, as their pages will show them.
        rig.form->pages.easy->grab().save(QString::fromLocal8Bit(dir) + u"/oth-easy.png"_s);
        rig.form->pages.fac->grab().save(QString::fromLocal8Bit(dir) + u"/oth-fac.png"_s);
    }
}

void TstOther::writeFrames_data()
{
    WriteRow::columns();
    const int oth = Pages::OthTab, easy = Pages::EasyTab;
    WriteRow::add("Preset OK", oth, "Preset", "item", "1", "8680010000");
    WriteRow::add("Initial ON", oth, "Initial", "item", "1", "8681010000");
    WriteRow::add("InitialE ON", easy, "InitialE", "item", "1", "8681010000");
    WriteRow::add("HRev ON", oth, "HRev", "item", "1", "8682010000");
    WriteRow::add("VRev ON", oth, "VRev", "item", "1", "8683010000");
    WriteRow::add("Nega ON", oth, "Nega", "item", "1", "8684010000");
    WriteRow::add("PosiNega Nega", easy, "PosiNega", "item", "1", "8684010000");
    WriteRow::add("Phase ON", oth, "Phase", "item", "1", "8685010000");
    WriteRow::add("Sync ON", easy, "Sync", "item", "1", "8685010000");
    WriteRow::add("PhUp", oth, "PhUp", "press", "", "8686010100");
    WriteRow::add("PhDown", oth, "PhDown", "press", "", "8686000100");
    WriteRow::add("PhaseSet", easy, "PhaseSet", "press", "", "8686000000");
    WriteRow::add("PhOFFSET", oth, "PhOFFSET", "type", "0A1F", "86870A1F00");
    WriteRow::add("NSHRev ON", oth, "NSHRev", "item", "1", "8688010000");
    WriteRow::add("HReverse ticked", easy, "HReverse", "tick", "", "8688010000");
    WriteRow::add("NSVRev ON", oth, "NSVRev", "item", "1", "8689010000");
    WriteRow::add("VReverse ticked", easy, "VReverse", "tick", "", "8689010000");
    WriteRow::add("Gamma 2", oth, "Gamma", "item", "1", "868A010000");
    WriteRow::add("GammaE TYPE B", easy, "GammaE", "item", "1", "868A010000");
    WriteRow::add("Language Italian", oth, "Language", "item", "2", "868B020000");
    WriteRow::add("langu_sel Japanese", easy, "langu_sel", "item", "2", "868B020000");
    WriteRow::add("RunMark ON", oth, "RunMark", "item", "1", "868C010000");
    WriteRow::add("RevSet", easy, "RevSet", "press", "", "868F000000");
    WriteRow::add("Freeze ON", oth, "Freeze", "item", "1", "8690010000");
    WriteRow::add("FreezeE ON", easy, "FreezeE", "item", "1", "8690010000");
    WriteRow::add("FreezeMode Frame", oth, "FreezeMode", "item", "1", "8691010000");
    WriteRow::add("Chroma Auto", oth, "Chroma", "item", "2", "86A0020000");
    WriteRow::add("chromaE AUTO", easy, "chromaE", "item", "2", "86A0020000");
    WriteRow::add("ChromaAutoLv +3", oth, "ChromaAutoLv", "item", "3", "86A1030000");
    WriteRow::add("eep_no_save No Save", oth, "eep_no_save", "set", "1", "86A2010000");
    WriteRow::add("rec_chk_dpt ON", oth, "rec_chk_dpt", "set", "1", "86A3010000");
    WriteRow::add("rev_chk ON", oth, "rev_chk", "set", "1", "86A4010000");
    WriteRow::add("PushSW Freeze", easy, "PushSW", "item", "1", "86C0010000");
    WriteRow::add("Default ON", easy, "Default", "item", "1", "8680020100");
}

void TstOther::writeFrames()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig;
    rig.peer.script = refusingCamera; // the page stays unfilled: every item is a change
    QVERIFY(rig.openPage(w.tab));
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstOther::defaultAndPresetEnter()
{
    WindowRig rig;
    OtherCamera camera;
    camera.errors[0x80] = 0xC6; // the answers free the link and change nothing
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::EasyTab));
    auto *def = rig.w<kit::RadioGroup>("Default");
    auto *enter = rig.w<QPushButton>("PresetSet");
    rig.form->pages.fac->setTransactionKind(FacPage::Transaction::Copy);

    // 'Enter' does nothing while the preset is not 'ON'.
    enter->click();
    QTest::qWait(50);
    QCOMPARE(rig.peer.requests.size(), 0);

    def->button(1)->click();
    QTRY_COMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8680020100")));
    QCOMPARE(rig.form->pages.fac->TransactionKind(), FacPage::Transaction::Settings);
    QVERIFY(rig.settle());
    enter->click();
    QTRY_COMPARE(rig.peer.requests.size(), 2);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8680000000")));
    QVERIFY(rig.settle());

    def->button(0)->click();
    QTRY_COMPARE(rig.peer.requests.size(), 3);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8680020000")));
    QVERIFY(rig.settle());
    enter->click();
    QTest::qWait(50);
    QCOMPARE(rig.peer.requests.size(), 3);
}

void TstOther::phaseStepAndSet()
{
    WindowRig rig;
    OtherCamera camera;
    camera.answers[0x86] = {1, 0x00, 0x05}; // still locked after the step
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::OthTab));
    // The step count goes with the step and is clamped to 1..10; stepping it sends nothing.
    auto *count = rig.w<kit::UpDown>("PhUpDown");
    for (int i = 0; i < 12; ++i)
        count->stepUp();
    QCOMPARE(rig.w<QLineEdit>("PhCnt")->text(), u"10"_s);
    QTest::qWait(30);
    QCOMPARE(rig.peer.requests.size(), 0);
    rig.w<QPushButton>("PhDown")->click();
    QTRY_COMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8686000A00")));
    QVERIFY(rig.settle());

    // The EASY 'Set' sends the typed phase as a 16-bit value.
    rig.showPage(Pages::EasyTab);
    QVERIFY(rig.settle());
    rig.peer.requests.clear();
    auto *level = rig.w<QLineEdit>("PhaseLevel");
    QVERIFY(level->isEnabled()); // the camera's phase is locked
    level->selectAll();
    QTest::keyClicks(level, u"300"_s);
    rig.w<QPushButton>("PhaseSet")->click();
    QTRY_COMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8686012C00")));
}

void TstOther::phaseOffsetEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    QTest::addColumn<bool>("invalid");
    QTest::newRow("three digits") << u"0A1"_s << QByteArray() << false;
    QTest::newRow("four digits") << u"0A1F"_s << QByteArray("86870A1F00") << false;
    QTest::newRow("lower case") << u"ffee"_s << QByteArray("8687FFEE00") << false;
    QTest::newRow("not hex") << u"0AXZ"_s << QByteArray() << true;
    QTest::newRow("bad early") << u"G"_s << QByteArray() << true;
    QTest::newRow("more than four") << u"123456"_s << QByteArray("8687123400") << false;
}

void TstOther::phaseOffsetEntry()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, frame);
    QFETCH(bool, invalid);
    WindowRig rig;
    rig.peer.script = OtherCamera{};
    QVERIFY(rig.openPage(Pages::OthTab));
    auto *offset = rig.w<kit::Edit>("PhOFFSET");
    QTest::keyClicks(offset, typed);
    QVERIFY(rig.settle());
    if (frame.isEmpty()) {
        QCOMPARE(rig.peer.requests.size(), 0);
    } else {
        QCOMPARE(rig.peer.requests.size(), 1);
        QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame(frame)));
    }
    QCOMPARE(offset->isInvalid(), invalid);

    // Correcting the text clears the mark and sends.
    offset->selectAll();
    QTest::keyClicks(offset, u"0100"_s);
    QVERIFY(rig.settle());
    QVERIFY(!offset->isInvalid());
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8687010000")));
}

void TstOther::phaseAnswerShowsThePhase_data()
{
    QTest::addColumn<Data3>("answer");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("negative") << Data3{1, 0xFF, 0xF0} << u"-016"_s << 624 << true;
    QTest::newRow("0x8000") << Data3{1, 0x80, 0x00} << u"-768"_s << 624 << true;
    QTest::newRow("unlocked") << Data3{0, 0x01, 0x23} << u"0291"_s << 291 << false;
    QTest::newRow("seven") << Data3{2, 0x00, 0x07} << u"0007"_s << 7 << true;
}

void TstOther::phaseAnswerShowsThePhase()
{
    QFETCH(Data3, answer);
    QFETCH(QString, display);
    QFETCH(int, position);
    QFETCH(bool, enabled);
    WindowRig rig;
    OtherCamera camera;
    camera.answers[0x86] = answer;
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::OthTab));
    rig.w<QPushButton>("PhUp")->click();
    QVERIFY(rig.settle());
    // The answer is shown; the chain does not go on.
    QCOMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(rig.w<QLineEdit>("PhDisp")->text(), display);
    QCOMPARE(rig.w<kit::UpDown>("PhaseUD")->position(), position);
    QCOMPARE(rig.w<kit::UpDown>("PhaseUD")->isEnabled(), enabled);
    QCOMPARE(rig.w<QLineEdit>("PhaseLevel")->isEnabled(), enabled);
    QCOMPARE(rig.w<kit::RadioGroup>("Sync")->itemIndex(), std::min<int>(answer[0], 1));
    QCOMPARE(rig.w<kit::RadioGroup>("FPhase")->itemIndex(), std::min<int>(answer[0], 1));
}

void TstOther::writeAnswers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("click");
    QTest::addColumn<int>("answerItem");
    QTest::addColumn<QStringList>("changed"); // groups that must show item 1 afterwards
    QTest::addColumn<QStringList>("kept");    // groups that keep their state
    QTest::newRow("HRev answer shows the reverse state")
        << u"HRev"_s << 1 << 0x82 << QStringList{u"VRev"_s, u"NSVRev"_s, u"Nega"_s, u"PosiNega"_s}
        << QStringList{};
    QTest::newRow("NSVRev answer too") << u"NSVRev"_s << 1 << 0x89
                                       << QStringList{u"HRev"_s, u"NSHRev"_s, u"Nega"_s} << QStringList{};
    QTest::newRow("Preset answer changes nothing")
        << u"Preset"_s << 1 << 0x80 << QStringList{u"Preset"_s} << QStringList{u"Initial"_s, u"Default"_s};
    QTest::newRow("Gamma answer changes nothing")
        << u"Gamma"_s << 1 << 0x8A << QStringList{u"Gamma"_s} << QStringList{u"Language"_s, u"GammaE"_s};
    QTest::newRow("Chroma answer changes nothing")
        << u"Chroma"_s << 1 << 0xA0 << QStringList{u"Chroma"_s} << QStringList{u"ChromaAutoLv"_s, u"chromaE"_s};
}

void TstOther::writeAnswers()
{
    QFETCH(QString, control);
    QFETCH(int, click);
    QFETCH(int, answerItem);
    QFETCH(QStringList, changed);
    QFETCH(QStringList, kept);
    WindowRig rig;
    OtherCamera camera;
    camera.answers[uint8_t(answerItem)] = {1, 1, 1};
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::OthTab)); // the first read fails nowhere: the page is filled
    rig.peer.requests.clear();
    // Start from a known, different state.
    rig.form->link.LinkBusy = 1;
    for (const QString &name : changed + kept + QStringList{control})
        rig.form->findChild<kit::RadioGroup *>(name)->setItemIndex(0);
    rig.form->link.release();

    rig.form->findChild<kit::RadioGroup *>(control)->button(click)->click();
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 1);
    for (const QString &name : changed)
        QVERIFY2(rig.form->findChild<kit::RadioGroup *>(name)->itemIndex() == 1, qPrintable(name));
    for (const QString &name : kept)
        QVERIFY2(rig.form->findChild<kit::RadioGroup *>(name)->itemIndex() == 0, qPrintable(name));
}

void TstOther::dayNightModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("chroma");
    QTest::addColumn<int>("factory"); // -2: unchanged
    QTest::newRow("night") << 0 << 0 << -2;
    QTest::newRow("day") << 1 << 1 << -2;
    QTest::newRow("auto") << 2 << 2 << 0;
    QTest::newRow("external") << 3 << 2 << 1;
}

void TstOther::dayNightModes()
{
    QFETCH(int, mode);
    QFETCH(int, chroma);
    QFETCH(int, factory);
    WindowRig rig;
    OtherCamera camera;
    camera.reads[0x10] = {uint8_t(mode), 9, 0};
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::EasyTab));
    const int factoryBefore = rig.w<kit::RadioGroup>("FDayNight")->itemIndex();
    rig.showPage(Pages::OthTab);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 9);
    for (const char *name : {"Chroma", "chromaE", "DayNight"})
        QCOMPARE(rig.w<kit::RadioGroup>(name)->itemIndex(), chroma);
    QCOMPARE(rig.w<kit::RadioGroup>("FDayNight")->itemIndex(), factory == -2 ? factoryBefore : factory);
    // A level beyond the last selects 'MAX'.
    QCOMPARE(rig.w<kit::RadioGroup>("ChromaAutoLv")->itemIndex(), 8);
    QCOMPARE(rig.w<kit::RadioGroup>("DayNightLv")->itemIndex(), 8);
}

void TstOther::chainStops_data()
{
    QTest::addColumn<int>("errorCategory"); // answer to the second read; 0: see otherItem
    QTest::addColumn<int>("otherItem");
    QTest::newRow("error bit 0x40") << 0xC6 << 0;
    QTest::newRow("error bit 0x20") << 0xA6 << 0;
    QTest::newRow("another category") << 0x85 << 0;
    QTest::newRow("an item not in the chain") << 0 << 0x7F;
    QTest::newRow("a write answer item") << 0 << 0x90;
}

void TstOther::chainStops()
{
    QFETCH(int, errorCategory);
    QFETCH(int, otherItem);
    WindowRig rig;
    OtherCamera camera;
    if (errorCategory)
        camera.errors[0x01] = uint8_t(errorCategory);
    camera.otherItemFor0x01 = uint8_t(otherItem);
    rig.peer.script = camera;
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.showPage(Pages::OthTab);
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests), requestTexts({"8600000000", "8601000000"}));
    // The first step was applied, the second was not.
    QCOMPARE(rig.w<kit::RadioGroup>("Initial")->itemIndex(), 1);
    QCOMPARE(rig.w<kit::RadioGroup>("HRev")->itemIndex(), -1);
    QCOMPARE(rig.w<kit::RadioGroup>("Nega")->itemIndex(), -1);
}

void TstOther::actionsWhileBusyAreDropped()
{
    WindowRig rig;
    rig.peer.script = OtherCamera{};
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.showPage(Pages::OthTab);
    QTRY_COMPARE(rig.peer.requests.size(), 1); // the first read, never answered

    rig.w<kit::RadioGroup>("Gamma")->button(1)->click();
    rig.w<kit::RadioGroup>("GammaE")->button(1)->click();
    rig.w<QCheckBox>("HReverse")->click();
    rig.w<QPushButton>("PhUp")->click();
    rig.w<QPushButton>("RevSet")->click();
    QTest::keyClicks(rig.w<QLineEdit>("PhOFFSET"), u"0A1F"_s);
    rig.form->pages.fac->setTransactionKind(FacPage::Transaction::Copy);
    rig.w<kit::RadioGroup>("Default")->button(1)->click();
    QTest::qWait(80);
    QCOMPARE(rig.peer.requests.size(), 1);
    // The choice stays on screen; the copy mode is untouched.
    QCOMPARE(rig.w<kit::RadioGroup>("Gamma")->itemIndex(), 1);
    QCOMPARE(rig.form->pages.fac->TransactionKind(), FacPage::Transaction::Copy);
    QVERIFY(!rig.w<kit::Edit>("PhOFFSET")->isInvalid());
}

void TstOther::easyChainReadsForTheOtherPages()
{
    // The EASY chain's reads of the aperture gains and the camera status.
    WindowRig rig;
    rig.peer.script = OtherCamera{};
    QVERIFY(rig.openPage(Pages::OthTab));
    OtherPage *oth = rig.form->pages.oth;
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.form->pages.eep->setTransactionKind(EepPage::Transaction::Settings);
    oth->OtherRead12();
    QTRY_COMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(frameText(rig.peer.requests.last()), frameText(requestFrame("8612000000")));
    QCOMPARE(rig.form->pages.eep->TransactionKind(), EepPage::Transaction::Status);
    // Refused while busy, and then it leaves the EEP page alone.
    rig.form->pages.eep->setTransactionKind(EepPage::Transaction::Settings);
    oth->OtherRead12();
    QCOMPARE(rig.form->pages.eep->TransactionKind(), EepPage::Transaction::Settings);
    QTest::qWait(30);
    QCOMPARE(rig.peer.requests.size(), 1);
    rig.peer.sendFrame(0x86, 0x12);
    QVERIFY(rig.settle());

    // The gains reply fills the Fac page and the EASY bars, and writes nothing back.
    rig.form->link.LinkBusy = 1; // as a decoder applies it
    oth->APCSet(ResponseFrame::of(0x86, 0x08, 5, 7));
    rig.form->link.release();
    QCOMPARE(rig.w<kit::RadioGroup>("HGain")->itemIndex(), 5);
    QCOMPARE(rig.w<QSlider>("HGainBar")->value(), 5);
    QCOMPARE(rig.w<kit::RadioGroup>("VGain")->itemIndex(), 7);
    QCOMPARE(rig.w<QSlider>("VGainBar")->value(), 7);
    QTest::qWait(50);
    QCOMPARE(rig.peer.requests.size(), 1);
}

QTEST_MAIN(TstOther)
#include "tst_other.moc"
