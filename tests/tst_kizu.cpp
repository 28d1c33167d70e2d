// The Kiz page against the camera simulator: the table read and what it fills, the selection
// and the cursor, the moves with their clamps, the flag writes, 'Kizu Read', refusals, and
// text that is not hexadecimal.
#include "pages/kizupage.h"
#include "support/camerarig.h"

#include <QRadioButton>
#include <QtTest>

#include <memory>
#include <set>

using namespace Qt::StringLiterals;

namespace {

constexpr int TableRequests = 31;   // 'Kizu Setting', then the 30 table words

struct KizRig : CameraRig
{
    KizuPage *page() const { return rig->form->pages.kiz; }
    uint16_t &table(int address) { return camera->dspEeprom()[size_t(address)]; }
    // Shows the page and waits for the whole table read.
    bool show() { return CameraRig::show(Pages::KizTab, TableRequests); }
};

QString text(const QByteArray &hex)
{
    return requestText(hex);
}

QStringList tableReadFrames()
{
    QStringList out{text("9A00")};
    for (int a = 0xC0; a <= 0xDD; ++a)
        out << text("9D00" + QByteArray::number(a, 16));
    return out;
}

// The row's H, V and flag boxes as "H V ON F R" ("0040 0040 101").
QString rowState(const KizuPage *p, int n)
{
    const defect::Row &r = p->Defect[size_t(n)];
    return r.H->text() + u' ' + r.V->text() + u' ' + QChar(r.ON->isChecked() ? u'1' : u'0')
           + QChar(r.F->isChecked() ? u'1' : u'0') + QChar(r.R->isChecked() ? u'1' : u'0');
}

QString selectionState(const KizuPage *p)
{
    return p->Kizu_x->text() + u' ' + p->Kizu_y->text() + u' ' + QChar(p->Kizu_def->isChecked() ? u'1' : u'0')
           + QChar(p->Kizu_ctr->isChecked() ? u'1' : u'0') + QChar(p->Kizu_rev->isChecked() ? u'1' : u'0');
}

} // namespace

class TstKizu : public QObject
{
    Q_OBJECT
private slots:
    void tableReadFillsRows_data();
    void tableReadFillsRows();
    void wordOutsideTheTableFillsNoRow();
    void tableReadWithTheCursorOn();
    void selectionAndCursor_data();
    void selectionAndCursor();
    void moves_data();
    void moves();
    void flagBoxesWriteTheVWord_data();
    void flagBoxesWriteTheVWord();
    void kizuReadStoresTheDetectedDefect();
    void refusalEndsTheChain_data();
    void refusalEndsTheChain();
    void textThatIsNotHexSendsNothing_data();
    void textThatIsNotHexSendsNothing();
};

void TstKizu::tableReadFillsRows_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("word");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shown");   // H V ON F R of the row
    QTest::newRow("A's V word with ON and R") << 0xC1 << 0x1440 << 0 << u"0000 0040 101"_s;
    QTest::newRow("A's H word") << 0xC0 << 0x0123 << 0 << u"0123 0000 000"_s;
    QTest::newRow("H shown masked to 10 bits") << 0xC2 << 0xFFFF << 1 << u"03FF 0000 000"_s;
    QTest::newRow("O's V word with F, masked to 10 bits") << 0xDD << 0x0BFF << 14 << u"0000 03FF 010"_s;
    QTest::newRow("H's V word, all flags") << 0xCF << 0x1C05 << 7 << u"0000 0005 111"_s;
}

void TstKizu::tableReadFillsRows()
{
    QFETCH(int, address);
    QFETCH(int, word);
    QFETCH(int, row);
    QFETCH(QString, shown);
    KizRig k;
    QVERIFY(k.rig);
    k.camera->live().defectCorrection = 1;
    k.table(address) = uint16_t(word);
    QVERIFY(k.show());
    // 'Kizu Setting', then the 30 table words in order, and no write back.
    QCOMPARE(texts(k.rig->peer.requests), tableReadFrames());
    QCOMPARE(k.page()->KizuSet->itemIndex(), 1);
    QCOMPARE(rowState(k.page(), row), shown);
    // Every row was filled; the selection shows row A.
    for (int n = 0; n < defect::Count; ++n)
        QCOMPARE(k.page()->Defect[size_t(n)].V->text().size(), 4);
    QCOMPARE(k.page()->KIZU_SEL->itemIndex(), 0);
    QCOMPARE(selectionState(k.page()), rowState(k.page(), 0));

    if (const QString dir = qEnvironmentVariable("ORVIK_SHOT_DIR"); !dir.isEmpty() && row == 0 && address == 0xC1) {
        k.rig->form->resize(1280, 800);
        QTest::qWait(50);
        k.rig->form->grab().save(dir + u"/kiz.png"_s);
    }
}

void TstKizu::wordOutsideTheTableFillsNoRow()
{
    KizRig k;
    QVERIFY(k.rig);
    k.table(0xC3) = 0x0155;
    // The camera answers the read of B's V word with an address beyond the table.
    k.before = [](const Frame7 &r) -> std::optional<Frame7> {
        if (r[0] == 0x9D && r[2] == 0xC3)
            return PtyPeer::reply(0x9D, 0x01, 0xC3, 0x01, 0x55);
        return std::nullopt;
    };
    QVERIFY(k.show());
    QCOMPARE(texts(k.rig->peer.requests), tableReadFrames());
    QCOMPARE(k.page()->Defect[1].V->text(), QString());
    QCOMPARE(k.page()->Defect[2].H->text(), u"0000"_s);
}

void TstKizu::tableReadWithTheCursorOn()
{
    KizRig k;
    QVERIFY(k.rig);
    k.table(0xD1) = 0x0077;
    QVERIFY(k.show());
    k.framesOf([&] { k.rig->act(u"KIZU_SEL"_s, u"item"_s, u"4"_s); });
    k.framesOf([&] { k.page()->Kizu_cur->click(); });
    // Reading again selects 'A' while the link is busy: no cursor command, the whole table.
    k.rig->peer.requests.clear();
    k.rig->form->SW1Click();
    QVERIFY(runUntil([&] { return k.rig->idle() && k.rig->peer.requests.size() >= TableRequests; }));
    QVERIFY(k.settle());
    QCOMPARE(texts(k.rig->peer.requests), tableReadFrames());
    QCOMPARE(k.page()->KIZU_SEL->itemIndex(), 0);
    QCOMPARE(rowState(k.page(), 8), u"0000 0077 000"_s);
}

void TstKizu::selectionAndCursor_data()
{
    QTest::addColumn<bool>("cursorOn");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("frames");
    QTest::newRow("select C, cursor on") << true << u"KIZU_SEL"_s << u"item"_s << 2 << QStringList{text("9A8303")};
    QTest::newRow("select O, cursor on") << true << u"KIZU_SEL"_s << u"item"_s << 14 << QStringList{text("9A830F")};
    QTest::newRow("select C, cursor off") << false << u"KIZU_SEL"_s << u"item"_s << 2 << QStringList{};
    QTest::newRow("Cursor On ticked") << false << u"Kizu_cur"_s << u"tick"_s << 0 << QStringList{text("9A8301")};
    QTest::newRow("Cursor On unticked") << true << u"Kizu_cur"_s << u"tick"_s << 0 << QStringList{text("9A8300")};
    QTest::newRow("COFF") << true << u"COFF"_s << u"tick"_s << 0 << QStringList{text("9A8300")};
}

void TstKizu::selectionAndCursor()
{
    QFETCH(bool, cursorOn);
    QFETCH(QString, control);
    QFETCH(QString, action);
    QFETCH(int, value);
    QFETCH(QStringList, frames);
    KizRig k;
    QVERIFY(k.rig);
    for (int n = 0; n < defect::Count; ++n) {
        k.table(0xC0 + 2 * n) = uint16_t(0x100 + n);
        k.table(0xC1 + 2 * n) = uint16_t(0x0010 + n) | (n % 2 ? 0x1400 : 0x0800);
    }
    QVERIFY(k.show());
    if (cursorOn)
        k.framesOf([&] { k.page()->Kizu_cur->click(); });
    QCOMPARE(k.framesOf([&] { k.rig->act(control, action, QString::number(value)); }), frames);
    // The selection shows its row, and copying it wrote nothing back.
    const int n = k.page()->selected();
    QCOMPARE(selectionState(k.page()), rowState(k.page(), n));
    QCOMPARE(k.table(0xC1 + 2 * n), uint16_t(0x0010 + n) | (n % 2 ? 0x1400 : 0x0800));
}

void TstKizu::moves_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("moved");   // the new Kizu_x or Kizu_y text
    QTest::addColumn<QStringList>("frames");
    // The edit sends the H write, its answer the V write; the button's own H write is refused.
    QTest::newRow("RIGHT clamps at 3FF") << 1 << 5 << u"03FD"_s << u"0010"_s << u"KIZU_RIGHT"_s << u"03FF"_s
                                         << QStringList{text("9A810103FF"), text("9A82010010")};
    QTest::newRow("RIGHT by the step") << 1 << 5 << u"0100"_s << u"0010"_s << u"KIZU_RIGHT"_s << u"0105"_s
                                       << QStringList{text("9A81010105"), text("9A82010010")};
    QTest::newRow("LEFT clamps at 0") << 3 << 5 << u"0003"_s << u"0020"_s << u"KIZU_LEFT"_s << u"0000"_s
                                      << QStringList{text("9A81030000"), text("9A82030020")};
    QTest::newRow("LEFT by the step") << 0 << 7 << u"0107"_s << u"0001"_s << u"KIZU_LEFT"_s << u"0100"_s
                                      << QStringList{text("9A81000100"), text("9A82000001")};
    // The V write comes from the edit; the H write after it is refused.
    QTest::newRow("DOWN clamps at 1FF") << 2 << 9 << u"0040"_s << u"01FA"_s << u"KIZU_DOWN"_s << u"01FF"_s
                                        << QStringList{text("9A820201FF")};
    QTest::newRow("UP by the step") << 2 << 1 << u"0040"_s << u"0010"_s << u"KIZU_UP"_s << u"000F"_s
                                    << QStringList{text("9A8202000F")};
    // Y stays 0000, so the edit sends nothing and the H write goes out with its V write.
    QTest::newRow("UP stays at 0") << 2 << 1 << u"0040"_s << u"0000"_s << u"KIZU_UP"_s << u"0000"_s
                                   << QStringList{text("9A81020040"), text("9A82020000")};
    QTest::newRow("no entry selected") << -1 << 5 << u"03FD"_s << u"0010"_s << u"KIZU_RIGHT"_s << u"03FD"_s
                                       << QStringList{};
}

void TstKizu::moves()
{
    QFETCH(int, entry);
    QFETCH(int, step);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, button);
    QFETCH(QString, moved);
    QFETCH(QStringList, frames);
    KizRig k;
    QVERIFY(k.rig);
    QVERIFY(k.show());
    KizuPage *p = k.page();
    k.framesOf([&] {
        p->KIZU_SEL->setItemIndex(std::max(entry, 0));
        p->Kizu_x->setText(x);
    });
    k.framesOf([&] { p->Kizu_y->setText(y); });
    p->KIZU_STEP_UpDown->setPosition(step);
    if (entry < 0)
        p->KIZU_SEL->setItemIndex(-1);
    QCOMPARE(k.framesOf([&] { k.rig->act(button, u"press"_s, {}); }), frames);
    const bool horizontal = button == u"KIZU_RIGHT" || button == u"KIZU_LEFT";
    QCOMPARE((horizontal ? p->Kizu_x : p->Kizu_y)->text(), moved);
    if (entry >= 0)
        QCOMPARE((horizontal ? p->Defect[size_t(entry)].H : p->Defect[size_t(entry)].V)->text(), moved);
}

void TstKizu::flagBoxesWriteTheVWord_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("vWrite");
    QTest::addColumn<QString>("flags");   // ON F R of row D afterwards
    QTest::newRow("Field Rev") << u"Kizu_rev"_s << u"9A82031420"_s << u"101"_s;
    QTest::newRow("Field Ctrl") << u"Kizu_ctr"_s << u"9A82030C20"_s << u"110"_s;
    QTest::newRow("Defect On off") << u"Kizu_def"_s << u"9A82030020"_s << u"000"_s;
}

void TstKizu::flagBoxesWriteTheVWord()
{
    QFETCH(QString, box);
    QFETCH(QString, vWrite);
    QFETCH(QString, flags);
    KizRig k;
    QVERIFY(k.rig);
    k.table(0xC6) = 0x0155;
    k.table(0xC7) = 0x0420;   // D: V 0x020, ON
    QVERIFY(k.show());
    KizuPage *p = k.page();
    k.framesOf([&] { k.rig->act(u"KIZU_SEL"_s, u"item"_s, u"3"_s); });
    QCOMPARE(selectionState(p), u"0155 0020 100"_s);
    const QStringList sent = k.framesOf([&] { k.rig->act(box, u"tick"_s, {}); });
    QCOMPARE(sent, (QStringList{text("9A81030155"), text(vWrite.toLatin1())}));
    QCOMPARE(rowState(p, 3).right(3), flags);
    // The camera's table holds the new word.
    QCOMPARE(k.table(0xC7), uint16_t(QByteArray::fromHex(vWrite.toLatin1()).mid(3).toHex().toUInt(nullptr, 16)));
}

void TstKizu::kizuReadStoresTheDetectedDefect()
{
    KizRig k;
    QVERIFY(k.rig);
    k.camera->defects() = {{0x123, 0x045, 0x0077, 1, 0}, {0x200, 0x010, 0x0020}};
    k.table(0xC3) = 0x1811;   // B: F and R set, which the fetch clears
    QVERIFY(k.show());
    KizuPage *p = k.page();
    k.framesOf([&] { k.rig->act(u"KIZU_SEL"_s, u"item"_s, u"1"_s); });
    QVERIFY(runUntil([&] { return k.rig->idle(); }));
    k.rig->peer.requests.clear();
    p->KizuRead2->click();
    // Disabled until the last detection word is in.
    QVERIFY(!p->KizuRead2->isEnabled());
    QVERIFY(k.settle());
    QCOMPARE(texts(k.rig->peer.requests),
             (QStringList{text("9A01"), text("9A02"), text("9A03"), text("9A04"), text("9A05"), text("9A06"),
                          text("9A81010123"), text("9A82010445")}));
    QVERIFY(p->KizuRead2->isEnabled());
    const QStringList shown{p->kin_x1->text(), p->kin_y1->text(), p->kin_p1->text(),
                            p->kin_x2->text(), p->kin_y2->text(), p->kin_p2->text()};
    QCOMPARE(shown, (QStringList{u"0123"_s, u"0045"_s, u"0077"_s, u"0124"_s, u"0045"_s, u"0077"_s}));
    QCOMPARE(rowState(p, 1), u"0123 0045 100"_s);
    QCOMPARE(selectionState(p), u"0123 0045 100"_s);
    QCOMPARE(k.table(0xC2), uint16_t(0x0123));
    QCOMPARE(k.table(0xC3), uint16_t(0x0445));
}

void TstKizu::refusalEndsTheChain_data()
{
    QTest::addColumn<int>("refused");
    QTest::addColumn<bool>("fetch");      // 'Kizu Read' rather than the page read
    QTest::addColumn<int>("requests");
    QTest::newRow("table read stops at a refused word") << (0x9D << 8 | 0x00) << false << 2;
    QTest::newRow("page read stops at a refused setting") << (0x9A << 8 | 0x00) << false << 1;
    QTest::newRow("detection stops, Kizu Read stays disabled") << (0x9A << 8 | 0x03) << true << 3;
}

void TstKizu::refusalEndsTheChain()
{
    QFETCH(int, refused);
    QFETCH(bool, fetch);
    QFETCH(int, requests);
    KizRig k;
    QVERIFY(k.rig);
    if (fetch)
        QVERIFY(k.show());
    k.refused.insert(refused);
    QVERIFY(runUntil([&] { return k.rig->idle(); }));
    k.rig->peer.requests.clear();
    if (fetch)
        k.page()->KizuRead2->click();
    else
        k.rig->showPage(Pages::KizTab);
    QVERIFY(k.settle());
    QCOMPARE(k.rig->peer.requests.size(), requests);
    QCOMPARE(k.page()->KizuRead2->isEnabled(), !fetch);
    if (!fetch)
        QCOMPARE(k.page()->Defect[0].H->text(), QString());
}

void TstKizu::textThatIsNotHexSendsNothing_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<bool>("marked");
    QTest::newRow("X of three digits") << u"Kizu_x"_s << u"1F0"_s << QStringList{text("9A810001F0"), text("9A82000000")}
                                       << false;
    QTest::newRow("X beyond 10 bits is masked") << u"Kizu_x"_s << u"FFFF"_s
                                                << QStringList{text("9A810003FF"), text("9A82000000")} << false;
    QTest::newRow("X with a letter beyond F") << u"Kizu_x"_s << u"01G0"_s << QStringList{} << true;
    QTest::newRow("Y with a blank") << u"Kizu_y"_s << u"0 10"_s << QStringList{} << true;
    QTest::newRow("Y emptied") << u"Kizu_y"_s << QString() << QStringList{} << false;
}

void TstKizu::textThatIsNotHexSendsNothing()
{
    QFETCH(QString, edit);
    QFETCH(QString, typed);
    QFETCH(QStringList, frames);
    QFETCH(bool, marked);
    KizRig k;
    QVERIFY(k.rig);
    QVERIFY(k.show());
    auto *e = k.rig->w<kit::Edit>(edit.toLatin1().constData());
    QCOMPARE(k.framesOf([&] { e->setText(typed); }), frames);
    QCOMPARE(e->isInvalid(), marked);
    // Row A shows what the edit holds.
    QCOMPARE((edit == u"Kizu_x" ? k.page()->Defect[0].H : k.page()->Defect[0].V)->text(), typed);
}

QTEST_MAIN(TstKizu)
#include "tst_kizu.moc"
