#pragma once

#include "pages/page.h"

// Hex dump of a block of camera RAM (window 0xD000-0xEFFF), once or repeated.
class RamPage : public Page
{
    Q_OBJECT
public:
    RamPage(Link &link, Pages &pages);
    void layoutControls() override;

    kit::Edit *RAMRAdr = nullptr;       // start address, hex
    kit::Edit *RamCount = nullptr;      // byte count, hex
    QCheckBox *RamRepeat = nullptr;
    QPlainTextEdit *RdAdr = nullptr;    // one line address per dump line
    QLabel *Label42 = nullptr;          // column header of the dump
    QPlainTextEdit *Memo1 = nullptr;    // the dump, 16 bytes a line

    kit::Edit *osd16 = nullptr;
};
