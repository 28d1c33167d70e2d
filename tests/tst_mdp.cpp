// The motion parameters page against the simulated camera on a pseudo-terminal: the refresh
// chain through the five threshold pairs to the camera's line settings, the threshold and
// interval encodings both ways, up-downs that change only themselves, and error replies.
#include "pages/easypage.h"
#include "pages/mdppage.h"
#include "support/simcamera.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using camsim::Settings;

int Settings::*const Thresholds[MdpPage::Levels] = {
    &Settings::motionThreshold0, &Settings::motionThreshold1, &Settings::motionThreshold2,
    &Settings::motionThreshold3, &Settings::motionThreshold4, &Settings::motionThreshold5,
    &Settings::motionThreshold6, &Settings::motionThreshold7, &Settings::motionThreshold8,
    &Settings::motionThreshold9,
};

const QStringList Refresh = requestTexts({"8514", "8523", "851500", "851501", "851502", "851503", "851504", "8911"});

// Connected, the page shown and refreshed; the requests before the refresh forgotten.
std::unique_ptr<WindowRig> shownPage(const std::shared_ptr<SimCamera> &cam)
{
    auto rig = WindowRig::connectedTo(cam, 9600);
    if (!rig || !rig->settle())
        return nullptr;
    rig->peer.requests.clear();
    rig->showPage(Pages::MdpTab);
    return chainOf(*rig, 0, 8) ? std::move(rig) : nullptr;
}

QList<int> thresholds(const MdpPage *p)
{
    QList<int> out;
    for (const kit::UpDown *u : p->mot_t_lUD)
        out << u->position();
    return out;
}

} // namespace

class TstMdp : public QObject
{
    Q_OBJECT
private slots:
    void refreshReadsEveryParameter();
    void sends_data();
    void sends();
    void upDownsChangeOnlyThemselves_data();
    void upDownsChangeOnlyThemselves();
    void pairBeyondFourSetsNothing();
    void errorRepliesStopTheRefresh_data();
    void errorRepliesStopTheRefresh();
};

void TstMdp::refreshReadsEveryParameter()
{
    auto cam = std::make_shared<SimCamera>();
    Settings &s = cam->cam.live();
    s.motionInterval = 300, s.motionIntervalFix = 0x0102;
    // Bytes as the camera keeps them: 256 - threshold.
    const int bytes[MdpPage::Levels] = {0x01, 0xFF, 0x80, 0x00, 0x10, 0x9C, 0x20, 0x30, 0x40, 0xF0};
    for (int n = 0; n < MdpPage::Levels; ++n)
        s.*Thresholds[n] = bytes[n];
    s.baudCode = 1, s.twoStopBits = 1;
    auto rig = shownPage(cam);
    QVERIFY(rig);
    // Nothing was written back while the values went in.
    QCOMPARE(rig->requestTexts(), Refresh);

    MdpPage *p = rig->form->pages.mdp;
    QCOMPARE(p->mot_t_itUD->position(), 300);
    QCOMPARE(p->mot_t_it->text(), u"300"_s);
    QCOMPARE(p->mot_t_itfUD->position(), 258);
    // A byte of 0 (threshold 256) is beyond the range and shows its end.
    QCOMPARE(thresholds(p), (QList<int>{255, 1, 128, 255, 240, 100, 224, 208, 192, 16}));
    QCOMPARE(p->mot_t_l[5]->text(), u"100"_s);
    // The camera's line settings, here and on the EASY page.
    QCOMPARE(p->C_baud_rate->itemIndex(), 1);
    QCOMPARE(p->C_stop_bit->itemIndex(), 1);
    QCOMPARE(rig->form->pages.easy->Label178->text(), u"19,200"_s);
    QCOMPARE(rig->form->pages.easy->Label182->text(), u"2bit"_s);
}

void TstMdp::sends_data()
{
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("frame");
    // Thresholds as 256 - t; intervals in 16 bits, high byte first.
    QTest::newRow("MIN 255") << u"mot_t_l0UD"_s << 255 << u"mot_t_l0_s"_s << QByteArray("85A0000101");
    QTest::newRow("MAX 1") << u"mot_t_l9UD"_s << 1 << u"mot_t_l9_s"_s << QByteArray("85A009FF01");
    QTest::newRow("+5 128") << u"mot_t_l5UD"_s << 128 << u"mot_t_l5_s"_s << QByteArray("85A0058001");
    QTest::newRow("interval 300") << u"mot_t_itUD"_s << 300 << u"mot_t_it_s"_s << QByteArray("859F012C01");
    QTest::newRow("interval 0") << u"mot_t_itUD"_s << 0 << u"mot_t_it_s"_s << QByteArray("859F000001");
    QTest::newRow("fixed interval 300") << u"mot_t_itfUD"_s << 300 << u"mot_t_itf_s"_s << QByteArray("859B012C01");
}

void TstMdp::sends()
{
    QFETCH(QString, upDown);
    QFETCH(int, position);
    QFETCH(QString, button);
    QFETCH(QByteArray, frame);
    auto cam = std::make_shared<SimCamera>();
    auto rig = shownPage(cam);
    QVERIFY(rig);
    rig->form->findChild<kit::UpDown *>(upDown)->setPosition(position);
    QVERIFY(rig->act(button, u"press"_s, {}));
    // The answer refreshes nothing; the camera shows the value at the next refresh.
    QVERIFY(chainOf(*rig, 8, 1));
    QCOMPARE(rig->requestTexts(8), QStringList{frameText(requestFrame(frame))});
    rig->form->findChild<kit::UpDown *>(upDown)->setPosition(50);
    rig->form->SW1Click();
    QVERIFY(chainOf(*rig, 9, 8));
    QCOMPARE(rig->form->findChild<kit::UpDown *>(upDown)->position(), position);
}

void TstMdp::upDownsChangeOnlyThemselves_data()
{
    QTest::addColumn<QString>("upDown");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("position");
    // They wrap around their range.
    QTest::newRow("level 255 up") << u"mot_t_l0UD"_s << 255 << u"up"_s << 1;
    QTest::newRow("level 1 down") << u"mot_t_l9UD"_s << 1 << u"down"_s << 255;
    QTest::newRow("interval 300 up") << u"mot_t_itUD"_s << 300 << u"up"_s << 0;
    QTest::newRow("fixed interval 0 down") << u"mot_t_itfUD"_s << 0 << u"down"_s << 300;
}

void TstMdp::upDownsChangeOnlyThemselves()
{
    QFETCH(QString, upDown);
    QFETCH(int, start);
    QFETCH(QString, action);
    QFETCH(int, position);
    auto cam = std::make_shared<SimCamera>();
    auto rig = shownPage(cam);
    QVERIFY(rig);
    auto *u = rig->form->findChild<kit::UpDown *>(upDown);
    QVERIFY(u);
    u->setPosition(start);
    QVERIFY(rig->act(upDown, action, u"1"_s));
    QVERIFY(rig->settle());
    QCOMPARE(u->position(), position);
    QCOMPARE(u->associate()->text(), QString::number(position));
    // The camera sees the value only after the parameter's "send".
    QCOMPARE(rig->peer.requests.size(), 8);
}

void TstMdp::pairBeyondFourSetsNothing()
{
    auto cam = std::make_shared<SimCamera>();
    // The answer to pair 1 names pair 7.
    cam->script = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x85 && r[1] == 0x15 && r[2] == 1)
            return PtyPeer::reply(0x85, 0x15, 7, 0x10, 0x20);
        return std::nullopt;
    };
    auto rig = WindowRig::connectedTo(cam, 9600);
    QVERIFY(rig);
    QVERIFY(rig->settle());
    rig->peer.requests.clear();
    rig->showPage(Pages::MdpTab);
    // Pairs 0 and 1, then straight to the line settings: the pair's number decides.
    QVERIFY(chainOf(*rig, 0, 5));
    QCOMPARE(rig->requestTexts(), requestTexts({"8514", "8523", "851500", "851501", "8911"}));
    const Settings &s = cam->cam.live();
    QCOMPARE(thresholds(rig->form->pages.mdp),
             (QList<int>{256 - s.motionThreshold0, 256 - s.motionThreshold1, 255, 255, 255, 255, 255, 255, 255, 255}));
}

void TstMdp::errorRepliesStopTheRefresh_data()
{
    QTest::addColumn<int>("failing");   // index of the refresh request answered with an error
    QTest::addColumn<int>("category");
    QTest::newRow("interval, 0x40") << 0 << 0xC5;
    QTest::newRow("pair 2, 0x40") << 4 << 0xC5;
    QTest::newRow("line settings, 0x40") << 7 << 0xC9;
}

void TstMdp::errorRepliesStopTheRefresh()
{
    QFETCH(int, failing);
    QFETCH(int, category);
    auto cam = std::make_shared<SimCamera>();
    Settings &s = cam->cam.live();
    s.motionInterval = 7, s.motionIntervalFix = 9;
    for (int Settings::*t : Thresholds)
        s.*t = 0x80;
    auto rig = WindowRig::connectedTo(cam, 9600);
    QVERIFY(rig);
    QVERIFY(rig->settle());
    rig->peer.requests.clear();
    // The EASY page's refresh at the connection filled the line settings: start them anew.
    rig->quietly([&] { rig->form->pages.mdp->C_baud_rate->setItemIndex(-1); });
    int asked = 0;
    cam->script = [&asked, failing, category](const Frame7 &r) -> std::optional<Frame7> {
        if (asked++ == failing)
            return PtyPeer::reply(uint8_t(category), r[1]);
        return std::nullopt;
    };
    rig->showPage(Pages::MdpTab);
    QVERIFY(chainOf(*rig, 0, failing + 1));
    QCOMPARE(rig->requestTexts(), Refresh.mid(0, failing + 1));
    MdpPage *p = rig->form->pages.mdp;
    // What came before the error is shown, the rest keeps its start values.
    QCOMPARE(p->mot_t_itUD->position(), failing > 0 ? 7 : 0);
    QCOMPARE(p->mot_t_itfUD->position(), failing > 1 ? 9 : 0);
    const int filled = failing > 2 ? 2 * (failing - 2) : 0;
    const QList<int> levels = thresholds(p);
    for (int n = 0; n < MdpPage::Levels; ++n)
        QCOMPARE(levels[n], n < filled ? 128 : 255);
    QCOMPARE(p->C_baud_rate->itemIndex(), -1);
}

QTEST_MAIN(TstMdp)
#include "tst_mdp.moc"
