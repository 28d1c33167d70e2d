// The DSP register page against a scripted camera: the page's one read, the writes of the
// editor (live or stored), the spin buttons that step a masked field, and which replies
// change the value shown.
#include "pages/dsppage.h"
#include "support/windowrig.h"

#include <QtTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// The signal-processor registers: reads and writes answer with the register's value.
struct RegisterCamera
{
    std::map<uint8_t, uint16_t> registers{{0x00, 0x0102}, {0x10, 0x12F7}, {0x11, 0x4455}};

    std::optional<Frame7> answer(const Frame7 &r)
    {
        if (r[0] == 0x89)
            return PtyPeer::reply(r[0], r[1]);
        if (r[0] == 0x96 || r[0] == 0x97)
            registers[r[1]] = uint16_t(r[2] << 8 | r[3]);
        if (r[0] >= 0x94 && r[0] <= 0x97) {
            const uint16_t v = registers[r[1]];
            return PtyPeer::reply(r[0], r[1], uint8_t(v >> 8), uint8_t(v));
        }
        return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
    }
};

} // namespace

class TstDsp : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase() { rig_.reset(); }
    void showingThePageReadsTheSelectedRegister();
    void repliesShowOnlyTheSelectedRegister_data();
    void repliesShowOnlyTheSelectedRegister();
    void editorFrames_data();
    void editorFrames();
    void steppedValue_data();
    void steppedValue();

private:
    // One window on the DSP page, kept between tests: its camera back at its start, the link
    // free, nothing selected.
    WindowRig &dspRig();
    std::unique_ptr<WindowRig> rig_;
    std::shared_ptr<RegisterCamera> camera_;
};

WindowRig &TstDsp::dspRig()
{
    if (!rig_) {
        camera_ = std::make_shared<RegisterCamera>();
        rig_ = WindowRig::connectedTo(camera_);
        if (!rig_)
            qFatal("no connection");
    }
    WindowRig &rig = *rig_;
    // A silent camera left its request outstanding.
    rig.form->link.release();
    rig.settle();
    *camera_ = RegisterCamera{};
    rig.peer.script = [this](const Frame7 &r) { return camera_->answer(r); };
    if (rig.form->PageControl1->currentIndex() != Pages::DspTab) {
        rig.refresh(Pages::DspTab, 1);
        rig.settle();
    }
    rig.quietly([&] { rig.w<QComboBox>("DSPAdr")->setCurrentIndex(-1); });
    rig.peer.requests.clear();
    return rig;
}

void TstDsp::showingThePageReadsTheSelectedRegister()
{
    WindowRig *rig = &dspRig();
    auto *adr = rig->w<QComboBox>("DSPAdr");
    QCOMPARE(adr->currentIndex(), -1);
    QVERIFY(rig->refresh(Pages::DspTab, 1));
    QVERIFY(rig->settle());
    // Nothing selected: '00 dummy' is selected and read; the value is shown, not written back.
    QCOMPARE(adr->currentIndex(), 0);
    QCOMPARE(rig->requestTexts(), requestTexts({"9400"}));
    QCOMPARE(rig->w<QLineEdit>("DSPData")->text(), u"0102"_s);

    // Picking a register reads it; a selection survives a reload.
    rig->act(u"DSPAdr"_s, u"choose"_s, u"16"_s);
    QVERIFY(rig->settle());
    QCOMPARE(rig->w<QLineEdit>("DSPData")->text(), u"12F7"_s);
    QVERIFY(rig->refresh(Pages::DspTab, 1));
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(), requestTexts({"9400", "9410", "9410"}));

    if (const QByteArray shots = qgetenv("ORVIK_SHOTS"); !shots.isEmpty()) {
        rig->form->resize(1280, 800);
        QTest::qWait(50);
        rig->form->grab().save(QString::fromLocal8Bit(shots) + u"/dsp.png"_s);
    }
}

void TstDsp::repliesShowOnlyTheSelectedRegister_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("shown");
    QTest::newRow("read of the selected register") << QByteArray("9411ABCD") << u"ABCD"_s;
    QTest::newRow("answer to a stored write") << QByteArray("9711ABCD") << u"ABCD"_s;
    QTest::newRow("another register") << QByteArray("9410ABCD") << u"4455"_s;
    QTest::newRow("error reply") << QByteArray("D411ABCD") << u"4455"_s;
}

void TstDsp::repliesShowOnlyTheSelectedRegister()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, shown);
    WindowRig *rig = &dspRig();
    rig->act(u"DSPAdr"_s, u"choose"_s, u"17"_s);
    QVERIFY(rig->settle());
    QCOMPARE(rig->w<QLineEdit>("DSPData")->text(), u"4455"_s);
    const qsizetype before = rig->peer.requests.size();

    // An unasked reply, applied with the link busy, as a reply to a request is.
    rig->form->link.LinkBusy = 1;
    const QByteArray b = QByteArray::fromHex(reply);
    rig->peer.sendFrame(uint8_t(b[0]), uint8_t(b[1]), uint8_t(b[2]), uint8_t(b[3]));
    QVERIFY(rig->settle());
    QCOMPARE(rig->w<QLineEdit>("DSPData")->text(), shown);
    // Showing a value never writes it back.
    QCOMPARE(rig->peer.requests.size(), before);
}

void TstDsp::editorFrames_data()
{
    QTest::addColumn<int>("reg");          // the register selected before acting, -1 none
    QTest::addColumn<QString>("data");     // DSPData before acting
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("store");       // 'EEPROM Write' ticked
    QTest::addColumn<QString>("action");   // type TEXT, up, down
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("after");    // DSPData afterwards

    QTest::newRow("fourth digit writes") << 0x10 << QString() << u"FFFF"_s << false << u"type"_s << u"12F7"_s
                                         << requestTexts({"961012F7"}) << u"12F7"_s;
    QTest::newRow("three digits send nothing") << 0x10 << QString() << u"FFFF"_s << false << u"type"_s << u"123"_s
                                               << QStringList() << u"123"_s;
    QTest::newRow("stored write") << 0x10 << QString() << u"FFFF"_s << true << u"type"_s << u"12F7"_s
                                  << requestTexts({"971012F7"}) << u"12F7"_s;
    QTest::newRow("no register selected") << -1 << QString() << u"FFFF"_s << false << u"type"_s << u"12F7"_s
                                          << QStringList() << u"12F7"_s;
    QTest::newRow("not hexadecimal") << 0x10 << QString() << u"FFFF"_s << false << u"type"_s << u"12G7"_s
                                     << QStringList() << u"12G7"_s;
    // The field under the mask counts by its lowest bit and wraps inside the field.
    QTest::newRow("up wraps the field") << 0x10 << u"12F7"_s << u"00F0"_s << false << u"up"_s << QString()
                                        << requestTexts({"96101207"}) << u"1207"_s;
    QTest::newRow("down") << 0x10 << u"12F7"_s << u"00F0"_s << true << u"down"_s << QString()
                          << requestTexts({"971012E7"}) << u"12E7"_s;
    QTest::newRow("whole word down from 0") << 0x10 << u"0000"_s << u"FFFF"_s << false << u"down"_s << QString()
                                            << requestTexts({"9610FFFF"}) << u"FFFF"_s;
    QTest::newRow("mask 0 steps nothing") << 0x10 << u"12F7"_s << u"0000"_s << false << u"up"_s << QString()
                                          << QStringList() << u"12F7"_s;
    QTest::newRow("mask not hexadecimal") << 0x10 << u"12F7"_s << u"0X0F"_s << false << u"up"_s << QString()
                                          << QStringList() << u"12F7"_s;
    QTest::newRow("spin without a register") << -1 << u"12F7"_s << u"000F"_s << false << u"up"_s << QString()
                                             << QStringList() << u"12F7"_s;
}

void TstDsp::editorFrames()
{
    QFETCH(int, reg);
    QFETCH(QString, data);
    QFETCH(QString, mask);
    QFETCH(bool, store);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QStringList, frames);
    QFETCH(QString, after);

    WindowRig *rig = &dspRig();
    auto *edit = rig->w<kit::Edit>("DSPData");
    rig->quietly([&] {
        rig->w<QComboBox>("DSPAdr")->setCurrentIndex(reg);
        edit->setText(data);
        rig->w<QLineEdit>("DSPMask")->setText(mask);
        rig->w<QCheckBox>("DSPWrite")->setChecked(store);
    });
    rig->peer.script = [](const Frame7 &) { return std::nullopt; };
    const qsizetype before = rig->peer.requests.size();
    if (action == u"type")
        QTest::keyClicks(edit, text);
    else if (action == u"up")
        rig->w<kit::SpinButton>("DSPDataSB")->clickUp();
    else
        rig->w<kit::SpinButton>("DSPDataSB")->clickDown();
    QTest::qWait(60);
    QCOMPARE(rig->requestTexts(before), frames);
    QCOMPARE(edit->text(), after);
    // Text that cannot be sent is marked.
    QCOMPARE(edit->isInvalid(), text.contains(u'G'));
}

void TstDsp::steppedValue_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("result");   // -1: nothing
    QTest::newRow("low nibble up") << u"00FF"_s << u"000F"_s << true << 0x00F0;
    QTest::newRow("field of a single bit") << u"8000"_s << u"8000"_s << true << 0x0000;
    QTest::newRow("split mask counts by its lowest bit") << u"0F0F"_s << u"0F0F"_s << true << 0x0F00;
    QTest::newRow("split mask down") << u"0000"_s << u"0F0F"_s << false << 0x0F0F;
    QTest::newRow("bits outside the mask stay") << u"A5A5"_s << u"0FF0"_s << false << 0xA595;
    QTest::newRow("empty value reads as 0") << QString() << u"00F0"_s << true << 0x0010;
    QTest::newRow("value not hexadecimal") << u"12Z4"_s << u"FFFF"_s << true << -1;
}

void TstDsp::steppedValue()
{
    QFETCH(QString, value);
    QFETCH(QString, mask);
    QFETCH(bool, up);
    QFETCH(int, result);
    const auto v = DspPage::steppedValue(value, mask, up);
    QCOMPARE(v ? int(*v) : -1, result);
}

QTEST_MAIN(TstDsp)
#include "tst_dsp.moc"
