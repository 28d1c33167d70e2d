#pragma once

#include "pages/defecttable.h"
#include "pages/page.h"

#include <array>
#include <cstdint>

class QRadioButton;

class KizuPage : public Page
{
    Q_OBJECT
public:
    KizuPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;

    // The camera corrects up to fifteen defects, rows 'A' to 'O'.
    static constexpr int DefectCount = defect::Count;
    static QChar defectLetter(int index) { return defect::letter(index); }

    // The defect table: AH, AV, AON, AF, AR for row 'A' ... OH .. OR for row 'O'.
    defect::Rows Defect{};

    // Reads.
    void KizuRead1();                  // 'Kizu Setting'
    void KizuDetectRead(uint8_t item); // detection word 0x01-0x06
    void KizuEEPRead();                // the table word at the table-read index
    void KizuEEPFirstRead();
    void KizuEEPNextRead();
    void KizuDetectNextRead(const ResponseFrame &r);

    // Applies.
    void KizuSettingSet(const ResponseFrame &r);
    void KizuDetectSet(const ResponseFrame &r);
    void KizuDetectShow(const ResponseFrame &r);
    void KizuEEPSet(const ResponseFrame &r);
    void KizuDetectStore();
    void Trans_end_Kizu(const ResponseFrame &r);

    // Writes of the selected entry and the cursor.
    void KizuManu_xSet();
    void KizuManu_ySet();
    void Manu_Kizu_Write_H(int index, uint16_t word);
    void Manu_Kizu_Write_V(int index, uint16_t word);
    void Cur_Write(uint8_t value);

    // Handlers.
    void Kizu_xChange();
    void Kizu_yChange();
    void Kizu_defClick();
    void Kizu_revClick();
    void Kizu_ctrClick();
    void Kizu_curClick();
    void COFFClick();
    void KIZU_UPClick();
    void KIZU_DOWNClick();
    void KIZU_LEFTClick();
    void KIZU_RIGHTClick();
    void KIZU_SELClick();
    void KizuSetClick();
    void KizuEEP_ReadClick();
    void KizuRead2Click();

    // The entry chosen in KIZU_SEL (-1: none).
    int selected() const;

    // The selected defect.
    kit::RadioGroup *KIZU_SEL = nullptr;
    kit::Edit *Kizu_x = nullptr;
    kit::Edit *Kizu_y = nullptr;
    QCheckBox *Kizu_def = nullptr;
    QCheckBox *Kizu_rev = nullptr;
    QCheckBox *Kizu_ctr = nullptr;
    QCheckBox *Kizu_cur = nullptr;
    QRadioButton *COFF = nullptr;
    QPushButton *KIZU_UP = nullptr;
    QPushButton *KIZU_DOWN = nullptr;
    QPushButton *KIZU_LEFT = nullptr;
    QPushButton *KIZU_RIGHT = nullptr;
    kit::Edit *KIZU_STEP = nullptr;
    kit::UpDown *KIZU_STEP_UpDown = nullptr;

    kit::RadioGroup *KizuSet = nullptr;
    QPushButton *KizuEEP_Read = nullptr;
    QPushButton *KizuRead2 = nullptr;

    // The camera's detection result: even field (row 1) and odd field (row 2).
    kit::Edit *kin_x1 = nullptr;
    kit::Edit *kin_y1 = nullptr;
    kit::Edit *kin_p1 = nullptr;
    kit::Edit *kin_x2 = nullptr;
    kit::Edit *kin_y2 = nullptr;
    kit::Edit *kin_p2 = nullptr;

private:
    // A flag box of the selection sets the same flag of the selected row, then writes it.
    void selectionFlagClick(QCheckBox *selection, QCheckBox *defect::Row::*flag);
    // A move of the selected entry's X or Y by the step, within 0 and the given end.
    void moveSelected(kit::Edit *position, int direction, int end);

    int tableIndex_ = defect::FirstAddress;  // the next table word to read
    uint16_t detection_[6] = {};             // even X, Y, peak; odd X, Y, peak
    QGroupBox *layoutTable();
    QGroupBox *layoutSelection();
    QGroupBox *layoutDetection();
};
