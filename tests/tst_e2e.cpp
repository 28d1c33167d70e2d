// The real main window against the camera simulator on a pseudo-terminal.
#include "support/simrig.h"

#include <QGuiApplication>
#include <QTabWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

class TstE2e : public QObject
{
    Q_OBJECT
private slots:
    void connectsAtTheDefaultSpeedInRealTime();
    void connectsAtEachSpeed_data();
    void connectsAtEachSpeed();
    void silentCameraKeepsHourglassUntilCancel();
    void badChecksumIsDropped();
    void errorReplyStopsTheChain();
    void strayBytesAreTraced();
};

void TstE2e::connectsAtTheDefaultSpeedInRealTime()
{
    camsim::Options o;
    o.pace = true;
    SimRig rig(o);
    QStringList panel0;
    connect(&rig.form->link, &Link::panelChanged, this, [&](int i, const QString &t) {
        if (i == 0 && (panel0.isEmpty() || panel0.last() != t))
            panel0 << t;
    });
    QTRY_VERIFY_WITH_TIMEOUT(panel0.contains(u"Try 38,400"_s), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(panel0.last(), u"Comm. Connecting"_s, 4000);
    QCOMPARE(panel0, (QStringList{u"Try 9,600"_s, u"Try 19,200"_s, u"Try 38,400"_s, u"Comm. Connecting"_s}));
    QCOMPARE(rig.form->findChild<kit::RadioGroup *>(u"T_baud_rate"_s)->itemIndex(), 2);
    // The EASY page's first read reached the camera.
    QTRY_VERIFY(rig.received(0x80, 0x00) >= 1);
}

void TstE2e::connectsAtEachSpeed_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("9600") << 9600 << 0 << u"9,600"_s;
    QTest::newRow("19200") << 19200 << 1 << u"19,200"_s;
    QTest::newRow("38400") << 38400 << 2 << u"38,400"_s;
}

void TstE2e::connectsAtEachSpeed()
{
    QFETCH(int, baud);
    QFETCH(int, item);
    QFETCH(QString, text);
    camsim::Options o;
    o.baud = baud;
    SimRig rig(o);
    QVERIFY(rig.connectNow());
    QCOMPARE(rig.camera.ptyBaud(), baud);
    QCOMPARE(rig.form->findChild<kit::RadioGroup *>(u"T_baud_rate"_s)->itemIndex(), item);
    QCOMPARE(rig.form->findChild<QLabel *>(u"Label179"_s)->text(), text);
    QTRY_COMPARE(rig.form->link.panel(0), u"Comm. Connecting"_s);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstE2e::silentCameraKeepsHourglassUntilCancel()
{
    SimRig rig;
    QVERIFY(rig.connectNow());
    camsim::Faults f;
    f.silentAfter = 0;
    rig.camera.setFaults(f);
    const int before = rig.camera.received().size();
    rig.form->SW_Push(0x01);
    QTRY_COMPARE(rig.camera.received().size(), before + 1);
    QTest::qWait(300);
    QVERIFY(!rig.form->link.Trans_chk());
    QVERIFY(kit::isBusyCursor());
    // A second action is dropped while the first is outstanding.
    rig.form->SW_Push(0x02);
    QTest::qWait(100);
    QCOMPARE(rig.camera.received().size(), before + 1);
    rig.form->CancelPush->click();
    QVERIFY(rig.form->link.Trans_chk());
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(rig.form->connection->PONTimer1->isActive());
}

void TstE2e::badChecksumIsDropped()
{
    SimRig rig;
    QVERIFY(rig.connectNow());
    camsim::Faults f;
    f.corruptEvery = 1;
    rig.camera.setFaults(f);
    const int sentBefore = rig.camera.sent().size();
    rig.form->SW_Push(0x01);
    QTRY_COMPARE(rig.camera.sent().size(), sentBefore + 1);
    QTest::qWait(200);
    // Not traced, not dispatched; in '1:1' mode the receiver re-arms and the link stays busy.
    QCOMPARE(rig.form->link.panel(2), QString());
    QVERIFY(!rig.form->link.Trans_chk());
    QVERIFY(kit::isBusyCursor());
}

void TstE2e::errorReplyStopsTheChain()
{
    camsim::Options o;
    o.faults.errorOn.insert(uint16_t(0x86 << 8 | 0x01));
    SimRig rig(o, 4);
    QVERIFY(rig.connectNow());
    rig.form->PageControl1->setCurrentIndex(Pages::OthTab);
    QTRY_COMPARE(rig.received(0x86, 0x01), 1);
    QTRY_VERIFY(rig.form->link.Trans_chk());
    QTest::qWait(200);
    // The refused read ends the chain: nothing after it.
    QCOMPARE(rig.camera.received().last()[1], uint8_t(0x01));
    QCOMPARE(rig.form->link.panel(2).left(2), u"C6"_s);
}

void TstE2e::strayBytesAreTraced()
{
    SimRig rig;
    QVERIFY(rig.connectNow());
    camsim::Faults f;
    f.stray = QByteArray::fromHex("4142");
    rig.camera.setFaults(f);
    QStringList panel2;
    connect(&rig.form->link, &Link::panelChanged, this, [&](int i, const QString &t) {
        if (i == 2)
            panel2 << t;
    });
    rig.form->SW_Push(0x01);
    QTRY_VERIFY(rig.form->link.Trans_chk());
    // The stray bytes are appended to panel 2, then the reply replaces them.
    QVERIFY2(panel2.contains(u"4142"_s), qPrintable(panel2.join(u" | "_s)));
    QVERIFY(panel2.last().startsWith(u"8980"_s));
}

QTEST_MAIN(TstE2e)
#include "tst_e2e.moc"
