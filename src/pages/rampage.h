#pragma once

#include "pages/page.h"

#include <array>

// Hex dump of a block of camera RAM (window 0xD000-0xEFFF), once or repeated.
class RamPage : public Page
{
    Q_OBJECT
public:
    RamPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_RAM(r); }

    static constexpr int WindowBegin = 0xD000;
    static constexpr int WindowEnd = 0xF000;   // one past the window
    static constexpr int BufferSize = 512;

    // Each starts a pass when the link is idle and the address has four characters.
    void RAMRAdrChange();
    void RamCountChange();
    void RamRepeatClick();
    // The address column: one start address per 16 bytes of the size.
    void disp_ramadr(int address);
    void RAMMemoSet(const ResponseFrame &r);
    void Trans_end_RAM(const ResponseFrame &r);

    kit::Edit *RAMRAdr = nullptr;       // start address, hex
    kit::Edit *RamCount = nullptr;      // byte count, hex
    QCheckBox *RamRepeat = nullptr;
    QPlainTextEdit *RdAdr = nullptr;    // one line address per dump line
    QLabel *Label42 = nullptr;          // column header of the dump
    QPlainTextEdit *Memo1 = nullptr;    // the dump, 16 bytes a line

    kit::Edit *osd16 = nullptr;

private:
    void startPass();
    void sendFrom(int address);
    int size() const;

    std::array<uint8_t, BufferSize> buffer_{};
    int fill_ = 0;
};
