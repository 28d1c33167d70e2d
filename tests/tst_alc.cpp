// The ALC page against a scripted camera: the refresh chain through the iris figures and
// the nine loop registers, the EASY and Fac twins, which level controls can be used, every
// write, the answers that continue the chain, and the iris repeat loop.
#include "pages/alcpage.h"
#include "pages/easypage.h"
#include "pages/facpage.h"
#include "support/windowrig.h"

#include <QRadioButton>
#include <QtTest>

#include <functional>
#include <set>

using namespace Qt::StringLiterals;

namespace {

using Data3 = std::array<uint8_t, 3>;

// The camera's exposure state and iris figures. Writes change the state and are answered
// with it, in the layout of the read; register reads answer (address, 0x5A).
struct AlcCamera
{
    Data3 alc{1, 3, 5};
    Data3 aes{0, 4, 7};
    std::set<std::pair<int, int>> errors; // (category, item) answered with an error reply
    int isqlAnswer = -1;                  // when set, every 0x72 answer carries this reference
    int registerAnswer = -1;              // when set, every 0x94 answer is for this address
    std::function<void(const Frame7 &)> onRequest;

    std::optional<Frame7> operator()(const Frame7 &r)
    {
        if (onRequest)
            onRequest(r);
        if (errors.count({r[0], r[1]}))
            return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]);
        switch (r[0]) {
        case 0x89:
        case 0x96:
            return PtyPeer::reply(r[0], r[1], r[2], r[3]);
        case 0x94:
            return PtyPeer::reply(0x94, registerAnswer >= 0 ? uint8_t(registerAnswer) : r[1], r[1], 0x5A);
        case 0x81:
            break;
        default:
            return PtyPeer::reply(uint8_t(r[0] | 0x40), r[1]); // frees the link, nothing else
        }
        const uint8_t item = r[1];
        if (item >= 0x90 && item <= 0x92)
            alc[item - 0x90] = r[2];
        if (item >= 0xA0 && item <= 0xA2)
            aes[item - 0xA0] = r[2];
        switch (item) {
        case 0x10: case 0x90: case 0x91: case 0x92:
            return PtyPeer::reply(0x81, item, alc[0], alc[1], alc[2]);
        case 0x20: case 0xA0: case 0xA1: case 0xA2:
            return PtyPeer::reply(0x81, item, aes[0], aes[1], aes[2]);
        case 0x70:
            return PtyPeer::reply(0x81, item, 0x5A, 0x12, 0x34);
        case 0x71:
            return PtyPeer::reply(0x81, item, 0x03, 0xAB, 0xCD);
        case 0x72: {
            const uint8_t k = isqlAnswer >= 0 ? uint8_t(isqlAnswer) : r[2];
            return PtyPeer::reply(0x81, item, k, uint8_t(0x10 + k), k);
        }
        case 0x73:
            return PtyPeer::reply(0x81, item, 0xBE, 0xEF, 0x40);
        default:
            return PtyPeer::reply(0x81, item, r[2]);
        }
    }
};

// One pass of the iris sequence: figures, six references, duty, nine registers.
QStringList irisPass()
{
    QStringList out;
    for (const char *h : {"8170000000", "8171000000"})
        out << frameText(requestFrame(h));
    for (int k = 0; k < 6; ++k)
        out << frameText(requestFrame(QByteArray("8172") + QByteArray::number(k, 16).rightJustified(2, '0') + "0000"));
    out << frameText(requestFrame("8173000000"));
    for (const char *reg : {"03", "EC", "ED", "F5", "E3", "EE", "F7", "F8", "FB"})
        out << frameText(requestFrame(QByteArray("94") + reg + "000000"));
    return out;
}

QStringList fullChain()
{
    return QStringList{frameText(requestFrame("8110000000")), frameText(requestFrame("8120000000"))} + irisPass();
}

} // namespace

class TstAlc : public QObject
{
    Q_OBJECT
private slots:
    void refreshReadsEverythingAndWritesNothingBack();
    void levelControlsFollowTheMode_data();
    void levelControlsFollowTheMode();
    void writeFrames_data();
    void writeFrames();
    void registerEditSendsAtFourHexDigits();
    void writeAnswersContinueTheChain_data();
    void writeAnswersContinueTheChain();
    void getRunsOnePass();
    void repeatFinishesThePassInProgress();
    void chainStops_data();
    void chainStops();
    void choiceWhileBusyIsKeptUntilTheNextRead();
};

void TstAlc::refreshReadsEverythingAndWritesNothingBack()
{
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.showPage(Pages::AlcTab);
    QVERIFY(rig.settle());
    // No register, level or mode is written back while the replies are applied.
    QCOMPARE(texts(rig.peer.requests), fullChain());

    // Page, EASY copies and the Fac switch ("AUTO" is its second item).
    const std::pair<const char *, int> groups[] = {
        {"ALC", 1}, {"ALCE", 1}, {"ALCAutoLv", 3}, {"ALCFixLv", 5}, {"AES", 0},
        {"AESE", 0}, {"FAES", 1}, {"AESAutoLv", 4}, {"AESFixLv", 7}};
    for (const auto &[name, index] : groups)
        QVERIFY2(rig.w<kit::RadioGroup>(name)->itemIndex() == index, name);
    const std::pair<const char *, int> bars[] = {{"ALCAutoBar", 3}, {"ALCFixBar", 5}, {"AESAutoBar", 4}};
    for (const auto &[name, value] : bars)
        QVERIFY2(rig.w<QSlider>(name)->value() == value, name);
    QCOMPARE(rig.w<QComboBox>("AESFixBox")->currentIndex(), 7);

    const std::pair<const char *, const char *> figures[] = {
        {"Ialc", "5A"},  {"Iaes", "1234"}, {"Istatus", "03"}, {"Icpcmax", "ABCD"}, {"IKN", "BEEF"},
        {"Iduty", "40"}, {"IK0", "1000"},  {"IK1", "1101"},   {"IK5", "1505"},
        {"I03", "035A"}, {"IEC", "EC5A"},  {"IED", "ED5A"},   {"IF5", "F55A"},    {"IE3", "E35A"},
        {"IEE", "EE5A"}, {"IF7", "F75A"},  {"IFB", "FB5A"},   {"IF8", "F85A"}};
    for (const auto &[name, value] : figures)
        QCOMPARE(rig.w<QLineEdit>(name)->text(), QString::fromLatin1(value));

    if (const QByteArray dir = qgetenv("ORVIK_SHOTS"); !dir.isEmpty()) {
        rig.form->resize(1320, 780);
        QTest::qWait(50);
        rig.form->grab().save(QString::fromLocal8Bit(dir) + u"/alc.png"_s);
    }
}

void TstAlc::levelControlsFollowTheMode_data()
{
    QTest::addColumn<Data3>("alc");
    QTest::addColumn<Data3>("aes");
    QTest::addColumn<bool>("alcAuto");
    QTest::addColumn<bool>("aesAuto");
    QTest::addColumn<int>("faes");
    QTest::newRow("both automatic") << Data3{0, 1, 1} << Data3{0, 1, 1} << true << true << 1;
    QTest::newRow("both fixed") << Data3{1, 1, 1} << Data3{1, 1, 1} << false << false << 0;
    QTest::newRow("unknown modes count as fixed") << Data3{2, 1, 1} << Data3{2, 1, 1} << false << false << 1;
}

void TstAlc::levelControlsFollowTheMode()
{
    QFETCH(Data3, alc);
    QFETCH(Data3, aes);
    QFETCH(bool, alcAuto);
    QFETCH(bool, aesAuto);
    QFETCH(int, faes);
    WindowRig rig;
    AlcCamera camera;
    camera.alc = alc;
    camera.aes = aes;
    camera.errors.insert({0x81, 0x70}); // end the chain after ALC and AES
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.showPage(Pages::AlcTab);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 3);
    auto enabled = [&](const char *name) { return rig.form->findChild<QWidget *>(QString::fromLatin1(name))->isEnabled(); };
    QCOMPARE(enabled("ALCAutoLv"), alcAuto);
    QCOMPARE(enabled("ALCAutoBar"), alcAuto);
    QCOMPARE(enabled("ALCFixLv"), !alcAuto);
    QCOMPARE(enabled("ALCFixBar"), !alcAuto);
    QCOMPARE(enabled("AESAutoLv"), aesAuto);
    QCOMPARE(enabled("AESAutoBar"), aesAuto);
    QCOMPARE(enabled("AESFixLv"), !aesAuto);
    QCOMPARE(enabled("AESFixBox"), !aesAuto);
    QCOMPARE(rig.w<kit::RadioGroup>("FAES")->itemIndex(), faes);
    // A mode beyond the items selects the last one, "FIX".
    QCOMPARE(rig.w<kit::RadioGroup>("ALC")->itemIndex(), std::min<int>(alc[0], 1));
    QCOMPARE(rig.w<kit::RadioGroup>("AESE")->itemIndex(), std::min<int>(aes[0], 1));
}

void TstAlc::writeFrames_data()
{
    WriteRow::columns();
    const int alc = Pages::AlcTab, easy = Pages::EasyTab;
    WriteRow::add("ALC FIX", alc, "ALC", "item", "1", "8190010000");
    WriteRow::add("ALCE FIX", easy, "ALCE", "item", "1", "8190010000");
    WriteRow::add("ALCAutoLv +2", alc, "ALCAutoLv", "item", "2", "8191020000");
    WriteRow::add("ALCAutoBar 2", easy, "ALCAutoBar", "bar", "2", "8191020000");
    WriteRow::add("ALCFixLv MAX", alc, "ALCFixLv", "item", "8", "8192080000");
    WriteRow::add("ALCFixBar 8", easy, "ALCFixBar", "bar", "8", "8192080000");
    WriteRow::add("AES FIX", alc, "AES", "item", "1", "81A0010000");
    WriteRow::add("AESE FIX", easy, "AESE", "item", "1", "81A0010000");
    WriteRow::add("AESAutoLv +6", alc, "AESAutoLv", "item", "6", "81A1060000");
    WriteRow::add("AESAutoBar 6", easy, "AESAutoBar", "bar", "6", "81A1060000");
    WriteRow::add("AESFixLv 1/10000", alc, "AESFixLv", "item", "8", "81A2080000");
    WriteRow::add("AESFixBox 1/10000", easy, "AESFixBox", "choose", "8", "81A2080000");
    WriteRow::add("Icpcstop ticked", alc, "Icpcstop", "tick", "", "81F0010000");
    WriteRow::add("I03", alc, "I03", "type", "00ff", "960300FF00");
    WriteRow::add("IEC", alc, "IEC", "type", "1234", "96EC123400");
    WriteRow::add("IED", alc, "IED", "type", "1234", "96ED123400");
    WriteRow::add("IF5", alc, "IF5", "type", "1234", "96F5123400");
    WriteRow::add("IE3", alc, "IE3", "type", "1234", "96E3123400");
    WriteRow::add("IEE", alc, "IEE", "type", "1234", "96EE123400");
    WriteRow::add("IF7", alc, "IF7", "type", "1234", "96F7123400");
    WriteRow::add("IFB", alc, "IFB", "type", "ABCD", "96FBABCD00");
    WriteRow::add("IF8", alc, "IF8", "type", "1234", "96F8123400");
    WriteRow::add("GET", alc, "IGET", "press", "", "8170000000");
}

void TstAlc::writeFrames()
{
    const WriteRow w = WriteRow::fetch();
    WindowRig rig;
    AlcCamera camera;
    camera.errors = {{0x81, 0x10}, {0x80, 0x00}}; // the page stays unfilled
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(w.tab));
    if (w.action == u"choose") {
        // Selecting from code sends nothing; only the user's choice does.
        rig.w<QComboBox>(w.control.toLatin1().constData())->setCurrentIndex(w.value.toInt());
        QTest::qWait(20);
        QCOMPARE(rig.peer.requests.size(), 0);
    }
    QCOMPARE(rig.framesOf(w), QStringList{frameText(requestFrame(w.frame))});
}

void TstAlc::registerEditSendsAtFourHexDigits()
{
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::AlcTab));
    auto *iec = rig.w<kit::Edit>("IEC");
    iec->clear();
    QVERIFY(rig.settle());
    for (QChar c : u"123"_s) {
        QTest::keyClick(iec, c.toLatin1());
        QTest::qWait(20);
        QCOMPARE(rig.peer.requests.size(), 0);
    }
    QTest::keyClick(iec, '4');
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests), QStringList{frameText(requestFrame("96EC123400"))});

    // Text that is not hexadecimal sends nothing and is marked; a read clears the mark.
    auto *i03 = rig.w<kit::Edit>("I03");
    i03->selectAll();
    QTest::keyClicks(i03, u"12G4"_s);
    QVERIFY(rig.settle());
    QCOMPARE(rig.peer.requests.size(), 1);
    QVERIFY(i03->isInvalid());
    rig.w<QPushButton>("IGET")->click();
    QVERIFY(rig.settle());
    QCOMPARE(i03->text(), u"035A"_s);
    QVERIFY(!i03->isInvalid());
    QCOMPARE(rig.peer.countOf(0x96, 0x03), 0);
}

void TstAlc::writeAnswersContinueTheChain_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("click");
    QTest::addColumn<QByteArray>("write");
    QTest::addColumn<bool>("fromAlc"); // the answer restarts the whole chain
    // An ALC answer goes on at AES; an AES answer reads the whole page again.
    QTest::newRow("ALC answer") << u"ALCFixLv"_s << 2 << QByteArray("8192020000") << false;
    QTest::newRow("AES answer") << u"AES"_s << 1 << QByteArray("81A0010000") << true;
}

void TstAlc::writeAnswersContinueTheChain()
{
    QFETCH(QString, control);
    QFETCH(int, click);
    QFETCH(QByteArray, write);
    QFETCH(bool, fromAlc);
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::AlcTab));
    rig.form->findChild<kit::RadioGroup *>(control)->button(click)->click();
    QVERIFY(rig.settle());
    QStringList chain = fullChain();
    if (!fromAlc)
        chain.removeFirst();
    QCOMPARE(texts(rig.peer.requests), QStringList{frameText(requestFrame(write))} + chain);
    // The answer's state is shown, with its enabling.
    if (fromAlc) {
        QCOMPARE(rig.w<kit::RadioGroup>("AESE")->itemIndex(), 1);
        QCOMPARE(rig.w<kit::RadioGroup>("FAES")->itemIndex(), 0);
        QVERIFY(!rig.w<QSlider>("AESAutoBar")->isEnabled());
        QVERIFY(rig.w<QComboBox>("AESFixBox")->isEnabled());
    } else {
        QCOMPARE(rig.w<QSlider>("ALCFixBar")->value(), 2);
    }
}

void TstAlc::getRunsOnePass()
{
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::AlcTab));
    rig.w<QPushButton>("IGET")->click();
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests), irisPass());
}

void TstAlc::repeatFinishesThePassInProgress()
{
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::AlcTab));
    auto *repeat = rig.w<QCheckBox>("IRepeat");
    repeat->click();
    QTest::qWait(30);
    QCOMPARE(rig.peer.requests.size(), 0); // ticking alone reads nothing

    // The user unticks "Repeat" in the middle of the third pass.
    int passes = 0;
    camera.onRequest = [&](const Frame7 &r) {
        if (r[0] == 0x81 && r[1] == 0x70)
            ++passes;
        if (passes == 3 && r[0] == 0x81 && r[1] == 0x72 && r[2] == 2 && repeat->isChecked())
            repeat->click();
    };
    rig.w<QPushButton>("IGET")->click();
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests), irisPass() + irisPass() + irisPass());
}

void TstAlc::chainStops_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("isqlAnswer");
    QTest::addColumn<int>("registerAnswer");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<int>("requests");
    QTest::newRow("error reply") << 0x81 << 0x71 << -1 << -1 << false << 4;
    QTest::newRow("error reply in repeat mode") << 0x94 << 0xF5 << -1 << -1 << true << 2 + 9 + 4;
    QTest::newRow("reference beyond K5") << 0 << 0 << 7 << -1 << false << 5;
    QTest::newRow("register reply with an error") << 0x94 << 0x03 << -1 << -1 << false << 2 + 9 + 1;
    QTest::newRow("reply for another register") << 0 << 0 << -1 << 0x10 << true << 2 + 9 + 1;
}

void TstAlc::chainStops()
{
    QFETCH(int, category);
    QFETCH(int, item);
    QFETCH(int, isqlAnswer);
    QFETCH(int, registerAnswer);
    QFETCH(bool, repeat);
    QFETCH(int, requests);
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::EasyTab));
    if (repeat)
        rig.w<QCheckBox>("IRepeat")->click();
    if (category)
        camera.errors.insert({category, item});
    camera.isqlAnswer = isqlAnswer;
    camera.registerAnswer = registerAnswer;
    rig.showPage(Pages::AlcTab);
    QVERIFY(rig.settle());
    QCOMPARE(texts(rig.peer.requests), fullChain().mid(0, requests));
    if (isqlAnswer > 5) {
        for (int k = 0; k < 6; ++k)
            QVERIFY(rig.form->findChild<QLineEdit *>(u"IK%1"_s.arg(k))->text().isEmpty());
    }
    if (registerAnswer >= 0)
        QVERIFY(rig.w<QLineEdit>("I03")->text().isEmpty());
}

void TstAlc::choiceWhileBusyIsKeptUntilTheNextRead()
{
    WindowRig rig;
    AlcCamera camera;
    rig.peer.script = std::ref(camera);
    QVERIFY(rig.openPage(Pages::EasyTab));
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    rig.showPage(Pages::AlcTab);
    QTRY_COMPARE(rig.peer.requests.size(), 1);

    auto *fix = rig.w<kit::RadioGroup>("AESFixLv");
    fix->button(3)->click();
    rig.w<kit::RadioGroup>("ALCE")->button(0)->click();
    rig.w<QSlider>("AESAutoBar")->setValue(6);
    rig.w<QCheckBox>("Icpcstop")->click();
    QTest::keyClicks(rig.w<QLineEdit>("IF8"), u"1234"_s);
    QTest::qWait(80);
    QCOMPARE(rig.peer.requests.size(), 1);
    QCOMPARE(fix->itemIndex(), 3);

    // The chain goes on; the AES read shows the camera's value again.
    rig.peer.script = std::ref(camera);
    rig.peer.sendFrame(0x81, 0x10, 1, 3, 5);
    QVERIFY(rig.settle());
    QCOMPARE(fix->itemIndex(), 7);
    QCOMPARE(rig.w<QLineEdit>("IF8")->text(), u"F85A"_s);
    QCOMPARE(rig.peer.countOf(0x96, 0xF8), 0);
}

QTEST_MAIN(TstAlc)
#include "tst_alc.moc"
