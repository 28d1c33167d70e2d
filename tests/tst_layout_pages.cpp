// Layout of the ALC, BLC, Col, Oth, Len, Pos, DSP and RAM pages, and the register lists.
// Expected rows are written from the page descriptions, not from the page code.
#include "support/layoutcheck.h"
#include "support/pagesfixture.h"

#include "pages/alcpage.h"
#include "pages/blcpage.h"
#include "pages/colorpage.h"
#include "pages/dsppage.h"
#include "pages/lenspage.h"
#include "pages/otherpage.h"
#include "pages/pospage.h"
#include "pages/rampage.h"
#include "pages/registerlists.h"

#include <QFontInfo>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;
using layoutcheck::Expect;
using K = layoutcheck::Kind;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};
const QStringList AutoFix{u"AUTO"_s, u"FIX"_s};
const QStringList MinToMax{u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"MAX"_s};
const QStringList Balance{u"RED+++"_s, u"RED++"_s, u"RED+"_s,  u"RED"_s,    u"MIDDLE"_s,
                          u"BLUE"_s,   u"BLUE+"_s, u"BLUE++"_s, u"BLUE+++"_s};
const QStringList Seconds{u"1s"_s, u"2s"_s, u"3s"_s, u"4s"_s, u"5s"_s,
                          u"6s"_s, u"7s"_s, u"8s"_s, u"9s"_s, u"10s"_s};

QStringList presetItems()
{
    QStringList out{u"OFF"_s};
    for (int n = 1; n <= 64; ++n)
        out << QString::number(n);
    return out;
}

bool hasLabel(const QWidget *root, const QString &text)
{
    const auto labels = root->findChildren<QLabel *>();
    return std::any_of(labels.begin(), labels.end(), [&](const QLabel *l) { return l->text() == text; });
}

} // namespace

class TestLayoutPages : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PagesFixture> f;

    Page *page(const QString &sheet) const { return f->page(sheet); }
    static void check(const QWidget *root, const std::vector<Expect> &rows) { LAYOUT_VERIFY(root, rows); }

private slots:
    void initTestCase() { f = std::make_unique<PagesFixture>(); }
    void cleanupTestCase() { f.reset(); }

    void registerListsIndexIsRegister()
    {
        const QStringList a = registerListA();
        const QStringList b = registerListB();
        QCOMPARE(a.size(), 229);
        QCOMPARE(b.size(), 256);
        for (const QStringList *list : {&a, &b})
            for (int k = 0; k < list->size(); ++k) {
                const QString head = QStringLiteral("%1 ").arg(k, 2, 16, QLatin1Char('0')).toUpper();
                QVERIFY2(list->at(k).startsWith(head), qPrintable(list->at(k)));
            }
    }

    void registerListTexts_data()
    {
        QTest::addColumn<bool>("listA");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("A 05 katakana") << true << 0x05 << u"05 DSP ﾌｨﾙﾀ"_s;
        QTest::newRow("A 06 katakana") << true << 0x06 << u"06 DSP VｴﾝﾊﾝｻIN HighClip"_s;
        QTest::newRow("A 2A katakana") << true << 0x2A << u"2A DSP Gped,CYﾍﾞｰｽｸﾘｯﾌﾟ"_s;
        QTest::newRow("A 2C middle dot") << true << 0x2C << u"2C DSP Kr-g･b-g(+)"_s;
        QTest::newRow("A 38 katakana") << true << 0x38 << u"38 DSP C-MOD ﾊﾞｰｽﾄﾚﾍﾞﾙ"_s;
        QTest::newRow("A 49 trailing blank") << true << 0x49 << u"49 TG CP(START/END) "_s;
        QTest::newRow("A 73 kanji") << true << 0x73 << u"73 DSP AWB係数"_s;
        QTest::newRow("A 79 kanji") << true << 0x79 << u"79 DSP AWB Rgain下限"_s;
        QTest::newRow("A 81 gamma") << true << 0x81 << u"81 DSP FRONT γ(Long)"_s;
        QTest::newRow("A E4 last") << true << 0xE4 << u"E4 AGC DMY"_s;
        QTest::newRow("B 00") << false << 0x00 << u"00 dummy"_s;
        QTest::newRow("B 02 differs") << false << 0x02 << u"02 DSP DLY2H8L"_s;
        QTest::newRow("B 3B middle dot") << false << 0x3B << u"3B DSP Kr-g･b-g(-)"_s;
        QTest::newRow("B 48 trailing blank") << false << 0x48 << u"48 TG CP(START/END) "_s;
        QTest::newRow("B 7A kanji") << false << 0x7A << u"7A DSP AWB Bgain上限"_s;
        QTest::newRow("B E5 beyond A") << false << 0xE5 << u"E5 DSP IRIS VR"_s;
        QTest::newRow("B FF last") << false << 0xFF << u"FF DSP AGC Data D"_s;
    }
    void registerListTexts()
    {
        QFETCH(bool, listA);
        QFETCH(int, index);
        QFETCH(QString, text);
        QCOMPARE((listA ? registerListA() : registerListB()).at(index), text);
    }

    void alcPage()
    {
        check(page(u"ALCSheet"_s),
              {{"ALC", K::RadioGroup, {}, AutoFix},
               {"ALCAutoLv", K::RadioGroup, u"AUTO Level"_s, MinToMax},
               {"ALCFixLv", K::RadioGroup, u"FIX Level"_s, MinToMax},
               {"AES", K::RadioGroup, {}, AutoFix},
               {"AESAutoLv", K::RadioGroup, u"AUTO Level"_s, MinToMax},
               {"AESFixLv", K::RadioGroup, u"FIX Level"_s,
                {u"OFF"_s, u"1/100"_s, u"1/120"_s, u"1/250"_s, u"1/500"_s, u"1/1000"_s, u"1/2000"_s,
                 u"1/4000"_s, u"1/10000"_s}},
               {"GroupBox40", K::GroupBox, u"IRIS"_s},
               {"Ialc", K::Edit}, {"Iaes", K::Edit},
               {"IK0", K::Edit}, {"IK1", K::Edit}, {"IK2", K::Edit},
               {"IK3", K::Edit}, {"IK4", K::Edit}, {"IK5", K::Edit},
               {"IKN", K::Edit}, {"Iduty", K::Edit}, {"Icpcmax", K::Edit}, {"Istatus", K::Edit},
               {"I03", K::Edit}, {"IEC", K::Edit}, {"IED", K::Edit}, {"IF5", K::Edit}, {"IE3", K::Edit},
               {"IEE", K::Edit}, {"IF7", K::Edit}, {"IFB", K::Edit}, {"IF8", K::Edit},
               {"IGET", K::Button, u"GET"_s},
               {"IRepeat", K::CheckBox, u"Repeat"_s},
               {"Icpcstop", K::CheckBox, u"cpc stop"_s}});
    }

    void blcPage()
    {
        std::vector<Expect> rows{{"BLC", K::RadioGroup, u"BLC"_s, OffOn},
                                 {"BLCLv", K::RadioGroup, u"BLC Level"_s,
                                  {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"MAX"_s}},
                                 {"BLCArea", K::Panel}};
        std::vector<QByteArray> names;
        for (int c = 1; c <= 48; ++c)
            names.push_back(QStringLiteral("BLCCheck%1").arg(c, 2, 10, QLatin1Char('0')).toLatin1());
        for (const QByteArray &n : names)
            rows.push_back({n.constData(), K::CheckBox});
        check(page(u"BLCSheet"_s), rows);
    }

    // Cell 01 top-left, numbered row by row, eight to a row, all inside the area panel.
    void blcGridOrder()
    {
        const BlcPage *blc = f->pages.blc;
        auto *grid = qobject_cast<QGridLayout *>(blc->BLCArea->layout());
        QVERIFY(grid);
        for (int i = 0; i < 48; ++i) {
            QCheckBox *cell = blc->BLCCheck[size_t(i)];
            QVERIFY(cell);
            QCOMPARE(cell->objectName(), QStringLiteral("BLCCheck%1").arg(i + 1, 2, 10, QLatin1Char('0')));
            QVERIFY(blc->BLCArea->isAncestorOf(cell));
            int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(cell), &row, &column, &rowSpan, &columnSpan);
            QCOMPARE(row, i / 8);
            QCOMPARE(column, i % 8);
        }
    }

    void colorPage()
    {
        check(page(u"ColorSheet"_s),
              {{"Color", K::RadioGroup, u"White Balance"_s, {u"ATW"_s, u"AWB"_s, u"In Door"_s, u"Out Door"_s}},
               {"WBAutoLv", K::RadioGroup, u"ATW Level"_s, Balance},
               {"WBOPLv", K::RadioGroup, u"AWB Level"_s, Balance},
               {"RYGain", K::RadioGroup, u"R-Y Gain"_s, MinToMax},
               {"BYGain", K::RadioGroup, u"B-Y Gain"_s, MinToMax},
               {"WBOPB", K::Button, u"AWB ONE PUSH"_s},
               {"WBInLv", K::RadioGroup, u"In Door Level"_s, Balance},
               {"WBOutLv", K::RadioGroup, u"Out Door Level"_s, Balance},
               {"ATWMode", K::RadioGroup, u"ATW Mode"_s, {u"3200K - 6800K"_s, u"2800K - 7800K"_s, u"Full Auto"_s}},
               {"GroupBox53", K::GroupBox},
               {"R_DET", K::Edit}, {"G_DET", K::Edit}, {"B_DET", K::Edit}, {"Y_DET", K::Edit},
               {"IR_RPBY", K::Edit}, {"IR_RMBY", K::Edit}, {"B_PER_Y", K::Edit}, {"RA_CHROMA", K::Edit},
               {"IR_MIN_RPBY", K::Edit}, {"IR_MAX_RPBY", K::Edit}, {"IR_MIN_RMBY", K::Edit},
               {"IR_MAX_RMBY", K::Edit}, {"IR_MIN_B_PER_Y", K::Edit}, {"IR_MAX_B_PER_Y", K::Edit},
               {"IRGET", K::Button, u"Get"_s},
               {"IRRepeat", K::CheckBox, u"Repeat"_s}});
    }

    void otherPage()
    {
        check(page(u"OtherSheet"_s),
              {{"Preset", K::RadioGroup, u"Default"_s, {u"CANCEL"_s, u"OK"_s}},
               {"Initial", K::RadioGroup, u"Initial"_s, OffOn},
               {"HRev", K::RadioGroup, u"H-Reverse"_s, OffOn},
               {"VRev", K::RadioGroup, u"V-Reverse"_s, OffOn},
               {"Nega", K::RadioGroup, u"Negative"_s, OffOn},
               {"NSHRev", K::RadioGroup, u"NO SAVE H-Reverse"_s, OffOn},
               {"NSVRev", K::RadioGroup, u"NO SAVE V-Reverse"_s, OffOn},
               {"Phase", K::RadioGroup, {}, OffOn},
               {"PhUp", K::Button, u"Up"_s},
               {"PhDown", K::Button, u"Down"_s},
               {"PhCnt", K::Edit, u"1"_s},
               {"PhUpDown", K::UpDown},
               {"PhDisp", K::Edit},
               {"PhOFFSET", K::Edit},
               {"Freeze", K::RadioGroup, u"Freeze"_s, OffOn},
               {"FreezeMode", K::RadioGroup, u"Freeze Mode"_s, {u"Field"_s, u"Frame"_s}},
               {"Gamma", K::RadioGroup, u"Gamma"_s, {u"GAMMA.1"_s, u"GAMMA.2"_s}},
               {"Language", K::RadioGroup, u"Language"_s, {u"English"_s, u"German"_s, u"Italian"_s}},
               {"Chroma", K::RadioGroup, u"Day/Night"_s, {u"Night"_s, u"Day"_s, u"Auto"_s}},
               {"ChromaAutoLv", K::RadioGroup, u"Day/Night Auto Level"_s,
                {u"BASE"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"MAX"_s}},
               {"RunMark", K::RadioGroup, u"Winker"_s, OffOn},
               {"eep_no_save", K::RadioGroup, u"EEPROM"_s, {u"Save"_s, u"No Save"_s}},
               {"rec_chk_dpt", K::RadioGroup, u"Reverse   Digital P/T Coordinates"_s, OffOn},
               {"rev_chk", K::RadioGroup, u"Reverse  MASK MOTION Coordinates"_s, OffOn},
               {"hrev_disp", K::Label},
               {"vrev_disp", K::Label}});
        // The EASY twins live on the EASY page only.
        for (const char *twin : {"Default", "InitialE", "PosiNega", "Sync", "FreezeE", "GammaE", "langu_sel", "chromaE"})
            QVERIFY2(!page(u"OtherSheet"_s)->findChild<QObject *>(QString::fromLatin1(twin)), twin);
    }

    void lensPage()
    {
        check(page(u"LensSheet"_s),
              {{"WideSW", K::Button, u"Wide"_s}, {"TeleSW", K::Button, u"Tele"_s}, {"StopSW", K::Button, u"Stop"_s},
               {"ZoomBar", K::TrackBar},
               {"ZoomStep", K::Edit},
               {"PZO1", K::Button, u"+1"_s}, {"MZO1", K::Button, u"-1"_s},
               {"ZoSpd", K::RadioGroup, u"Speed"_s, {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"MAX"_s}},
               {"DZoomNew", K::RadioGroup, u"Digital Zoom MAX"_s,
                {u"OFF"_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x10"_s}},
               {"Scale2", K::CheckBox, u"Scale Display"_s},
               {"ODren", K::CheckBox, u"Optical->Digital"_s},
               {"AFocus", K::CheckBox, u"Auto Focus"_s},
               {"NearSW", K::Button, u"Near"_s}, {"FarSW", K::Button, u"Far"_s}, {"FStopSW", K::Button, u"Stop"_s},
               {"FocusStep", K::Edit},
               {"FocusBar", K::TrackBar},
               {"OPAF", K::Button, u"One Push"_s},
               {"PFO1", K::Button, u"+1"_s}, {"MFO1", K::Button, u"-1"_s},
               {"FoSpd", K::RadioGroup, u"Speed"_s, {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"MAX"_s}},
               {"AFAT", K::CheckBox, u"ZOOM+AF"_s},
               {"AFSleep", K::RadioGroup, u"AF SLEEP"_s, OffOn},
               {"AFTRC", K::RadioGroup, u"AF MODE"_s, {u"HARD"_s, u"TRC"_s}},
               {"Track", K::RadioGroup, {}, {u"Auto"_s, u"Fix"_s}},
               {"TrackAutoMode", K::RadioGroup, {}, {u"x1---x10 (AUTO1)"_s, u"x3---x10 (AUTO2)"_s}},
               {"TrackBar1", K::TrackBar},
               {"TrackUpDown", K::UpDown},
               {"TrackEd", K::Edit, u"0"_s},
               {"Label94", K::Label, u"Near"_s},
               {"Label95", K::Label, u"Far"_s},
               {"Label96", K::Label, u"+ - - - - - - - - + - - - - - - - - +"_s},
               {"DZoomOnOff", K::RadioGroup, u"Digital Zoom"_s, OffOn},
               {"dpt_xud", K::UpDown}, {"dpt_xe", K::Edit},
               {"dpt_yud", K::UpDown}, {"dpt_ye", K::Edit},
               {"dpt_wud", K::UpDown}, {"dpt_w", K::Edit},
               {"dpt_cancel", K::Button, u"Cancel"_s},
               {"GroupBox49", K::GroupBox, u"Test"_s},
               {"Lens_Repeat", K::CheckBox, u"Repeat"_s},
               {"Lens_Repeat_Time", K::RadioGroup, u"Lens_Repeat_Time"_s, Seconds}});
        const LensPage *len = f->pages.len;
        QVERIFY(len->GroupBox49->isAncestorOf(len->Lens_Repeat));
        QVERIFY(len->GroupBox49->isAncestorOf(len->Lens_Repeat_Time));
    }

    void posPage()
    {
        check(page(u"PosSheet"_s),
              {{"PosLoad", K::RadioGroup, u"Position Load"_s, presetItems()},
               {"PosSaveEdit", K::Edit}, {"PosSaveUD", K::UpDown},
               {"PosZoom", K::Edit}, {"PosFocus", K::Edit},
               {"PosSave", K::Button, u"Save"_s},
               {"PosReadx", K::Button, u"Read"_s},
               {"PosNowRead", K::Button, u"Current Read"_s},
               {"OSDM", K::CheckBox, u"Position No.  Display"_s},
               {"AlmPosEdit", K::Edit}, {"AlSaveUD", K::UpDown},
               {"AlSave", K::Button, u"Send"_s},
               {"DefPosEdit", K::Edit}, {"DefPosUD", K::UpDown},
               {"DefPosSave", K::Button, u"Send"_s},
               {"Pos_Repeat", K::CheckBox, u"Repeat"_s},
               {"Pos_Repeat_time", K::RadioGroup, u"Lens_Repeat_Time"_s, Seconds}});
    }

    void dspPage()
    {
        check(page(u"DSPSheet"_s),
              {{"GroupBox11", K::GroupBox},
               {"DSPAdr", K::ComboBox, {}, registerListA()},
               {"DSPData", K::Edit},
               {"DSPWrite", K::CheckBox, u"EEPROM Write"_s},
               {"DSPMask", K::Edit, u"FFFF"_s},
               {"DSPDataSB", K::SpinButton}});
        const DspPage *dsp = f->pages.dsp;
        for (QWidget *w : std::initializer_list<QWidget *>{dsp->DSPAdr, dsp->DSPData, dsp->DSPWrite,
                                                           dsp->DSPMask, dsp->DSPDataSB})
            QVERIFY2(dsp->GroupBox11->isAncestorOf(w), qPrintable(w->objectName()));
    }

    void ramPage()
    {
        check(page(u"RAMSheet"_s),
              {{"RAMRAdr", K::Edit},
               {"RamCount", K::Edit, u"10"_s},
               {"RamRepeat", K::CheckBox, u"Repeat"_s},
               {"RdAdr", K::Memo},
               {"Label42", K::Label, u"+0 +1 +2 +3 +4 +5 +6 +7 +8 +9 +A +B +C +D +E +F"_s},
               {"Memo1", K::Memo},
               {"osd16", K::Edit, u"osd16"_s}});
        // The dump's columns only line up under the header in a fixed-pitch font.
        const RamPage *ram = f->pages.ram;
        for (const QWidget *w : std::initializer_list<const QWidget *>{ram->RdAdr, ram->Memo1, ram->Label42})
            QVERIFY2(QFontInfo(w->font()).fixedPitch(), qPrintable(w->objectName()));
    }

    // Captions that sit beside a control or over a group rather than on it.
    void labels_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("text");
        const char *alc[] = {"ALC", "AES", "Standard quantities of light", "duty", "CPC MAX", "status",
                             "03_Dly", "EC_AE1", "ED_AE2", "F5_AGC", "E3_SENS", "EE_SW", "F7_AE", "FB_CPC", "F8_ILV"};
        for (const char *t : alc)
            QTest::addRow("ALC %s", t) << u"ALCSheet"_s << QString::fromLatin1(t);
        QTest::newRow("BLC area") << u"BLCSheet"_s << u"BLC Area"_s;
        const char *col[] = {"R_DET", "G_DET", "B_DET", "Y_DET", "IR_RPBY", "IR_RMBY", "B_PER_Y", "ra_chroma",
                             "IR_MIN_RPBY", "IR_MAX_RPBY", "IR_MIN_RMBY", "IR_MAX_RMBY", "IR_MIN_B_PER_Y",
                             "IR_MAX_B_PER_Y"};
        for (const char *t : col)
            QTest::addRow("Col %s", t) << u"ColorSheet"_s << QString::fromLatin1(t);
        QTest::newRow("Oth hex") << u"OtherSheet"_s << u"(HEX)"_s;
        for (const char *t : {"X", "Y", "W"})
            QTest::addRow("Len %s", t) << u"LensSheet"_s << QString::fromLatin1(t);
        QTest::newRow("DSP data") << u"DSPSheet"_s << u"Data"_s;
        QTest::newRow("DSP mask") << u"DSPSheet"_s << u"Mask"_s;
        QTest::newRow("RAM address") << u"RAMSheet"_s << u"RAM ADDRESS"_s;
        QTest::newRow("RAM size") << u"RAMSheet"_s << u"SIZE"_s;
        QTest::newRow("RAM osd") << u"RAMSheet"_s << u"16Bit Commnd"_s;
    }
    void labels()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, text);
        QVERIFY(hasLabel(page(sheet), text));
    }

    void groupBoxes_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("ALC") << u"ALCSheet"_s << u"ALC"_s << QStringList{u"ALC"_s, u"ALCAutoLv"_s, u"ALCFixLv"_s};
        QTest::newRow("AES") << u"ALCSheet"_s << u"AES"_s << QStringList{u"AES"_s, u"AESAutoLv"_s, u"AESFixLv"_s};
        QTest::newRow("IRIS DSP") << u"ALCSheet"_s << u"DSP"_s
                                  << QStringList{u"I03"_s, u"IEC"_s, u"IED"_s, u"IF5"_s, u"IE3"_s,
                                                 u"IEE"_s, u"IF7"_s, u"IFB"_s, u"IF8"_s};
        QTest::newRow("Phase") << u"OtherSheet"_s << u"Phase"_s << QStringList{u"Phase"_s};
        QTest::newRow("Phase Control") << u"OtherSheet"_s << u"Phase Control"_s
                                       << QStringList{u"PhUp"_s, u"PhDown"_s};
        QTest::newRow("Phase OFFSET") << u"OtherSheet"_s << u"Phase OFFSET"_s << QStringList{u"PhOFFSET"_s};
        QTest::newRow("Tracking") << u"LensSheet"_s << u"Tracking"_s << QStringList{u"Track"_s};
        QTest::newRow("Digital P/T/Z") << u"LensSheet"_s << u"Digital P/T/Z"_s
                                       << QStringList{u"DZoomOnOff"_s, u"dpt_xud"_s, u"dpt_yud"_s,
                                                      u"dpt_wud"_s, u"dpt_cancel"_s};
        QTest::newRow("Position Save") << u"PosSheet"_s << u"Position Save"_s
                                       << QStringList{u"PosSaveEdit"_s, u"PosSaveUD"_s};
        QTest::newRow("Zoom") << u"PosSheet"_s << u"Zoom"_s << QStringList{u"PosZoom"_s};
        QTest::newRow("Focus") << u"PosSheet"_s << u"Focus"_s << QStringList{u"PosFocus"_s};
        QTest::newRow("Alarm Position") << u"PosSheet"_s << u"Alarm Position"_s
                                        << QStringList{u"AlmPosEdit"_s, u"AlSaveUD"_s};
        QTest::newRow("Default Position") << u"PosSheet"_s << u"Default Position"_s
                                          << QStringList{u"DefPosEdit"_s, u"DefPosUD"_s};
        QTest::newRow("Pos Test") << u"PosSheet"_s << u"Test"_s << QStringList{u"Pos_Repeat"_s, u"Pos_Repeat_time"_s};
        QTest::newRow("RAM") << u"RAMSheet"_s << u"RAM (ADRESS:D000-EFFF)"_s
                             << QStringList{u"RAMRAdr"_s, u"RamCount"_s, u"RamRepeat"_s, u"RdAdr"_s,
                                            u"Label42"_s, u"Memo1"_s};
        QTest::newRow("OSD") << u"RAMSheet"_s << u"OSD"_s << QStringList{u"osd16"_s};
    }
    void groupBoxes()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, title);
        QFETCH(QStringList, members);
        const Page *p = page(sheet);
        for (const QString &name : members) {
            auto *w = p->findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            bool inside = false;
            for (QWidget *up = w->parentWidget(); up && up != p && !inside; up = up->parentWidget()) {
                auto *box = qobject_cast<QGroupBox *>(up);
                inside = box && !qobject_cast<kit::RadioGroup *>(up) && box->title() == title;
            }
            QVERIFY2(inside, qPrintable(name + u" is not inside the group "_s + title));
        }
    }

    // Ranges, lengths, start values and designed states. "hidden" means explicitly hidden.
    void designedState_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");
        auto row = [](const char *sheet, const char *name, const char *prop, const QVariant &v) {
            QTest::addRow("%s.%s", name, prop) << QString::fromLatin1(sheet) << QString::fromLatin1(name)
                                              << QByteArray(prop) << v;
        };
        for (const char *reg : {"I03", "IEC", "IED", "IF5", "IE3", "IEE", "IF7", "IFB", "IF8"})
            row("ALCSheet", reg, "maxLength", 4);
        for (const char *e : {"R_DET", "G_DET", "B_DET", "Y_DET", "IR_RPBY", "IR_RMBY", "B_PER_Y", "RA_CHROMA",
                              "IR_MIN_RPBY", "IR_MAX_RPBY", "IR_MIN_RMBY", "IR_MAX_RMBY", "IR_MIN_B_PER_Y",
                              "IR_MAX_B_PER_Y"})
            row("ColorSheet", e, "maxLength", 4);

        row("OtherSheet", "PhUpDown", "minimum", 1);
        row("OtherSheet", "PhUpDown", "maximum", 10);
        row("OtherSheet", "PhUpDown", "position", 1);
        row("OtherSheet", "PhOFFSET", "maxLength", 4);

        row("LensSheet", "ZoomBar", "enabled", false);
        row("LensSheet", "ZoomBar", "minimum", 0);
        row("LensSheet", "ZoomBar", "maximum", 10);
        row("LensSheet", "FocusBar", "enabled", false);
        row("LensSheet", "FocusBar", "minimum", 0);
        row("LensSheet", "FocusBar", "maximum", 10);
        row("LensSheet", "Scale2", "enabled", false);
        row("LensSheet", "Scale2", "hidden", true);
        row("LensSheet", "ZoomStep", "maxLength", 4);
        row("LensSheet", "FocusStep", "maxLength", 4);
        row("LensSheet", "TrackBar1", "minimum", 0);
        row("LensSheet", "TrackBar1", "maximum", 255);
        row("LensSheet", "TrackBar1", "singleStep", 10);
        row("LensSheet", "TrackUpDown", "minimum", 0);
        row("LensSheet", "TrackUpDown", "maximum", 255);
        row("LensSheet", "dpt_xud", "minimum", -72);
        row("LensSheet", "dpt_xud", "maximum", 72);
        row("LensSheet", "dpt_xud", "position", 0);
        row("LensSheet", "dpt_xe", "text", u"0"_s);
        row("LensSheet", "dpt_yud", "minimum", -54);
        row("LensSheet", "dpt_yud", "maximum", 54);
        row("LensSheet", "dpt_yud", "position", 0);
        row("LensSheet", "dpt_wud", "minimum", 8);
        row("LensSheet", "dpt_wud", "maximum", 256);
        row("LensSheet", "dpt_wud", "position", 8);
        row("LensSheet", "dpt_w", "text", u"8"_s);
        row("LensSheet", "Lens_Repeat_Time", "itemIndex", 4);
        row("LensSheet", "Lens_Repeat", "checked", false);

        row("PosSheet", "PosSaveEdit", "maxLength", 2);
        row("PosSheet", "PosSaveUD", "minimum", 1);
        row("PosSheet", "PosSaveUD", "maximum", 64);
        row("PosSheet", "PosSaveUD", "position", 1);
        row("PosSheet", "PosSaveEdit", "text", u"1"_s);
        row("PosSheet", "PosZoom", "maxLength", 4);
        row("PosSheet", "PosFocus", "maxLength", 4);
        row("PosSheet", "AlmPosEdit", "maxLength", 2);
        row("PosSheet", "AlSaveUD", "minimum", 0);
        row("PosSheet", "AlSaveUD", "maximum", 64);
        row("PosSheet", "AlSaveUD", "position", 1);
        row("PosSheet", "DefPosEdit", "maxLength", 2);
        row("PosSheet", "DefPosUD", "minimum", 0);
        row("PosSheet", "DefPosUD", "maximum", 64);
        row("PosSheet", "DefPosUD", "position", 1);
        row("PosSheet", "Pos_Repeat_time", "itemIndex", 4);
        row("PosSheet", "PosLoad", "itemIndex", -1);

        row("DSPSheet", "DSPAdr", "currentIndex", -1);
        row("DSPSheet", "DSPData", "maxLength", 4);
        row("DSPSheet", "DSPWrite", "checked", false);

        row("RAMSheet", "RAMRAdr", "maxLength", 4);
        row("RAMSheet", "RamCount", "maxLength", 2);
        row("RAMSheet", "RamRepeat", "checked", false);
    }
    void designedState()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        auto *w = page(sheet)->findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        const QVariant actual = property == "hidden" ? QVariant(w->isHidden()) : w->property(property.constData());
        QVERIFY2(actual.isValid(), property.constData());
        QCOMPARE(actual, expected);
    }

    void timers_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::newRow("TrackTimer") << u"LensSheet"_s << u"TrackTimer"_s << 500;
        QTest::newRow("LensTimer1") << u"LensSheet"_s << u"LensTimer1"_s << 10000;
        QTest::newRow("Lens_TestTimer1") << u"LensSheet"_s << u"Lens_TestTimer1"_s << 5000;
        QTest::newRow("Pos_TestTimer1") << u"PosSheet"_s << u"Pos_TestTimer1"_s << 5000;
    }
    void timers()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(int, interval);
        const auto found = page(sheet)->findChildren<QTimer *>(name);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first()->interval(), interval);
        QVERIFY(!found.first()->isActive());
    }

    // The registry's members are the named controls, so other pages can write them.
    void membersAreTheNamedControls()
    {
        const auto same = [](const QObject *member, const QString &name) {
            return member && member->objectName() == name;
        };
        const AlcPage *alc = f->pages.alc;
        for (int k = 0; k < 6; ++k)
            QVERIFY(same(alc->IK[size_t(k)], QStringLiteral("IK%1").arg(k)));
        QVERIFY(same(alc->IF8, u"IF8"_s));
        QVERIFY(same(f->pages.col->IR_MAX_B_PER_Y, u"IR_MAX_B_PER_Y"_s));
        QVERIFY(same(f->pages.col->RA_CHROMA, u"RA_CHROMA"_s));
        QVERIFY(same(f->pages.len->dpt_wud, u"dpt_wud"_s));
        QVERIFY(same(f->pages.len->dpt_w, u"dpt_w"_s));
        QVERIFY(same(f->pages.len->TrackTimer, u"TrackTimer"_s));
        QVERIFY(same(f->pages.oth->PhOFFSET, u"PhOFFSET"_s));
        QVERIFY(same(f->pages.pos->AlSaveUD, u"AlSaveUD"_s));
        QVERIFY(same(f->pages.pos->Pos_TestTimer1, u"Pos_TestTimer1"_s));
        QVERIFY(same(f->pages.dsp->DSPDataSB, u"DSPDataSB"_s));
        QVERIFY(same(f->pages.ram->Memo1, u"Memo1"_s));
        // An up-down shows its position in its own edit.
        QCOMPARE(f->pages.len->dpt_xud->associate(), f->pages.len->dpt_xe);
        QCOMPARE(f->pages.pos->DefPosUD->associate(), f->pages.pos->DefPosEdit);
        QCOMPARE(f->pages.oth->PhUpDown->associate(), f->pages.oth->PhCnt);
    }

    void layingOutSendsNothing()
    {
        QVERIFY(f->link.panel(1).isEmpty());
        QCOMPARE(f->link.LinkBusy, uint8_t(0));
    }
};

QTEST_MAIN(TestLayoutPages)
#include "tst_layout_pages.moc"
