// The RAM page against the simulated camera: passes of two bytes per request over the
// window 0xD000-0xEFFF, the address column and the dump, the window's limits and the repeat.
#include "camera.h"
#include "pages/rampage.h"
#include "support/windowrig.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QStringList lines(const QPlainTextEdit *memo)
{
    QStringList out = memo->toPlainText().split(u'\n');
    if (out == QStringList{QString()})
        out.clear();
    return out;
}

// The addresses of the RAM reads among the requests.
QStringList readAddresses(const WindowRig &rig)
{
    QStringList out;
    for (const Frame7 &f : rig.peer.requests)
        if (f[0] == 0x98)
            out << QString::asprintf("%02X%02X", f[1], f[2]);
    return out;
}

struct Rig
{
    std::shared_ptr<camsim::Camera> camera = std::make_shared<camsim::Camera>();
    std::unique_ptr<WindowRig> rig = WindowRig::connectedTo(camera);
    RamPage *page() const { return rig->form->pages.ram; }

    bool open()
    {
        if (!rig)
            return false;
        rig->showPage(Pages::RamTab);
        return rig->settle();
    }
    // A user types the size, then the address (the pass starts at its fourth character).
    bool dump(const QString &size, const QString &address)
    {
        page()->RamCount->clear();
        QTest::keyClicks(page()->RamCount, size);
        page()->RAMRAdr->clear();
        rig->peer.requests.clear();
        QTest::keyClicks(page()->RAMRAdr, address);
        return rig->settle();
    }
};

} // namespace

class TstRam : public QObject
{
    Q_OBJECT
private slots:
    void showingThePageSendsNothing();
    void passes_data();
    void passes();
    void dumpShowsTheCameraBytes();
    void repeatRunsUntilCleared();
};

void TstRam::showingThePageSendsNothing()
{
    Rig r;
    QVERIFY(r.open());
    QVERIFY(r.rig->peer.requests.isEmpty());
}

void TstRam::passes_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");        // RAMRAdr afterwards
    QTest::addColumn<QStringList>("reads");    // the first and last address read, or none
    QTest::addColumn<int>("requests");
    QTest::addColumn<QStringList>("column");   // RdAdr
    QTest::addColumn<int>("dumpLines");        // -1: Memo1 untouched
    QTest::newRow("rounded down to 16") << u"10"_s << u"D007"_s << u"D000"_s << QStringList{u"D000"_s, u"D00E"_s} << 8
                                        << QStringList{u"D000"_s} << 1;
    QTest::newRow("two lines") << u"20"_s << u"E010"_s << u"E010"_s << QStringList{u"E010"_s, u"E02E"_s} << 16
                               << QStringList{u"E010"_s, u"E020"_s} << 2;
    QTest::newRow("24 bytes: one address, two dump lines")
        << u"18"_s << u"D100"_s << u"D100"_s << QStringList{u"D100"_s, u"D116"_s} << 12 << QStringList{u"D100"_s} << 2;
    QTest::newRow("odd size fetches one byte less")
        << u"11"_s << u"D100"_s << u"D100"_s << QStringList{u"D100"_s, u"D10E"_s} << 8 << QStringList{u"D100"_s} << 2;
    QTest::newRow("below the window") << u"10"_s << u"C000"_s << u"C000"_s << QStringList{} << 0
                                      << QStringList{u"C000"_s} << -1;
    QTest::newRow("above the window") << u"10"_s << u"F000"_s << u"F000"_s << QStringList{} << 0
                                      << QStringList{u"F000"_s} << -1;
    QTest::newRow("a pass past the end stops without display")
        << u"10"_s << u"EFF8"_s << u"EFF0"_s << QStringList{u"EFF0"_s, u"EFFE"_s} << 8 << QStringList{u"EFF0"_s} << 1;
    QTest::newRow("three characters") << u"10"_s << u"D00"_s << u"D00"_s << QStringList{} << 0 << QStringList{} << -1;
    QTest::newRow("not hexadecimal") << u"10"_s << u"D0G0"_s << u"D0G0"_s << QStringList{} << 0 << QStringList{} << -1;
    QTest::newRow("size not hexadecimal") << u"1X"_s << u"D000"_s << u"D000"_s << QStringList{} << 0 << QStringList{} << -1;
}

void TstRam::passes()
{
    QFETCH(QString, size);
    QFETCH(QString, address);
    QFETCH(QString, shown);
    QFETCH(QStringList, reads);
    QFETCH(int, requests);
    QFETCH(QStringList, column);
    QFETCH(int, dumpLines);
    Rig r;
    QVERIFY(r.open());
    r.page()->Memo1->setPlainText(u"untouched"_s);
    r.page()->RdAdr->clear();
    QVERIFY(r.dump(size, address));
    QCOMPARE(r.page()->RAMRAdr->text(), shown);
    const QStringList sent = readAddresses(*r.rig);
    QCOMPARE(sent.size(), requests);
    if (!reads.isEmpty()) {
        QCOMPARE(sent.first(), reads.first());
        QCOMPARE(sent.last(), reads.last());
    }
    QCOMPARE(lines(r.page()->RdAdr), column);
    if (dumpLines < 0)
        QCOMPARE(r.page()->Memo1->toPlainText(), u"untouched"_s);
    else if (address == u"EFF8")
        QCOMPARE(lines(r.page()->Memo1).size(), 1);
    else
        QCOMPARE(lines(r.page()->Memo1).size(), dumpLines);
    QCOMPARE(r.page()->RAMRAdr->isInvalid(), address == u"D0G0");
}

void TstRam::dumpShowsTheCameraBytes()
{
    Rig r;
    QVERIFY(r.open());
    QVERIFY(r.dump(u"20"_s, u"D100"_s));
    const QStringList dump = lines(r.page()->Memo1);
    QCOMPARE(dump.size(), 2);
    for (int line = 0; line < 2; ++line) {
        QString expected;
        for (int k = 0; k < 16; ++k)
            expected += QString::asprintf("%02X ", r.camera->ramByte(0xD100 + 16 * line + k));
        QCOMPARE(dump[line], expected);
    }
}

void TstRam::repeatRunsUntilCleared()
{
    Rig r;
    QVERIFY(r.open());
    QVERIFY(r.dump(u"4"_s, u"D000"_s));
    r.rig->peer.requests.clear();
    r.page()->RamRepeat->click();
    // Passes of two requests follow one another; the request counter at D000 moves.
    QTRY_VERIFY(readAddresses(*r.rig).size() >= 6);
    const QString before = lines(r.page()->Memo1).value(0);
    r.page()->RamRepeat->click();
    QVERIFY(r.rig->settle());
    const qsizetype stopped = r.rig->peer.requests.size();
    QVERIFY(r.rig->settle());
    QCOMPARE(r.rig->peer.requests.size(), stopped);
    QCOMPARE(stopped % 2, 0);   // the pass in progress completed
    QVERIFY(lines(r.page()->Memo1).value(0) != before);
}

QTEST_MAIN(TstRam)
#include "tst_ram.moc"
