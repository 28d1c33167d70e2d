// The EEP page against a scripted camera and against the camera simulator: the word editors
// and their spin buttons, the second register editor, the camera status chain, the digital
// P/T/Z registers, and the transfers between the camera's memories and data files.
#include "pages/eeppage.h"
#include "support/eventloop.h"
#include "support/simrig.h"
#include "support/windowrig.h"
#include "transfer/playback.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <map>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A camera that answers the status reads with `status`, EEPROM 1 reads with `eeprom`, the
// digital P/T/Z registers with `registers`, and echoes every other request.
struct EepCamera
{
    std::map<uint8_t, std::array<uint8_t, 3>> status{
        {0x05, {1, 0, 1}}, {0x06, {7, 1, 0}}, {0x07, {0, 1, 0}}, {0x12, {0, 1, 0}}, {0x13, {0, 0, 0}},
    };
    std::map<int, uint16_t> eeprom{{0x3FF, 0x0200}};
    std::map<uint8_t, uint16_t> registers;
    std::set<uint16_t> refuse;   // category << 8 | item
    // A register reply for another register than asked (0: none).
    uint8_t registerAnsweredAs = 0;
    uint8_t stopAnswer = 0;      // data 1 of the answer to a magnification write

    std::optional<Frame7> answer(const Frame7 &r)
    {
        if (refuse.count(uint16_t(r[0] << 8 | r[1])))
            return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
        switch (r[0]) {
        case 0x86: {
            const auto s = status.count(r[1]) ? status[r[1]] : std::array<uint8_t, 3>{};
            return PtyPeer::reply(0x86, r[1], s[0], s[1], s[2]);
        }
        case 0x90: {
            const int a = r[1] << 8 | r[2];
            const uint16_t w = eeprom.count(a) ? eeprom[a] : uint16_t(0x1000 | a);
            return PtyPeer::reply(0x90, r[1], r[2], uint8_t(w >> 8), uint8_t(w));
        }
        case 0x94: {
            const uint8_t reg = registerAnsweredAs ? registerAnsweredAs : r[1];
            const uint16_t v = registers.count(reg) ? registers[reg] : uint16_t(0x5500 | reg);
            return PtyPeer::reply(0x94, reg, uint8_t(v >> 8), uint8_t(v));
        }
        case 0x83:
            return PtyPeer::reply(0x83, r[1], stopAnswer, r[3], r[4]);
        default:
            return PtyPeer::reply(r[0], r[1], r[2], r[3], r[4]);
        }
    }
};

// A data file of `records` EEPROM 1 records (word = 0x4000 + address) and the end record.
QByteArray eepromFile(int records)
{
    QByteArray out;
    for (int a = 0; a < records; ++a)
        out += QString::asprintf("92%04X%04X\r\n", a, 0x4000 + a).toLatin1();
    return out + "8F00000000\r\n";
}

// A simulator at 9600 baud: the first attempt of the speed search finds it.
camsim::Options at9600()
{
    camsim::Options o;
    o.baud = 9600;
    return o;
}

// Each line of a data file as the frame text it sends to camera 0.
QStringList linesAsRequests(const QByteArray &file)
{
    QStringList out;
    for (const QByteArray &line : file.split('\n'))
        if (line.size() >= 10)
            out << frameText(requestFrame(line.left(10)));
    return out;
}

} // namespace

class TstEep : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase();

    // Word editors, the second register editor, digital P/T/Z writes.
    void editorFrames_data();
    void editorFrames();
    void editorRepliesFillTheEditsAndSendNothing_data();
    void editorRepliesFillTheEditsAndSendNothing();

    // Camera status and digital P/T/Z chains.
    void showingThePageRunsTheStatusChain_data();
    void showingThePageRunsTheStatusChain();
    void statusChainStopsAtAnUnexpectedReply();
    void registerReadBack_data();
    void registerReadBack();

    // Read-outs.
    void readOutWritesTheByteExactFile_data();
    void readOutWritesTheByteExactFile();
    void readOutKeepsTheOldFileUnlessConfirmed_data();
    void readOutKeepsTheOldFileUnlessConfirmed();
    void readOutEndsWithoutAFile_data();
    void readOutEndsWithoutAFile();
    void pacedReadOutTakesTheWireTime();

    // Playback.
    void playbackSendsEveryLineAndFreesTheLinkAtTheEnd();
    void playbackCopiesEeprom1IntoAnotherCamera();
    void handMadeFilesAreSentAsWritten_data();
    void handMadeFilesAreSentAsWritten();
    void refusalStopsThePlayback();
    void playbackSendsNothing_data();
    void playbackSendsNothing();

private:
    // One window for the editor rows, kept between rows, its camera answering again, and
    // the EEP page's edits emptied (masks full) and boxes cleared without a request.
    WindowRig &editorRig();
    std::unique_ptr<WindowRig> editorRig_;
    std::shared_ptr<EepCamera> editorCamera_;
    QTemporaryDir dir_;
};

void TstEep::init()
{
    kit::busyCursor(false);
}

void TstEep::cleanupTestCase()
{
    editorRig_.reset();
}

WindowRig &TstEep::editorRig()
{
    if (!editorRig_) {
        editorCamera_ = std::make_shared<EepCamera>();
        editorRig_ = WindowRig::connectedTo(editorCamera_);
        if (!editorRig_)
            qFatal("no connection");
        editorRig_->showPage(Pages::EepTab);
        editorRig_->settle();
    }
    WindowRig &rig = *editorRig_;
    // A silent camera left its request outstanding.
    rig.form->link.release();
    rig.settle();
    *editorCamera_ = EepCamera{};
    rig.peer.script = [this](const Frame7 &r) { return editorCamera_->answer(r); };
    auto *eep = rig.form->pages.eep;
    rig.quietly([&] {
        for (auto *e : eep->findChildren<kit::Edit *>())
            e->setText(e->objectName() == u"DSPMask2" ? u"FFFF"_s : QString());
        for (auto *c : eep->findChildren<QCheckBox *>())
            c->setChecked(false);
        eep->DSPAdr2->setCurrentIndex(-1);
    });
    rig.dialogs.messages.clear();
    rig.dialogs.openQueue.clear();
    rig.dialogs.saveQueue.clear();
    rig.dialogs.answer = Dialogs::Answer::Ok;
    return rig;
}

// ---------------------------------------------------------------- editors

void TstEep::editorFrames_data()
{
    QTest::addColumn<QStringList>("before");   // "Name=text" for edits, "Name" ticks a box,
                                               // "Name#n" selects drop-down item n
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");       // type, up, down, press
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("after");        // "Name=text" of an edit afterwards ("": not checked)

    auto row = [](const char *name, std::initializer_list<const char *> setup, const char *control,
                  const char *action, const char *text, QStringList frames, const char *after = "") {
        QStringList before;
        for (const char *b : setup)
            before << QString::fromLatin1(b);
        QTest::newRow(name) << before << QString::fromLatin1(control) << QString::fromLatin1(action)
                            << QString::fromLatin1(text) << frames << QString::fromLatin1(after);
    };
    // Address edits read when the fourth digit is in.
    row("EEPROM 1 address", {}, "EEPAdr", "type", "012A", requestTexts({"90012A"}));
    row("two digits read nothing", {}, "EEPAdr", "type", "01", {});
    row("address not hexadecimal", {}, "EEPAdr", "type", "01X2", {});
    row("EEPROM 2 address", {}, "EEPAdr2", "type", "0123", requestTexts({"9B0123"}));
    row("DSP EEPROM address", {}, "EEPAdr3", "type", "0012", requestTexts({"9D0012"}));
    // Data edits write the word at the group's address.
    row("EEPROM 1 word", {"EEPAdr=0010"}, "EEPData", "type", "1234", requestTexts({"9200101234"}));
    row("working copy word", {"EEPAdr=0010", "RAMWrite"}, "EEPData", "type", "1234", requestTexts({"9300101234"}));
    row("EEPROM 2 word", {"EEPAdr2=03FF"}, "EEPData2", "type", "ABCD", requestTexts({"9C03FFABCD"}));
    row("DSP EEPROM word", {"EEPAdr3=00FF"}, "EEPData3", "type", "ABCD", requestTexts({"9E00FFABCD"}));
    row("DSP EEPROM address beyond FF", {"EEPAdr3=0100"}, "EEPData3", "type", "ABCD", {});
    row("EEPROM 1 address beyond 3FF", {"EEPAdr=0400"}, "EEPData", "type", "ABCD", {});
    row("address not hexadecimal writes nothing", {"EEPAdr=00G0"}, "EEPData", "type", "ABCD", {});
    row("word not hexadecimal", {"EEPAdr=0010"}, "EEPData", "type", "AB-D", {});
    // Address spins wrap within the memory and let the edit read.
    row("DSP EEPROM address up from FF", {"EEPAdr3=00FF"}, "EEPAdrSB3", "up", "", requestTexts({"9D0000"}), "EEPAdr3=0000");
    row("EEPROM 1 address down from 0", {"EEPAdr=0000"}, "EEPAdrSB", "down", "", requestTexts({"9003FF"}), "EEPAdr=03FF");
    row("EEPROM 2 address up from 3FF", {"EEPAdr2=03FF"}, "EEPAdrSB2", "up", "", requestTexts({"9B0000"}), "EEPAdr2=0000");
    row("EEPROM 1 address up", {"EEPAdr=0010"}, "EEPAdrSB", "up", "", requestTexts({"900011"}), "EEPAdr=0011");
    row("address spin on bad text", {"EEPAdr=0Z10"}, "EEPAdrSB", "up", "", {}, "EEPAdr=0Z10");
    // Data spins step the word by one and let the edit write it.
    row("EEPROM 1 word down from 0", {"EEPAdr=0010", "EEPData=0000"}, "EEPDataSB", "down", "",
        requestTexts({"920010FFFF"}), "EEPData=FFFF");
    row("EEPROM 2 word up from FFFF", {"EEPAdr2=0001", "EEPData2=FFFF"}, "EEPDataSB2", "up", "",
        requestTexts({"9C00010000"}), "EEPData2=0000");
    row("DSP EEPROM word spin beyond FF", {"EEPAdr3=0100", "EEPData3=0005"}, "EEPDataSB3", "up", "", {}, "EEPData3=0005");
    // The second register editor: reads and writes go to the EEP page's decoder.
    row("register picked", {}, "DSPAdr2", "choose", "34", requestTexts({"9422"}));
    row("stored register picked", {"DSPWrite2"}, "DSPAdr2", "choose", "34", requestTexts({"9522"}));
    row("register written", {"DSPAdr2#34"}, "DSPData2", "type", "0A0B", requestTexts({"96220A0B"}));
    row("register stored", {"DSPAdr2#255", "DSPWrite2"}, "DSPData2", "type", "0A0B", requestTexts({"97FF0A0B"}));
    row("register field stepped", {"DSPAdr2#1", "DSPData2=12F7", "DSPMask2=00F0"}, "DSPDataSB2", "up", "",
        requestTexts({"96011207"}), "DSPData2=1207");
    // Digital P/T/Z.
    row("magnification", {}, "dze", "type", "0012", requestTexts({"83C0000012"}));
    row("magnification spin wraps", {"dze=00FF"}, "dzespn", "up", "", requestTexts({"83C0000000"}), "dze=0000");
    row("magnification spin down", {"dze=0000"}, "dzespn", "down", "", requestTexts({"83C00000FF"}), "dze=00FF");
    row("stop", {"dze=0012"}, "DZStop", "press", "", requestTexts({"83C0010012"}));
    row("stop without a magnification", {"dze=12"}, "DZStop", "press", "", {});
    row("register HS06", {}, "HS06", "type", "ABCD", requestTexts({"9606ABCD"}));
    row("register VR76", {}, "VR76", "type", "0001", requestTexts({"96760001"}));
    row("register not hexadecimal", {}, "MG67", "type", "00#1", {});
    row("GET", {}, "GetStatus", "press", "", requestTexts({"8605"}));
}

void TstEep::editorFrames()
{
    QFETCH(QStringList, before);
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QStringList, frames);
    QFETCH(QString, after);

    WindowRig &rig = editorRig();
    TForm1 *form = rig.form;
    rig.quietly([&] {
        for (const QString &b : before) {
            if (b.contains(u'=')) {
                rig.w<QLineEdit>(b.section(u'=', 0, 0).toLatin1().constData())->setText(b.section(u'=', 1));
            } else if (b.contains(u'#')) {
                rig.w<QComboBox>(b.section(u'#', 0, 0).toLatin1().constData())->setCurrentIndex(b.section(u'#', 1).toInt());
            } else {
                rig.w<QCheckBox>(b.toLatin1().constData())->setChecked(true);
            }
        }
    });
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    const qsizetype first = rig.peer.requests.size();
    const QByteArray name = control.toLatin1();
    if (action == u"type")
        QTest::keyClicks(rig.w<QWidget>(name.constData()), text);
    else if (action == u"up")
        rig.w<kit::SpinButton>(name.constData())->clickUp();
    else if (action == u"down")
        rig.w<kit::SpinButton>(name.constData())->clickDown();
    else
        QVERIFY(rig.act(control, action, text));
    QTest::qWait(40);
    QCOMPARE(rig.requestTexts(first), frames);
    if (!after.isEmpty())
        QCOMPARE(rig.w<QLineEdit>(after.section(u'=', 0, 0).toLatin1().constData())->text(), after.section(u'=', 1));
    form->link.release();
    rig.peer.script = [this](const Frame7 &r) { return editorCamera_->answer(r); };
}

void TstEep::editorRepliesFillTheEditsAndSendNothing_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QStringList>("texts");   // "Name=text" after the reply
    QTest::newRow("EEPROM 1 read") << QByteArray("900010ABCD") << QStringList{u"EEPAdr=0010"_s, u"EEPData=ABCD"_s};
    QTest::newRow("EEPROM 1 write answer") << QByteArray("930123BEEF") << QStringList{u"EEPAdr=0123"_s, u"EEPData=BEEF"_s};
    QTest::newRow("EEPROM 2") << QByteArray("9C03FF0001") << QStringList{u"EEPAdr2=03FF"_s, u"EEPData2=0001"_s};
    QTest::newRow("DSP EEPROM") << QByteArray("9D00FF8000") << QStringList{u"EEPAdr3=00FF"_s, u"EEPData3=8000"_s};
    QTest::newRow("register of the second editor") << QByteArray("9522ABCD00") << QStringList{u"DSPData2=ABCD"_s};
    QTest::newRow("register not selected") << QByteArray("9423ABCD00") << QStringList{u"DSPData2="_s};
    QTest::newRow("refusal") << QByteArray("D00010ABCD") << QStringList{u"EEPAdr="_s, u"EEPData="_s};
    QTest::newRow("another category") << QByteArray("860010ABCD") << QStringList{u"EEPAdr="_s};
}

void TstEep::editorRepliesFillTheEditsAndSendNothing()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, texts);
    WindowRig &rig = editorRig();
    TForm1 *form = rig.form;
    auto *eep = form->pages.eep;
    rig.quietly([&] { eep->DSPAdr2->setCurrentIndex(0x22); });
    eep->setTransactionKind(EepPage::Transaction::Settings);
    eep->statusReadPending = false;
    const qsizetype first = rig.peer.requests.size();
    form->link.LinkBusy = 1;   // as while the request it answers is outstanding
    const QByteArray b = QByteArray::fromHex(reply);
    rig.peer.sendFrame(uint8_t(b[0]), uint8_t(b[1]), uint8_t(b[2]), uint8_t(b[3]), uint8_t(b[4]));
    QVERIFY(rig.settle());
    for (const QString &t : texts)
        QCOMPARE(rig.w<QLineEdit>(t.section(u'=', 0, 0).toLatin1().constData())->text(), t.section(u'=', 1));
    QCOMPARE(rig.requestTexts(first), QStringList());
}

// ---------------------------------------------------------------- chains

void TstEep::showingThePageRunsTheStatusChain_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("versionText");
    QTest::newRow("sample") << 0x0100 << u"TZ845QRM SAMPLE 2005.05"_s;
    QTest::newRow("V-01") << 0x0200 << u"TZ845QRM V-01 R-01 2005.07"_s;
    QTest::newRow("V-02") << 0x03FF << u"TZ845QRM V-02 R-01 2005.09"_s;
    QTest::newRow("unknown") << 0x0700 << u"UnKnown"_s;
    QTest::newRow("zero") << 0x0003 << u"UnKnown"_s;
}

void TstEep::showingThePageRunsTheStatusChain()
{
    QFETCH(int, version);
    QFETCH(QString, versionText);
    WindowRig *rig = &editorRig();
    const auto camera = editorCamera_;
    camera->eeprom[0x3FF] = uint16_t(version);
    camera->eeprom[0x0000] = 0xABCD;
    rig->peer.requests.clear();
    QVERIFY(rig->refresh(Pages::EepTab, 7));
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(),
             requestTexts({"900000", "8605", "8606", "8607", "8612", "8613", "9003FF"}));
    const std::pair<const char *, QString> labels[] = {
        {"Label_ALARM", u"ALARM"_s},      {"Label_motion", u"NOT DETECT"_s}, {"Label_IR", u"NIGHT"_s},
        {"Board_Position", u"007"_s},     {"Board_h_rev", u"NOT REVERSE"_s}, {"Board_v_rev", u"REVERSE"_s},
        {"TV", u"PAL"_s},                 {"Resolution", u"LOW"_s},          {"Label255", u"PAL"_s},
        {"Label256", u"LOW"_s},           {"SW_Menu", u"ON"_s},              {"C_Menu", u"ON"_s},
        {"SW_Mode", u"OSD Key"_s},        {"C_SW", u"OSD Key"_s},            {"SW_Ver", u"OFF"_s},
        {"Label_Ver", versionText},
    };
    for (const auto &[name, text] : labels)
        QVERIFY2(rig->w<QLabel>(name)->text() == text, name);
    // The first reply filled the editor; the version word did not.
    QCOMPARE(rig->w<QLineEdit>("EEPAdr")->text(), u"0000"_s);
    QCOMPARE(rig->w<QLineEdit>("EEPData")->text(), u"ABCD"_s);

    // 'GET' runs the chain again without the EEPROM read; the page shown again runs it all.
    rig->peer.requests.clear();
    camera->status[0x05] = {0, 1, 0};
    camera->status[0x06] = {255, 0, 1};
    camera->status[0x07] = {1, 0, 0};
    camera->status[0x12] = {0, 0, 1};
    camera->status[0x13] = {0, 1, 0};
    rig->w<QPushButton>("GetStatus")->click();
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(), requestTexts({"8605", "8606", "8607", "8612", "8613", "9003FF"}));
    const std::pair<const char *, QString> again[] = {
        {"Label_ALARM", u"NOT ALARM"_s},  {"Label_motion", u"DETECT"_s}, {"Label_IR", u"DAY"_s},
        {"Board_Position", u"255"_s},     {"Board_h_rev", u"REVERSE"_s}, {"Board_v_rev", u"NOT REVERSE"_s},
        {"TV", u"NTSC"_s},                {"Resolution", u"HIGH"_s},     {"SW_Menu", u"OFF"_s},
        {"SW_Mode", u"Z/F Key"_s},        {"SW_Ver", u"ON"_s},
    };
    for (const auto &[name, text] : again)
        QVERIFY2(rig->w<QLabel>(name)->text() == text, name);
}

void TstEep::statusChainStopsAtAnUnexpectedReply()
{
    WindowRig *rig = &editorRig();
    editorCamera_->refuse.insert(0x8607);
    rig->quietly([&] {
        for (auto *l : rig->form->pages.eep->findChildren<QLabel *>())
            l->clear();
    });
    rig->peer.requests.clear();
    QVERIFY(rig->refresh(Pages::EepTab, 4));
    QVERIFY(rig->settle());
    QCOMPARE(rig->requestTexts(), requestTexts({"900000", "8605", "8606", "8607"}));
    QCOMPARE(rig->w<QLabel>("Board_Position")->text(), u"007"_s);
    // The labels after the refused read keep their texts.
    QCOMPARE(rig->w<QLabel>("TV")->text(), QString());
    QCOMPARE(rig->w<QLabel>("Label_Ver")->text(), QString());
}

void TstEep::registerReadBack_data()
{
    QTest::addColumn<QString>("start");        // "read": 'Read' pressed; "mag": a magnification typed
    QTest::addColumn<uint8_t>("stopAnswer");
    QTest::addColumn<uint8_t>("answeredAs");   // registers answered as this one (0: as asked)
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QString>("dze");
    const QStringList all = requestTexts({"9467", "9406", "946C", "9465", "9473", "9474", "946D", "946F", "9470",
                                          "9475", "9476"});
    QTest::newRow("Read") << u"read"_s << uint8_t(0) << uint8_t(0) << all << u"0034"_s;
    // After a magnification answered with the zoom running, the typed value stays.
    QTest::newRow("magnification") << u"mag"_s << uint8_t(0) << uint8_t(0) << (requestTexts({"83C0000012"}) + all)
                                   << u"0012"_s;
    QTest::newRow("magnification stopped") << u"mag"_s << uint8_t(1) << uint8_t(0) << requestTexts({"83C0000012"})
                                           << u"0012"_s;
    // A register without an edit writes nothing and ends the chain.
    QTest::newRow("register without an edit") << u"read"_s << uint8_t(0) << uint8_t(0x10) << requestTexts({"9467"})
                                              << QString();
}

void TstEep::registerReadBack()
{
    QFETCH(QString, start);
    QFETCH(uint8_t, stopAnswer);
    QFETCH(uint8_t, answeredAs);
    QFETCH(QStringList, frames);
    QFETCH(QString, dze);
    WindowRig &rig = editorRig();
    auto *eep = rig.form->pages.eep;
    editorCamera_->stopAnswer = stopAnswer;
    editorCamera_->registerAnsweredAs = answeredAs;
    editorCamera_->registers = {{0x67, 0x1234}, {0x06, 0x0606}, {0x76, 0xFFFF}};
    const qsizetype first = rig.peer.requests.size();
    if (start == u"read")
        eep->DZR->click();
    else
        QTest::keyClicks(eep->dze, u"0012"_s);
    QVERIFY(rig.settle());
    editorCamera_->stopAnswer = 0;
    editorCamera_->registerAnsweredAs = 0;
    QCOMPARE(rig.requestTexts(first), frames);
    QCOMPARE(eep->dze->text(), dze);
    QCOMPARE(eep->DZStop->isChecked(), stopAnswer != 0);
    if (frames.size() > 2) {
        QCOMPARE(rig.w<QLineEdit>("MG67")->text(), u"1234"_s);
        QCOMPARE(rig.w<QLineEdit>("HS06")->text(), u"0606"_s);
        QCOMPARE(rig.w<QLineEdit>("XH6C")->text(), u"556C"_s);
        QCOMPARE(rig.w<QLineEdit>("VR76")->text(), u"FFFF"_s);
    } else if (answeredAs) {
        QCOMPARE(rig.w<QLineEdit>("MG67")->text(), QString());
    }
}

// ---------------------------------------------------------------- read-outs

namespace {
struct ReadOutCase
{
    const char *button, *bar, *panel;
    uint8_t readCategory, recordCategory;
    int records;
};
} // namespace

void TstEep::readOutWritesTheByteExactFile_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("readCategory");
    QTest::addColumn<int>("recordCategory");
    QTest::addColumn<int>("addresses");
    QTest::addColumn<int>("records");
    QTest::addColumn<bool>("sendDefault");
    QTest::newRow("EEPROM 1") << u"CtoP"_s << u"CtoPBar"_s << u"Copyfname2"_s << 0x90 << 0x92 << 1024 << 1023 << false;
    QTest::newRow("EEPROM 2") << u"Button8"_s << u"CEEP2toPBar"_s << u"CopyfnameEEP2"_s << 0x9B << 0x9C << 1024 << 1023
                              << false;
    QTest::newRow("DSP EEPROM") << u"CDSPtoP"_s << u"CDSPtoBar"_s << u"CopyfnameDSP"_s << 0x9D << 0x9E << 256 << 256
                                << false;
    QTest::newRow("DSP (send) running") << u"CDSPSendR"_s << u"CDSPSendBar"_s << u"CopyfnameSend"_s << 0x9F << 0x9E
                                        << 256 << 256 << false;
    QTest::newRow("DSP (send) default") << u"CDSPSendR"_s << u"CDSPSendBar"_s << u"CopyfnameSend"_s << 0x9F << 0x9E
                                        << 256 << 256 << true;
}

void TstEep::readOutWritesTheByteExactFile()
{
    QFETCH(QString, button);
    QFETCH(QString, bar);
    QFETCH(QString, panel);
    QFETCH(int, readCategory);
    QFETCH(int, recordCategory);
    QFETCH(int, addresses);
    QFETCH(int, records);
    QFETCH(bool, sendDefault);

    SimRig rig(at9600(), 4);
    rig.camera.withCamera([](camsim::Camera &c) {
        c.eeprom1()[0x012] = 0xABCD;
        c.eeprom2()[0x3FE] = 0x00FF;
        c.dspEeprom()[0xFF] = 0xBEEF;
        c.dspRegisters()[0x05] = 0x1234;   // a running value the factory one differs from
        return 0;
    });
    QVERIFY(rig.openPage(Pages::EepTab));
    rig.camera.clearLog();
    rig.w<QCheckBox>("SendDef")->setChecked(sendDefault);
    const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".dat"_s);
    rig.dialogs.saveQueue << path;
    rig.w<QPushButton>(button.toLatin1().constData())->click();
    QVERIFY(runUntil([&] { return QFile::exists(path); }, 20000));
    QVERIFY(rig.waitIdle());

    // Every address was asked for, in order, with the option in data 1 of DSP (send).
    const QList<Frame7> asked = rig.camera.received();
    QCOMPARE(asked.size(), addresses);
    for (int a = 0; a < addresses; ++a) {
        const Frame7 &f = asked[a];
        const bool ok = readCategory == 0x9F ? (f[0] == 0x9F && f[1] == a && f[2] == (sendDefault ? 1 : 0))
                                             : (f[0] == readCategory && (f[1] << 8 | f[2]) == a);
        QVERIFY2(ok, qPrintable(frameText(f)));
    }

    // One record per address in ascending order, upper-case hex, CR LF, then the end record.
    const QByteArray file = readAll(path);
    QCOMPARE(file.size(), (records + 1) * 12);
    QVERIFY(!file.contains("a") && !file.contains("f"));
    const QList<QByteArray> lines = file.split('\n');
    QCOMPARE(lines.size(), records + 2);   // the last split is empty
    const camsim::Camera cam = rig.camera.withCamera([](camsim::Camera &c) { return c; });
    for (int a = 0; a < records; ++a) {
        uint16_t word = 0;
        switch (readCategory) {
        case 0x90: word = cam.eeprom1()[size_t(a)]; break;
        case 0x9B: word = cam.eeprom2()[size_t(a)]; break;
        case 0x9D: word = cam.dspEeprom()[size_t(a)]; break;
        default: word = sendDefault ? camsim::Camera::factoryDsp()[size_t(a)] : cam.dspRegisters()[size_t(a)];
        }
        const QByteArray expected = QByteArray::number(recordCategory, 16).toUpper()
                                    + QByteArray::number(0x10000 | a, 16).right(4).toUpper()
                                    + QByteArray::number(0x10000 | word, 16).right(4).toUpper() + "\r";
        QVERIFY2(lines[a] == expected, qPrintable(QString::number(a, 16) + u": "_s + QString::fromLatin1(lines[a])));
    }
    QCOMPARE(lines[records], QByteArray("8F00000000\r"));
    if (readCategory == 0x90)
        QCOMPARE(file.mid(0x012 * 12, 12), QByteArray("920012ABCD\r\n"));

    QCOMPARE(rig.w<QLabel>(panel.toLatin1().constData())->text(), path);
    auto *progress = rig.w<QProgressBar>(bar.toLatin1().constData());
    QCOMPARE(progress->maximum(), addresses);
    QCOMPARE(progress->value(), addresses - 1);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(!QGuiApplication::overrideCursor());

    if (const QByteArray shots = qgetenv("ORVIK_SHOTS"); !shots.isEmpty() && readCategory == 0x90) {
        rig.form->resize(1280, 800);
        QTest::qWait(50);
        rig.form->grab().save(QString::fromLocal8Bit(shots) + u"/eep.png"_s);
    }
}

void TstEep::readOutKeepsTheOldFileUnlessConfirmed_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("overwritten");
    QTest::newRow("dialog cancelled") << false << int(Dialogs::Answer::Yes) << false;
    QTest::newRow("No") << true << int(Dialogs::Answer::No) << false;
    QTest::newRow("Yes") << true << int(Dialogs::Answer::Yes) << true;
}

void TstEep::readOutKeepsTheOldFileUnlessConfirmed()
{
    QFETCH(bool, chosen);
    QFETCH(int, answer);
    QFETCH(bool, overwritten);
    SimRig rig(at9600(), 4);
    QVERIFY(rig.openPage(Pages::EepTab));
    const QString path = dir_.filePath(u"old.dat"_s);
    writeFile(path, "old contents");
    rig.camera.clearLog();
    if (chosen)
        rig.dialogs.saveQueue << path;
    rig.dialogs.answer = Dialogs::Answer(answer);
    rig.w<QPushButton>("CDSPtoP")->click();
    if (overwritten) {
        QVERIFY(runUntil([&] { return readAll(path).size() == 257 * 12; }, 20000));
        QVERIFY(readAll(path).startsWith("9E0000"));
    } else {
        QTest::qWait(100);
        QCOMPARE(readAll(path), QByteArray("old contents"));
        QCOMPARE(rig.camera.received().size(), 0);
        QCOMPARE(rig.w<QLabel>("CopyfnameDSP")->text(), QString());
    }
    // The name is asked about without its folder.
    if (chosen) {
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages[0].text, u"Do you really want to over write old.dat?"_s);
        QCOMPARE(rig.dialogs.messages[0].caption, u"Confirm"_s);
        QCOMPARE(rig.dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    } else {
        QVERIFY(rig.dialogs.messages.isEmpty());
    }
}

void TstEep::readOutEndsWithoutAFile_data()
{
    QTest::addColumn<int>("faultAt");      // the address whose read is answered wrongly
    QTest::addColumn<QByteArray>("reply");  // the wrong answer
    QTest::addColumn<int>("asked");        // reads the camera received
    QTest::addColumn<bool>("message");     // "File write Error occured"
    QTest::addColumn<bool>("busy");        // the link stays busy
    // An address beyond the memory ends the read-out at once.
    QTest::newRow("address beyond the memory") << 0x010 << QByteArray("9004001234") << 17 << true << false;
    // The last address before the others were read: the words never read would be FFFF.
    QTest::newRow("last address too early") << 0x000 << QByteArray("9003FF1234") << 1 << true << false;
    // A refusal stops the read-out silently; Cancel frees the link.
    QTest::newRow("refusal") << 0x010 << QByteArray("D000100000") << 17 << false << true;
}

void TstEep::readOutEndsWithoutAFile()
{
    QFETCH(int, faultAt);
    QFETCH(QByteArray, reply);
    QFETCH(int, asked);
    QFETCH(bool, message);
    QFETCH(bool, busy);
    WindowRig *rig = &editorRig();
    const auto camera = editorCamera_;
    rig->peer.requests.clear();
    const Frame7 wrong = requestFrame(reply);
    rig->peer.script = [camera, faultAt, wrong](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x90 && (r[1] << 8 | r[2]) == faultAt)
            return PtyPeer::reply(wrong[0], wrong[1], wrong[2], wrong[3], wrong[4]);
        return camera->answer(r);
    };
    const QString path = dir_.filePath(u"kept.dat"_s);
    writeFile(path, "kept");
    rig->dialogs.saveQueue << path;
    rig->dialogs.answer = Dialogs::Answer::Yes;
    rig->w<QPushButton>("CtoP")->click();
    QTRY_COMPARE(rig->peer.requests.size(), asked);
    QTest::qWait(100);
    QCOMPARE(rig->peer.requests.size(), asked);
    QCOMPARE(readAll(path), QByteArray("kept"));
    QCOMPARE(!rig->idle(), busy);
    QStringList shown;
    for (const auto &m : rig->dialogs.messages)
        shown << m.text + u" / "_s + m.caption;
    QStringList expected{u"Do you really want to over write kept.dat? / Confirm"_s};
    if (message)
        expected << u"File write Error occured / File.ERR"_s;
    QCOMPARE(shown, expected);
}

void TstEep::pacedReadOutTakesTheWireTime()
{
    if (qEnvironmentVariableIsEmpty("ORVIK_MEASURE"))
        QSKIP("a timing: set ORVIK_MEASURE=1 to measure the paced EEPROM 1 read-out");
    camsim::Options o;
    o.pace = qgetenv("ORVIK_MEASURE") != "unpaced";
    SimRig rig(o, 4);
    QVERIFY(rig.openPage(Pages::EepTab));
    const QString path = dir_.filePath(u"paced.dat"_s);
    rig.dialogs.saveQueue << path;
    QElapsedTimer t;
    t.start();
    rig.w<QPushButton>("CtoP")->click();
    QVERIFY(runUntil([&] { return QFile::exists(path); }, 30000));
    const double ms = double(t.nsecsElapsed()) / 1e6;
    // 1024 replies of 7 bytes, 10 bits each; a request as long again on a real line.
    const double replies = 1024 * 7 * 10 * 1000.0 / 38400;
    qInfo("EEPROM 1 read-out at 38,400 baud: %.1f ms; reply wire time %.1f ms (ratio %.4f); "
          "whole exchange wire time %.1f ms (ratio %.4f)",
          ms, replies, ms / replies, 2 * replies, ms / (2 * replies));
    QCOMPARE(readAll(path).size(), 12288);
}

// ---------------------------------------------------------------- playback

void TstEep::playbackSendsEveryLineAndFreesTheLinkAtTheEnd()
{
    // The camera answers every write but never the reset.
    auto rig = WindowRig::connectedTo([](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x8F)
            return std::nullopt;
        return PtyPeer::reply(r[0], r[1], r[2], r[3], r[4]);
    });
    QVERIFY(rig);
    QVERIFY(rig->refresh(Pages::EepTab, 1));
    QVERIFY(rig->settle());
    const QString path = dir_.filePath(u"play.dat"_s);
    const QByteArray file = eepromFile(1023);
    writeFile(path, file);
    auto *bar = rig->w<QProgressBar>("CtoPBar");
    QList<int> positions;
    connect(bar, &QProgressBar::valueChanged, this, [&](int v) { positions << v; });
    rig->peer.requests.clear();
    rig->dialogs.openQueue << path;
    rig->w<QPushButton>("PtoC0")->click();
    QVERIFY(runUntil([&] { return !rig->peer.requests.isEmpty() && rig->peer.requests.last()[0] == 0x8F; }, 20000));
    QTest::qWait(50);

    QCOMPARE(rig->requestTexts(), linesAsRequests(file));
    QCOMPARE(rig->peer.requests.size(), 1024);
    // Over at once after the end record: bar back at 0, link free, normal cursor, although
    // the camera has not answered.
    QVERIFY(rig->idle());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(bar->maximum(), 12288);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(positions.size(), 1023);   // each line after the first, then 0
    QCOMPARE(positions[positions.size() - 2], 1023 * 12);
    QCOMPARE(rig->w<QLabel>("Copyfname2")->text(), path);
    QVERIFY(rig->dialogs.messages.isEmpty());

    // A late answer to the reset changes nothing.
    rig->form->link.LinkBusy = 1;
    rig->peer.sendFrame(0x8F, 0x00);
    QVERIFY(rig->settle());
    QCOMPARE(rig->peer.requests.size(), 1024);
}

void TstEep::playbackCopiesEeprom1IntoAnotherCamera()
{
    const QString path = dir_.filePath(u"copy.dat"_s);
    camsim::Camera::EepromWords original{};
    {
        SimRig a(at9600(), 4);
        a.camera.withCamera([](camsim::Camera &c) {
            for (int i = 0; i < camsim::Camera::kEepromWords; ++i)
                c.eeprom1()[size_t(i)] = uint16_t(i * 0x9E37 + 0x51);
            c.eeprom1()[0x3FF] = 0x0300;
            return 0;
        });
        QVERIFY(a.openPage(Pages::EepTab));
        a.dialogs.saveQueue << path;
        a.w<QPushButton>("CtoP")->click();
        QVERIFY(runUntil([&] { return QFile::exists(path); }, 20000));
        original = a.camera.withCamera([](camsim::Camera &c) { return c.eeprom1(); });
    }
    SimRig b(at9600(), 4);
    b.camera.withCamera([](camsim::Camera &c) {
        c.eeprom1()[0x3FF] = 0x0100;
        return 0;
    });
    QVERIFY(b.openPage(Pages::EepTab));
    b.dialogs.openQueue << path;
    b.w<QPushButton>("PtoC0")->click();
    QVERIFY(runUntil([&] { return b.received(0x8F, 0x00) == 1; }, 20000));
    QVERIFY(b.waitIdle());
    QTRY_COMPARE(b.camera.sent().size(), b.camera.received().size());
    const auto copied = b.camera.withCamera([](camsim::Camera &c) { return c.eeprom1(); });
    const auto working = b.camera.withCamera([](camsim::Camera &c) { return c.eeprom1Ram(); });
    for (int i = 0; i < 0x3FF; ++i)
        QVERIFY2(copied[size_t(i)] == original[size_t(i)], qPrintable(QString::number(i, 16)));
    // The camera keeps its own firmware version.
    QCOMPARE(copied[0x3FF], uint16_t(0x0100));
    QCOMPARE(working, copied);
    QCOMPARE(b.received(0x92, 0x00), 256);
    QVERIFY(b.dialogs.messages.isEmpty());
}

void TstEep::handMadeFilesAreSentAsWritten_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("lower case") << QByteArray("9c0012abcd\r\n8f00000000\r\n")
                                << requestTexts({"9C0012ABCD", "8F00000000"});
    // A short line keeps what the previous request left; a CR LF line sends it again.
    QTest::newRow("short line") << QByteArray("920012ABCD\r\n931\r\n\r\n")
                                << requestTexts({"920012ABCD", "931012ABCD", "931012ABCD"});
    QTest::newRow("text after the digits") << QByteArray("920000ABCD\r\n9E00FF12 comment\r\n9E0001ZZ\r\n")
                                           << requestTexts({"920000ABCD", "9E00FF12CD", "9E000112CD"});
    QTest::newRow("an empty line ends") << QByteArray("920000ABCD\r\n\n920001ABCD\r\n")
                                        << requestTexts({"920000ABCD"});
    QTest::newRow("lines after the end record") << QByteArray("920000ABCD\r\n8F00000000\r\n920001ABCD\r\n")
                                                << requestTexts({"920000ABCD", "8F00000000"});
    // Only the lines up to the end are looked at.
    QTest::newRow("garbage after the end record") << QByteArray("920000ABCD\r\n8F00000000\r\n\xFF\0\r\n", 28)
                                                  << requestTexts({"920000ABCD", "8F00000000"});
    QTest::newRow("LF alone") << QByteArray("920000ABCD\n9C00010001\n")
                              << requestTexts({"920000ABCD", "9C00010001"});
    // The last line without LF loses its last character.
    QTest::newRow("no final LF") << QByteArray("920000ABCD\r\n9C0001000") << requestTexts({"920000ABCD", "9C000100CD"});
}

void TstEep::handMadeFilesAreSentAsWritten()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, frames);
    WindowRig &rig = editorRig();
    rig.form->pages.eep->setTransactionKind(EepPage::Transaction::Settings);
    const QString path = dir_.filePath(u"hand.dat"_s);
    writeFile(path, content);
    rig.dialogs.openQueue << path;
    const qsizetype first = rig.peer.requests.size();
    rig.w<QPushButton>("PtoC0")->click();
    QTRY_COMPARE(rig.peer.requests.size(), first + frames.size());
    QVERIFY(rig.settle());
    QCOMPARE(rig.requestTexts(first), frames);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(!rig.form->pages.playback->running());
}

void TstEep::refusalStopsThePlayback()
{
    WindowRig &rig = editorRig();
    auto writes = std::make_shared<int>(0);
    rig.peer.script = [writes](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x92 && ++*writes == 3)
            return PtyPeer::reply(0xD2, r[1]);
        return PtyPeer::reply(r[0], r[1], r[2], r[3], r[4]);
    };
    const QString path = dir_.filePath(u"refused.dat"_s);
    writeFile(path, eepromFile(10));
    rig.dialogs.openQueue << path;
    const qsizetype first = rig.peer.requests.size();
    rig.w<QPushButton>("PtoC0")->click();
    QTRY_COMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), first + 3);
    QCOMPARE(rig.dialogs.messages[0].text, u" Error "_s);
    QCOMPARE(rig.dialogs.messages[0].caption, u"ERR"_s);
    QCOMPARE(rig.dialogs.messages[0].buttons, Dialogs::Buttons::AbortRetryIgnore);
    // The file is closed: a later answer does not resume the rest of it.
    QVERIFY(!rig.form->pages.playback->running());
    rig.form->link.LinkBusy = 1;
    rig.peer.sendFrame(0x92, 0x00, 0x02, 0x40, 0x02);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), first + 3);
    QCOMPARE(rig.dialogs.messages.size(), 1);
}

void TstEep::playbackSendsNothing_data()
{
    QTest::addColumn<QString>("file");         // "": the dialog is cancelled
    QTest::addColumn<QByteArray>("content");   // null: no such file
    QTest::addColumn<QString>("message");      // "text / caption"; for a refused file its start
    const QString readError = u"File read Error occured / File.ERR"_s;
    QTest::newRow("cancelled") << QString() << QByteArray() << QString();
    QTest::newRow("missing") << u"missing.dat"_s << QByteArray() << readError;
    QTest::newRow("a folder") << u"."_s << QByteArray() << readError;
    QTest::newRow("empty") << u"empty.dat"_s << QByteArray("") << QString();
    QTest::newRow("empty first line") << u"blank.dat"_s << QByteArray("\n920000ABCD\r\n") << QString();
    // Files that are no data files: refused whole before the first line, naming the line.
    QTest::newRow("NUL byte") << u"nul.dat"_s << QByteArray("920000ABCD\r\n9200\0001ABCD\r\n", 24)
                              << u"nul.dat is not a data file: line 2 "_s;
    QTest::newRow("not a request") << u"numbers.dat"_s << QByteArray("920000ABCD\r\n1234567890\r\n8F00000000\r\n")
                                   << u"numbers.dat is not a data file: line 2 "_s;
    QTest::newRow("a picture") << u"picture.dat"_s << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                               << u"picture.dat is not a data file: line 1 "_s;
}

void TstEep::playbackSendsNothing()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    WindowRig &rig = editorRig();
    const QString path = file.isEmpty() ? QString() : dir_.filePath(file);
    if (!content.isNull())
        writeFile(path, content);
    if (!path.isEmpty())
        rig.dialogs.openQueue << path;
    const qsizetype first = rig.peer.requests.size();
    rig.w<QPushButton>("PtoC0")->click();
    QTest::qWait(60);
    QCOMPARE(rig.peer.requests.size(), first);
    QVERIFY(rig.idle());
    QVERIFY(!rig.form->pages.playback->running());
    QCOMPARE(rig.w<QLabel>("Copyfname2")->text(), path);
    QStringList shown;
    for (const auto &m : rig.dialogs.messages)
        shown << m.text + u" / "_s + m.caption;
    if (message.isEmpty()) {
        QCOMPARE(shown, QStringList());
    } else {
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(message), qPrintable(shown[0]));
        QVERIFY(shown[0].endsWith(u" / File.ERR"_s));
    }
}

QTEST_MAIN(TstEep)
#include "tst_eep.moc"
