// The toolkit behaviours the pages rely on.
#include "widgets/dialogs.h"
#include "widgets/kit.h"

#include <QGuiApplication>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstKit : public QObject
{
    Q_OBJECT
private slots:
    void radioGroupIndex_data();
    void radioGroupIndex();
    void radioGroupRaisesOnlyOnChange();
    void checkBoxAndTrackBarRaiseFromCode();
    void editRaisesOnlyForNewText();
    void editEntryRule_data();
    void editEntryRule();
    void upDownUserStepsOnly_data();
    void upDownUserStepsOnly();
    void upDownFollowsTypedText();
    void progressBarClamps();
    void timerKeepsCountdown();
    void busyCursorIsOneLevel();
    void guardShowsAndSkipsTheRest();
};

void TstKit::radioGroupIndex_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("shown");
    QTest::newRow("in range") << 1 << 1;
    QTest::newRow("beyond the last selects the last") << 9 << 2;
    QTest::newRow("negative clears") << -1 << -1;
}

void TstKit::radioGroupIndex()
{
    QFETCH(int, set);
    QFETCH(int, shown);
    kit::RadioGroup g(u"Day/Night"_s, {u"Night"_s, u"Day"_s, u"Auto"_s});
    g.setItemIndex(0);
    g.setItemIndex(set);
    QCOMPARE(g.itemIndex(), shown);
}

void TstKit::radioGroupRaisesOnlyOnChange()
{
    kit::RadioGroup g(u"x"_s, {u"a"_s, u"b"_s});
    QList<int> clicks;
    connect(&g, &kit::RadioGroup::itemClicked, this, [&](int i) { clicks << i; });
    g.setItemIndex(1);      // from code: raises
    g.setItemIndex(1);      // no change: nothing
    g.button(0)->click();   // user: raises
    g.button(0)->click();   // re-clicking the selected item: nothing
    g.setItemIndex(-1);     // clearing: nothing
    QCOMPARE(clicks, (QList<int>{1, 0}));
}

void TstKit::checkBoxAndTrackBarRaiseFromCode()
{
    QCheckBox box;
    int toggles = 0;
    connect(&box, &QCheckBox::toggled, this, [&] { ++toggles; });
    box.setChecked(true);
    box.setChecked(true);
    QCOMPARE(toggles, 1);

    kit::TrackBar bar(0, 8);
    QList<int> moves;
    connect(&bar, &QSlider::valueChanged, this, [&](int v) { moves << v; });
    bar.setPosition(12); // clamped to 8, raised once
    bar.setPosition(8);
    QCOMPARE(moves, (QList<int>{8}));
}

void TstKit::editRaisesOnlyForNewText()
{
    kit::Edit e;
    int changes = 0;
    connect(&e, &QLineEdit::textChanged, this, [&] { ++changes; });
    e.setText(u"12F7"_s);
    e.setText(u"12F7"_s);
    QCOMPARE(changes, 1);
    e.setInvalid(true);
    QVERIFY(e.isInvalid());
    QVERIFY(!e.styleSheet().isEmpty());
    e.setInvalid(false);
    QVERIFY(e.styleSheet().isEmpty());
}

void TstKit::editEntryRule_data()
{
    QTest::addColumn<int>("entry"); // kit::Edit::Entry
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("left");     // the user left the edit with this text
    QTest::addColumn<bool>("invalid");
    QTest::addColumn<bool>("sendable");
    const int hex = int(kit::Edit::Entry::Hex), dec = int(kit::Edit::Entry::Signed);
    QTest::newRow("hex complete") << hex << u"12f7"_s << false << false << true;
    QTest::newRow("hex short while typing") << hex << u"12F"_s << false << false << false;
    QTest::newRow("hex short, left") << hex << u"12F"_s << true << true << false;
    QTest::newRow("hex bad character") << hex << u"12G"_s << false << true << false;
    QTest::newRow("hex empty, left") << hex << QString() << true << false << false;
    QTest::newRow("signed positive") << dec << u"0123"_s << false << false << true;
    QTest::newRow("signed negative") << dec << u"-005"_s << true << false << true;
    QTest::newRow("a sign alone while typing") << dec << u"-"_s << false << false << false;
    QTest::newRow("a sign alone, left") << dec << u"-"_s << true << true << false;
    QTest::newRow("a sign inside") << dec << u"0-12"_s << false << true << false;
    QTest::newRow("a hex digit is no decimal") << dec << u"012A"_s << false << true << false;
    QTest::newRow("text is never marked") << int(kit::Edit::Entry::Text) << u"x"_s << true << false << false;
}

void TstKit::editEntryRule()
{
    QFETCH(int, entry);
    QFETCH(QString, text);
    QFETCH(bool, left);
    QFETCH(bool, invalid);
    QFETCH(bool, sendable);
    kit::Edit e;
    e.setMaxLength(4);
    e.setEntry(kit::Edit::Entry(entry));
    e.setText(text);
    if (left)
        emit e.editingFinished();
    QCOMPARE(e.isInvalid(), invalid);
    QCOMPARE(e.sendable(), sendable);
    // A valid, complete text clears the mark at once.
    e.setText(u"0123"_s);
    QVERIFY(!e.isInvalid());
    QVERIFY(e.sendable());
}

void TstKit::upDownUserStepsOnly_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("after");
    QTest::newRow("ID wraps 255 to 0") << 0 << 255 << 255 << true << true << 0;
    QTest::newRow("wraps 0 down to 255") << 0 << 255 << 0 << true << false << 255;
    QTest::newRow("clamps at top") << 1 << 10 << 10 << false << true << 10;
    QTest::newRow("negative range") << -80 << 80 << -80 << false << false << -80;
}

void TstKit::upDownUserStepsOnly()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, start);
    QFETCH(bool, wrap);
    QFETCH(bool, up);
    QFETCH(int, after);
    kit::Edit edit;
    kit::UpDown ud(min, max, start);
    ud.setAssociate(&edit);
    ud.setWrap(wrap);
    int clicks = 0;
    connect(&ud, &kit::UpDown::clicked, this, [&] { ++clicks; });
    ud.setPosition(start);  // from code: silent
    QCOMPARE(clicks, 0);
    up ? ud.stepUp() : ud.stepDown();
    QCOMPARE(clicks, 1);    // a user step raises, also when it stays at an end
    QCOMPARE(ud.position(), after);
    QCOMPARE(edit.text(), QString::number(after));
    ud.setPosition(max + 100);
    QCOMPARE(ud.position(), max);
}

void TstKit::upDownFollowsTypedText()
{
    kit::Edit edit;
    kit::UpDown ud(0, 255, 0, nullptr);
    ud.setAssociate(&edit);
    QTest::keyClicks(&edit, u"12"_s);
    QCOMPARE(ud.position(), 12);
    edit.clear();
    QTest::keyClicks(&edit, u"999"_s);
    QCOMPARE(ud.position(), 255);
}

void TstKit::progressBarClamps()
{
    kit::ProgressBar p;
    p.setRange(0, 100);
    p.setPosition(50);
    p.setPosition(150);
    QCOMPARE(p.value(), 100);
}

void TstKit::timerKeepsCountdown()
{
    kit::Timer t;
    QCOMPARE(t.interval(), 1000);
    t.setIntervalMs(200);
    t.setEnabled(true);
    QTest::qWait(120);
    const int left = t.remainingTime();
    t.setEnabled(true);          // already running: no restart
    QVERIFY(t.remainingTime() <= left);
    t.setIntervalMs(200);        // same value: no restart
    QVERIFY(t.remainingTime() <= left);
    t.setEnabled(false);
    QVERIFY(!t.isActive());
}

void TstKit::busyCursorIsOneLevel()
{
    kit::busyCursor(true);
    kit::busyCursor(true);
    QVERIFY(kit::isBusyCursor());
    kit::busyCursor(false);
    QVERIFY(!QGuiApplication::overrideCursor());
}

namespace {
class RecordingDialogs : public Dialogs
{
public:
    QStringList shown;
    Answer message(const QString &t, const QString &, Buttons) override { shown << t; return Answer::Ok; }
    void exception(const QString &t) override { shown << t; }
    QString openFile(const QString &) override { return {}; }
    QString saveFile(const QString &) override { return {}; }
};
} // namespace

void TstKit::guardShowsAndSkipsTheRest()
{
    RecordingDialogs d;
    Dialogs::install(&d);
    bool after = false;
    kit::guarded([&] {
        throw std::runtime_error("通信が開始されていない。");
        after = true;
    });
    Dialogs::install(nullptr);
    QVERIFY(!after);
    QCOMPARE(d.shown, QStringList{u"通信が開始されていない。"_s});
}

QTEST_MAIN(TstKit)
#include "tst_kit.moc"
