#include "pages/aftpage.h"

#include "pages/pages.h"

#include "pages/transferui.h"

#include "link/categories.h"
#include "link/convert.h"
#include "link/link.h"
#include "link/log.h"
#include "widgets/dialogs.h"

#include <QGridLayout>
#include <QSaveFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

AftPage::AftPage(Link &l, Pages &p) : Page(l, p, "AFT", QStringLiteral("AFT"))
{
    for (Row &row : AFT_Log)
        row.fill(' ');
}

void AftPage::layoutControls()
{
    auto *reading = kit::groupBox(this, nullptr, u"AF Reading"_s);
    auto *grid = new QGridLayout(reading);
    AFT_Focus = kit::edit(reading, "AFT_Focus", {}, 4);
    AFT_BPF1 = kit::edit(reading, "AFT_BPF1", {}, 8);
    AFT_BPF2 = kit::edit(reading, "AFT_BPF2", {}, 8);
    AFT_VBPF = kit::edit(reading, "AFT_VBPF", {}, 8);
    AFT_SUM = kit::edit(reading, "AFT_SUM", {}, 8);
    const std::pair<QString, kit::Edit *> values[] = {
        {u"Focus"_s, AFT_Focus}, {u"BPF1"_s, AFT_BPF1}, {u"BPF2"_s, AFT_BPF2},
        {u"VBPF"_s, AFT_VBPF},   {u"SUM"_s, AFT_SUM},
    };
    int row = 0;
    for (const auto &[caption, edit] : values) {
        grid->addWidget(kit::label(reading, nullptr, caption), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    AFT_Get = kit::button(reading, "AFT_Get", u"GET"_s);
    AFT_Rep = kit::checkBox(reading, "AFT_Rep", u"Repeat"_s);
    auto *get = new QHBoxLayout;
    get->addWidget(AFT_Get);
    get->addWidget(AFT_Rep);
    get->addStretch();
    grid->addLayout(get, row, 0, 1, 2);

    auto *focus = kit::groupBox(this, nullptr, u"Focus"_s);
    auto *focusRow = new QHBoxLayout(focus);
    AFT_AF = kit::button(focus, "AFT_AF", u"AF"_s);
    AFT_MF = kit::button(focus, "AFT_MF", u"-1"_s);
    AFT_PF = kit::button(focus, "AFT_PF", u"+1"_s);
    focusRow->addWidget(AFT_AF);
    focusRow->addWidget(AFT_MF);
    focusRow->addWidget(AFT_PF);
    focusRow->addStretch();

    auto *log = kit::groupBox(this, nullptr, u"Log"_s);
    auto *logColumn = new QVBoxLayout(log);
    AFT_CRS = kit::button(log, "AFT_CRS", u"Count Reset"_s);
    AFT_File = kit::button(log, "AFT_File", u"FILE"_s);
    auto *logButtons = new QHBoxLayout;
    logButtons->addWidget(AFT_CRS);
    logButtons->addWidget(AFT_File);
    logButtons->addStretch();
    logColumn->addLayout(logButtons);
    AFTFName = kit::panel(log, "AFTFName");
    AFTFName->setMinimumWidth(360);
    logColumn->addWidget(AFTFName);

    auto *right = new QVBoxLayout;
    right->addWidget(focus);
    right->addWidget(log);
    right->addStretch();

    auto *page = new QHBoxLayout(this);
    page->addWidget(reading, 0, Qt::AlignTop | Qt::AlignLeft);
    page->addLayout(right);
    page->addStretch();
}

void AftPage::connectHandlers()
{
    kit::connect(AFT_Get, this, &AftPage::AFT_GetClick);
    kit::connect(AFT_AF, this, &AftPage::AFT_AFClick);
    kit::connect(AFT_PF, this, &AftPage::AFT_PFClick);
    kit::connect(AFT_MF, this, &AftPage::AFT_MFClick);
    kit::connect(AFT_CRS, this, &AftPage::AFT_CRSClick);
    kit::connect(AFT_File, this, &AftPage::AFT_FileClick);
}

void AftPage::resetState()
{
    AFT_LogIndex = 0;
    AFT_LogCount = 0;
}

// ---------------------------------------------------------------- the reading chain

void AftPage::PageCheck()
{
    AFTRead();
}

void AftPage::AFTRead() { link.request(cat::Lens, 0x30, 1); }
void AftPage::AFTRead1() { link.request(cat::Lens, 0x31, 1); }
void AftPage::AFTRead2() { link.request(cat::Lens, 0x32, 1); }
void AftPage::AFTRead3() { link.request(cat::Lens, 0x33, 1); }

uint32_t AftPage::filterValue(const ResponseFrame &r)
{
    return uint32_t(r.data1()) << 16 | uint32_t(r.data2()) << 8 | r.data3();
}

void AftPage::putColumns(int column, int width, const QString &text)
{
    Row &row = AFT_Log[size_t(AFT_LogIndex)];
    for (int k = 0; k < width; ++k)
        row[size_t(column - 1 + k)] = char(conv::charFilter(text, k + 1).toLatin1());
    const int after = column - 1 + width;
    if (after < RowLength)
        row[size_t(after)] = ' ';
}

void AftPage::AFTSet(const ResponseFrame &r)
{
    const QString text = conv::signed16Display(uint16_t(r.data1() << 8 | r.data2()));
    AFT_Focus->setText(text);
    putColumns(1, 4, text);
}

uint32_t AftPage::showFilter(kit::Edit *edit, int column, const ResponseFrame &r)
{
    const uint32_t v = filterValue(r);
    const QString text = conv::u32ToDec8(v);
    edit->setText(text);
    putColumns(column, 8, text);
    return v;
}

void AftPage::AFTSet1(const ResponseFrame &r)
{
    AFT_Sum = showFilter(AFT_BPF1, 6, r);
}

void AftPage::AFTSet2(const ResponseFrame &r)
{
    AFT_Sum += showFilter(AFT_BPF2, 15, r);
}

void AftPage::AFTSet3(const ResponseFrame &r)
{
    AFT_Sum += showFilter(AFT_VBPF, 24, r);
    const QString sum = conv::u32ToDec8(AFT_Sum);
    AFT_SUM->setText(sum);
    putColumns(33, 8, sum);
    // The row is complete only now: an interrupted reading is overwritten by the next one.
    ++AFT_LogCount;
    if (++AFT_LogIndex >= LogRows)
        AFT_LogIndex = 0;
}

void AftPage::Trans_end_AFT(const ResponseFrame &r)
{
    // The step follows the request that was sent, not the item the reply carries.
    const CommandFrame &sent = link.frame;
    if (r.isError() || sent[0] != cat::Lens) {
        link.release();
        return;
    }
    switch (sent[1]) {
    case 0x30:
        AFTSet(r);
        link.release();
        AFTRead1();
        break;
    case 0x31:
        AFTSet1(r);
        link.release();
        AFTRead2();
        break;
    case 0x32:
        AFTSet2(r);
        link.release();
        AFTRead3();
        break;
    case 0x33:
        AFTSet3(r);
        link.release();
        if (AFT_Rep->isChecked())
            AFTRead();
        break;
    default:
        link.release();
        break;
    }
}

// ---------------------------------------------------------------- handlers

void AftPage::AFT_GetClick() { AFTRead(); }
// The new focus position shows with the next reading.
void AftPage::AFT_AFClick() { link.request(cat::Lens, 0x89, 1); }
void AftPage::AFT_PFClick() { link.request(cat::Lens, 0x92, 3, 0x00, 0x01); }
void AftPage::AFT_MFClick() { link.request(cat::Lens, 0x93, 3, 0x00, 0x01); }

void AftPage::AFT_CRSClick()
{
    AFT_LogCount = 0;
    AFT_LogIndex = 0;
}

QByteArray AftPage::logLine(int row) const
{
    const Row &r = AFT_Log[size_t(row)];
    QByteArray line(r.data(), RowLength);
    line += "\r\n";
    return line;
}

void AftPage::AFT_FileClick()
{
    if (AFT_LogCount == 0)
        return;
    // No filter: the name is used as entered.
    const QString path = transferui::chooseSaveFile(QString());
    if (path.isEmpty())
        return;
    transferui::showPath(AFTFName, path);
    if (!writeLog(path))
        transferui::showFileWriteError();
}

bool AftPage::writeLog(const QString &path)
{
    // Written in full and then put in place: a failure leaves the old file as it was.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcUi) << "AF log" << path << "not created:" << file.errorString();
        return false;
    }
    if (AFT_LogCount > FileRows)
        AFT_LogCount = FileRows;
    QByteArray all;
    all.reserve(int(AFT_LogCount) * (RowLength + 2));
    for (int row = 0; row < int(AFT_LogCount); ++row)
        all += logLine(row);
    if (file.write(all) != all.size() || !file.commit()) {
        qCWarning(lcUi) << "AF log" << path << "not written:" << file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
