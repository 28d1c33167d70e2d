// The main window against a scripted camera on a pseudo-terminal: line-speed search,
// status texts, the busy rule, Cancel/Reset, the camera ID, OSD keys and dispatch.
#include "pages/page.h"
#include "support/windowrig.h"
#include "window/form2.h"
#include "window/form3.h"
#include "window/formtype.h"
#include "window/tracewindow.h"

#include <QGuiApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstWindow : public QObject
{
    Q_OBJECT
private slots:
    void searchFindsCameraAt19200();
    void noCameraEndsInNotConnect();
    void stopBitsFollowTheCamera_data();
    void stopBitsFollowTheCamera();
    void secondActionWhileBusyIsDropped();
    void cancelFreesTheLinkAndRestartsTheSearch();
    void resetOnlyWhenIdle();
    void idWrapsAndTravelsInTheFrame();
    void osdKeys_data();
    void osdKeys();
    void pageChangeDuringARequest();
    void loadRereadsTheShownPage();
    void formTypeTable_data();
    void formTypeTable();
    void openFailureIsReported();
    void deviceGoneIsReportedOnceAndCancelReopens();
    void chooserShowsPathAndSecondGoReusesWindow();
    void closingStopsTimers();
    void namesAreUnique();
    void traceWindowShowsFiltersAndSaves();
};

void TstWindow::searchFindsCameraAt19200()
{
    // Real one-second ticks: 9600 stays silent, 19200 answers.
    WindowRig rig(4, 19200);
    // The camera answers the settings read only, so the page read stays outstanding.
    rig.peer.script = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x89)
            return PtyPeer::reply(r[0], r[1]);
        return std::nullopt;
    };
    QCOMPARE(rig.form->link.panel(0), u"Comm. Connecting"_s);
    QCOMPARE(rig.form->windowTitle(), u"Orvik Com1"_s);
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->link.panel(0), u"Try 9,600"_s, 2500);
    QCOMPARE(rig.peer.toolBaud(), 9600);
    QTRY_COMPARE_WITH_TIMEOUT(rig.peer.toolBaud(), 19200, 2500);
    // The answer stops the search; a second later the page is read at the speed found.
    QTRY_VERIFY_WITH_TIMEOUT(rig.peer.countOf(0x80, 0x00) == 1, 3000);
    QCOMPARE(rig.w<kit::RadioGroup>("T_baud_rate")->itemIndex(), 1);
    QCOMPARE(rig.w<QLabel>("Label179")->text(), u"19,200"_s);
    QVERIFY(!rig.form->connection->PONTimer1->isActive());
    // The settings read went out once per attempt.
    QCOMPARE(rig.peer.countOf(0x89, 0x11), 2);
    QCOMPARE(rig.peer.requests.first(), (Frame7{0x89, 0x11, 0, 0, 0, 0, 0x66}));
    // "Try 19,200" stays until the first page reply puts "Comm. Connecting" back.
    QTest::qWait(200);
    QCOMPARE(rig.form->link.panel(0), u"Try 19,200"_s);
    // A refusal ends the EASY page's title chain at once.
    rig.peer.sendFrame(0xC0, 0x00);
    QTRY_COMPARE(rig.form->link.panel(0), u"Comm. Connecting"_s);
    QVERIFY(rig.form->link.Trans_chk());
    // The frame panels catch up with the newest texts, which name the refusal.
    QTRY_COMPARE(rig.form->Panel[2]->text(), rig.form->link.panel(2));
    QVERIFY(rig.form->Panel[2]->text().contains(u"C0"_s));
    QCOMPARE(rig.form->Panel[1]->text(), rig.form->link.panel(1));
}

void TstWindow::noCameraEndsInNotConnect()
{
    WindowRig rig(4, 1); // a camera that never hears the right speed
    QStringList seen;
    connect(&rig.form->link, &Link::panelChanged, this, [&](int i, const QString &t) {
        if (i == 0 && (seen.isEmpty() || seen.last() != t))
            seen << t;
    });
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->link.panel(0), u"Not Connect"_s, 6000);
    QCOMPARE(seen, (QStringList{u"Try 9,600"_s, u"Try 19,200"_s, u"Try 38,400"_s, u"Not Connect"_s}));
    QVERIFY(!rig.form->connection->PONTimer1->isActive());
}

void TstWindow::stopBitsFollowTheCamera_data()
{
    QTest::addColumn<int>("data2");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("twoOnLine");
    QTest::newRow("two stop bits") << 0x04 << 1 << true;
    QTest::newRow("one stop bit") << 0xFB << 0 << false;
}

void TstWindow::stopBitsFollowTheCamera()
{
    QFETCH(int, data2);
    QFETCH(int, item);
    QFETCH(bool, twoOnLine);
    WindowRig rig;
    rig.peer.script = [&](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x89 && r[1] == 0x11)
            return PtyPeer::reply(0x89, 0x11, 2, uint8_t(data2));
        return PtyPeer::reply(r[0], r[1]);
    };
    QVERIFY(rig.connectNow());
    QCOMPARE(rig.w<kit::RadioGroup>("T_stop_bit")->itemIndex(), item);
    // A later reply with other data does not change what the connection saw.
    QCOMPARE(rig.form->connection->ConnectData2, uint8_t(data2));
    // One second after the speed controls changed, the port follows them.
    if (item == 1) {
        QTRY_VERIFY_WITH_TIMEOUT(rig.form->connection->BaudTimer1->isActive() || rig.peer.toolTwoStopBits(), 500);
        QTRY_COMPARE_WITH_TIMEOUT(rig.peer.toolTwoStopBits(), twoOnLine, 2500);
        QCOMPARE(rig.w<QLabel>("Label183")->text(), u"2bit"_s);
    } else {
        QVERIFY(!rig.peer.toolTwoStopBits());
    }
}

void TstWindow::secondActionWhileBusyIsDropped()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.peer.script = [](const Frame7 &) { return std::nullopt; }; // the camera goes silent
    const qsizetype before = rig.peer.requests.size();
    rig.form->SW_Push(0x03);
    QTRY_COMPARE(rig.peer.requests.size(), before + 1);
    QVERIFY(kit::isBusyCursor());
    rig.form->SW_Push(0x02);
    rig.form->ResetClick();
    // A speed change while busy says BUSY and keeps the speed.
    rig.w<kit::RadioGroup>("T_baud_rate")->setItemIndex(0);
    QCOMPARE(rig.w<QLabel>("Label185")->text(), u"BUSY"_s);
    QVERIFY(!rig.form->connection->BaudTimer1->isActive());
    QTest::qWait(150);
    QCOMPARE(rig.peer.requests.size(), before + 1);
    QCOMPARE(rig.peer.toolBaud(), 38400);
}

void TstWindow::cancelFreesTheLinkAndRestartsTheSearch()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.form->SW_Push(0x01);
    QVERIFY(!rig.form->link.Trans_chk());
    rig.form->CancelPush->click();
    QVERIFY(rig.form->link.Trans_chk());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(rig.form->connection->ConnectAttempt, uint8_t(0));
    QVERIFY(rig.form->connection->PONTimer1->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(rig.form->link.panel(0), u"Try 9,600"_s, 2500);
    QCOMPARE(rig.peer.toolBaud(), 9600);
}

void TstWindow::resetOnlyWhenIdle()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    const qsizetype before = rig.peer.requests.size();
    rig.form->Reset->click();
    QTRY_COMPARE(rig.peer.requests.size(), before + 1);
    QCOMPARE(rig.peer.requests.last(), (Frame7{0x8F, 0, 0, 0, 0, 0, 0x71}));
    // No reply is awaited.
    QVERIFY(rig.form->link.Trans_chk());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstWindow::idWrapsAndTravelsInTheFrame()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.form->IDUpDown->setPosition(255);
    rig.form->SW_Push(0x00);
    QTRY_VERIFY(rig.peer.requests.last()[1] == 0x80);
    QCOMPARE(rig.peer.requests.last()[5], uint8_t(0xFF));
    QVERIFY(frameSumIsZero(rig.peer.requests.last()));
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.form->IDUpDown->stepUp();
    QCOMPARE(rig.form->IDEdit->text(), u"0"_s);
    rig.form->SW_Push(0x00);
    QTRY_COMPARE(rig.peer.requests.last()[5], uint8_t(0));
}

void TstWindow::osdKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("Up") << u"push_up"_s << 0x03;
    QTest::newRow("Down") << u"push_down"_s << 0x02;
    QTest::newRow("Enter") << u"push_enter"_s << 0x01;
    QTest::newRow("Pre") << u"push_pre"_s << 0x00;
}

void TstWindow::osdKeys()
{
    QFETCH(QString, key);
    QFETCH(int, code);
    WindowRig rig;
    TForm3 switches;
    rig.form->setSwitchWindow(&switches);
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    // Whatever page is shown; this one sends nothing (the echoing camera would keep some
    // chains, such as the threshold pairs of the MDP page, reading pair 1 for ever).
    rig.showPage(Pages::WadjTab);
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.form->SW3->trigger();
    QVERIFY(switches.isVisible());
    QCOMPARE(switches.windowTitle(), u"Orvik Switch"_s);
    const qsizetype before = rig.peer.requests.size();
    switches.findChild<QPushButton *>(key)->click();
    QTRY_COMPARE(rig.peer.requests.size(), before + 1);
    QCOMPARE(rig.peer.requests.last()[0], uint8_t(0x89));
    QCOMPARE(rig.peer.requests.last()[1], uint8_t(0x80));
    QCOMPARE(rig.peer.requests.last()[2], uint8_t(code));
}

void TstWindow::pageChangeDuringARequest()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.showPage(Pages::AlcTab);
    QTRY_COMPARE(rig.peer.requests.last()[1], uint8_t(0x10));
    const qsizetype before = rig.peer.requests.size();
    rig.showPage(Pages::BlcTab);            // refused: the ALC read is outstanding
    QTest::qWait(100);
    QCOMPARE(rig.peer.requests.size(), before);
    QCOMPARE(rig.form->link.panel(1), QString());
    rig.peer.sendFrame(0x81, 0x10, 0, 4, 4); // the ALC reply reaches the BLC page
    QTRY_VERIFY(rig.form->link.Trans_chk());
    QCOMPARE(rig.form->link.panel(2), frameText(PtyPeer::reply(0x81, 0x10, 0, 4, 4)));
}

void TstWindow::loadRereadsTheShownPage()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    struct Row { int tab; uint8_t category, item; };
    for (Row row : {Row{Pages::Easy2Tab, 0x81, 0x00}, Row{Pages::ColTab, 0x82, 0x00}, Row{Pages::RmTab, 0x88, 0x03},
                    Row{Pages::AftTab, 0x83, 0x30}}) {
        rig.showPage(row.tab);
        QTRY_VERIFY(rig.form->link.Trans_chk());
        const int n = rig.peer.countOf(row.category, row.item);
        QVERIFY(n >= 1);
        rig.form->SW1->trigger();
        QTRY_COMPARE(rig.peer.countOf(row.category, row.item), n + 1);
        QTRY_VERIFY(rig.form->link.Trans_chk());
    }
    // The RAM and Wadj pages read nothing.
    for (int tab : {int(Pages::RamTab), int(Pages::WadjTab)}) {
        const qsizetype before = rig.peer.requests.size();
        rig.showPage(tab);
        rig.form->SW1->trigger();
        QTest::qWait(50);
        QCOMPARE(rig.peer.requests.size(), before);
    }
}

void TstWindow::formTypeTable_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<int>("current");
    QTest::addColumn<QStringList>("removed");
    QTest::newRow("All Function") << 0 << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 19} << 0
                                  << QStringList{u"GroupBox22"_s};
    QTest::newRow("User") << 1 << QList<int>{0, 1, 14} << 0
                          << QStringList{u"GroupBox62"_s, u"GroupBox63"_s, u"GroupBox64"_s, u"GroupBox9"_s,
                                         u"GroupBox23"_s, u"GroupBox24"_s, u"GroupBox49"_s, u"GroupBox40"_s,
                                         u"GroupBox36"_s, u"GroupBox37"_s, u"GroupBox53"_s, u"MaHRev"_s,
                                         u"MaVRev"_s, u"rec_chk_dpt"_s, u"rev_chk"_s, u"eep_no_save"_s,
                                         u"hrev_disp"_s, u"vrev_disp"_s, u"VERSW"_s, u"GroupBox22"_s};
    QTest::newRow("Factory") << 2 << QList<int>{5} << 5
                             << QStringList{u"GroupBox40"_s, u"GroupBox53"_s, u"GroupBox63"_s, u"GroupBox64"_s,
                                            u"GroupBox9"_s, u"GroupBox23"_s, u"GroupBox22"_s};
    QTest::newRow("Tool") << 3 << QList<int>{13} << 13
                          << QStringList{u"GroupBox40"_s, u"GroupBox53"_s, u"GroupBox63"_s, u"GroupBox64"_s,
                                         u"GroupBox9"_s, u"GroupBox23"_s, u"GroupBox45"_s, u"GroupBox46"_s,
                                         u"GroupBox41"_s, u"GroupBox18"_s, u"GroupBox19"_s, u"GroupBox22"_s};
    QList<int> all;
    for (int i = 0; i < 20; ++i)
        if (i != 15)
            all << i;
    QTest::newRow("Debug") << 4 << all << 0 << QStringList{u"GroupBox22"_s};
}

void TstWindow::formTypeTable()
{
    QFETCH(int, type);
    QFETCH(QList<int>, shown);
    QFETCH(int, current);
    QFETCH(QStringList, removed);
    ScriptedDialogs dialogs;
    PortMap::setPath(1, "/nonexistent/orvik-test");
    TForm1 form(0, type);
    form.connection->PONTimer1->stop();
    QCOMPARE(form.FormType->itemIndex(), type);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(form.PageControl1->isTabVisible(i), shown.contains(i));
    QCOMPARE(form.PageControl1->currentIndex(), current);
    // Hiding tabs at start raised no page change, so nothing was sent.
    QCOMPARE(form.link.panel(1), QString());
    QVERIFY(dialogs.exceptions.isEmpty());
    for (const QString &name : removed) {
        auto *w = form.findChild<QWidget *>(name);
        QVERIFY2(w, qPrintable(name));
        QVERIFY2(!w->isEnabled() && w->isHidden(), qPrintable(name));
    }
    if (type == 1) {
        auto *atw = form.findChild<QWidget *>(u"ATWMode"_s);
        QVERIFY(atw && atw->isHidden() && atw->isEnabled());
    }
    // Every group box the removal lists name exists and is assigned to a page group.
    for (const auto &g : groupAssignments())
        QVERIFY2(form.findChild<QGroupBox *>(QString::fromLatin1(g.name)), g.name);
}

void TstWindow::openFailureIsReported()
{
    ScriptedDialogs dialogs;
    PortMap::setPath(1, "/nonexistent/orvik-test");
    TForm1 form(0, 1);
    form.connection->PONTimer1->stop();
    // As the timer runs it: inside the guard that shows the message.
    kit::guarded([&] { form.connection->PONTimer1Timer(); });
    QCOMPARE(dialogs.exceptions.size(), 1);
    QVERIFY(dialogs.exceptions.first().startsWith(u"オープンエラー ErrorCode = -1\n"_s));
    QVERIFY(dialogs.exceptions.first().contains(u"/nonexistent/orvik-test"_s));
    // Nothing was sent and the next tick tries again.
    QCOMPARE(form.link.panel(1), QString());
    QCOMPARE(form.connection->ConnectAttempt, uint8_t(1));
}

void TstWindow::deviceGoneIsReportedOnceAndCancelReopens()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    QTRY_VERIFY(rig.form->link.Trans_chk());
    rig.peer.hangUp();
    QTRY_COMPARE_WITH_TIMEOUT(rig.dialogs.exceptions.size(), 1, 2000);
    QTest::qWait(300);
    QCOMPARE(rig.dialogs.exceptions.size(), 1);
    QVERIFY(!rig.form->Comm1.IsOpen());
    // A new device at the same path: Cancel opens it again and the search restarts.
    PtyPeer again;
    PortMap::setPath(1, again.path().toStdString());
    rig.form->CancelPush->click();
    rig.form->connection->PONTimer1->stop();
    rig.form->connection->PONTimer1Timer();
    QVERIFY(rig.form->Comm1.IsOpen());
    QTRY_COMPARE(again.countOf(0x89, 0x11), 1);
}

void TstWindow::chooserShowsPathAndSecondGoReusesWindow()
{
    ScriptedDialogs dialogs;
    PortMap::setPath(2, "/dev/ttyUSB7");
    TForm2 chooser(1);
    QCOMPARE(chooser.windowTitle(), u"Orvik"_s);
    chooser.Com_Port->setItemIndex(1);
    QCOMPARE(chooser.Com_Port_Path->text(), u"/dev/ttyUSB7"_s);
    chooser.Com_Port_Go->click();
    TForm1 *first = chooser.mainWindow();
    QVERIFY(first);
    first->connection->PONTimer1->stop();
    QCOMPARE(first->windowTitle(), u"Orvik Com2"_s);
    chooser.Com_Port_Go->click();
    QCOMPARE(chooser.mainWindow(), first);
    QVERIFY(chooser.Form3 && !chooser.Form3->isVisible());
}

void TstWindow::closingStopsTimers()
{
    WindowRig rig;
    QVERIFY(rig.connectNow());
    rig.form->connection->PONTimer1->start();
    rig.form->connection->BaudTimer1->start();
    QPointer<TForm1> form = rig.form;
    QList<QPointer<QTimer>> timers;
    for (QTimer *t : form->findChildren<QTimer *>())
        timers << t;
    form->Exit->click();
    QVERIFY(!form || !form->Comm1.IsOpen());
    for (auto &t : timers)
        QVERIFY(!t || !t->isActive());
    QTRY_VERIFY(!form); // the window goes away
}

void TstWindow::namesAreUnique()
{
    // Tests and black-box tools find controls by name: each name once per window.
    ScriptedDialogs dialogs;
    TForm1 form(0, 4);
    form.connection->PONTimer1->stop();
    QHash<QString, int> seen;
    for (QObject *o : form.findChildren<QObject *>()) {
        const QString name = o->objectName();
        if (!name.isEmpty() && !name.startsWith(u"qt_"_s))
            ++seen[name];
    }
    QStringList twice;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > 1)
            twice << it.key();
    QVERIFY2(twice.isEmpty(), qPrintable(twice.join(u", "_s)));
    QVERIFY(seen.size() > 1000);
}

void TstWindow::traceWindowShowsFiltersAndSaves()
{
    auto rig = WindowRig::connectedTo([](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x86)
            return PtyPeer::reply(0xC6, r[1]);   // refused
        return PtyPeer::reply(r[0], r[1]);
    });
    QVERIFY(rig);
    rig->form->Trace->trigger();
    TraceWindow *w = rig->form->traceWindow();
    QVERIFY(w && w->isVisible());
    const int before = w->view->model()->rowCount();
    QVERIFY(before >= 2);   // the search's read and its reply at least
    rig->showPage(Pages::OthTab);
    QVERIFY(rig->settle());
    QTRY_COMPARE(w->view->model()->rowCount(), before + 2);
    QVERIFY(w->shownText(false).endsWith(u"other: read 00 (error reply)\n"_s));

    w->filter->setText(u"error reply"_s);
    QCOMPARE(w->view->model()->rowCount(), 1);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"trace.csv"_s);
    rig->dialogs.saveQueue << path;
    w->save->click();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    QVERIFY(all.startsWith("time_s,"));
    QCOMPARE(all.count('\n'), before + 3);   // the header and every row, whatever the filter shows
}

QTEST_MAIN(TstWindow)
#include "tst_window.moc"
