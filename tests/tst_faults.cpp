// Line faults through the window on a real pty: replies nobody asked for, a camera that
// stops answering, a search that gives up, open errors, unplugs and re-plugs, line noise,
// and a refusal in the middle of a chain.
#include "support/camerarig.h"
#include "support/windowrig.h"

#include "link/categories.h"
#include "pages/easypage.h"
#include "pages/eeppage.h"
#include "pages/page.h"
#include "pages/toolpage.h"
#include "serial/tcomm.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A connected window whose camera then falls silent.
std::unique_ptr<WindowRig> connectedThenSilent()
{
    // Data echoed too: the title chain reads the character the reply names.
    auto rig = WindowRig::connectedTo([](const Frame7 &r) { return PtyPeer::reply(r[0], r[1], r[2], r[3], r[4]); });
    if (rig)
        rig->peer.script = [](const Frame7 &) { return std::nullopt; };
    return rig;
}

QByteArray bytesOf(const Frame7 &f)
{
    return QByteArray(reinterpret_cast<const char *>(f.data()), 7);
}

int countIn(const char *folder)
{
    return int(QDir(QString::fromLatin1(folder)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

qint64 rssKb()
{
    QFile f(u"/proc/self/status"_s);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

bool waitCursor()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

// Counts the requests the link writes while f runs.
int framesSentBy(Link &link, const std::function<void()> &f)
{
    int sent = 0;
    const auto c = QObject::connect(&link, &Link::frameSent, [&sent] { ++sent; });
    f();
    QObject::disconnect(c);
    return sent;
}

} // namespace

class TstFaults : public QObject
{
    Q_OBJECT
private slots:
    void repliesAreAppliedWithoutWritingBack_data();
    void repliesAreAppliedWithoutWritingBack();
    void anUnansweredRequestIsToldAbout_data();
    void anUnansweredRequestIsToldAbout();
    void aSearchThatGivesUpFreesTheLink();
    void oneBoxPerSearchForTheSameOpenError();
    void unplug_data();
    void unplug();
    void replugAndCancelThreeTimesKeepsResources();
    void lineNoiseWhileAPageIsShown();
    void aRefusalInTheMiddleOfAChainFreesTheLink();
};

// Every row of every decoder table, and the replies decoders handle outside their tables,
// arriving with nothing outstanding: applying them may send at most the chain's next
// request, and nothing at all where the row ends the chain.
void TstFaults::repliesAreAppliedWithoutWritingBack_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("1:1") << 0;
    QTest::newRow("1:N") << 1;
}

void TstFaults::repliesAreAppliedWithoutWritingBack()
{
    QFETCH(int, mode);
    auto rig = connectedThenSilent();
    QVERIFY(rig);
    TForm1 &form = *rig->form;
    Link &link = form.link;
    rig->quietly([&] { form.pages.easy->CommMode->setItemIndex(mode); });

    struct Kind
    {
        int tab;
        std::function<void()> set;
    };
    std::vector<Kind> kinds;
    for (int tab = 0; tab < Pages::Count; ++tab)
        kinds.push_back({tab, nullptr});
    kinds.push_back({Pages::EepTab, [&] { form.pages.eep->setTransactionKind(EepPage::Transaction::Status); }});
    kinds.push_back({Pages::EepTab, [&] { form.pages.eep->setTransactionKind(EepPage::Transaction::DigitalPtz); }});
    // Replies the written-out decoders take: memory words, registers, the defect H write.
    const std::vector<std::pair<uint8_t, uint8_t>> outsideTables = {
        {cat::Eeprom1Read, 0x00}, {cat::Eeprom1Read, 0x03}, {cat::Eeprom1Write, 0x00}, {cat::DspRead, 0x06},
        {cat::DspRead, 0x67}, {cat::DspWrite, 0x06}, {cat::Eeprom2Read, 0x00}, {cat::DspEepromRead, 0x00},
        {cat::Lens, 0xC0}, {cat::Defect, 0x81}, {cat::RamRead, 0xD0},
    };

    QStringList failures;
    int replayed = 0;
    auto arrives = [&](const Frame7 &f) {
        link.release();
        link.receiver().setIdle();
        const int sent = framesSentBy(link, [&] { link.receiveBytes(bytesOf(f)); });
        // Let the pty take what was written; no timer of the page runs in between.
        QCoreApplication::processEvents();
        return sent;
    };
    for (const Kind &k : kinds) {
        Page *page = form.pages.all()[size_t(k.tab)];
        form.dispatch.setShown(page);
        if (k.set)
            k.set();
        // Any reply shows which tables this decoder uses.
        arrives(PtyPeer::reply(0x9F, 0x7F));
        std::vector<DecodeStep> rows;
        for (const Page::SeenTable &t : Page::decodeTablesSeen())
            if (t.page == page)
                rows.insert(rows.end(), t.steps.begin(), t.steps.end());
        for (const auto &[category, item] : outsideTables)
            rows.push_back({category, item, nullptr, [](Pages &, const ResponseFrame &) {}});
        for (const DecodeStep &row : rows) {
            // Two data patterns, so most controls the reply sets really change.
            for (const Frame7 &f : {PtyPeer::reply(row.category, row.item, 0x01, 0x01, 0x01),
                                    PtyPeer::reply(row.category, row.item, 0x02, 0xFF, 0x7E)}) {
                if (k.set)
                    k.set();
                const int sent = arrives(f);
                ++replayed;
                if (sent > (row.next ? 1 : 0))
                    failures << u"%1 on %2: %3 requests"_s.arg(frameText(f), page->objectName()).arg(sent);
            }
        }
    }
    QVERIFY2(replayed > 600, qPrintable(QString::number(replayed)));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
}

// A request that gets no good reply: after 2 s panel 0 says so; the next good reply or
// Cancel takes the notice away. The link itself keeps waiting.
void TstFaults::anUnansweredRequestIsToldAbout_data()
{
    QTest::addColumn<QByteArray>("answer");   // what the camera sends back
    QTest::addColumn<bool>("cancel");         // Cancel ends it (else a late good reply)
    const Frame7 good = PtyPeer::reply(0x86, 0x00);
    Frame7 bad = good;
    bad[6] ^= 0x55;
    QTest::newRow("silence, then a late reply") << QByteArray() << false;
    QTest::newRow("a bad checksum, then Cancel") << bytesOf(bad) << true;
    QTest::newRow("a cut-short frame, then Cancel") << bytesOf(good).left(4) << true;
}

void TstFaults::anUnansweredRequestIsToldAbout()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, cancel);
    auto rig = connectedThenSilent();
    QVERIFY(rig);
    TForm1 &form = *rig->form;
    rig->showPage(Pages::OthTab);
    QTRY_COMPARE(rig->peer.countOf(0x86, 0x00), 1);
    const QString before = form.link.panel(0);
    if (!answer.isEmpty())
        rig->peer.sendRaw(answer);
    QVERIFY(WindowRig::waitFor([&] { return form.Panel[0]->text() == Connection::noAnswerText(); }, 6000));
    QVERIFY(!form.link.Trans_chk());
    if (cancel) {
        form.CancelPush->click();
        QCOMPARE(form.Panel[0]->text(), before);
        QVERIFY(form.link.Trans_chk());
    } else {
        rig->peer.sendFrame(0x86, 0x00);
        QVERIFY(WindowRig::waitFor([&] { return form.Panel[0]->text() != Connection::noAnswerText(); }));
        QCOMPARE(form.Panel[0]->text(), u"Comm. Connecting"_s);
    }
    QVERIFY(!form.connection->noAnswerShown());
}

void TstFaults::aSearchThatGivesUpFreesTheLink()
{
    WindowRig rig;
    rig.peer.script = [](const Frame7 &) { return std::nullopt; };
    Connection &c = *rig.form->connection;
    c.PONTimer1->stop();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        c.PONTimer1Timer();
        QVERIFY(!rig.idle() && waitCursor());
    }
    c.PONTimer1Timer();
    QCOMPARE(rig.form->Panel[0]->text(), u"Not Connect"_s);
    QVERIFY(rig.idle());
    QVERIFY(!waitCursor());
    QVERIFY(!c.PONTimer1->isActive());
}

void TstFaults::oneBoxPerSearchForTheSameOpenError()
{
    ScriptedDialogs dialogs;
    PortMap::setPath(1, "/nonexistent/orvik-faults");
    TForm1 form(0, 1);
    Connection &c = *form.connection;
    c.PONTimer1->stop();
    const int before = form.traceLog.count();
    // As the timer runs each attempt: inside the link's guard.
    for (int attempt = 1; attempt <= 3; ++attempt)
        form.link.guarded([&] { c.PONTimer1Timer(); });
    QCOMPARE(dialogs.exceptions.size(), 1);
    int traced = 0;
    for (int i = before; i < form.traceLog.count(); ++i)
        traced += form.traceLog.at(i).kind == trace::Kind::Error;
    QCOMPARE(traced, 3);
    // A new search says it again.
    form.CancelPush->click();
    c.PONTimer1->stop();
    form.link.guarded([&] { c.PONTimer1Timer(); });
    QCOMPARE(dialogs.exceptions.size(), 2);
}

// The device goes away: one report that says Cancel reopens it, panel 0 says the line is
// gone (and stays so), and a user action afterwards is refused with the port's own error.
void TstFaults::unplug_data()
{
    QTest::addColumn<bool>("outstanding");
    QTest::newRow("while idle, then a user action") << false;
    QTest::newRow("with a request outstanding") << true;
}

void TstFaults::unplug()
{
    QFETCH(bool, outstanding);
    auto rig = connectedThenSilent();
    QVERIFY(rig);
    TForm1 &form = *rig->form;
    if (outstanding) {
        form.SW1Click();
        QVERIFY(!rig->idle());
    } else {
        form.link.release();
    }
    rig->peer.hangUp();
    QVERIFY(WindowRig::waitFor([&] { return !rig->dialogs.exceptions.isEmpty(); }, 3000));
    QTest::qWait(2500);
    QCOMPARE(rig->dialogs.exceptions.size(), 1);
    QVERIFY(rig->dialogs.exceptions.first().contains(u"Cancel reopens the device"_s));
    QCOMPARE(form.Panel[0]->text(), Connection::lineGoneText());
    QVERIFY(!form.Comm1.IsOpen());
    QVERIFY(!form.connection->PONTimer1->isActive());
    if (!outstanding) {
        kit::guarded([&] { form.SW1Click(); });
        // Refused by the closed port, said in a box; the panel keeps saying why.
        QCOMPARE(rig->dialogs.exceptions.size(), 2);
        QCOMPARE(form.Panel[0]->text(), Connection::lineGoneText());
    }
}

void TstFaults::replugAndCancelThreeTimesKeepsResources()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(u"ttyCamera"_s);
    const auto echo = [](const Frame7 &r) -> std::optional<Frame7> { return PtyPeer::reply(r[0], r[1], r[2], r[3], r[4]); };
    auto peer = std::make_unique<PtyPeer>();
    peer->script = echo;
    QVERIFY(QFile::link(peer->path(), device));
    WindowRig rig;
    PortMap::setPath(1, device.toStdString());
    Connection &c = *rig.form->connection;
    auto connect = [&] {
        c.PONTimer1->stop();
        c.PONTimer1Timer();
        if (!WindowRig::waitFor([&] { return c.PONTimer2->isActive(); }, 3000))
            return false;
        c.PONTimer2->stop();
        c.PONTimer2Timer();
        return rig.waitIdle();
    };
    QVERIFY(connect());
    const int fds = countIn("/proc/self/fd");
    const int threads = countIn("/proc/self/task");
    for (int round = 1; round <= 3; ++round) {
        peer->hangUp();
        QVERIFY(WindowRig::waitFor([&] { return rig.dialogs.exceptions.size() == round; }, 3000));
        peer = std::make_unique<PtyPeer>();
        peer->script = echo;
        QVERIFY(QFile::remove(device) && QFile::link(peer->path(), device));
        rig.form->CancelPush->click();
        QVERIFY2(connect(), qPrintable(u"round %1"_s.arg(round)));
        QVERIFY(rig.form->Comm1.IsOpen());
    }
    QCOMPARE(countIn("/proc/self/fd"), fds);
    QCOMPARE(countIn("/proc/self/task"), threads);
}

// 1 MiB of random bytes while the Oth page is shown: the good frames that come out of it
// by chance are applied without a write, and memory stays flat.
void TstFaults::lineNoiseWhileAPageIsShown()
{
    auto rig = connectedThenSilent();
    QVERIFY(rig);
    TForm1 &form = *rig->form;
    // '1:N': nothing re-arms the link after a bad frame, so the replies meet an idle link.
    rig->quietly([&] {
        form.pages.easy->CommMode->setItemIndex(1);
        rig->showPage(Pages::OthTab);
    });
    form.link.release();
    int writes = 0;
    int frames = 0;
    QObject::connect(&form.link, &Link::frameSent, &form, [&](const CommandFrame &f) {
        writes += (f[0] != cat::Other || (f[1] & 0x80));
        ++frames;
    });
    int replies = 0;
    bool marked = false;
    const Frame7 marker = PtyPeer::reply(0x86, 0x7E, 0x12, 0x34, 0x56);
    QObject::connect(&form.link, &Link::frameReceived, &form, [&](const ResponseFrame &r) {
        ++replies;
        marked = marked || r.bytes == marker;
    });
    auto noise = [&](quint32 seed) {
        QByteArray bytes(1024 * 1024, Qt::Uninitialized);
        QRandomGenerator rng(seed);
        for (char &b : bytes)
            b = char(rng.generate());
        // Every 4 KiB a reply of the page's own, so applies happen among the noise.
        static const uint8_t items[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x09, 0x10, 0x11, 0x0A, 0x82, 0x85};
        for (qsizetype at = 4096; at + 15 < bytes.size(); at += 4096) {
            const Frame7 f = PtyPeer::reply(cat::Other, items[size_t(at / 4096) % std::size(items)],
                                            uint8_t(rng.generate()), uint8_t(rng.generate()), uint8_t(rng.generate()));
            bytes.replace(at, 15, QByteArray(QByteArray(8, '\x41') + bytesOf(f)));
        }
        // Stray bytes bring the receiver back to Idle, then a frame marks the end.
        bytes += QByteArray(8, '\x41') + bytesOf(marker);
        marked = false;
        rig->peer.sendRaw(bytes);
        return WindowRig::waitFor([&] { return marked; }, 180000);
    };
    // A first MiB fills every bounded store (the trace ring, panel 2); the second must not grow.
    QVERIFY(noise(1));
    [[maybe_unused]] const qint64 rss = rssKb();
    const int repliesBefore = replies;
    QVERIFY(noise(2));
    QVERIFY2(replies > repliesBefore + 200, "the page's replies come through the noise");
    QCOMPARE(writes, 0);
    QVERIFY(frames > 0);
#ifndef __SANITIZE_ADDRESS__
    // (AddressSanitizer keeps freed memory in quarantine: the resident size says nothing there.)
    QVERIFY2(rssKb() - rss < 8 * 1024, qPrintable(u"%1 kB more"_s.arg(rssKb() - rss)));
#endif
    QVERIFY(form.link.panel(2).size() <= 4096);
}

void TstFaults::aRefusalInTheMiddleOfAChainFreesTheLink()
{
    CameraRig cam;
    QVERIFY(cam.rig);
    cam.refused.insert(0x86 << 8 | 0x03);
    QVERIFY(cam.show(Pages::OthTab, 4));
    QVERIFY(cam.settle());
    QCOMPARE(cam.rig->requestTexts(), (QStringList{requestText("8600"), requestText("8601"), requestText("8602"),
                                                   requestText("8603")}));
    QVERIFY(!waitCursor());
    // The page reads again from the start on LOAD, up to the same refusal.
    cam.rig->peer.requests.clear();
    cam.rig->form->SW1Click();
    QVERIFY(cam.settle());
    QCOMPARE(cam.rig->peer.requests.size(), 4);
}

QTEST_MAIN(TstFaults)
#include "tst_faults.moc"
