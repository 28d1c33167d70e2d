#pragma once

#include "pages/page.h"

#include <array>

class QRadioButton;

class KizuPage : public Page
{
    Q_OBJECT
public:
    KizuPage(Link &link, Pages &pages);
    void layoutControls() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void KizuRead1();

    // The camera corrects up to fifteen defects, rows 'A' to 'O'.
    static constexpr int DefectCount = 15;
    static QChar defectLetter(int index) { return QChar(u'A' + index); }

    // One row of the defect table: AH, AV, AON, AF, AR for row 'A'.
    struct DefectRow
    {
        kit::Edit *H = nullptr;
        kit::Edit *V = nullptr;
        QCheckBox *ON = nullptr;
        QCheckBox *F = nullptr;
        QCheckBox *R = nullptr;
    };
    std::array<DefectRow, DefectCount> Defect{};

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
    QGroupBox *layoutTable();
    QGroupBox *layoutSelection();
    QGroupBox *layoutDetection();
};
