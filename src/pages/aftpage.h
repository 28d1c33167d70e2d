#pragma once

#include "pages/page.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

// Auto-focus tuning: the focus position and the three filter values of one reading, a ring
// log of the readings, and the log written to a text file.
class AftPage : public Page
{
    Q_OBJECT
public:
    AftPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void resetState() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_AFT(r); }

    static constexpr int LogRows = 1001;
    static constexpr int RowLength = 40;
    // The file holds at most this many rows, from row 0.
    static constexpr uint32_t FileRows = 1000;

    // One reading: focus position, BPF1, BPF2, VBPF.
    void AFTRead();
    void AFTRead1();
    void AFTRead2();
    void AFTRead3();
    void AFTSet(const ResponseFrame &r);
    void AFTSet1(const ResponseFrame &r);
    void AFTSet2(const ResponseFrame &r);
    void AFTSet3(const ResponseFrame &r);
    void Trans_end_AFT(const ResponseFrame &r);

    void AFT_GetClick();
    void AFT_AFClick();
    void AFT_PFClick();
    void AFT_MFClick();
    void AFT_CRSClick();
    void AFT_FileClick();

    // Row `row` of the log as a file line (40 characters and CR LF).
    QByteArray logLine(int row) const;

    // The current reading.
    kit::Edit *AFT_Focus = nullptr;
    kit::Edit *AFT_BPF1 = nullptr;
    kit::Edit *AFT_BPF2 = nullptr;
    kit::Edit *AFT_VBPF = nullptr;
    kit::Edit *AFT_SUM = nullptr;
    QPushButton *AFT_Get = nullptr;
    QCheckBox *AFT_Rep = nullptr;
    // Focus drive.
    QPushButton *AFT_AF = nullptr;
    QPushButton *AFT_MF = nullptr;
    QPushButton *AFT_PF = nullptr;
    // The log.
    QPushButton *AFT_CRS = nullptr;
    QPushButton *AFT_File = nullptr;
    QLabel *AFTFName = nullptr;

    uint32_t AFT_Sum = 0;
    int AFT_LogIndex = 0;        // the row the next reading fills, 0-1000
    uint32_t AFT_LogCount = 0;   // readings since the last reset

private:
    using Row = std::array<char, RowLength>;
    // Copies `text` into the current row from 1-based column `column`, `width` characters,
    // each through the character filter, then a space after it (unless it ends the row).
    void putColumns(int column, int width, const QString &text);
    // A 24-bit filter value from data 1-3.
    static uint32_t filterValue(const ResponseFrame &r);
    // One filter value into its edit and its log columns; the value.
    uint32_t showFilter(kit::Edit *edit, int column, const ResponseFrame &r);
    bool writeLog(const QString &path);

    std::array<Row, LogRows> AFT_Log{};
};
