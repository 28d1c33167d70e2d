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
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override { Trans_end_IR(r); }
    void resetState() override;

    // A correction as shown: four digits from 0 up (0005), a minus and three digits below
    // (-005); only the lowest digits that fit.
    static QString revisionText(int16_t value);

    void MASKCenterRead();
    void MASK_Hosei_H_Read();
    void MASK_Hosei_V_Read();

    void Trans_end_IR(const ResponseFrame &r);

    // "Revision"
    void opt_onClick();
    void opt_offClick();
    void opt_off2Click();
    void opt_leftClick();
    void opt_rightClick();
    void opt_upClick();
    void opt_downClick();
    void opt_writeClick();
    // "Lens"
    void opt_wideClick();
    void opt_x6Click();
    void opt_x11Click();
    void opt_teleClick();
    void opt_afClick();

    // The steps of the alignment cross and of the saving write.
    void MASK_On_w();
    void MASK_Zure_Co_w(int mask);
    void MASK_Zure_H_w(int mask);
    void MASK_Zure_V_w(int mask);
    void MASK_rev_v_w();

    // Program-wide values of the page.
    uint8_t hCentre = 0, vCentre = 0;
    int16_t hRevision = 0, vRevision = 0;
    int crossStep = 0;    // 0 idle, 1 drawing mask A (horizontal bar), 2 mask B (vertical bar)
    bool saving = false;  // 'WRITE' waits for the H answer to send V

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
    void maskOn(int mask, bool on);
    void moveH(int delta);
    void moveV(int delta);
    void zoomTo(uint16_t position);

    QWidget *layoutRevision();
    QWidget *layoutLens();
    QWidget *layoutIr();
    QWidget *layoutIrTest();
};
