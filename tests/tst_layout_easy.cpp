// Layout of the EASY and Wadj pages: every named control with its kind, caption and items,
// the groups that hold them, ranges and start values, the designed hidden/disabled states,
// the BLC grid order, that the EASY page fits the page area without squeezing or overlap,
// and that laying out (and pressing the Wadj controls) sends nothing.
#include "support/layoutcheck.h"
#include "support/pagesfixture.h"

#include "pages/page.h"

#include <QCheckBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;
using layoutcheck::Expect;
using layoutcheck::Kind;

namespace {

const QStringList OffOn{u"OFF"_s, u"ON"_s};

QString blcName(int cell)
{
    return u"BLCCheck%1E"_s.arg(cell, 2, 10, QChar(u'0'));
}

} // namespace

class TstLayoutEasy : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PagesFixture> fx;
    std::vector<QScrollArea *> areas;

    Page *page(const QString &sheet) const { return fx->page(sheet); }
    Page *easy() const { return page(u"TitleSheet"_s); }
    Page *wadj() const { return page(u"Wadj"_s); }

    template <class T = QWidget> T *control(Page *p, const QString &name) const
    {
        return p->findChild<T *>(name);
    }

    static void verifyRows(const QWidget *root, const std::vector<Expect> &rows) { LAYOUT_VERIFY(root, rows); }

private slots:
    void initTestCase()
    {
        fx = std::make_unique<PagesFixture>();
        QVERIFY(easy());
        QVERIFY(wadj());
        QCOMPARE(easy()->tabCaption(), u"EASY"_s);
        QCOMPARE(wadj()->tabCaption(), u"Wadj"_s);
        // As the main window shows them: in a scroll area of the page area's size.
        for (Page *p : {easy(), wadj()}) {
            auto *area = qobject_cast<QScrollArea *>(p->takeScrollArea());
            QVERIFY(area);
            area->resize(1260, 620);
            area->show();
            areas.push_back(area);
        }
        for (QScrollArea *a : areas)
            QVERIFY(QTest::qWaitForWindowExposed(a));
    }

    void cleanupTestCase()
    {
        // The fixture deletes the pages; the scroll areas must let go of them first.
        for (QScrollArea *a : areas) {
            a->takeWidget();
            delete a;
        }
        fx.reset();
    }

    void layingOutSendsNothing()
    {
        QVERIFY(fx->link.panel(1).isEmpty());
        QCOMPARE(fx->link.LinkBusy, uint8_t(0));
    }

    void easyControls()
    {
        // Own controls.
        verifyRows(easy(), {
            {"CName", Kind::Edit},
            {"SetTitle", Kind::Button, u"Set"_s},
            {"TitleDisp", Kind::RadioGroup, u"Display"_s, OffOn},
            {"TitlePos", Kind::RadioGroup, {}, {u"UP"_s, u"DOWN"_s}},
            {"CommID", Kind::Edit, u"1"_s},
            {"CommUpDown", Kind::UpDown},
            {"IDset", Kind::Button, u"Set"_s},
            {"CommMode", Kind::RadioGroup, u"COMM Mode"_s, {u"1:1"_s, u"1:N"_s}},
            {"Mark", Kind::RadioGroup, u"Mark"_s, OffOn},
            {"Mark_left", Kind::Button, u"left"_s},
            {"Mark_up", Kind::Button, u"up"_s},
            {"Mark_right", Kind::Button, u"right"_s},
            {"Mark_down", Kind::Button, u"down"_s},
            {"MarkI", Kind::Edit, u"1"_s},
            {"MarkIUpDown1", Kind::UpDown},
            {"GroupBox29", Kind::GroupBox, u"SW"_s},
            {"Button9", Kind::Button, u"UP"_s},
            {"Button10", Kind::Button, u"ENTER"_s},
            {"Button11", Kind::Button, u"BACK"_s},
            {"Button12", Kind::Button, u"DOWN"_s},
            {"FrBu", Kind::Button, u"FREEZE"_s},
            {"IDBu", Kind::Button, u"COMM.ID"_s},
            {"Button4", Kind::Button, u"ZF MODE"_s},
            {"VERSW", Kind::Button, u"VER"_s},
            {"GroupBox36", Kind::GroupBox, u"Baud Rate"_s},
            {"GroupBox37", Kind::GroupBox, u"Stop Bit"_s},
            {"Label178", Kind::Label},
            {"Label179", Kind::Label},
            {"Label182", Kind::Label},
            {"Label183", Kind::Label},
            {"GroupBox54", Kind::GroupBox},
            {"C_Menu", Kind::Label},
            {"C_SW", Kind::Label},
        });

        // Twins of the Oth page.
        verifyRows(easy(), {
            {"Default", Kind::RadioGroup, u"Preset"_s, OffOn},
            {"PresetSet", Kind::Button, u"Enter"_s},
            {"InitialE", Kind::RadioGroup, u"Initial"_s},
            {"HReverse", Kind::CheckBox, u"HRev"_s},
            {"VReverse", Kind::CheckBox, u"VRev"_s},
            {"RevSet", Kind::Button, u"Save"_s},
            {"PosiNega", Kind::RadioGroup, u"Posi / Nega"_s, {u"Posi"_s, u"Nega"_s}},
            {"Sync", Kind::RadioGroup, u"Phase"_s, OffOn},
            {"PhaseLevel", Kind::Edit},
            {"PhaseUD", Kind::UpDown},
            {"PhaseSet", Kind::Button, u"Set"_s},
            {"FreezeE", Kind::RadioGroup, u"Freeze"_s},
            {"GammaE", Kind::RadioGroup, u"Gamma"_s, {u"TYPE A"_s, u"TYPE B"_s}},
            {"langu_sel", Kind::RadioGroup, u"Language"_s, {u"English"_s, u"Chinese"_s, u"Japanese"_s}},
            {"chromaE", Kind::RadioGroup, u"Color"_s, {u"OFF"_s, u"ON"_s, u"AUTO"_s}},
            {"PushSW", Kind::RadioGroup, u"Push SW"_s, {u"Alarm"_s, u"Freeze"_s}},
        });

        // Twins of the EASY2, ALC, BLC, colour and factory pages.
        verifyRows(easy(), {
            {"AGCBar", Kind::TrackBar},
            {"SENSBar", Kind::TrackBar},
            {"ALCE", Kind::RadioGroup, u"ALC"_s, {u"AUTO"_s, u"FIX"_s}},
            {"ALCAutoBar", Kind::TrackBar},
            {"ALCFixBar", Kind::TrackBar},
            {"AESE", Kind::RadioGroup, u"AES"_s, {u"AUTO"_s, u"FIX"_s}},
            {"AESAutoBar", Kind::TrackBar},
            {"AESFixBox", Kind::ComboBox, {},
             {u"OFF"_s, u"1/100"_s, u"1/120"_s, u"1/250"_s, u"1/500"_s, u"1/1000"_s, u"1/2000"_s,
              u"1/4000"_s, u"1/10000"_s}},
            {"BLCE", Kind::RadioGroup, u"Select"_s, OffOn},
            {"BLCSensBar", Kind::TrackBar},
            {"BLCPanel", Kind::Panel},
            {"PEAK", Kind::RadioGroup, u"PEAK"_s, OffOn},
            {"PeakOnBar", Kind::TrackBar},
            {"wb_select", Kind::RadioGroup, u"WB"_s, {u"ATW"_s, u"AWB"_s}},
            {"AWB", Kind::Button, u"Enter"_s},
            {"ATWBar", Kind::TrackBar},
            {"AWBBar", Kind::TrackBar},
            {"Rgain", Kind::TrackBar},
            {"BGain", Kind::TrackBar},
            {"HGainBar", Kind::TrackBar},
            {"VGainBar", Kind::TrackBar},
        });

        // Twins of the lens and position pages.
        verifyRows(easy(), {
            {"WideZoom", Kind::Button, u"Wide"_s},
            {"TeleZoom", Kind::Button, u"Tele"_s},
            {"StopZoom", Kind::Button, u"Stop"_s},
            {"FarFocus", Kind::Button, u"Far"_s},
            {"NearFocus", Kind::Button, u"Near"_s},
            {"StopFocus", Kind::Button, u"Stop"_s},
            {"ZoomDir", Kind::Edit},
            {"CurrentZoom", Kind::Edit},
            {"FocusDir", Kind::Edit},
            {"CurrentFocus", Kind::Edit},
            {"FocusStepMin", Kind::Edit},
            {"FocusStepMax", Kind::Edit},
            {"ZoomSpinButton", Kind::SpinButton},
            {"FocusSpinButton", Kind::SpinButton},
            {"ZoomStepBar", Kind::TrackBar},
            {"FocusStepBar", Kind::TrackBar},
            {"ZoomSpeedBar", Kind::TrackBar},
            {"FocusSpeedBar", Kind::TrackBar},
            {"AutoFocus", Kind::CheckBox, u"AutoFocus"_s},
            {"OnePushAF", Kind::Button, u"OnePushAF"_s},
            {"DigitalZoom", Kind::RadioGroup, u"Digital Zoom"_s,
             {u"OFF"_s, u"x2"_s, u"x4"_s, u"x6"_s, u"x8"_s, u"x10"_s}},
            {"ZOOMTR", Kind::RadioGroup, u"ZOOM+AF"_s, OffOn},
            {"ZoomMag", Kind::RadioGroup, u"Zoom MAG"_s, OffOn},
            {"AFSleepE", Kind::RadioGroup, u"AF Sleep"_s},
            {"GetZoomCurrent", Kind::Button, u"Get"_s},
            {"CurrentCheck", Kind::CheckBox, u"CurrentCheck"_s},
            {"PositionNo", Kind::Edit},
            {"PosUpDown1", Kind::UpDown},
            {"load_pos", Kind::Button, u"Load"_s},
            {"save_pos", Kind::Button, u"Save"_s},
            {"AlarmNo", Kind::Edit},
            {"AlarmUpDown1", Kind::UpDown},
            {"AlSaveE", Kind::Button, u"Send"_s},
            {"PoOSD", Kind::RadioGroup, u"Position OSD"_s, OffOn},
        });

        // The 48 BLC boxes, each once.
        std::vector<QByteArray> names;
        for (int c = 1; c <= 48; ++c)
            names.push_back(blcName(c).toLatin1());
        std::vector<Expect> cells;
        for (const QByteArray &n : names)
            cells.push_back({n.constData(), Kind::CheckBox});
        verifyRows(easy(), cells);
    }

    // Controls sit in the groups the page description puts them in.
    void easyGroups_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("group");
        const std::pair<const char *, const char *> rows[] = {
            {"CName", "Edit"},           {"CommID", "COMM"},          {"CommUpDown", "COMM"},
            {"AGCBar", "AGC / Sens"},    {"SENSBar", "AGC / Sens"},   {"BLCE", "BLC"},
            {"BLCSensBar", "BLC"},       {"BLCPanel", "BLC"},         {"PEAK", "BLC"},
            {"PeakOnBar", "BLC"},        {"BLCCheck01E", "BLC"},      {"HGainBar", "APC"},
            {"VGainBar", "APC"},         {"HReverse", "Rev"},         {"VReverse", "Rev"},
            {"RevSet", "Rev"},           {"PositionNo", "Position"},  {"PosUpDown1", "Position"},
            {"AlarmNo", "Alarm"},        {"AlarmUpDown1", "Alarm"},   {"Button9", "SW"},
            {"VERSW", "SW"},             {"Label178", "Baud Rate"},   {"Label179", "Baud Rate"},
            {"Label182", "Stop Bit"},    {"Label183", "Stop Bit"},
            {"WideZoom", "Lens Control"}, {"TeleZoom", "Lens Control"}, {"StopZoom", "Lens Control"},
            {"FarFocus", "Lens Control"}, {"NearFocus", "Lens Control"}, {"StopFocus", "Lens Control"},
            {"ZoomDir", "Lens Control"}, {"CurrentZoom", "Lens Control"}, {"FocusDir", "Lens Control"},
            {"CurrentFocus", "Lens Control"}, {"FocusStepMin", "Lens Control"},
            {"FocusStepMax", "Lens Control"}, {"ZoomSpinButton", "Lens Control"},
            {"FocusSpinButton", "Lens Control"}, {"ZoomStepBar", "Lens Control"},
            {"FocusStepBar", "Lens Control"}, {"ZoomSpeedBar", "Lens Control"},
            {"FocusSpeedBar", "Lens Control"}, {"AutoFocus", "Lens Control"},
            {"OnePushAF", "Lens Control"}, {"DigitalZoom", "Lens Control"}, {"ZOOMTR", "Lens Control"},
            {"ZoomMag", "Lens Control"}, {"AFSleepE", "Lens Control"},
            {"GetZoomCurrent", "Lens Control"}, {"CurrentCheck", "Lens Control"},
        };
        for (const auto &[name, group] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(group);
    }
    void easyGroups()
    {
        QFETCH(QString, name);
        QFETCH(QString, group);
        auto *w = control(easy(), name);
        QVERIFY2(w, qPrintable(name));
        const QGroupBox *g = layoutcheck::enclosingGroup(w);
        QVERIFY2(g, qPrintable(name + u" is in no group box"_s));
        QCOMPARE(g->title(), group);
    }

    // The hidden groups carry their row captions beside the values.
    void easyHiddenGroupLabels_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("baud") << u"GroupBox36"_s << QStringList{u"Camera"_s, u"Tool"_s}
                              << QStringList{u"Label178"_s, u"Label179"_s};
        QTest::newRow("stop") << u"GroupBox37"_s << QStringList{u"Camera"_s, u"Tool"_s}
                              << QStringList{u"Label182"_s, u"Label183"_s};
        QTest::newRow("keys") << u"GroupBox54"_s << QStringList{u"Menu"_s, u"SW Mode"_s}
                              << QStringList{u"C_Menu"_s, u"C_SW"_s};
    }
    void easyHiddenGroupLabels()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, values);
        auto *g = control(easy(), group);
        QVERIFY(g);
        QStringList texts;
        for (auto *l : g->findChildren<QLabel *>())
            texts << l->text();
        for (const QString &c : captions)
            QVERIFY2(texts.contains(c), qPrintable(group + u": no label "_s + c));
        for (const QString &v : values)
            QVERIFY2(g->findChild<QLabel *>(v), qPrintable(v + u" is not in "_s + group));
    }

    void easyDesignedStates_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hidden");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("SW keys removed") << u"GroupBox29"_s << true << false;
        QTest::newRow("baud rate hidden") << u"GroupBox36"_s << true << true;
        QTest::newRow("stop bit hidden") << u"GroupBox37"_s << true << true;
        QTest::newRow("key state hidden") << u"GroupBox54"_s << true << true;
        QTest::newRow("title display disabled") << u"TitleDisp"_s << false << false;
        QTest::newRow("title position") << u"TitlePos"_s << false << true;
        QTest::newRow("comm mode") << u"CommMode"_s << false << true;
        QTest::newRow("BLC grid") << u"BLCPanel"_s << false << true;
        QTest::newRow("phase level") << u"PhaseLevel"_s << false << true;
        QTest::newRow("lens") << u"ZoomDir"_s << false << true;
    }
    void easyDesignedStates()
    {
        QFETCH(QString, name);
        QFETCH(bool, hidden);
        QFETCH(bool, enabled);
        auto *w = control(easy(), name);
        QVERIFY(w);
        QCOMPARE(w->isVisible(), !hidden);
        QCOMPARE(w->isEnabled(), enabled);
    }

    void easyRanges_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("buddy"); // the edit that shows an up-down's position
        QTest::addColumn<QString>("text");
        QTest::newRow("CommUpDown") << u"CommUpDown"_s << 1 << 239 << 1 << u"CommID"_s << u"1"_s;
        QTest::newRow("MarkIUpDown1") << u"MarkIUpDown1"_s << 1 << 10 << 1 << u"MarkI"_s << u"1"_s;
        QTest::newRow("PhaseUD") << u"PhaseUD"_s << 0 << 624 << 0 << u"PhaseLevel"_s << u"0"_s;
        QTest::newRow("PosUpDown1") << u"PosUpDown1"_s << 1 << 64 << 1 << u"PositionNo"_s << u"1"_s;
        QTest::newRow("AlarmUpDown1") << u"AlarmUpDown1"_s << 1 << 64 << 1 << u"AlarmNo"_s << u"1"_s;
        const std::pair<const char *, int> bars[] = {
            {"AGCBar", 8},     {"SENSBar", 8},      {"ALCAutoBar", 8},   {"ALCFixBar", 8},
            {"AESAutoBar", 8}, {"BLCSensBar", 7},   {"PeakOnBar", 8},    {"ATWBar", 8},
            {"AWBBar", 8},     {"Rgain", 8},        {"BGain", 8},        {"HGainBar", 12},
            {"VGainBar", 12},  {"ZoomStepBar", 10}, {"FocusStepBar", 10}, {"ZoomSpeedBar", 4},
            {"FocusSpeedBar", 4},
        };
        for (const auto &[name, max] : bars)
            QTest::newRow(name) << QString::fromLatin1(name) << 0 << max << 0 << QString() << QString();
    }
    void easyRanges()
    {
        QFETCH(QString, name);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, position);
        QFETCH(QString, buddy);
        QFETCH(QString, text);
        if (auto *u = control<kit::UpDown>(easy(), name)) {
            QCOMPARE(u->minimum(), minimum);
            QCOMPARE(u->maximum(), maximum);
            QCOMPARE(u->position(), position);
            auto *e = control<QLineEdit>(easy(), buddy);
            QVERIFY(e);
            QCOMPARE(u->associate(), e);
            QCOMPARE(e->text(), text);
        } else {
            auto *bar = control<QSlider>(easy(), name);
            QVERIFY2(bar, qPrintable(name));
            QCOMPARE(bar->minimum(), minimum);
            QCOMPARE(bar->maximum(), maximum);
            QCOMPARE(bar->value(), position);
        }
    }

    void easyStartValues()
    {
        // The receiver reads CommMode on every frame: '1:1' from the start.
        auto *mode = control<kit::RadioGroup>(easy(), u"CommMode"_s);
        QVERIFY(mode);
        QCOMPARE(mode->itemIndex(), 0);
        QCOMPARE(control<QLineEdit>(easy(), u"CommID"_s)->text(), u"1"_s);
        QCOMPARE(control<QLineEdit>(easy(), u"MarkI"_s)->text(), u"1"_s);
        // Entry fields that only send at their full length.
        QCOMPARE(control<QLineEdit>(easy(), u"CName"_s)->maxLength(), 20);
        QCOMPARE(control<QLineEdit>(easy(), u"ZoomDir"_s)->maxLength(), 4);
        QCOMPARE(control<QLineEdit>(easy(), u"FocusDir"_s)->maxLength(), 4);
        QCOMPARE(control<QLineEdit>(easy(), u"PositionNo"_s)->maxLength(), 2);
        // Zoom position polling (the Lens page's timer) waits for CurrentCheck.
        QVERIFY(!easy()->findChild<QTimer *>(u"LensTimer1"_s));
        QVERIFY(!control<QCheckBox>(easy(), u"CurrentCheck"_s)->isChecked());
    }

    // Cell c is bit (c-1) mod 8 of row (c-1) div 8: the boxes must read row by row.
    void easyBlcGridOrder()
    {
        auto *panel = control(easy(), u"BLCPanel"_s);
        QVERIFY(panel);
        QVERIFY(panel->isVisible());
        std::vector<QPoint> pos;
        for (int c = 1; c <= 48; ++c) {
            auto *box = control<QCheckBox>(easy(), blcName(c));
            QVERIFY(box);
            QCOMPARE(box->parentWidget(), panel);
            QVERIFY2(box->isVisible(), qPrintable(blcName(c)));
            QVERIFY2(panel->rect().contains(box->geometry()), qPrintable(blcName(c) + u" is clipped"_s));
            pos.push_back(box->geometry().center());
        }
        for (int i = 0; i < 48; ++i) {
            const int row = i / 8, col = i % 8;
            QCOMPARE(pos[size_t(i)].y(), pos[size_t(row * 8)].y()); // same row
            QCOMPARE(pos[size_t(i)].x(), pos[size_t(col)].x());     // same column
            if (col > 0)
                QVERIFY(pos[size_t(i)].x() > pos[size_t(i - 1)].x());
            if (row > 0)
                QVERIFY(pos[size_t(i)].y() > pos[size_t(i - 8)].y());
        }
        const QPoint first = pos[0], topRight = pos[7], bottomLeft = pos[40];
        for (const QPoint &p : pos) {
            QVERIFY(p.x() >= first.x() && p.y() >= first.y());
            QVERIFY(p.x() <= topRight.x());
            QVERIFY(p.y() <= bottomLeft.y());
        }
    }

    // Readable in the page area: no horizontal scrolling, no squeezed control, no two
    // visible groups on top of each other.
    void easyFitsAndDoesNotOverlap()
    {
        QScrollArea *area = areas[0];
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        Page *p = easy();
        for (QWidget *w : p->findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || !w->isVisible())
                continue;
            // Compact buttons are narrower than the style's preferred minimum by design.
            const QSize min = w->minimumSizeHint().boundedTo(w->maximumSize());
            QVERIFY2(w->width() >= min.width() && w->height() >= min.height(),
                     qPrintable(w->objectName() + u" is squeezed"_s));
            if (auto *b = qobject_cast<QAbstractButton *>(w))
                QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) < b->width(),
                         qPrintable(w->objectName() + u": caption cut"_s));
        }
        std::vector<std::pair<const QGroupBox *, QRect>> groups;
        for (QGroupBox *g : p->findChildren<QGroupBox *>()) {
            if (g->isVisible())
                groups.emplace_back(g, QRect(g->mapTo(p, QPoint(0, 0)), g->size()));
        }
        for (size_t i = 0; i < groups.size(); ++i)
            for (size_t j = i + 1; j < groups.size(); ++j) {
                const auto &[a, ra] = groups[i];
                const auto &[b, rb] = groups[j];
                if (a->isAncestorOf(b) || b->isAncestorOf(a))
                    continue;
                QVERIFY2(!ra.intersects(rb), qPrintable(a->title() + u" overlaps "_s + b->title()));
            }
    }

    void wadjControls()
    {
        verifyRows(wadj(), {
            {"Wadj_In_Red", Kind::Edit},
            {"Wadj_In_Blue", Kind::Edit},
            {"CSpinButton1", Kind::SpinButton},
            {"CSpinButton2", Kind::SpinButton},
            {"Button3", Kind::Button, u"AUTO"_s},
            {"Wadj_Out_Red", Kind::Edit},
            {"Wadj_Out_Blue", Kind::Edit},
            {"CSpinButton3", Kind::SpinButton},
            {"CSpinButton4", Kind::SpinButton},
            {"Button5", Kind::Button, u"AUTO"_s},
        });
        for (const char *name : {"Wadj_In_Red", "Wadj_In_Blue", "Wadj_Out_Red", "Wadj_Out_Blue"})
            QVERIFY2(control<QLineEdit>(wadj(), QString::fromLatin1(name))->text().isEmpty(), name);
    }

    void wadjGroups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("in door") << u"IN DOOR  ADJUST"_s
                                 << QStringList{u"Wadj_In_Red"_s, u"Wadj_In_Blue"_s, u"CSpinButton1"_s,
                                                u"CSpinButton2"_s, u"Button3"_s};
        QTest::newRow("out door") << u"OUT DOOR  ADJUST"_s
                                  << QStringList{u"Wadj_Out_Red"_s, u"Wadj_Out_Blue"_s, u"CSpinButton3"_s,
                                                 u"CSpinButton4"_s, u"Button5"_s};
    }
    void wadjGroups()
    {
        QFETCH(QString, group);
        QFETCH(QStringList, members);
        for (const QString &name : members) {
            auto *w = control(wadj(), name);
            QVERIFY2(w, qPrintable(name));
            const QGroupBox *g = layoutcheck::enclosingGroup(w);
            QVERIFY(g);
            QCOMPARE(g->title(), group);
            const QGroupBox *outer = layoutcheck::enclosingGroup(g);
            QVERIFY(outer);
            QCOMPARE(outer->title(), u"White Balance Adjust"_s);
            QStringList labels;
            for (auto *l : g->findChildren<QLabel *>())
                labels << l->text();
            QVERIFY(labels.contains(u"RED"_s));
            QVERIFY(labels.contains(u"BLUE"_s));
        }
    }

    // The page has no behaviour: its buttons and spin buttons send nothing.
    void wadjSendsNothing()
    {
        for (const char *name : {"Button3", "Button5"})
            control<QPushButton>(wadj(), QString::fromLatin1(name))->click();
        for (int i = 1; i <= 4; ++i) {
            auto *spin = control<kit::SpinButton>(wadj(), u"CSpinButton%1"_s.arg(i));
            spin->clickUp();
            spin->clickDown();
        }
        QVERIFY(fx->link.panel(1).isEmpty());
        QVERIFY(control<QLineEdit>(wadj(), u"Wadj_In_Red"_s)->text().isEmpty());
    }
};

QTEST_MAIN(TstLayoutEasy)
#include "tst_layout_easy.moc"
