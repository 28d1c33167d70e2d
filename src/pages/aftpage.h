#pragma once

#include "pages/page.h"

class AftPage : public Page
{
    Q_OBJECT
public:
    AftPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void AFTRead();

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
};
