// Layout of the Motion, MDP, AFT, EEP, Kiz and Tool pages: every named control with its
// kind, caption and items, the group each belongs to, the up-down ranges and wrapping, the
// designed start states, the order of the cell grids and defect rows, the timers, that the
// pages fit the window without overlaps, and that laying out sends nothing.
#include "support/layoutcheck.h"
#include "support/pagesfixture.h"

#include "pages/page.h"

#include <QRadioButton>
#include <QtTest>

#include <deque>
#include <memory>

using namespace Qt::StringLiterals;
using layoutcheck::Expect;
using layoutcheck::Kind;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};
const QStringList Bauds{u"9,600bps"_s, u"19,200bps"_s, u"38,400bps"_s};
const QStringList StopBits{u"1bit"_s, u"2bit"_s};
const QStringList Letters{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s, u"H"_s,
                          u"I"_s, u"J"_s, u"K"_s, u"L"_s, u"M"_s, u"N"_s, u"O"_s};

// Rows whose names are built at run time keep their names here.
struct Rows
{
    std::deque<QByteArray> names;
    std::vector<Expect> rows;

    void add(const QString &name, Kind kind, const QString &caption = {}, const QStringList &items = {})
    {
        names.push_back(name.toLatin1());
        rows.push_back({names.back().constData(), kind, caption, items});
    }
};

// "MoCheck01" .. "MoCheck48".
QStringList numbered(const QString &prefix, int count)
{
    QStringList out;
    for (int n = 1; n <= count; ++n)
        out << prefix + QString::number(n).rightJustified(2, u'0');
    return out;
}

// mot_a1, mot_b1 .. mot_h1, mot_a2 .. mot_h6: index = row * 8 + column.
QStringList motionDataNames()
{
    QStringList out;
    for (int row = 1; row <= 6; ++row)
        for (char16_t column = u'a'; column <= u'h'; ++column)
            out << u"mot_"_s + QChar(column) + QString::number(row);
    return out;
}

QPoint centreIn(const QWidget *page, const QWidget *w)
{
    return w->mapTo(page, w->rect().center());
}

} // namespace

class TstLayoutService : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PagesFixture> fx;

    Page *page(const QString &sheet) const { return fx->page(sheet); }
    QWidget *control(const QString &sheet, const QString &name) const
    {
        Page *p = page(sheet);
        return p ? p->findChild<QWidget *>(name) : nullptr;
    }
    // Shows the sheet at the window's page size (or larger, when it scrolls).
    Page *shown(const QString &sheet)
    {
        Page *p = page(sheet);
        if (!p)
            return nullptr;
        p->resize(p->minimumSizeHint().expandedTo(QSize(1260, 620)));
        p->show();
        if (!QTest::qWaitForWindowExposed(p))
            return nullptr;
        return p;
    }
    static void verifyRows(const QWidget *root, const std::vector<Expect> &rows) { LAYOUT_VERIFY(root, rows); }

private slots:
    void initTestCase()
    {
        fx = std::make_unique<PagesFixture>();
        for (const char *sheet : {"MotionSheet", "MotPara", "AFT", "EEPSheet", "KizuSheet", "ToolSheet"})
            QVERIFY2(page(QString::fromLatin1(sheet)), sheet);
    }
    void cleanupTestCase() { fx.reset(); }

    void motionControls()
    {
        Rows r;
        r.add(u"MoDetect"_s, Kind::RadioGroup, u"Detection"_s, OffOn);
        r.add(u"MoLv"_s, Kind::RadioGroup, u"Motion Level"_s,
              {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"+8"_s, u"MAX"_s});
        r.add(u"MoArea2"_s, Kind::Panel);
        for (const QString &n : numbered(u"MoCheck"_s, 48))
            r.add(n, Kind::CheckBox);
        for (const char *n : {"mot_hp", "mot_vp", "mot_w", "mot_h"}) {
            r.add(QString::fromLatin1(n), Kind::Edit);
            r.add(QString::fromLatin1(n) + u"UD"_s, Kind::UpDown);
        }
        r.add(u"mot_eep"_s, Kind::CheckBox, u"EEPROM"_s);
        r.add(u"MoTime"_s, Kind::RadioGroup, u"Motion Time"_s, {u"10sec"_s, u"30sec"_s, u"60sec"_s});
        r.add(u"MoOSD"_s, Kind::CheckBox, u"OSD"_s);
        r.add(u"MoCon"_s, Kind::RadioGroup, u"contact"_s, {u"Normal High"_s, u"Normal Low"_s});
        r.add(u"GroupBox62"_s, Kind::GroupBox, u"Motion Data"_s);
        for (const QString &n : motionDataNames())
            r.add(n, Kind::Edit);
        r.add(u"mot_max_h"_s, Kind::Label, u"hmax"_s);
        r.add(u"mot_max"_s, Kind::Label, u"max"_s);
        r.add(u"mot_happen"_s, Kind::Label, u"happen"_s);
        r.add(u"MotDR"_s, Kind::Button, u"Read"_s);
        r.add(u"mot_diff"_s, Kind::CheckBox, u"Diff"_s);
        r.add(u"MotDD"_s, Kind::Button, u"Diff Read"_s);
        r.add(u"GroupBox63"_s, Kind::GroupBox, u"Motion Area 2"_s);
        r.add(u"GroupBox64"_s, Kind::GroupBox, u"Motion Area 3"_s);
        for (const char *n : {"mot_whp", "mot_wvp", "mot_ww", "mot_wh", "mot_rhp", "mot_rvp", "mot_rw", "mot_rh"}) {
            r.add(QString::fromLatin1(n), Kind::Edit);
            r.add(QString::fromLatin1(n) + u"UD"_s, Kind::UpDown);
        }
        r.add(u"GroupBox24"_s, Kind::GroupBox, u"Motion Detect"_s);
        for (const char *n : {"mot_it", "mot_iv"}) {
            r.add(QString::fromLatin1(n), Kind::Edit);
            r.add(QString::fromLatin1(n) + u"UD"_s, Kind::UpDown);
        }
        for (const QString &n : numbered(u"Mos"_s, 48) + numbered(u"Mok"_s, 48))
            r.add(n, Kind::CheckBox);
        r.add(u"mot_get"_s, Kind::Button, u"Get"_s);
        r.add(u"mot_it_fix"_s, Kind::CheckBox, u"quick"_s);
        r.add(u"mot_rep"_s, Kind::CheckBox, u"Repeat"_s);
        verifyRows(page(u"MotionSheet"_s), r.rows);

        // Switching detection off disables the panel, and with it the whole grid.
        const QWidget *panel = control(u"MotionSheet"_s, u"MoArea2"_s);
        for (const QString &n : numbered(u"MoCheck"_s, 48))
            QVERIFY2(panel->isAncestorOf(control(u"MotionSheet"_s, n)), qPrintable(n));
    }

    void mdpControls()
    {
        Rows r;
        for (const char *n : {"mot_t_it", "mot_t_itf", "mot_t_l0", "mot_t_l1", "mot_t_l2", "mot_t_l3", "mot_t_l4",
                              "mot_t_l5", "mot_t_l6", "mot_t_l7", "mot_t_l8", "mot_t_l9"}) {
            const QString name = QString::fromLatin1(n);
            r.add(name, Kind::Edit);
            r.add(name + u"UD"_s, Kind::UpDown);
            r.add(name + u"_s"_s, Kind::Button, u"send"_s);
        }
        r.add(u"GroupBox38"_s, Kind::GroupBox, u"Camera Baud Rate -----Stop Bit"_s);
        r.add(u"Label184"_s, Kind::Label, u"Camera Power OFF -> Power ON   Data Change"_s);
        r.add(u"C_baud_rate"_s, Kind::RadioGroup, u"Baud Rate"_s, Bauds);
        r.add(u"C_stop_bit"_s, Kind::RadioGroup, u"Stop Bit"_s, StopBits);
        r.add(u"GroupBox39"_s, Kind::GroupBox, u"Tool Baud Rate-----Stop Bit"_s);
        r.add(u"Label185"_s, Kind::Label);
        r.add(u"T_baud_rate"_s, Kind::RadioGroup, u"Baud Rate"_s, Bauds);
        r.add(u"T_stop_bit"_s, Kind::RadioGroup, u"Stop Bit"_s, StopBits);
        verifyRows(page(u"MotPara"_s), r.rows);
    }

    void aftControls()
    {
        verifyRows(page(u"AFT"_s), {
                                       {"AFT_Focus", Kind::Edit},
                                       {"AFT_BPF1", Kind::Edit},
                                       {"AFT_BPF2", Kind::Edit},
                                       {"AFT_VBPF", Kind::Edit},
                                       {"AFT_SUM", Kind::Edit},
                                       {"AFT_Get", Kind::Button, u"GET"_s},
                                       {"AFT_Rep", Kind::CheckBox, u"Repeat"_s},
                                       {"AFT_AF", Kind::Button, u"AF"_s},
                                       {"AFT_MF", Kind::Button, u"-1"_s},
                                       {"AFT_PF", Kind::Button, u"+1"_s},
                                       {"AFT_CRS", Kind::Button, u"Count Reset"_s},
                                       {"AFT_File", Kind::Button, u"FILE"_s},
                                       {"AFTFName", Kind::Panel},
                                   });
    }

    void eepControls()
    {
        Rows r;
        for (const QString &suffix : {QString(), u"2"_s, u"3"_s}) {
            r.add(u"EEPAdr"_s + suffix, Kind::Edit);
            r.add(u"EEPAdrSB"_s + suffix, Kind::SpinButton);
            r.add(u"EEPData"_s + suffix, Kind::Edit);
            r.add(u"EEPDataSB"_s + suffix, Kind::SpinButton);
        }
        r.add(u"RAMWrite"_s, Kind::CheckBox, u"RAM Write"_s);
        for (const char *n : {"Label_ALARM", "Label_motion", "Label_IR", "Board_Position", "Board_h_rev", "Board_v_rev",
                              "TV", "Resolution", "SW_Menu", "SW_Mode", "SW_Ver", "Label_Ver"})
            r.add(QString::fromLatin1(n), Kind::Label);
        r.add(u"GetStatus"_s, Kind::Button, u"GET"_s);
        r.add(u"dze"_s, Kind::Edit);
        r.add(u"dzespn"_s, Kind::SpinButton);
        for (const char *n : {"HS06", "YC65", "MG67", "XH6C", "XA6D", "DH6F", "DH70", "VN73", "VN74", "VR75", "VR76"})
            r.add(QString::fromLatin1(n), Kind::Edit);
        r.add(u"DZStop"_s, Kind::CheckBox, u"Stop"_s);
        r.add(u"DZR"_s, Kind::Button, u"Read"_s);
        // Transfers.
        r.add(u"CtoP"_s, Kind::Button, u"Camera-->PC"_s);
        r.add(u"Button8"_s, Kind::Button, u"Camera-->PC"_s);
        r.add(u"CDSPtoP"_s, Kind::Button, u"Camera-->PC"_s);
        r.add(u"CDSPSendR"_s, Kind::Button, u"Camera-->PC"_s);
        r.add(u"PtoC0"_s, Kind::Button, u"PC-->Camera"_s);
        for (const char *n : {"CtoPBar", "CEEP2toPBar", "CDSPtoBar", "CDSPSendBar"})
            r.add(QString::fromLatin1(n), Kind::ProgressBar);
        for (const char *n : {"Copyfname2", "CopyfnameEEP2", "CopyfnameDSP", "CopyfnameSend"})
            r.add(QString::fromLatin1(n), Kind::Panel);
        r.add(u"SendDef"_s, Kind::CheckBox);
        // The second DSP register editor.
        r.add(u"DSPAdr2"_s, Kind::ComboBox);
        r.add(u"DSPData2"_s, Kind::Edit);
        r.add(u"DSPWrite2"_s, Kind::CheckBox, u"EEPROM Write"_s);
        r.add(u"DSPMask2"_s, Kind::Edit, u"FFFF"_s);
        r.add(u"DSPDataSB2"_s, Kind::SpinButton);
        verifyRows(page(u"EEPSheet"_s), r.rows);

        // Register list B: item k describes register k, 0x00 to 0xFF.
        auto *list = qobject_cast<QComboBox *>(control(u"EEPSheet"_s, u"DSPAdr2"_s));
        QCOMPARE(list->count(), 256);
        QCOMPARE(list->itemText(0), u"00 dummy"_s);
        QCOMPARE(list->itemText(0xC0), u"C0 KH2A"_s);
        QCOMPARE(list->itemText(0xFF), u"FF DSP AGC Data D"_s);
        QCOMPARE(list->currentIndex(), -1); // the page picks item 0 when it is first shown
    }

    void kizuControls()
    {
        Rows r;
        for (const QString &letter : Letters) {
            r.add(letter + u"H"_s, Kind::Edit);
            r.add(letter + u"V"_s, Kind::Edit);
            r.add(letter + u"ON"_s, Kind::CheckBox);
            r.add(letter + u"F"_s, Kind::CheckBox);
            r.add(letter + u"R"_s, Kind::CheckBox);
        }
        r.add(u"KIZU_SEL"_s, Kind::RadioGroup, u"KIZU_SELECT"_s, Letters);
        r.add(u"Kizu_x"_s, Kind::Edit);
        r.add(u"Kizu_y"_s, Kind::Edit);
        r.add(u"Kizu_def"_s, Kind::CheckBox, u"Defect On"_s);
        r.add(u"Kizu_rev"_s, Kind::CheckBox, u"Field Rev"_s);
        r.add(u"Kizu_ctr"_s, Kind::CheckBox, u"Field Ctrl"_s);
        r.add(u"Kizu_cur"_s, Kind::CheckBox, u"Cursor On"_s);
        r.add(u"COFF"_s, Kind::RadioButton, u"COFF"_s);
        r.add(u"KIZU_UP"_s, Kind::Button, u"UP"_s);
        r.add(u"KIZU_DOWN"_s, Kind::Button, u"DOWN"_s);
        r.add(u"KIZU_LEFT"_s, Kind::Button, u"LEFT"_s);
        r.add(u"KIZU_RIGHT"_s, Kind::Button, u"RIGHT"_s);
        r.add(u"KIZU_STEP"_s, Kind::Edit);
        r.add(u"KIZU_STEP_UpDown"_s, Kind::UpDown);
        r.add(u"KizuSet"_s, Kind::RadioGroup, u"Kizu Setting"_s, OffOn);
        r.add(u"KizuEEP_Read"_s, Kind::Button, u"EEP READ"_s);
        r.add(u"KizuRead2"_s, Kind::Button, u"Kizu Read"_s);
        for (const char *n : {"kin_x1", "kin_y1", "kin_p1", "kin_x2", "kin_y2", "kin_p2"})
            r.add(QString::fromLatin1(n), Kind::Edit);
        verifyRows(page(u"KizuSheet"_s), r.rows);
    }

    void toolControls()
    {
        Rows r;
        r.add(u"IAdata"_s, Kind::Edit, u"0"_s);
        r.add(u"IASpinButton"_s, Kind::SpinButton);
        r.add(u"IAset"_s, Kind::Button, u"SET"_s);
        r.add(u"IAexit"_s, Kind::Button, u"EXIT"_s);
        r.add(u"Go1"_s, Kind::Button, u"Go1"_s);
        r.add(u"KizuAuto"_s, Kind::Button, u"Go2"_s);
        r.add(u"GroupBox18"_s, Kind::GroupBox, u"Kizu Data"_s);
        for (const QString &letter : Letters) {
            r.add(u"K"_s + letter + u"H"_s, Kind::Edit);
            r.add(u"K"_s + letter + u"V"_s, Kind::Edit);
            r.add(u"K"_s + letter + u"ON"_s, Kind::CheckBox);
            r.add(u"K"_s + letter + u"F"_s, Kind::CheckBox);
            r.add(u"K"_s + letter + u"R"_s, Kind::CheckBox);
        }
        r.add(u"KiAuRe"_s, Kind::Button, u"EEP READ"_s);
        r.add(u"KizuSens"_s, Kind::Edit);
        r.add(u"KSUpDown"_s, Kind::UpDown);
        r.add(u"KizuPeak"_s, Kind::Edit);
        r.add(u"KPUpDown"_s, Kind::UpDown);
        r.add(u"KPara"_s, Kind::Button, u"O"_s);
        r.add(u"LAGo2"_s, Kind::Button, u"GO"_s);
        r.add(u"PtoC1"_s, Kind::Button, u"PC-->CAMERA"_s);
        r.add(u"copyfname3"_s, Kind::Panel);
        r.add(u"Ptoc1Bar"_s, Kind::ProgressBar);
        r.add(u"TSameName"_s, Kind::CheckBox, u"Same File Name"_s);
        r.add(u"GroupBox45"_s, Kind::GroupBox, u"White Clip"_s);
        r.add(u"WCLIPBar"_s, Kind::TrackBar);
        r.add(u"WCLIP"_s, Kind::Edit);
        r.add(u"GroupBox46"_s, Kind::GroupBox, u"Burst Level"_s);
        r.add(u"burst_level_hi"_s, Kind::Edit);
        r.add(u"burst_level_lo"_s, Kind::Edit);
        r.add(u"burst_level_h_spin"_s, Kind::SpinButton);
        r.add(u"burst_level_l_spin"_s, Kind::SpinButton);
        r.add(u"GroupBox41"_s, Kind::GroupBox, u"Day/Night Parameter"_s);
        for (const char *n : {"IrRedUp", "IrRedLow", "IrBlueUp", "IrBlueLow"}) {
            r.add(QString::fromLatin1(n), Kind::Edit);
            r.add(QString::fromLatin1(n) + u"SP"_s, Kind::SpinButton);
        }
        r.add(u"ColorCheck"_s, Kind::RadioGroup, u"Color Check"_s, OffOn);
        r.add(u"GroupBox19"_s, Kind::GroupBox, u"Night->Day"_s);
        r.add(u"NtoDEd"_s, Kind::Edit);
        r.add(u"NtoDUpDown"_s, Kind::UpDown);
        verifyRows(page(u"ToolSheet"_s), r.rows);
    }

    // The form-type removal hides whole groups, so each control must sit in its group.
    void groups_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("group");

        auto row = [](const char *sheet, const QStringList &names, const QString &group) {
            QTest::addRow("%s %s", sheet, qPrintable(names.constFirst()))
                << QString::fromLatin1(sheet) << names << group;
        };
        row("MotionSheet", numbered(u"MoCheck"_s, 48) + QStringList{u"MoArea2"_s, u"mot_hpUD"_s, u"mot_vpUD"_s,
                           u"mot_wUD"_s, u"mot_hUD"_s, u"mot_eep"_s}, u"Motion Area 1"_s);
        row("MotionSheet", motionDataNames() + QStringList{u"mot_max_h"_s, u"mot_max"_s, u"mot_happen"_s, u"MotDR"_s,
                           u"mot_diff"_s, u"MotDD"_s}, u"Motion Data"_s);
        row("MotionSheet", {u"mot_whpUD"_s, u"mot_wvpUD"_s, u"mot_wwUD"_s, u"mot_whUD"_s, u"mot_whp"_s}, u"Motion Area 2"_s);
        row("MotionSheet", {u"mot_rhpUD"_s, u"mot_rvpUD"_s, u"mot_rwUD"_s, u"mot_rhUD"_s, u"mot_rh"_s}, u"Motion Area 3"_s);
        row("MotionSheet", numbered(u"Mos"_s, 48) + numbered(u"Mok"_s, 48) +
                           QStringList{u"mot_itUD"_s, u"mot_ivUD"_s, u"mot_get"_s, u"mot_it_fix"_s, u"mot_rep"_s},
            u"Motion Detect"_s);
        row("MotPara", {u"mot_t_itUD"_s, u"mot_t_itfUD"_s, u"mot_t_l0UD"_s, u"mot_t_l9UD"_s, u"mot_t_l9_s"_s},
            u"Motion Detect Parameter"_s);
        row("MotPara", {u"Label184"_s, u"C_baud_rate"_s, u"C_stop_bit"_s}, u"Camera Baud Rate -----Stop Bit"_s);
        row("MotPara", {u"Label185"_s, u"T_baud_rate"_s, u"T_stop_bit"_s}, u"Tool Baud Rate-----Stop Bit"_s);
        row("EEPSheet", {u"EEPAdr"_s, u"EEPData"_s, u"RAMWrite"_s, u"CtoP"_s, u"CtoPBar"_s, u"Copyfname2"_s},
            u"EEPROM 1"_s);
        row("EEPSheet", {u"EEPAdr2"_s, u"EEPDataSB2"_s, u"Button8"_s, u"CEEP2toPBar"_s, u"CopyfnameEEP2"_s},
            u"EEPROM 2"_s);
        row("EEPSheet", {u"EEPAdr3"_s, u"EEPDataSB3"_s, u"CDSPtoP"_s, u"CDSPtoBar"_s, u"CopyfnameDSP"_s},
            u"DSP EEPROM"_s);
        row("EEPSheet", {u"CDSPSendR"_s, u"CDSPSendBar"_s, u"CopyfnameSend"_s, u"SendDef"_s}, u"DSP (send)"_s);
        row("EEPSheet", {u"Label_ALARM"_s, u"Label_Ver"_s, u"GetStatus"_s}, u"Camera Status"_s);
        row("EEPSheet", {u"dze"_s, u"dzespn"_s, u"HS06"_s, u"VR76"_s, u"DZStop"_s, u"DZR"_s}, u"Digital P/T/Z"_s);
        row("ToolSheet", {u"IAdata"_s, u"IASpinButton"_s, u"IAset"_s, u"IAexit"_s}, u"IRIS ADJUST"_s);
        row("ToolSheet", {u"Go1"_s, u"KizuAuto"_s}, u"Kizu Auto"_s);
        row("ToolSheet", {u"KAH"_s, u"KOR"_s, u"KiAuRe"_s}, u"Kizu Data"_s);
        row("ToolSheet", {u"KizuSens"_s, u"KSUpDown"_s}, u"Kizu Para"_s);
        row("ToolSheet", {u"KizuPeak"_s, u"KPUpDown"_s, u"KPara"_s}, u"PEAK"_s);
        row("ToolSheet", {u"LAGo2"_s}, u"LENS ADJUST"_s);
        row("ToolSheet", {u"PtoC1"_s, u"copyfname3"_s, u"Ptoc1Bar"_s, u"TSameName"_s}, u"COPY"_s);
        row("ToolSheet", {u"WCLIPBar"_s, u"WCLIP"_s}, u"White Clip"_s);
        row("ToolSheet", {u"burst_level_hi"_s, u"burst_level_l_spin"_s}, u"Burst Level"_s);
        row("ToolSheet", {u"IrRedUp"_s, u"IrBlueLowSP"_s, u"ColorCheck"_s}, u"Day/Night Parameter"_s);
        row("ToolSheet", {u"NtoDEd"_s, u"NtoDUpDown"_s}, u"Night->Day"_s);
    }
    void groups()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, names);
        QFETCH(QString, group);
        for (const QString &name : names) {
            const QWidget *w = control(sheet, name);
            QVERIFY2(w, qPrintable(name));
            const QGroupBox *g = layoutcheck::enclosingGroup(w);
            QVERIFY2(g, qPrintable(name + u" is in no group"_s));
            QVERIFY2(g->title() == group, qPrintable(name + u" is in \""_s + g->title() + u'"'));
        }
    }

    // Caption labels beside edits and values, as the pages describe them.
    void captionLabels_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("Motion Data headers")
            << u"MotionSheet"_s << u"Motion Data"_s
            << QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s, u"E"_s, u"F"_s, u"G"_s, u"H"_s,
                           u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s};
        QTest::newRow("Motion Area 2") << u"MotionSheet"_s << u"Motion Area 2"_s
                                       << QStringList{u"H Position"_s, u"V Position"_s, u"Width"_s, u"Height"_s};
        QTest::newRow("Motion Area 3") << u"MotionSheet"_s << u"Motion Area 3"_s
                                       << QStringList{u"H Position"_s, u"V Position"_s, u"Width"_s, u"Height"_s};
        QTest::newRow("Motion Detect") << u"MotionSheet"_s << u"Motion Detect"_s
                                       << QStringList{u"Interval Time"_s, u"Inspect Value"_s};
        QTest::newRow("MDP parameters")
            << u"MotPara"_s << u"Motion Detect Parameter"_s
            << QStringList{u"Interval Time"_s, u"Interval Time Fix"_s, u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s,
                           u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"+8"_s, u"MAX"_s};
        QTest::newRow("AFT") << u"AFT"_s << QString()
                             << QStringList{u"Focus"_s, u"BPF1"_s, u"BPF2"_s, u"VBPF"_s, u"SUM"_s};
        QTest::newRow("Camera Status")
            << u"EEPSheet"_s << u"Camera Status"_s
            << QStringList{u"ALARM"_s, u"MOTION"_s, u"DAY/NIGHT"_s, u"Board Position"_s, u"Board H Revers"_s,
                           u"Board V Revers"_s, u"TV"_s, u"Resolution"_s, u"MENU"_s, u"SW MODE"_s, u"Version"_s,
                           u"Ver.Infomation"_s};
        QTest::newRow("Digital P/T/Z") << u"EEPSheet"_s << u"Digital P/T/Z"_s << QStringList{u"mag"_s};
        QTest::newRow("DSP editor") << u"EEPSheet"_s << QString() << QStringList{u"Data"_s, u"Mask"_s};
        QTest::newRow("Kiz detection") << u"KizuSheet"_s << QString()
                                       << QStringList{u"Even"_s, u"Odd"_s, u"X"_s, u"Y"_s, u"Pk"_s};
        QTest::newRow("IRIS ADJUST") << u"ToolSheet"_s << u"IRIS ADJUST"_s << QStringList{u"BIAS"_s};
        QTest::newRow("PEAK") << u"ToolSheet"_s << u"PEAK"_s << QStringList{u"x16"_s};
        QTest::newRow("White Clip") << u"ToolSheet"_s << u"White Clip"_s << QStringList{u"MIN"_s, u"MAX"_s};
        QTest::newRow("Burst Level") << u"ToolSheet"_s << u"Burst Level"_s << QStringList{u"B-Y "_s, u"R-Y "_s};
        QTest::newRow("Day/Night") << u"ToolSheet"_s << u"Day/Night Parameter"_s
                                   << QStringList{u"RED"_s, u"BLUE"_s, u"UPPER"_s, u"LOWER"_s};
    }
    void captionLabels()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, group);
        QFETCH(QStringList, texts);
        const QWidget *root = page(sheet);
        if (!group.isEmpty()) {
            root = nullptr;
            for (const QGroupBox *g : page(sheet)->findChildren<QGroupBox *>())
                if (g->title() == group && !qobject_cast<const kit::RadioGroup *>(g))
                    root = g;
        }
        QVERIFY2(root, qPrintable(group));
        QStringList shown;
        for (const QLabel *l : root->findChildren<QLabel *>())
            shown << l->text();
        for (const QString &text : texts)
            QVERIFY2(shown.contains(text), qPrintable(u"no label \""_s + text + u'"'));
    }

    void upDowns_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("buddy");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("wraps");

        auto row = [](const char *sheet, const QString &name, const QString &buddy, int min, int max, int pos,
                      bool wraps) {
            QTest::newRow(qPrintable(name)) << QString::fromLatin1(sheet) << name << buddy << min << max << pos << wraps;
        };
        row("MotionSheet", u"mot_hpUD"_s, u"mot_hp"_s, -80, 80, 0, false);
        row("MotionSheet", u"mot_vpUD"_s, u"mot_vp"_s, -60, 60, 0, false);
        row("MotionSheet", u"mot_wUD"_s, u"mot_w"_s, 0, 80, 0, false);
        row("MotionSheet", u"mot_hUD"_s, u"mot_h"_s, 0, 60, 0, false);
        for (const char *area : {"w", "r"}) {
            const QString a = QString::fromLatin1(area);
            row("MotionSheet", u"mot_"_s + a + u"hpUD"_s, u"mot_"_s + a + u"hp"_s, -32768, 32767, 0, false);
            row("MotionSheet", u"mot_"_s + a + u"vpUD"_s, u"mot_"_s + a + u"vp"_s, -32768, 32767, 0, false);
            row("MotionSheet", u"mot_"_s + a + u"wUD"_s, u"mot_"_s + a + u"w"_s, 0, 32767, 0, false);
            row("MotionSheet", u"mot_"_s + a + u"hUD"_s, u"mot_"_s + a + u"h"_s, 0, 32767, 0, false);
        }
        row("MotionSheet", u"mot_itUD"_s, u"mot_it"_s, 1, 128, 3, false);
        row("MotionSheet", u"mot_ivUD"_s, u"mot_iv"_s, 1, 128, 8, false);
        row("MotPara", u"mot_t_itUD"_s, u"mot_t_it"_s, 0, 300, 0, true);
        row("MotPara", u"mot_t_itfUD"_s, u"mot_t_itf"_s, 0, 300, 0, true);
        for (int n = 0; n <= 9; ++n)
            row("MotPara", u"mot_t_l%1UD"_s.arg(n), u"mot_t_l%1"_s.arg(n), 1, 255, 255, true);
        row("KizuSheet", u"KIZU_STEP_UpDown"_s, u"KIZU_STEP"_s, 1, 99, 1, false);
        row("ToolSheet", u"KSUpDown"_s, u"KizuSens"_s, 0, 8, 0, false);
        row("ToolSheet", u"KPUpDown"_s, u"KizuPeak"_s, 0, 16, 1, false);
        row("ToolSheet", u"NtoDUpDown"_s, u"NtoDEd"_s, 0, 8, 0, false);
    }
    void upDowns()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(QString, buddy);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(bool, wraps);
        auto *ud = qobject_cast<kit::UpDown *>(control(sheet, name));
        QVERIFY(ud);
        QCOMPARE(ud->minimum(), minimum);
        QCOMPARE(ud->maximum(), maximum);
        QCOMPARE(ud->position(), position);
        QCOMPARE(ud->wraps(), wraps);
        QVERIFY(ud->associate());
        QCOMPARE(ud->associate()->objectName(), buddy);
        QCOMPARE(ud->associate()->text(), QString::number(position));
        // Whatever the position, the edit must be able to show it.
        const int maxLength = ud->associate()->maxLength();
        QVERIFY(QString::number(minimum).size() <= maxLength);
        QVERIFY(QString::number(maximum).size() <= maxLength);
    }

    // Designed start states: ticks, selections, enabling, texts, lengths, maxima.
    void startStates_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("value");

        auto row = [](const char *tag, const char *sheet, const QStringList &names, const char *property,
                      const QVariant &value) {
            QTest::newRow(tag) << QString::fromLatin1(sheet) << names << QByteArray(property) << value;
        };
        row("Mos ticked", "MotionSheet", numbered(u"Mos"_s, 48), "checked", true);
        row("Mok clear", "MotionSheet", numbered(u"Mok"_s, 48), "checked", false);
        row("MoCheck clear", "MotionSheet", numbered(u"MoCheck"_s, 48), "checked", false);
        row("quick ticked", "MotionSheet", {u"mot_it_fix"_s}, "checked", true);
        row("motion boxes clear", "MotionSheet", {u"mot_rep"_s, u"mot_diff"_s, u"mot_eep"_s, u"MoOSD"_s}, "checked",
            false);
        // Four characters, or five for a value of 10000 and more, shown in full.
        row("motion data length", "MotionSheet", motionDataNames(), "maxLength", 5);
        row("T_baud_rate", "MotPara", {u"T_baud_rate"_s}, "itemIndex", 2);
        row("T_stop_bit", "MotPara", {u"T_stop_bit"_s}, "itemIndex", 0);
        row("Label185 empty", "MotPara", {u"Label185"_s}, "text", QString());
        row("AFT lengths 8", "AFT", {u"AFT_BPF1"_s, u"AFT_BPF2"_s, u"AFT_VBPF"_s, u"AFT_SUM"_s}, "maxLength", 8);
        row("AFT focus length", "AFT", {u"AFT_Focus"_s}, "maxLength", 4);
        row("EEP word lengths", "EEPSheet",
            {u"EEPAdr"_s, u"EEPData"_s, u"EEPAdr2"_s, u"EEPData2"_s, u"EEPAdr3"_s, u"EEPData3"_s, u"dze"_s,
             u"HS06"_s, u"YC65"_s, u"MG67"_s, u"XH6C"_s, u"XA6D"_s, u"DH6F"_s, u"DH70"_s, u"VN73"_s, u"VN74"_s,
             u"VR75"_s, u"VR76"_s, u"DSPData2"_s, u"DSPMask2"_s},
            "maxLength", 4);
        row("EEPROM bars", "EEPSheet", {u"CtoPBar"_s, u"CEEP2toPBar"_s}, "maximum", 1024);
        row("DSP bars", "EEPSheet", {u"CDSPtoBar"_s, u"CDSPSendBar"_s}, "maximum", 256);
        row("KIZU_SEL on A", "KizuSheet", {u"KIZU_SEL"_s}, "itemIndex", 0);
        QStringList kizWords{u"Kizu_x"_s, u"Kizu_y"_s, u"kin_x1"_s, u"kin_y1"_s, u"kin_p1"_s,
                             u"kin_x2"_s, u"kin_y2"_s, u"kin_p2"_s};
        QStringList toolWords{u"IrRedUp"_s, u"IrRedLow"_s, u"IrBlueUp"_s, u"IrBlueLow"_s};
        for (const QString &letter : Letters) {
            kizWords << letter + u"H"_s << letter + u"V"_s;
            toolWords << u"K"_s + letter + u"H"_s << u"K"_s + letter + u"V"_s;
        }
        row("Kiz word lengths", "KizuSheet", kizWords, "maxLength", 4);
        row("Tool word lengths", "ToolSheet", toolWords, "maxLength", 4);
        row("Tool byte lengths", "ToolSheet", {u"IAdata"_s, u"WCLIP"_s, u"burst_level_hi"_s, u"burst_level_lo"_s},
            "maxLength", 2);
        row("Go2 disabled", "ToolSheet", {u"KizuAuto"_s}, "enabled", false);
        row("Kizu Para locked", "ToolSheet", {u"KizuSens"_s, u"KSUpDown"_s, u"KizuPeak"_s, u"KPUpDown"_s}, "enabled",
            false);
        row("Tool enabled", "ToolSheet", {u"Go1"_s, u"KPara"_s, u"KiAuRe"_s}, "enabled", true);
        row("WCLIPBar min", "ToolSheet", {u"WCLIPBar"_s}, "minimum", 0);
        row("WCLIPBar max", "ToolSheet", {u"WCLIPBar"_s}, "maximum", 16);
    }
    void startStates()
    {
        QFETCH(QString, sheet);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        for (const QString &name : names) {
            const QWidget *w = control(sheet, name);
            QVERIFY2(w, qPrintable(name));
            const QVariant actual = w->property(property.constData());
            QVERIFY2(actual.isValid(), qPrintable(name + u" has no such property"_s));
            QVERIFY2(actual == value, qPrintable(name + u": "_s + actual.toString() + u", expected "_s + value.toString()));
        }
    }

    // Cell n sits in row (n-1) div 8 and column (n-1) mod 8, cell 1 top-left.
    void cellGrids_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("MoCheck") << numbered(u"MoCheck"_s, 48);
        QTest::newRow("Mos") << numbered(u"Mos"_s, 48);
        QTest::newRow("Mok") << numbered(u"Mok"_s, 48);
        QTest::newRow("motion data") << motionDataNames();
    }
    void cellGrids()
    {
        QFETCH(QStringList, names);
        Page *p = shown(u"MotionSheet"_s);
        QVERIFY(p);
        QCOMPARE(names.size(), 48);
        std::vector<QPoint> c;
        for (const QString &name : names) {
            const QWidget *w = control(u"MotionSheet"_s, name);
            QVERIFY2(w && w->isVisible(), qPrintable(name));
            c.push_back(centreIn(p, w));
        }
        for (int i = 0; i < 48; ++i) {
            for (int j = 0; j < 48; ++j) {
                const int ri = i / 8, ci = i % 8, rj = j / 8, cj = j % 8;
                const QByteArray whereText = (names[i] + u" / "_s + names[j]).toLocal8Bit();
                const char *where = whereText.constData();
                if (ri == rj)
                    QVERIFY2(c[size_t(i)].y() == c[size_t(j)].y(), where);
                else
                    QVERIFY2((c[size_t(i)].y() < c[size_t(j)].y()) == (ri < rj), where);
                if (ci == cj)
                    QVERIFY2(c[size_t(i)].x() == c[size_t(j)].x(), where);
                else
                    QVERIFY2((c[size_t(i)].x() < c[size_t(j)].x()) == (ci < cj), where);
            }
        }
        p->hide();
    }

    // Rows A..O top to bottom, each row's H, V, ON, F, R left to right on one line.
    void defectRows_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("Kiz") << u"KizuSheet"_s << QString();
        QTest::newRow("Tool") << u"ToolSheet"_s << u"K"_s;
    }
    void defectRows()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, prefix);
        Page *p = shown(sheet);
        QVERIFY(p);
        const QStringList columns{u"H"_s, u"V"_s, u"ON"_s, u"F"_s, u"R"_s};
        std::vector<std::vector<QPoint>> c(15);
        for (int n = 0; n < 15; ++n) {
            for (const QString &column : columns) {
                const QWidget *w = control(sheet, prefix + Letters[n] + column);
                QVERIFY2(w && w->isVisible(), qPrintable(prefix + Letters[n] + column));
                c[size_t(n)].push_back(centreIn(p, w));
            }
        }
        for (int n = 0; n < 15; ++n) {
            const auto &row = c[size_t(n)];
            if (n > 0)
                QVERIFY2(row[0].y() > c[size_t(n - 1)][0].y(), qPrintable(Letters[n]));
            for (size_t k = 1; k < row.size(); ++k) {
                QVERIFY2(row[k].x() > row[k - 1].x(), qPrintable(Letters[n] + columns[int(k)]));
                QVERIFY2(qAbs(row[k].y() - row[0].y()) <= 2, qPrintable(Letters[n] + columns[int(k)]));
                if (n > 0)
                    QCOMPARE(row[k].x(), c[0][k].x());
            }
        }
        p->hide();
    }

    void timers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("interval");
        QTest::newRow("AutoKizuTimer") << u"AutoKizuTimer"_s << 1000;
        QTest::newRow("WCLIPTimer") << u"WCLIPTimer"_s << 1000;
        QTest::newRow("BurstTimer") << u"BurstTimer"_s << 1000;
        QTest::newRow("LensADJTimer") << u"LensADJTimer"_s << 2000;
    }
    void timers()
    {
        QFETCH(QString, name);
        QFETCH(int, interval);
        const auto found = page(u"ToolSheet"_s)->findChildren<QTimer *>(name);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.constFirst()->interval(), interval);
        QVERIFY(!found.constFirst()->isActive());
    }

    // At the window's page width nothing scrolls sideways, and no two controls overlap or
    // are squeezed below their minimum size.
    void pagesAreReadable_data()
    {
        QTest::addColumn<QString>("sheet");
        for (const char *sheet : {"MotionSheet", "MotPara", "AFT", "EEPSheet", "KizuSheet", "ToolSheet"})
            QTest::newRow(sheet) << QString::fromLatin1(sheet);
    }
    void pagesAreReadable()
    {
        QFETCH(QString, sheet);
        QVERIFY(page(sheet)->minimumSizeHint().width() <= 1260);
        Page *p = shown(sheet);
        QVERIFY(p);
        QList<QWidget *> named;
        for (QWidget *w : p->findChildren<QWidget *>())
            if (!w->objectName().isEmpty() && w->isVisible() && !w->objectName().startsWith(u"qt_"_s))
                named << w;
        for (const QWidget *w : std::as_const(named)) {
            const QSize min = w->minimumSizeHint();
            if (min.isValid())
                QVERIFY2(w->width() >= min.width() && w->height() >= min.height(), qPrintable(w->objectName()));
        }
        for (qsizetype i = 0; i < named.size(); ++i) {
            for (qsizetype j = i + 1; j < named.size(); ++j) {
                const QWidget *a = named[i], *b = named[j];
                if (a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                const QRect ra(a->mapTo(p, QPoint()), a->size()), rb(b->mapTo(p, QPoint()), b->size());
                QVERIFY2(!ra.intersects(rb), qPrintable(a->objectName() + u" overlaps "_s + b->objectName()));
            }
        }
        p->hide();
    }

    void layingOutSendsNothing()
    {
        QVERIFY(fx->link.panel(1).isEmpty());
        QCOMPARE(fx->link.LinkBusy, uint8_t(0));
    }
};

QTEST_MAIN(TstLayoutService)
#include "tst_layout_service.moc"
