// Register descriptions for the two signal-processor register editors (DSP and EEP
// pages). Item k of either list describes register k: its text starts with the
// register number as two upper-case hex digits, so the item index is the register.
#pragma once

#include <QStringList>

// The DSP page's list: registers 0x00-0xE4 (229 items).
QStringList registerListA();
// The EEP page's list: registers 0x00-0xFF (256 items); from 0x02 on it describes the
// registers differently from the DSP page's list.
QStringList registerListB();
