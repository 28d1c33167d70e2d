#pragma once

#include "pages/page.h"

// Lens presets 1..64 stored in the camera: load, save, read back, alarm and default
// (power-on) positions, the position-number OSD and the preset repeat test.
class PosPage : public Page
{
    Q_OBJECT
public:
    PosPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;

    // ---- reads (category 0x84). The preset reads carry the number of PosSaveUD.
    void PosRead();          // position-number OSD
    void PosRead2();         // alarm position
    void PosRead3();         // the last preset moved to
    void PosRead4();         // default position
    void PONPOSRead();       // the same read for the EASY2 page's power-on position
    void PosZoomRead();
    void PosFocusRead();
    void PosData1Read();
    void PosData2Read();
    void PosData3Read();
    void PosNowFocusRead();
    void PosNowData1Read();
    void PosNowData2Read();
    void PosNowData3Read();

    // ---- apply operations: this page and the twins on the EASY and EASY2 pages
    void PosSet(const ResponseFrame &r);
    void PosSet2(const ResponseFrame &r);
    void PosSet3(const ResponseFrame &r);
    void PosSet4(const ResponseFrame &r);
    void PONPOSSet(const ResponseFrame &r);
    void PosZoomSet(const ResponseFrame &r);
    void PosFocusSet(const ResponseFrame &r);

    void Trans_end_Pos(const ResponseFrame &r);

    // ---- handlers
    void PosLoadClick();
    void load_posClick();
    void PosSaveClick();
    // After the zoom of a preset is stored: its focus, when one is entered.
    void PosFocusSave();
    void save_posClick();
    void PosReadxClick();
    void PosNowReadClick();
    void OSDMClick();
    void PoOSDClick();
    void AlSaveClick();
    void AlSaveEClick();
    void DefPosSaveClick();
    void P_ON_P_UpDownClick();
    void P_ON_POSClick();
    void Pos_RepeatClick();
    void Pos_Repeat_timeClick();
    void Pos_TestTimer1Timer();

    static constexpr int PresetCount = 64;

    kit::RadioGroup *PosLoad = nullptr;   // "OFF", "1".."64": index = preset number

    kit::Edit *PosSaveEdit = nullptr;
    kit::UpDown *PosSaveUD = nullptr;
    kit::Edit *PosZoom = nullptr;
    kit::Edit *PosFocus = nullptr;
    QPushButton *PosSave = nullptr;
    QPushButton *PosReadx = nullptr;
    QPushButton *PosNowRead = nullptr;
    QCheckBox *OSDM = nullptr;

    kit::Edit *AlmPosEdit = nullptr;
    kit::UpDown *AlSaveUD = nullptr;
    QPushButton *AlSave = nullptr;
    kit::Edit *DefPosEdit = nullptr;
    kit::UpDown *DefPosUD = nullptr;
    QPushButton *DefPosSave = nullptr;

    QCheckBox *Pos_Repeat = nullptr;
    kit::RadioGroup *Pos_Repeat_time = nullptr;
    kit::Timer *Pos_TestTimer1 = nullptr;   // repeat test tick

private:
    void read(uint8_t item);
    // A read about the preset in PosSaveUD.
    void presetRead(uint8_t item);
    // A store of a zoom (0x80) or focus (0x81) text into the preset in PosSaveUD.
    bool storeValue(uint8_t item, const kit::Edit *edit);
    void moveTo(int preset);

    QGroupBox *layoutSave();
    QGroupBox *layoutNumber(const QString &title, kit::Edit *&edit, const char *editName,
                            kit::UpDown *&upDown, const char *upDownName, QPushButton *&send,
                            const char *sendName);
    QGroupBox *layoutTest();
};
