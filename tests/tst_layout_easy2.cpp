// Layout of the EASY2, MASK, RM and Fac pages: every named control with its kind, caption
// and items, the ranges and start positions of the up-downs, the motion grid order, the
// designed hidden/disabled states, and that laying out sends nothing.
#include "support/layoutcheck.h"
#include "support/pagesfixture.h"

#include "pages/page.h"

#include <QGridLayout>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using layoutcheck::Expect;
using layoutcheck::Kind;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};

// Rows whose names are built at run time keep their names here.
struct Rows
{
    std::vector<Expect> rows;
    std::vector<std::unique_ptr<QByteArray>> names;

    void add(const QString &name, Kind kind, const QString &caption = {}, const QStringList &items = {})
    {
        names.push_back(std::make_unique<QByteArray>(name.toLatin1()));
        rows.push_back({names.back()->constData(), kind, caption, items});
    }
    void add(const Expect &e) { rows.push_back(e); }
};

QString maskName(const char *pattern, int mask)
{
    return QString::fromLatin1(pattern).arg(mask);
}

} // namespace

class TstLayoutEasy2 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PagesFixture> fx;

    Page *page(const QString &sheet) const { return fx->page(sheet); }
    static void verifyRows(const QWidget *root, const std::vector<Expect> &rows) { LAYOUT_VERIFY(root, rows); }

private slots:
    void initTestCase()
    {
        fx = std::make_unique<PagesFixture>();
        for (const char *sheet : {"AGCSheet", "MASKSheet", "IRSheet", "APCSheet"})
            QVERIFY2(page(QString::fromLatin1(sheet)), sheet);
    }
    void cleanupTestCase() { fx.reset(); }

    void layingOutSendsNothing()
    {
        QVERIFY(fx->link.panel(1).isEmpty());
        QCOMPARE(fx->link.LinkBusy, uint8_t(0));
    }

    void easy2Controls()
    {
        Rows r;
        r.add({"ASPriority", Kind::RadioGroup, u"Priority"_s, {u"AGC"_s, u"SENS"_s}});
        r.add({"AGCLv", Kind::RadioGroup, u"AGC Level"_s,
               {u"BASE"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"MAX"_s}});
        r.add({"SENSLv", Kind::RadioGroup, u"SENS Level"_s,
               {u"OFF "_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x12"_s, u"x16"_s, u"x32"_s, u"x64"_s}});
        r.add({"GroupBox9", Kind::GroupBox});
        r.add({"ALCNow", Kind::Edit});
        r.add({"AGCNow", Kind::Edit});
        r.add({"AESNow", Kind::Edit});
        r.add({"DayNight", Kind::RadioGroup, u"DAY NIGHT"_s, {u"NIGHT"_s, u"DAY"_s, u"AUTO"_s}});
        r.add({"DayNightLv", Kind::RadioGroup, u"DAY NIGHT LEVEL"_s,
               {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"+7"_s, u"MAX"_s}});
        r.add({"BlueBack", Kind::RadioGroup, u"BLUE BACK"_s, OffOn});
        r.add({"ColorBar", Kind::RadioGroup, u"COLOR BAR"_s, OffOn});
        r.add({"P_ON_POS", Kind::RadioGroup, {}, OffOn});
        r.add({"P_ON_POS_E", Kind::Edit});
        r.add({"P_ON_P_UpDown", Kind::UpDown});
        r.add({"EAFTRC", Kind::RadioGroup, u"AF MODE"_s, {u"HARD"_s, u"TRC"_s}});
        r.add({"MoDetectE", Kind::RadioGroup, u"Detection"_s, OffOn});
        r.add({"MoLvE", Kind::RadioGroup, u"Motion Level"_s,
               {u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s, u"MAX"_s}});
        r.add({"MoTimeE", Kind::RadioGroup, {}, {u"10sec"_s, u"30sec"_s, u"60sec"_s}});
        r.add({"MoOSDE", Kind::CheckBox, u"OSD"_s});
        r.add({"MoOSDUD", Kind::RadioGroup, {}, {u"UP"_s, u"DOWN"_s}});
        for (int i = 1; i <= 48; ++i)
            r.add(u"MoCheck%1E"_s.arg(i, 2, 10, QLatin1Char('0')), Kind::CheckBox);
        for (int m = 1; m <= 4; ++m) {
            for (const char *f : {"MASK%1_HS", "MASK%1_HE", "MASK%1_VS"})
                r.add(maskName(f, m), Kind::Edit);
            r.add(m == 3 ? u"MASK_3VE"_s : maskName("MASK%1_VE", m), Kind::Edit);
            for (const char *f : {"MASK%1_HSUD", "MASK%1_HEUD", "MASK%1_VSUD", "MASK%1_VEUD"})
                r.add(maskName(f, m), Kind::UpDown);
            r.add(maskName("MASK%1OnOffE", m), Kind::RadioGroup, QString(QChar(u'A' + m - 1)), OffOn);
            r.add(maskName("MASK%1Conn", m), Kind::CheckBox);
        }
        r.add({"pm_saveE", Kind::CheckBox, u"EEPROM SAVE"_s});
        r.add({"mask_sel", Kind::RadioGroup, {}, {u"A"_s, u"B"_s, u"C"_s, u"D"_s}});
        r.add({"mask_q", Kind::Edit});
        r.add({"mask_q_UpDown", Kind::UpDown});
        r.add({"mask_reverse", Kind::CheckBox, u"Reverse"_s});
        r.add({"mask_up", Kind::Button, u"up"_s});
        r.add({"mask_down", Kind::Button, u"down"_s});
        r.add({"mask_left", Kind::Button, u"left"_s});
        r.add({"mask_right", Kind::Button, u"right"_s});
        r.add({"mask_high", Kind::Button, u"high"_s});
        r.add({"mask_low", Kind::Button, u"low"_s});
        r.add({"mask_wide", Kind::Button, u"wide"_s});
        r.add({"mask_narrow", Kind::Button, u"narrow"_s});

        QWidget *p = page(u"AGCSheet"_s);
        verifyRows(p, r.rows);
        QVERIFY(!p->findChild<QObject *>(u"MASK3_VE"_s));   // mask C's V End has its own name
        QVERIFY(p->findChild<QGroupBox *>(u"GroupBox9"_s)->title().isEmpty());
        QCOMPARE(p->findChild<kit::RadioGroup *>(u"mask_sel"_s)->itemIndex(), 0);
        QCOMPARE(p->findChild<QLineEdit *>(u"P_ON_POS_E"_s)->maxLength(), 2);
        // The hidden OSD position group stays hidden when the page is shown.
        auto *osd = p->findChild<QWidget *>(u"MoOSDUD"_s);
        QVERIFY(osd->isHidden());
        QVERIFY(!osd->isVisibleTo(p));
    }

    void maskControls()
    {
        Rows r;
        for (int m = 1; m <= 4; ++m) {
            for (const char *f : {"MASK%1_HP", "MASK%1_VP", "MASK%1_W", "MASK%1_H", "MASK%1_WHP", "MASK%1_WVP",
                                  "MASK%1_WW", "MASK%1_WH", "MASK%1_RHP", "MASK%1_RVP", "MASK%1_RW", "MASK%1_RH"}) {
                r.add(maskName(f, m), Kind::Edit);
                r.add(maskName(f, m) + u"UD"_s, Kind::UpDown);
            }
            r.add(maskName("MASK%1OnOff", m), Kind::RadioGroup, {}, OffOn);
        }
        r.add({"pm_save", Kind::CheckBox, u"EEPROM SAVE"_s});
        for (const char *n : {"dpt1_xud", "dpt1_yud", "dpt1_wud"})
            r.add({n, Kind::UpDown});
        for (const char *n : {"dpt1_xe", "dpt1_ye", "dpt1_we"})
            r.add({n, Kind::Edit});
        r.add({"dpt1_cancel", Kind::Button, u"Cancel"_s});
        r.add({"MaHRev", Kind::RadioGroup, u"NO SAVE H-Revers"_s, OffOn});
        r.add({"MaVRev", Kind::RadioGroup, u"NO SAVE V-Revers"_s, OffOn});
        verifyRows(page(u"MASKSheet"_s), r.rows);

        auto *timer = page(u"MASKSheet"_s)->findChild<QTimer *>(u"MASKTimer1"_s);
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 1000);
    }

    void rmControls()
    {
        Rows r;
        r.add({"opt_h", Kind::Edit});
        r.add({"opt_v", Kind::Edit});
        r.add({"opt_on", Kind::Button, u"ON"_s});
        r.add({"opt_up", Kind::Button, u"UP"_s});
        r.add({"opt_down", Kind::Button, u"DOWN"_s});
        r.add({"opt_left", Kind::Button, u"LEFT"_s});
        r.add({"opt_right", Kind::Button, u"RIGHT"_s});
        r.add({"opt_write", Kind::Button, u"WRITE"_s});
        r.add({"opt_off", Kind::Button, u"H OFF"_s});
        r.add({"opt_off2", Kind::Button, u"V OFF"_s});
        r.add({"opt_wide", Kind::Button, u"x1"_s});
        r.add({"opt_x6", Kind::Button, u"x2"_s});
        r.add({"opt_x11", Kind::Button, u"x5"_s});
        r.add({"opt_tele", Kind::Button, u"x10"_s});
        r.add({"opt_af", Kind::Button, u"AF"_s});
        r.add({"GroupBox22", Kind::GroupBox, u"IR"_s});
        r.add({"IRL", Kind::RadioGroup, u"IR"_s, {u"AUTO"_s, u"DAY"_s, u"NIGHT"_s}});
        r.add({"IRSW", Kind::RadioGroup, u"SW"_s, {u"INT"_s, u"EXT"_s}});
        QStringList levels{u"MIN"_s};
        for (int i = 1; i <= 16; ++i)
            levels << QString::number(i);
        levels << u"MAX"_s;
        r.add({"IRLevel", Kind::RadioGroup, u"LEVEL"_s, levels});
        r.add({"IRLevelSW", Kind::RadioGroup, u"EXT LEVEL SW"_s, {u"POSI"_s, u"NEGA"_s}});
        r.add({"Label_IR_NOW", Kind::Label});
        r.add({"Label_IR_NOW1", Kind::Label});
        r.add({"GroupBox23", Kind::GroupBox, u"IR TEST"_s});
        for (const char *n : {"ir_rg", "ir_bg", "ir_ry", "ir_by", "ir_rgc", "ir_bgc", "ir_ry_min", "ir_ry_max",
                              "ir_by_min", "ir_by_max"})
            r.add({n, Kind::Edit});
        r.add({"ir_test", Kind::Button, u"GET"_s});
        r.add({"ir_test_rep", Kind::CheckBox, u"Repeat"_s});
        r.add({"Button1", Kind::Button, u"WB AREA ALL"_s});
        r.add({"Button2", Kind::Button, u"WB AREA CHANGE"_s});
        verifyRows(page(u"IRSheet"_s), r.rows);
    }

    void facControls()
    {
        const QStringList gains{u"MIN"_s, u"+1"_s, u"+2"_s, u"+3"_s, u"+4"_s, u"+5"_s, u"+6"_s,
                                u"+7"_s,  u"+8"_s, u"+9"_s, u"+10"_s, u"+11"_s, u"MAX"_s};
        const std::vector<Expect> rows = {
            {"HGain", Kind::RadioGroup, u"H-Gain"_s, gains},
            {"VGain", Kind::RadioGroup, u"V-Gain"_s, gains},
            {"Label255", Kind::Label},
            {"Label256", Kind::Label},
            {"FPhase", Kind::RadioGroup, u"Phase"_s, OffOn},
            {"FMASK", Kind::RadioGroup, u"MASK"_s, OffOn},
            {"FZoomBar", Kind::TrackBar},
            {"FMotion", Kind::RadioGroup, u"Motion"_s, OffOn},
            {"FColorBar", Kind::RadioGroup, u"Color Bar"_s, OffOn},
            {"FAES", Kind::RadioGroup, u"AES"_s, {u"FIX"_s, u"AUTO"_s}},
            {"FSENS", Kind::RadioGroup, u"SENS"_s, OffOn},
            {"FDayNight", Kind::RadioGroup, u"DAY NIGHT"_s, {u"AUTO"_s, u"EXT"_s}},
            {"FPreset", Kind::RadioGroup, u"Preset"_s, OffOn},
            {"FPreEnter", Kind::Button, u"Enter"_s},
            {"FLoad", Kind::Button, u"Load"_s},
            {"FClear", Kind::Button, u"CLEAR"_s},
            {"FPtoC", Kind::Button, u"PC--->Camera"_s},
            {"FSameName", Kind::CheckBox, u"Same File Name"_s},
            {"FFileName", Kind::Panel},
            {"FProgressBar", Kind::ProgressBar},
        };
        QWidget *p = page(u"APCSheet"_s);
        verifyRows(p, rows);
        auto *zoom = p->findChild<QSlider *>(u"FZoomBar"_s);
        QCOMPARE(zoom->minimum(), 0);
        QCOMPARE(zoom->maximum(), 10);
        QCOMPARE(p->findChild<QProgressBar *>(u"FProgressBar"_s)->value(), 0);
    }

    // Where the descriptions place a control: the titled group box around it.
    void placement_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");

        const auto add = [](const char *sheet, const QString &name, const QString &group) {
            QTest::addRow("%s %s", sheet, qPrintable(name)) << QString::fromLatin1(sheet) << name << group;
        };
        for (const char *n : {"ALCNow", "AGCNow", "AESNow"})
            add("AGCSheet", QString::fromLatin1(n), QString());   // GroupBox9 is untitled
        add("AGCSheet", u"P_ON_POS"_s, u"POWER ON"_s);
        add("AGCSheet", u"P_ON_P_UpDown"_s, u"POSITION"_s);
        add("AGCSheet", u"P_ON_POS_E"_s, u"POSITION"_s);
        add("AGCSheet", u"MoCheck01E"_s, u"Motion Area"_s);
        add("AGCSheet", u"MoCheck48E"_s, u"Motion Area"_s);
        for (const char *n : {"MASK1_HS", "MASK_3VE", "MASK4_VEUD", "MASK2OnOffE", "MASK3Conn", "pm_saveE"})
            add("AGCSheet", QString::fromLatin1(n), u"Privacy MASK"_s);
        for (const char *n : {"mask_sel", "mask_q", "mask_q_UpDown", "mask_up", "mask_right", "mask_high",
                              "mask_narrow"})
            add("AGCSheet", QString::fromLatin1(n), u"Operate"_s);
        for (const char *n : {"MASK1_HP", "MASK4_HUD", "MASK2OnOff", "pm_save"})
            add("MASKSheet", QString::fromLatin1(n), u"Privacy MASK"_s);
        for (const char *n : {"MASK1_WHP", "MASK3_WWUD", "MASK4_WH"})
            add("MASKSheet", QString::fromLatin1(n), u"Privacy MASK 2"_s);
        for (const char *n : {"MASK1_RHP", "MASK2_RVPUD", "MASK4_RH"})
            add("MASKSheet", QString::fromLatin1(n), u"Privacy MASK 3"_s);
        for (const char *n : {"dpt1_xud", "dpt1_we", "dpt1_cancel"})
            add("MASKSheet", QString::fromLatin1(n), u"Digital P/T/Z"_s);
        for (const char *n : {"opt_h", "opt_v", "opt_on", "opt_write", "opt_off2"})
            add("IRSheet", QString::fromLatin1(n), u"Revision"_s);
        for (const char *n : {"opt_wide", "opt_x6", "opt_x11", "opt_tele", "opt_af"})
            add("IRSheet", QString::fromLatin1(n), u"Lens"_s);
        for (const char *n : {"IRL", "IRSW", "IRLevel", "IRLevelSW", "Label_IR_NOW", "Label_IR_NOW1"})
            add("IRSheet", QString::fromLatin1(n), u"IR"_s);
        for (const char *n : {"ir_rg", "ir_by_max", "ir_test", "ir_test_rep", "Button1", "Button2"})
            add("IRSheet", QString::fromLatin1(n), u"IR TEST"_s);
        add("APCSheet", u"FZoomBar"_s, u"Zoom"_s);
        for (const char *n : {"FPtoC", "FSameName", "FFileName", "FProgressBar"})
            add("APCSheet", QString::fromLatin1(n), u"EEPROM Copy"_s);
    }
    void placement()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(QString, group);
        auto *w = page(sheet)->findChild<QWidget *>(name);
        QVERIFY(w);
        const QGroupBox *g = layoutcheck::enclosingGroup(w);
        QVERIFY2(g, "not inside a group box");
        QCOMPARE(g->title(), group);
        if (name.startsWith(u"ir_") || name.startsWith(u"Button"))
            QCOMPARE(g->objectName(), u"GroupBox23"_s);
        if (name.startsWith(u"IR") || name.startsWith(u"Label_IR"))
            QCOMPARE(g->objectName(), u"GroupBox22"_s);
        if (name.endsWith(u"Now"))
            QCOMPARE(g->objectName(), u"GroupBox9"_s);
    }

    // Texts the descriptions give to unnamed labels, in their group.
    void labels_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("text");
        const auto add = [](const char *sheet, const QString &group, const QString &text) {
            QTest::addRow("%s %s", sheet, qPrintable(text)) << QString::fromLatin1(sheet) << group << text;
        };
        add("AGCSheet", QString(), u"ALC"_s);
        add("AGCSheet", QString(), u"AGC"_s);
        add("AGCSheet", QString(), u"AES,SENSE UP"_s);
        for (const QString &t : {u"H Start"_s, u"H End"_s, u"V Start"_s, u"V End"_s, u"Connect"_s})
            add("AGCSheet", u"Privacy MASK"_s, t);
        add("AGCSheet", u"Operate"_s, u"Position"_s);
        add("AGCSheet", u"Operate"_s, u"Size"_s);
        for (const QString &t : {u"H Position"_s, u"V Position"_s, u"Width"_s, u"Height"_s})
            add("MASKSheet", u"Privacy MASK"_s, t);
        for (const QString &t : {u"H P"_s, u"V P"_s, u"Wi"_s, u"He"_s}) {
            add("MASKSheet", u"Privacy MASK 2"_s, t);
            add("MASKSheet", u"Privacy MASK 3"_s, t);
        }
        for (const QString &t : {u"X"_s, u"Y"_s, u"W"_s})
            add("MASKSheet", u"Digital P/T/Z"_s, t);
        add("IRSheet", u"Revision"_s, u"H-Revision"_s);
        add("IRSheet", u"Revision"_s, u"V-Revision"_s);
        add("APCSheet", u"Zoom"_s, u"Wide"_s);
        add("APCSheet", u"Zoom"_s, u"Tele"_s);
        add("APCSheet", u"EEPROM Copy"_s, u"File Name"_s);
    }
    void labels()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, group);
        QFETCH(QString, text);
        bool found = false;
        for (const QLabel *l : page(sheet)->findChildren<QLabel *>()) {
            const QGroupBox *g = layoutcheck::enclosingGroup(l);
            if (l->text() == text && g && g->title() == group)
                found = true;
        }
        QVERIFY2(found, "no such label in that group");
    }

    void upDowns_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("buddy");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("increment");

        const auto add = [](const char *sheet, const QString &ud, const QString &edit, int lo, int hi, int pos,
                            int step = 1) {
            QTest::addRow("%s", qPrintable(ud)) << QString::fromLatin1(sheet) << ud << edit << lo << hi << pos << step;
        };
        add("AGCSheet", u"P_ON_P_UpDown"_s, u"P_ON_POS_E"_s, 1, 64, 1);
        add("AGCSheet", u"mask_q_UpDown"_s, u"mask_q"_s, 1, 20, 1);
        for (int m = 1; m <= 4; ++m) {
            for (const char *f : {"HS", "HE", "VS", "VE"}) {
                const QString edit = maskName("MASK%1_", m) + QString::fromLatin1(f);
                add("AGCSheet", edit + u"UD"_s, edit == u"MASK3_VE"_s ? u"MASK_3VE"_s : edit, 0, 255, 0);
            }
            const struct { const char *f; int lo, hi; } centre[] = {
                {"HP", -80, 80}, {"VP", -60, 60}, {"W", 0, 80}, {"H", 0, 60}};
            for (const auto &c : centre) {
                const QString edit = maskName("MASK%1_", m) + QString::fromLatin1(c.f);
                add("MASKSheet", edit + u"UD"_s, edit, c.lo, c.hi, 0);
            }
            for (const char *g : {"W", "R"}) {
                const struct { const char *f; int lo; } wide[] = {{"HP", -32768}, {"VP", -32768}, {"W", 0}, {"H", 0}};
                for (const auto &w : wide) {
                    const QString edit = maskName("MASK%1_", m) + QString::fromLatin1(g) + QString::fromLatin1(w.f);
                    add("MASKSheet", edit + u"UD"_s, edit, w.lo, 32767, 0);
                }
            }
        }
        add("MASKSheet", u"dpt1_xud"_s, u"dpt1_xe"_s, -72, 72, 0);
        add("MASKSheet", u"dpt1_yud"_s, u"dpt1_ye"_s, -54, 54, 0);
        add("MASKSheet", u"dpt1_wud"_s, u"dpt1_we"_s, 8, 80, 8, 2);
    }
    void upDowns()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(QString, buddy);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(int, increment);
        auto *ud = page(sheet)->findChild<kit::UpDown *>(name);
        QVERIFY(ud);
        QCOMPARE(ud->minimum(), minimum);
        QCOMPARE(ud->maximum(), maximum);
        QCOMPARE(ud->position(), position);
        QCOMPARE(ud->increment(), increment);
        QVERIFY(!ud->wraps());
        QVERIFY(ud->associate());
        QCOMPARE(ud->associate()->objectName(), buddy);
        QCOMPARE(ud->associate()->text(), QString::number(position));
    }

    // Cell 1 top-left, cell 8 top-right, cell 9 starts the second row, cell 48 bottom-right.
    void motionGridOrder()
    {
        QWidget *p = page(u"AGCSheet"_s);
        QGridLayout *grid = nullptr;
        for (int i = 0; i < 48; ++i) {
            const QString name = u"MoCheck%1E"_s.arg(i + 1, 2, 10, QLatin1Char('0'));
            auto *box = p->findChild<QCheckBox *>(name);
            QVERIFY2(box, qPrintable(name));
            auto *g = qobject_cast<QGridLayout *>(box->parentWidget()->layout());
            QVERIFY2(g, qPrintable(name));
            if (!grid)
                grid = g;
            QVERIFY2(g == grid, "all cells in one grid");
            int row = -1, col = -1, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(box), &row, &col, &rs, &cs);
            QCOMPARE(row, i / 8);
            QCOMPARE(col, i % 8);
        }
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(grid->columnCount(), 8);
    }

    // Radio groups laid out with the column counts the descriptions give.
    void radioColumns_data()
    {
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("columns");
        const auto add = [](const char *sheet, const char *name, int columns) {
            QTest::addRow("%s", name) << QString::fromLatin1(sheet) << QString::fromLatin1(name) << columns;
        };
        add("AGCSheet", "ASPriority", 2);
        add("AGCSheet", "DayNight", 3);
        add("AGCSheet", "DayNightLv", 5);
        add("AGCSheet", "BlueBack", 2);
        add("AGCSheet", "ColorBar", 2);
        add("AGCSheet", "P_ON_POS", 2);
        add("AGCSheet", "EAFTRC", 2);
        for (const char *n : {"FPhase", "FMASK", "FMotion", "FColorBar", "FAES", "FSENS", "FDayNight"})
            add("APCSheet", n, 2);
    }
    void radioColumns()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, name);
        QFETCH(int, columns);
        auto *g = page(sheet)->findChild<kit::RadioGroup *>(name);
        QVERIFY(g);
        QSet<int> seen;
        auto *grid = qobject_cast<QGridLayout *>(g->layout());
        QVERIFY(grid);
        for (int i = 0; i < g->count(); ++i) {
            int row = -1, col = -1, rs = 0, cs = 0;
            grid->getItemPosition(grid->indexOf(g->button(i)), &row, &col, &rs, &cs);
            seen.insert(col);
        }
        QCOMPARE(int(seen.size()), columns);
    }

    // Every control is enabled, and only the designed one is hidden.
    void designedStates()
    {
        for (const char *sheet : {"AGCSheet", "MASKSheet", "IRSheet", "APCSheet"}) {
            QWidget *p = page(QString::fromLatin1(sheet));
            for (QWidget *w : p->findChildren<QWidget *>()) {
                if (w->objectName().isEmpty())
                    continue;
                QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
                QCOMPARE(w->isHidden(), w->objectName() == u"MoOSDUD"_s);
            }
        }
    }
};

QTEST_MAIN(TstLayoutEasy2)
#include "tst_layout_easy2.moc"
