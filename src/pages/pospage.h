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
    // The first read when the page is shown.
    void PageCheck() override;
    void PosRead();

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
    QGroupBox *layoutSave();
    QGroupBox *layoutNumber(const QString &title, kit::Edit *&edit, const char *editName,
                            kit::UpDown *&upDown, const char *upDownName, QPushButton *&send,
                            const char *sendName);
    QGroupBox *layoutTest();
};
