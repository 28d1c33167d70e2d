// The RM page against the simulated camera on a pseudo-terminal: the centre and correction
// read with the bounded four-character displays, the alignment cross written in order by the
// camera's answers, the corrections moved one unit and saved with exactly one V write, the
// lens buttons, busy drops and error replies.
#include "pages/rmpage.h"
#include "support/camerarig.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

int key(uint8_t category, uint8_t item)
{
    return category << 8 | item;
}

} // namespace

class TstRm : public QObject
{
    Q_OBJECT
private slots:
    void refreshShowsTheCorrections_data();
    void refreshShowsTheCorrections();
    void crossIsWrittenInOrder_data();
    void crossIsWrittenInOrder();
    void correctionSteps_data();
    void correctionSteps();
    void writeSendsOneSavingVWrite();
    void buttonFrames_data();
    void buttonFrames();
    void busyAndErrorReplies();
};

void TstRm::refreshShowsTheCorrections_data()
{
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("v");
    QTest::addColumn<QString>("hText");
    QTest::addColumn<QString>("vText");
    QTest::newRow("small") << 0x0005 << 0xFFFB << u"0005"_s << u"-005"_s;
    QTest::newRow("zero and thousand") << 0 << 1000 << u"0000"_s << u"1000"_s;
    // Only the lowest digits that fit in four characters.
    QTest::newRow("extremes") << 0x7FFF << 0x8000 << u"2767"_s << u"-768"_s;
}

void TstRm::refreshShowsTheCorrections()
{
    QFETCH(int, h);
    QFETCH(int, v);
    QFETCH(QString, hText);
    QFETCH(QString, vText);
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().maskHCentre = 90;
    c.camera->live().maskHRevision = h;
    c.camera->live().maskVRevision = v;
    QVERIFY(c.show(Pages::RmTab, 3));
    QCOMPARE(texts(c.rig->peer.requests), requestTexts({"8803", "8820", "8821"}));
    RmPage *rm = c.rig->form->pages.rm;
    QCOMPARE(rm->opt_h->text(), hText);
    QCOMPARE(rm->opt_v->text(), vText);
    QCOMPARE(rm->hCentre, 90);
    QCOMPARE(rm->vCentre, 60);
    QCOMPARE(rm->hRevision, int16_t(h));

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOTS"); !dir.isEmpty() && qstrcmp(QTest::currentDataTag(), "small") == 0) {
        c.rig->form->resize(1200, 700);
        QTest::qWait(50);
        c.rig->form->grab().save(dir + u"/rm.png"_s);
    }
}

void TstRm::crossIsWrittenInOrder_data()
{
    QTest::addColumn<int>("hCentre");
    QTest::addColumn<int>("vCentre");
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("90, 60") << 90 << 60
                            << requestTexts({"88810001", "88830001", "88850000B4", "8887003B3D",
                                             "88810101", "88830101", "888501595B", "8887010078"});
    // 2 x 200 wraps to 0x90.
    QTest::newRow("200, 100") << 200 << 100
                              << requestTexts({"88810001", "88830001", "8885000090", "8887006365",
                                               "88810101", "88830101", "888501C7C9", "88870100C8"});
}

void TstRm::crossIsWrittenInOrder()
{
    QFETCH(int, hCentre);
    QFETCH(int, vCentre);
    QFETCH(QStringList, writes);
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().maskHCentre = hCentre;
    c.camera->live().maskVCentre = vCentre;
    QVERIFY(c.show(Pages::RmTab, 3));
    RmPage *rm = c.rig->form->pages.rm;
    QCOMPARE(c.framesOf([&] { rm->opt_on->click(); }), writes);
    QCOMPARE(rm->crossStep, 0);
    // The camera shows the two bars, connected, and does not keep them.
    const camsim::Settings &s = c.camera->live();
    QCOMPARE(s.maskOn & 3, 3);
    QCOMPARE(s.maskConnect & 3, 3);
    QCOMPARE(s.mask2HStart, (hCentre - 1) & 0xFF);
    QCOMPARE(s.mask1VEnd, (vCentre + 1) & 0xFF);
    QCOMPARE(c.camera->stored().maskOn, 0);

    // 'H OFF' stops a cross being drawn: the answer to it sends nothing more.
    c.refused = {key(0x88, 0x83)};
    QCOMPARE(c.framesOf([&] { rm->opt_on->click(); }), requestTexts({"88810001", "88830001"}));
    QCOMPARE(rm->crossStep, 1);   // an error reply leaves the step as it was
    c.refused.clear();
    QCOMPARE(c.framesOf([&] { rm->opt_off->click(); }), requestTexts({"8881"}));
    QCOMPARE(c.framesOf([&] { rm->opt_off2->click(); }), requestTexts({"888101"}));
    QCOMPARE(rm->crossStep, 0);
}

void TstRm::correctionSteps_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("v");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("hText");
    QTest::addColumn<QString>("vText");
    QTest::newRow("LEFT from 0") << u"opt_left"_s << 0 << 0 << QByteArray("88A0FFFF00") << u"-001"_s << u"0000"_s;
    QTest::newRow("RIGHT wraps") << u"opt_right"_s << 0x7FFF << 0 << QByteArray("88A0800000") << u"-768"_s << u"0000"_s;
    QTest::newRow("UP from 0") << u"opt_up"_s << 0 << 0 << QByteArray("88A1FFFF00") << u"0000"_s << u"-001"_s;
    QTest::newRow("DOWN to 0") << u"opt_down"_s << 7 << 0xFFFF << QByteArray("88A1000000") << u"0007"_s << u"0000"_s;
}

void TstRm::correctionSteps()
{
    QFETCH(QString, button);
    QFETCH(int, h);
    QFETCH(int, v);
    QFETCH(QByteArray, frame);
    QFETCH(QString, hText);
    QFETCH(QString, vText);
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().maskHRevision = h;
    c.camera->live().maskVRevision = v;
    QVERIFY(c.show(Pages::RmTab, 3));
    RmPage *rm = c.rig->form->pages.rm;
    QCOMPARE(c.framesOf([&] { c.rig->w<QPushButton>(button.toLatin1().constData())->click(); }),
             QStringList{requestText(frame)});
    QCOMPARE(rm->opt_h->text(), hText);
    QCOMPARE(rm->opt_v->text(), vText);
    // The step is the camera's until the next reset: not saved.
    QCOMPARE(c.camera->stored().maskHRevision, 0);
    QCOMPARE(c.camera->stored().maskVRevision, 0);
}

void TstRm::writeSendsOneSavingVWrite()
{
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().maskHRevision = 3;
    c.camera->live().maskVRevision = 0xFFFE;
    QVERIFY(c.show(Pages::RmTab, 3));
    RmPage *rm = c.rig->form->pages.rm;
    QCOMPARE(c.framesOf([&] { rm->opt_write->click(); }), requestTexts({"88A0000301", "88A1FFFE01"}));
    QCOMPARE(c.camera->stored().maskHRevision, 3);
    QCOMPARE(c.camera->stored().maskVRevision, 0xFFFE);
    // The saving sequence is over: a later step and its answer send nothing more.
    QCOMPARE(c.framesOf([&] { rm->opt_right->click(); }), requestTexts({"88A0000400"}));
    QCOMPARE(c.camera->stored().maskHRevision, 3);
}

void TstRm::buttonFrames_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("x1") << u"opt_wide"_s << requestTexts({"838B0000"});
    QTest::newRow("x2") << u"opt_x6"_s << requestTexts({"838B01D0"});
    QTest::newRow("x5") << u"opt_x11"_s << requestTexts({"838B0368"});
    QTest::newRow("x10") << u"opt_tele"_s << requestTexts({"838B045B"});
    QTest::newRow("AF") << u"opt_af"_s << requestTexts({"8389"});
    QTest::newRow("IR TEST GET sends nothing") << u"ir_test"_s << QStringList{};
    QTest::newRow("WB AREA ALL sends nothing") << u"Button1"_s << QStringList{};
}

void TstRm::buttonFrames()
{
    QFETCH(QString, button);
    QFETCH(QStringList, frames);
    CameraRig c;
    QVERIFY(c.rig);
    QVERIFY(c.show(Pages::RmTab, 3));
    c.silent = true;
    QCOMPARE(c.framesOf([&] { c.rig->w<QPushButton>(button.toLatin1().constData())->click(); }), frames);
}

void TstRm::busyAndErrorReplies()
{
    CameraRig c;
    QVERIFY(c.rig);
    c.camera->live().maskHRevision = 0x0012;
    c.camera->live().maskVRevision = 0x0034;
    // An error reply stops the chain: V is not read.
    c.refused = {key(0x88, 0x20)};
    QVERIFY(c.show(Pages::RmTab, 2));
    QCOMPARE(c.rig->peer.requests.size(), 2);
    RmPage *rm = c.rig->form->pages.rm;
    QCOMPARE(rm->opt_h->text(), QString());
    QCOMPARE(rm->opt_v->text(), QString());

    // While a request is outstanding the buttons change nothing.
    c.refused.clear();
    c.unanswered = {key(0x88, 0x03)};
    c.rig->peer.requests.clear();
    c.rig->form->SW1Click();
    QVERIFY(runUntil([&] { return c.rig->peer.requests.size() == 1; }));
    rm->opt_left->click();
    rm->opt_down->click();
    rm->opt_write->click();
    rm->opt_on->click();
    runFor(60);
    QCOMPARE(c.rig->peer.requests.size(), 1);
    QCOMPARE(rm->hRevision, 0);
    QCOMPARE(rm->vRevision, 0);
    QVERIFY(!rm->saving);
    QCOMPARE(rm->crossStep, 0);
    QCOMPARE(rm->opt_h->text(), QString());
}

QTEST_MAIN(TstRm)
#include "tst_rm.moc"
