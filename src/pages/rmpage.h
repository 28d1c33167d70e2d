#pragma once

#include "pages/page.h"

// Mask alignment: the correction of the mask coordinate system, checked with a cross of two
// masks at several zoom positions; plus the IR and IR TEST groups.
class RmPage : public Page
{
    Q_OBJECT
public:
    RmPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void MASKCenterRead();

    // "Revision"
    kit::Edit *opt_h = nullptr;
    kit::Edit *opt_v = nullptr;
    QPushButton *opt_on = nullptr;
    QPushButton *opt_up = nullptr;
    QPushButton *opt_down = nullptr;
    QPushButton *opt_left = nullptr;
    QPushButton *opt_right = nullptr;
    QPushButton *opt_write = nullptr;
    QPushButton *opt_off = nullptr;
    QPushButton *opt_off2 = nullptr;

    // "Lens"
    QPushButton *opt_wide = nullptr;
    QPushButton *opt_x6 = nullptr;
    QPushButton *opt_x11 = nullptr;
    QPushButton *opt_tele = nullptr;
    QPushButton *opt_af = nullptr;

    // "IR"
    QGroupBox *GroupBox22 = nullptr;
    kit::RadioGroup *IRL = nullptr;
    kit::RadioGroup *IRSW = nullptr;
    kit::RadioGroup *IRLevel = nullptr;
    kit::RadioGroup *IRLevelSW = nullptr;
    QLabel *Label_IR_NOW = nullptr;
    QLabel *Label_IR_NOW1 = nullptr;

    // "IR TEST"
    QGroupBox *GroupBox23 = nullptr;
    kit::Edit *ir_rg = nullptr;
    kit::Edit *ir_bg = nullptr;
    kit::Edit *ir_ry = nullptr;
    kit::Edit *ir_by = nullptr;
    kit::Edit *ir_rgc = nullptr;
    kit::Edit *ir_bgc = nullptr;
    kit::Edit *ir_ry_min = nullptr;
    kit::Edit *ir_ry_max = nullptr;
    kit::Edit *ir_by_min = nullptr;
    kit::Edit *ir_by_max = nullptr;
    QPushButton *ir_test = nullptr;
    QCheckBox *ir_test_rep = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

private:
    QWidget *layoutRevision();
    QWidget *layoutLens();
    QWidget *layoutIr();
    QWidget *layoutIrTest();
};
