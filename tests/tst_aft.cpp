// The AFT page against a camera on a pty: the reading chain of four requests and the ring log
// it fills, the log file byte for byte (after the ring wraps too), the save and overwrite
// dialogs, write failures, the focus drive, and a focus sweep on the simulated camera.
#include "pages/aftpage.h"
#include "support/camerarig.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

struct Reading
{
    uint16_t focus;
    uint32_t bpf1, bpf2, vbpf;
};

// The camera answers readings from `reading(n)` (n counts the focus reads from 0); the focus
// read number `stopAt` is refused, which ends a repeated chain there.
struct AftRig : CameraRig
{
    std::function<Reading(int)> reading = [](int n) {
        return Reading{uint16_t(n), uint32_t(n), uint32_t(2 * n), uint32_t(3 * n)};
    };
    int started = 0;
    int stopAt = -1;
    QTemporaryDir dir;

    AftRig()
    {
        before = [this](const Frame7 &r) -> std::optional<Frame7> {
            if (r[0] != 0x83 || r[1] < 0x30 || r[1] > 0x33)
                return std::nullopt;
            if (r[1] == 0x30) {
                if (started == stopAt)
                    return PtyPeer::reply(0xC3, 0x30);
                ++started;
            }
            const Reading v = reading(started - 1);
            const auto value = [&](uint32_t x) {
                return PtyPeer::reply(0x83, r[1], uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x));
            };
            switch (r[1]) {
            case 0x30: return PtyPeer::reply(0x83, 0x30, uint8_t(v.focus >> 8), uint8_t(v.focus));
            case 0x31: return value(v.bpf1);
            case 0x32: return value(v.bpf2);
            default: return value(v.vbpf);
            }
        };
    }
    AftPage *page() const { return rig->form->pages.aft; }
    // Shows the page: its first reading, of `requests` requests.
    bool open(int requests = 4) { return rig && show(Pages::AftTab, requests); }
    bool get()
    {
        page()->AFT_Get->click();
        return settle();
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    // FILE into `name`, answered Yes to any question.
    QByteArray writeFile(const QString &name)
    {
        rig->dialogs.saveQueue = {path(name)};
        rig->dialogs.answer = Dialogs::Answer::Yes;
        page()->AFT_File->click();
        return contents(name);
    }
    QByteArray contents(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
};

// A focus position of -999 to 9999 as the page shows it.
QString focusText(int position)
{
    return position < 0 ? QString::asprintf("-%03d", -position) : QString::asprintf("%04d", position);
}

// The file line of a reading whose focus is within -999 to 9999.
QByteArray line(const Reading &v)
{
    return QString::asprintf("%s %08u %08u %08u %08u\r\n", qPrintable(focusText(int16_t(v.focus))), v.bpf1, v.bpf2,
                             v.vbpf, v.bpf1 + v.bpf2 + v.vbpf)
        .toLatin1();
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

} // namespace

Q_DECLARE_METATYPE(Reading)

class TstAft : public QObject
{
    Q_OBJECT
private slots:
    void readingFillsControlsAndLine_data();
    void readingFillsControlsAndLine();
    void ringWrapsAndFileHoldsRows0To999();
    void interruptedReadingIsOverwritten();
    void fileDialogs_data();
    void fileDialogs();
    void unwritablePath_data();
    void unwritablePath();
    void focusDriveRefreshesNothing_data();
    void focusDriveRefreshesNothing();
    void focusSweepShowsAPeak();
};

void TstAft::readingFillsControlsAndLine_data()
{
    QTest::addColumn<Reading>("reading");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("500 and 1, 2, 3") << Reading{0x01F4, 1, 2, 3} << QByteArray("0500 00000001 00000002 00000003 00000006\r\n");
    QTest::newRow("negative focus") << Reading{0xFFCE, 0x0A0B0C, 0, 0x010000}
                                    << QByteArray("-050 00658188 00000000 00065536 00723724\r\n");
    QTest::newRow("24-bit maxima, focus beyond 9999")
        << Reading{0x7FFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF} << QByteArray("-767 16777215 16777215 16777215 50331645\r\n");
    QTest::newRow("most negative focus") << Reading{0x8000, 0, 0, 0} << QByteArray("-768 00000000 00000000 00000000 00000000\r\n");
}

void TstAft::readingFillsControlsAndLine()
{
    QFETCH(Reading, reading);
    QFETCH(QByteArray, expected);
    AftRig r;
    r.reading = [reading](int) { return reading; };
    QVERIFY(r.open());
    QCOMPARE(texts(r.rig->peer.requests), requestTexts({"8330", "8331", "8332", "8333"}));
    const QList<QByteArray> fields = expected.trimmed().split(' ');
    const AftPage *p = r.page();
    QCOMPARE(p->AFT_Focus->text().toLatin1(), fields[0]);
    QCOMPARE(p->AFT_BPF1->text().toLatin1(), fields[1]);
    QCOMPARE(p->AFT_BPF2->text().toLatin1(), fields[2]);
    QCOMPARE(p->AFT_VBPF->text().toLatin1(), fields[3]);
    QCOMPARE(p->AFT_SUM->text().toLatin1(), fields[4]);
    QCOMPARE(r.writeFile(u"one.txt"_s), expected);
    QVERIFY(r.rig->dialogs.messages.isEmpty());
    QCOMPARE(p->AFTFName->text(), r.path(u"one.txt"_s));
    // Nothing of the reading was written back to the camera.
    QCOMPARE(r.rig->peer.requests.size(), 4);
}

void TstAft::ringWrapsAndFileHoldsRows0To999()
{
    AftRig r;
    QVERIFY(r.open());
    // A few readings first: the file holds them in order.
    QVERIFY(r.get());
    QVERIFY(r.get());
    QCOMPARE(r.writeFile(u"log.txt"_s), line(r.reading(0)) + line(r.reading(1)) + line(r.reading(2)));

    // Repeat to 1002 readings in all: the ring of 1001 rows wraps, row 0 holds the last.
    r.stopAt = 1002;
    r.page()->AFT_Rep->setChecked(true);
    r.page()->AFT_Get->click();
    QElapsedTimer t;
    t.start();
    const bool done = runUntil([&] { return r.started == 1002; }, 120000);
    qInfo() << r.started << "readings in" << t.elapsed() << "ms";
    QVERIFY(done);
    QVERIFY(r.settle());
    QCOMPARE(r.page()->AFT_LogIndex, 1);
    QCOMPARE(r.page()->AFT_LogCount, 1002u);
    QCOMPARE(texts(r.rig->peer.requests.mid(r.rig->peer.requests.size() - 2)), requestTexts({"8333", "8330"}));

    QByteArray expected = line(r.reading(1001));
    for (int n = 1; n < 1000; ++n)
        expected += line(r.reading(n));
    r.rig->dialogs.messages.clear();
    QCOMPARE(r.writeFile(u"log.txt"_s), expected);
    QCOMPARE(r.rig->dialogs.messages.size(), 1);   // the overwrite question
    QCOMPARE(r.page()->AFT_LogCount, 1000u);

    // The next reading goes to row 1 and the file still ends at row 999.
    r.page()->AFT_Rep->setChecked(false);
    r.stopAt = -1;
    QVERIFY(r.get());
    QCOMPARE(r.page()->AFT_LogIndex, 2);
    QCOMPARE(r.page()->AFT_LogCount, 1001u);
    expected.replace(42, 42, line(r.reading(1002)));
    QCOMPARE(r.writeFile(u"log.txt"_s), expected);
}

void TstAft::interruptedReadingIsOverwritten()
{
    AftRig r;
    r.refused = {0x8332};
    QVERIFY(r.open(3));
    QCOMPARE(texts(r.rig->peer.requests), requestTexts({"8330", "8331", "8332"}));
    QCOMPARE(r.page()->AFT_LogCount, 0u);
    r.refused.clear();
    QVERIFY(r.get());
    QCOMPARE(r.page()->AFT_LogIndex, 1);
    QCOMPARE(r.writeFile(u"log.txt"_s), line(r.reading(1)));
}

void TstAft::fileDialogs_data()
{
    QTest::addColumn<int>("readings");
    QTest::addColumn<bool>("countReset");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("chosen");       // the save dialog names the file (else cancelled)
    QTest::addColumn<bool>("yes");          // the answer to the overwrite question
    QTest::addColumn<bool>("dialogShown");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::newRow("empty log") << 0 << false << true << true << true << false << false << false;
    QTest::newRow("after Count Reset") << 2 << true << true << true << true << false << false << false;
    QTest::newRow("cancelled") << 1 << false << true << false << true << true << false << false;
    QTest::newRow("overwrite: No") << 1 << false << true << true << false << true << true << false;
    QTest::newRow("overwrite: Yes") << 1 << false << true << true << true << true << true << true;
    QTest::newRow("new file") << 2 << false << false << true << false << true << false << true;
}

void TstAft::fileDialogs()
{
    QFETCH(int, readings);
    QFETCH(bool, countReset);
    QFETCH(bool, existing);
    QFETCH(bool, chosen);
    QFETCH(bool, yes);
    QFETCH(bool, dialogShown);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    AftRig r;
    r.stopAt = readings;
    QVERIFY(r.open(readings > 0 ? 4 : 1));
    for (int n = 1; n < readings; ++n)
        QVERIFY(r.get());
    QCOMPARE(r.page()->AFT_LogCount, uint32_t(readings));
    const QString shown = r.page()->AFT_Focus->text();
    if (countReset) {
        r.rig->peer.requests.clear();
        r.page()->AFT_CRS->click();
        QVERIFY(r.settle());
        QVERIFY(r.rig->peer.requests.isEmpty());
        QCOMPARE(r.page()->AFT_LogIndex, 0);
        QCOMPARE(r.page()->AFT_Focus->text(), shown);
    }
    const QString path = r.path(u"aft.log"_s);
    if (existing)
        writeText(path, "old\r\n");
    r.page()->AFTFName->setText(u"before"_s);
    r.rig->dialogs.saveQueue = {chosen ? path : QString(), u"unused"_s};
    r.rig->dialogs.answer = yes ? Dialogs::Answer::Yes : Dialogs::Answer::No;
    r.page()->AFT_File->click();

    QCOMPARE(r.rig->dialogs.saveQueue.size(), dialogShown ? 1 : 2);
    QCOMPARE(r.rig->dialogs.messages.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(r.rig->dialogs.messages[0].text, u"Do you really want to over write aft.log?"_s);
        QCOMPARE(r.rig->dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    }
    QByteArray expected = existing ? QByteArray("old\r\n") : QByteArray("<none>");
    if (written) {
        expected.clear();
        for (int n = 0; n < readings; ++n)
            expected += line(r.reading(n));
    }
    QCOMPARE(r.contents(u"aft.log"_s), expected);
    QCOMPARE(r.page()->AFTFName->text(), written ? path : u"before"_s);
    QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), existing || written ? QStringList{u"aft.log"_s} : QStringList{});
}

void TstAft::unwritablePath_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("folder");
    QTest::newRow("in a folder that does not exist") << u"missing/aft.log"_s << false;
    QTest::newRow("a folder's name") << u"folder"_s << true;
}

void TstAft::unwritablePath()
{
    QFETCH(QString, name);
    QFETCH(bool, folder);
    AftRig r;
    QVERIFY(r.open());
    if (folder)
        QVERIFY(QDir(r.dir.path()).mkdir(name));
    r.writeFile(name);
    const auto &shown = r.rig->dialogs.messages;
    QCOMPARE(shown.size(), folder ? 2 : 1);
    QCOMPARE(shown.last().text, u"File write Error occured"_s);
    QCOMPARE(shown.last().caption, u"File.ERR"_s);
    QCOMPARE(shown.last().buttons, Dialogs::Buttons::AbortRetryIgnore);
    QCOMPARE(r.page()->AFTFName->text(), r.path(name));
    QCOMPARE(QFileInfo(r.path(name)).isDir(), folder);
    // Nothing is left behind, and the log still writes where it can.
    QCOMPARE(QDir(r.dir.path()).entryList(QDir::Files), QStringList{});
    QCOMPARE(r.writeFile(u"ok.log"_s), line(r.reading(0)));
}

void TstAft::focusDriveRefreshesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("frame");
    QTest::newRow("AF") << u"AFT_AF"_s << requestText("8389");
    QTest::newRow("+1") << u"AFT_PF"_s << requestText("83920001");
    QTest::newRow("-1") << u"AFT_MF"_s << requestText("83930001");
}

void TstAft::focusDriveRefreshesNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, frame);
    AftRig r;
    r.before = nullptr;   // the simulated camera answers every item
    QVERIFY(r.open());
    const QString focus = r.page()->AFT_Focus->text();
    const uint32_t count = r.page()->AFT_LogCount;
    auto *b = r.rig->form->findChild<QAbstractButton *>(button);
    QVERIFY(b);
    QCOMPARE(r.framesOf([b] { b->click(); }), QStringList{frame});
    QCOMPARE(r.page()->AFT_Focus->text(), focus);
    QCOMPARE(r.page()->AFT_LogCount, count);
}

void TstAft::focusSweepShowsAPeak()
{
    AftRig r;
    r.before = nullptr;
    r.camera->setClock([] { return int64_t(0); });
    QVERIFY(r.open());
    const int sharp = r.camera->lens().sharpFocus();
    const int offsets[] = {-400, -150, -40, -1, 0, 1, 40, 150, 400};
    QList<qlonglong> sums;
    for (int d : offsets) {
        r.camera->lensNow().focus.position = sharp + d;
        QVERIFY(r.get());
        QCOMPARE(r.page()->AFT_Focus->text(), focusText(sharp + d));
        sums << r.page()->AFT_SUM->text().toLongLong();
    }
    const qsizetype peak = std::size(offsets) / 2;
    for (qsizetype i = 0; i < peak; ++i) {
        QVERIFY2(sums[i] < sums[i + 1], qPrintable(QString::number(i)));
        QVERIFY2(sums[sums.size() - 1 - i] < sums[sums.size() - 2 - i], qPrintable(QString::number(i)));
    }
    // "+1" moves the focus one step: the next reading shows it.
    r.page()->AFT_PF->click();
    QVERIFY(r.settle());
    QVERIFY(r.get());
    QCOMPARE(r.page()->AFT_Focus->text(), focusText(sharp + 401));
}

QTEST_MAIN(TstAft)
#include "tst_aft.moc"
