// orvik-cli run as a script runs it, against the camera simulator on a pty: the line-speed
// search, read-outs that equal the window's files, play then verify, refusals, failures with
// their exit codes, and the JSON output.

#include "support/eventloop.h"
#include "pages/pages.h"
#include "ptycamera.h"
#include "support/simrig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString executable()
{
#ifdef ORVIK_CLI_EXE
    return QStringLiteral(ORVIK_CLI_EXE);
#else
    return QCoreApplication::applicationDirPath() + u"/../src/orvik-cli"_s;
#endif
}

struct Run
{
    int code = -1;
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    // What a failure says: exactly one line.
    QString errLine() const
    {
        return err.count('\n') == 1 && err.endsWith('\n') ? QString::fromUtf8(err.trimmed()) : u"<not one line: %1>"_s.arg(QString::fromUtf8(err));
    }
};

Run cli(const QStringList &args, int ms = 60000)
{
    QProcess p;
    p.start(executable(), args);
    Run r;
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

camsim::Options at(int baud)
{
    camsim::Options o;
    o.baud = baud;
    return o;
}

// Distinct words in every memory, so a word from the wrong address or memory shows.
void plant(camsim::PtyCamera &camera, uint16_t seed)
{
    camera.withCamera([seed](camsim::Camera &c) {
        for (int a = 0; a < camsim::Camera::kEepromWords; ++a) {
            c.eeprom1()[size_t(a)] = uint16_t(seed + a * 7);
            c.eeprom2()[size_t(a)] = uint16_t(seed ^ (a * 13));
        }
        for (int a = 0; a < camsim::Camera::kDspWords; ++a) {
            c.dspEeprom()[size_t(a)] = uint16_t(seed + 0x100 + a);
            c.dspRegisters()[size_t(a)] = uint16_t(seed * 3 + a);
        }
        return 0;
    });
}

QStringList on(const camsim::PtyCamera &camera, int baud = 38400)
{
    return {u"--port"_s, camera.slavePath(), u"--speed"_s, QString::number(baud)};
}

int requestsOf(const camsim::PtyCamera &camera, uint8_t category)
{
    int n = 0;
    for (const Frame7 &f : camera.received())
        n += f[0] == category;
    return n;
}

} // namespace

class TstCli : public QObject
{
    Q_OBJECT
private slots:
    void detectFindsTheSpeed_data();
    void detectFindsTheSpeed();
    void readOutEqualsTheWindowsFile_data();
    void readOutEqualsTheWindowsFile();
    void playThenVerifyIntoAFreshCamera();
    void refusalMidPlaybackNamesTheLine();
    void failuresGiveTheirCodeAndOneLine_data();
    void failuresGiveTheirCodeAndOneLine();
    void unplugMidReadOutIsAPortError();
    void sendPrintsTheDecodedReply_data();
    void sendPrintsTheDecodedReply();
    void pacedReadOutTakesTheWireTime();

private:
    QTemporaryDir dir_;
};

void TstCli::detectFindsTheSpeed_data()
{
    QTest::addColumn<int>("baud");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("9600") << 9600 << 1;
    QTest::newRow("19200, two stop bits") << 19200 << 2;
    QTest::newRow("38400") << 38400 << 1;
}

void TstCli::detectFindsTheSpeed()
{
    QFETCH(int, baud);
    QFETCH(int, stopBits);
    camsim::Options o = at(baud);
    o.stopBits = stopBits;
    o.id = 5;
    camsim::PtyCamera camera(o);
    QVERIFY(camera.start());
    const Run r = cli({u"detect"_s, u"--port"_s, camera.slavePath(), u"--json"_s});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QByteArray());
    const QJsonObject j = r.json();
    QCOMPARE(j.value(u"ok"_s).toBool(), true);
    QCOMPARE(j.value(u"speed"_s).toInt(), baud);
    QCOMPARE(j.value(u"stopBits"_s).toInt(), stopBits);
    QCOMPARE(j.value(u"id"_s).toInt(), 5);
    // The search's communication-settings read answered, then the ID was read at that speed.
    const QList<Frame7> asked = camera.received();
    QVERIFY(asked.size() >= 3);
    QCOMPARE(asked.first()[1], uint8_t(0x11));
    QCOMPARE(asked.last()[1], uint8_t(0x10));
}

void TstCli::readOutEqualsTheWindowsFile_data()
{
    QTest::addColumn<QString>("memory");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("sendDefault");
    QTest::newRow("eeprom1") << u"eeprom1"_s << u"CtoP"_s << false;
    QTest::newRow("eeprom2") << u"eeprom2"_s << u"Button8"_s << false;
    QTest::newRow("dsp") << u"dsp"_s << u"CDSPtoP"_s << false;
    QTest::newRow("dsp-send default") << u"dsp-send"_s << u"CDSPSendR"_s << true;
}

void TstCli::readOutEqualsTheWindowsFile()
{
    QFETCH(QString, memory);
    QFETCH(QString, button);
    QFETCH(bool, sendDefault);
    const QString windowFile = dir_.filePath(memory + u"-window.dat"_s);
    const QString cliFile = dir_.filePath(memory + u"-cli.dat"_s);
    writeFile(cliFile, "an older file");

    SimRig rig(at(9600), 4);
    plant(rig.camera, 0x2468);
    if (!rig.openPage(Pages::EepTab)) {
        // A loaded machine: the first page's refresh outlasted the rig's wait.
        QVERIFY(rig.waitIdle(30000));
        rig.form->PageControl1->setCurrentIndex(Pages::EepTab);
        QTest::qWait(20);
        QVERIFY(rig.waitIdle(30000));
    }
    rig.w<QCheckBox>("SendDef")->setChecked(sendDefault);
    rig.dialogs.saveQueue << windowFile;
    rig.w<QPushButton>(button.toLatin1().constData())->click();
    QVERIFY(runUntil([&] { return QFile::exists(windowFile); }, 20000));
    QVERIFY(rig.waitIdle());
    delete rig.form.data();   // the port is the tool's now

    QStringList args = on(rig.camera, 9600) << u"read-out"_s << memory << cliFile;
    if (sendDefault)
        args << u"--default"_s;
    const Run r = cli(args);
    QCOMPARE(r.code, 0);
    // No bar when stderr is not a terminal.
    QCOMPARE(r.err, QByteArray());
    const QByteArray expected = readAll(windowFile);
    QVERIFY(expected.size() == 1024 * 12 || expected.size() == 257 * 12);
    QCOMPARE(readAll(cliFile), expected);
}

void TstCli::playThenVerifyIntoAFreshCamera()
{
    const QString path = dir_.filePath(u"delivery.dat"_s);
    {
        camsim::PtyCamera source;
        QVERIFY(source.start());
        plant(source, 0x1357);
        QCOMPARE(cli(on(source) << u"read-out"_s << u"eeprom1"_s << path).code, 0);
    }

    camsim::PtyCamera target;
    QVERIFY(target.start());
    plant(target, 0x0F0F);
    const uint16_t version = target.withCamera([](camsim::Camera &c) { return c.eeprom1()[0x3FF]; });
    const Run played = cli(on(target) << u"play"_s << path << u"--json"_s);
    QCOMPARE(played.code, 0);
    QCOMPARE(played.json().value(u"lines"_s).toInt(), 1024);
    QCOMPARE(played.json().value(u"end"_s).toString(), u"end record"_s);
    const auto written = target.withCamera([](camsim::Camera &c) { return c.eeprom1(); });
    for (int a = 0; a < 0x3FF; ++a)
        QCOMPARE(written[size_t(a)], uint16_t(0x1357 + a * 7));
    // The version word is not in the file: the camera keeps its own.
    QCOMPARE(written[0x3FF], version);

    const Run same = cli(on(target) << u"verify"_s << path << u"--json"_s);
    QCOMPARE(same.code, 0);
    QCOMPARE(same.json().value(u"checked"_s).toInt(), 1023);
    QVERIFY(same.json().value(u"mismatches"_s).toArray().isEmpty());
    QCOMPARE(requestsOf(target, 0x90), 1023);

    // Two words changed behind the file's back are named, address and both words.
    target.withCamera([](camsim::Camera &c) {
        c.eeprom1()[0x012] = 0xABCD;
        c.eeprom1()[0x3FE] = 0x0001;
        return 0;
    });
    const Run differ = cli(on(target) << u"verify"_s << path);
    QCOMPARE(differ.code, 1);
    const QStringList lines = QString::fromUtf8(differ.out).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], u"line 19: EEPROM 1 address 0012: file %1, camera ABCD"_s
                           .arg(QString::number(0x1357 + 0x12 * 7, 16).toUpper().rightJustified(4, u'0')));
    QVERIFY2(lines[1].startsWith(u"line 1023: EEPROM 1 address 03FE: "_s), qPrintable(lines[1]));
    QVERIFY2(differ.errLine().contains(u"2 of 1023 words differ"_s), qPrintable(differ.errLine()));
}

void TstCli::refusalMidPlaybackNamesTheLine()
{
    camsim::PtyCamera source;
    QVERIFY(source.start());
    const QString path = dir_.filePath(u"refused.dat"_s);
    QCOMPARE(cli(on(source) << u"read-out"_s << u"eeprom1"_s << path).code, 0);

    // Every write to addresses 0x100-0x1FF is refused: the first of them is line 257.
    camsim::Options o;
    o.faults.errorOn.insert(uint16_t(0x92 << 8 | 0x01));
    camsim::PtyCamera camera(o);
    QVERIFY(camera.start());
    const Run r = cli(on(camera) << u"play"_s << path << u"--json"_s);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.errLine().contains(u"refused line 257 of refused.dat"_s), qPrintable(r.errLine()));
    QCOMPARE(r.json().value(u"line"_s).toInt(), 257);
    QCOMPARE(r.json().value(u"exit"_s).toInt(), 1);
    // Nothing after the refused line, and no reset.
    QCOMPARE(requestsOf(camera, 0x92), 257);
    QCOMPARE(requestsOf(camera, 0x8F), 0);
}

void TstCli::failuresGiveTheirCodeAndOneLine_data()
{
    QTest::addColumn<QStringList>("args");     // "PORT" stands for the camera's port
    QTest::addColumn<QByteArray>("file");      // written to FILE first, when not empty
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<int>("refuse");          // category << 8 | item the camera refuses, or 0
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("says");
    const QStringList port{u"--port"_s, u"PORT"_s, u"--speed"_s, u"38400"_s};
    QTest::newRow("no port") << QStringList{u"detect"_s} << QByteArray() << -1 << 0 << 2 << u"--port DEV is needed"_s;
    QTest::newRow("unknown command") << (port + QStringList{u"copy"_s}) << QByteArray() << -1 << 0 << 2
                                     << u"unknown command 'copy'"_s;
    QTest::newRow("bad port") << QStringList{u"--port"_s, u"/dev/orvik-no-such-port"_s, u"detect"_s} << QByteArray()
                              << -1 << 0 << 3 << u"cannot open /dev/orvik-no-such-port: No such file or directory"_s;
    QTest::newRow("no camera answers") << QStringList{u"--port"_s, u"PORT"_s, u"detect"_s} << QByteArray() << 0 << 0 << 3
                                       << u"no camera answers on"_s;
    QTest::newRow("missing file") << (port + QStringList{u"play"_s, u"DIR/missing.dat"_s}) << QByteArray() << -1 << 0 << 4
                                  << u"missing.dat cannot be opened"_s;
    QTest::newRow("malformed file") << (port + QStringList{u"play"_s, u"FILE"_s}) << QByteArray("920000ABCD\r\n1234567890\r\n")
                                    << -1 << 0 << 4 << u"line 2 is not a request"_s;
    // A file that sends nothing is not a playback done.
    QTest::newRow("empty file") << (port + QStringList{u"play"_s, u"FILE"_s}) << QByteArray("\n920000ABCD\r\n") << -1
                                << 0 << 4 << u"holds no request: nothing was sent"_s;
    QTest::newRow("malformed verify") << (port + QStringList{u"verify"_s, u"FILE"_s}) << QByteArray("\x92\x00\r\n", 4)
                                      << -1 << 0 << 4 << u"not plain text"_s;
    QTest::newRow("read-out into no folder") << (port + QStringList{u"read-out"_s, u"dsp"_s, u"DIR/none/x.dat"_s})
                                             << QByteArray() << -1 << 0 << 4 << u"cannot write"_s;
    // The camera goes quiet in the middle: the old file stays.
    QTest::newRow("silent camera") << (port + QStringList{u"read-out"_s, u"eeprom1"_s, u"FILE"_s, u"--timeout"_s, u"0.3"_s})
                                   << QByteArray("kept") << 100 << 0 << 3 << u"no reply from the camera within 0.3 s"_s;
    QTest::newRow("refused read-out") << (port + QStringList{u"read-out"_s, u"eeprom1"_s, u"FILE"_s}) << QByteArray("kept")
                                      << -1 << (0x90 << 8 | 0x01) << 1
                                      << u"the camera refused the read of EEPROM 1 address 0100"_s;
}

void TstCli::failuresGiveTheirCodeAndOneLine()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, file);
    QFETCH(int, silentAfter);
    QFETCH(int, refuse);
    QFETCH(int, code);
    QFETCH(QString, says);
    camsim::Options o;
    o.faults.silentAfter = silentAfter;
    if (refuse)
        o.faults.errorOn.insert(uint16_t(refuse));
    camsim::PtyCamera camera(o);
    QVERIFY(camera.start());
    const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".dat"_s);
    if (!file.isEmpty())
        writeFile(path, file);
    for (QString &a : args)
        a = a == u"PORT"_s ? camera.slavePath() : a == u"FILE"_s ? path : a.replace(u"DIR"_s, dir_.path());
    const Run r = cli(args);
    QCOMPARE(r.code, code);
    QVERIFY2(r.errLine().startsWith(u"orvik-cli: "_s) && r.errLine().contains(says), qPrintable(r.errLine()));
    QCOMPARE(r.out, QByteArray());
    if (!file.isEmpty())
        QCOMPARE(readAll(path), file);
}

// The camera goes away in the middle of a read-out: a port error at once (not the reply
// time-out, set long here), one line naming the device, and the old file kept.
void TstCli::unplugMidReadOutIsAPortError()
{
    camsim::Options o;
    o.pace = true;
    camsim::PtyCamera camera(o);
    QVERIFY(camera.start());
    const QString path = dir_.filePath(u"unplugged.dat"_s);
    writeFile(path, "kept");
    QProcess p;
    p.start(executable(), on(camera) << u"--timeout"_s << u"60"_s << u"read-out"_s << u"eeprom1"_s << path);
    QVERIFY(p.waitForStarted());
    QTRY_VERIFY(requestsOf(camera, 0x90) > 20);
    const QString device = camera.slavePath();
    QVERIFY(camera.stop());
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitCode(), 3);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(err.count(u'\n') == 1 && err.startsWith(u"orvik-cli: port error: "_s + device), qPrintable(err));
    QCOMPARE(readAll(path), QByteArray("kept"));
}

void TstCli::sendPrintsTheDecodedReply_data()
{
    QTest::addColumn<QStringList>("request");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("meaning");
    QTest::newRow("EEPROM 1 word") << QStringList{u"90"_s, u"00"_s, u"12"_s} << 0 << u"9000 12BE EF"_s << u"EEPROM 1 read"_s;
    QTest::newRow("unknown request") << QStringList{u"0x81"_s, u"7f"_s} << 1 << u"C17F"_s << u"(error reply)"_s;
}

void TstCli::sendPrintsTheDecodedReply()
{
    QFETCH(QStringList, request);
    QFETCH(int, code);
    QFETCH(QString, reply);
    QFETCH(QString, meaning);
    camsim::PtyCamera camera;
    QVERIFY(camera.start());
    camera.withCamera([](camsim::Camera &c) { return c.eeprom1()[0x012] = 0xBEEF; });
    const Run r = cli(on(camera) << u"--json"_s << u"send"_s << request);
    QCOMPARE(r.code, code);
    const QJsonObject j = r.json();
    QCOMPARE(j.value(u"ok"_s).toBool(), code == 0);
    QVERIFY2(j.value(u"reply"_s).toString().startsWith(reply), qPrintable(j.value(u"reply"_s).toString()));
    QVERIFY2(j.value(u"meaning"_s).toString().contains(meaning), qPrintable(j.value(u"meaning"_s).toString()));
    QCOMPARE(camera.received().size(), 1);
}

void TstCli::pacedReadOutTakesTheWireTime()
{
    if (qEnvironmentVariableIsEmpty("ORVIK_MEASURE"))
        QSKIP("a timing: set ORVIK_MEASURE=1 to measure the paced EEPROM 1 read-out");
    camsim::Options o;
    o.pace = true;
    camsim::PtyCamera camera(o);
    QVERIFY(camera.start());
    const QString path = dir_.filePath(u"paced.dat"_s);
    QElapsedTimer t;
    t.start();
    const Run r = cli(on(camera) << u"--json"_s << u"read-out"_s << u"eeprom1"_s << path);
    const double process = double(t.nsecsElapsed()) / 1e6;
    QCOMPARE(r.code, 0);
    const double readOut = r.json().value(u"seconds"_s).toDouble() * 1000;
    // 1024 exchanges of a 7-byte request and a 7-byte reply, 10 bits a byte.
    const double wire = 1024 * 14 * 10 * 1000.0 / 38400;
    qInfo("orvik-cli read-out eeprom1 at 38,400 baud: %.1f ms read-out (%.1f ms with start and exit); "
          "wire time of 1024 exchanges %.1f ms (ratio %.4f); of the replies alone %.1f ms (ratio %.4f)",
          readOut, process, wire, readOut / wire, wire / 2, readOut / (wire / 2));
}

QTEST_MAIN(TstCli)
#include "tst_cli.moc"
