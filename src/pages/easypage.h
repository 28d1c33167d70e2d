// The EASY page: title, communication settings, marker and twins of the most used
// controls of the other pages, on one sheet.
#pragma once

#include "pages/page.h"

#include <array>

class QComboBox;
class QLayout;
class QLabel;
class QPushButton;

class EasyPage : public Page
{
    Q_OBJECT
public:
    EasyPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;
    void resetState() override;
    void attachConnection(Connection &connection) override;

    static constexpr int TitleLength = 20;

    // ---- Reads
    // The title character 1-20.
    void CidRead(uint8_t character);
    void CidOtherRead();
    void CommIDRead();
    void CommIDRead2();
    void MarkRead();
    // Writes title character 1-20 from CName (a blank past its end or for a character
    // without a code).
    void CidWrite(uint8_t character);

    // ---- Applies
    void CharSet(const ResponseFrame &r);
    void CidOtherSet(const ResponseFrame &r);
    void CommIDSet(const ResponseFrame &r);
    void MarkSet(const ResponseFrame &r);
    // The OSD key state (0x86/0x12, 0x89/0x80): here and in the EEP page's camera status.
    void CSSet4(const ResponseFrame &r);

    // The EASY decoder: the title, the page's own replies and every twin page's.
    void Trans_end_Cid(const ResponseFrame &r);

    // ---- Handlers
    void SetTitleClick();
    void TitleDispClick();
    void TitlePosClick();
    void IDsetClick();
    void CommModeClick();
    void MarkClick();
    void Mark_rightClick();
    void Mark_leftClick();
    void Mark_downClick();
    void Mark_upClick();
    // An OSD key: its code as the OSD switch window sends it.
    void OSDKeyClick(uint8_t code);

    static constexpr int BlcColumns = 8;
    static constexpr int BlcRows = 6;
    static constexpr int BlcCells = BlcColumns * BlcRows;

    // ---- Title
    kit::Edit *CName = nullptr;
    QPushButton *SetTitle = nullptr;
    kit::RadioGroup *TitleDisp = nullptr;
    kit::RadioGroup *TitlePos = nullptr;

    // ---- Communication
    kit::Edit *CommID = nullptr;
    kit::UpDown *CommUpDown = nullptr;
    QPushButton *IDset = nullptr;
    kit::RadioGroup *CommMode = nullptr;

    // ---- Marker
    kit::RadioGroup *Mark = nullptr;
    QPushButton *Mark_left = nullptr;
    QPushButton *Mark_up = nullptr;
    QPushButton *Mark_right = nullptr;
    QPushButton *Mark_down = nullptr;
    kit::Edit *MarkI = nullptr;
    kit::UpDown *MarkIUpDown1 = nullptr;

    // ---- OSD keys (group 'SW', removed as designed)
    QGroupBox *GroupBox29 = nullptr;
    QPushButton *Button9 = nullptr;
    QPushButton *Button10 = nullptr;
    QPushButton *Button11 = nullptr;
    QPushButton *Button12 = nullptr;
    QPushButton *FrBu = nullptr;
    QPushButton *IDBu = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *VERSW = nullptr;

    // ---- Line settings and key state (hidden groups)
    QGroupBox *GroupBox36 = nullptr;
    QGroupBox *GroupBox37 = nullptr;
    QLabel *Label178 = nullptr;   // camera speed
    QLabel *Label179 = nullptr;   // PC speed
    QLabel *Label182 = nullptr;   // camera stop bits
    QLabel *Label183 = nullptr;   // PC stop bits
    QGroupBox *GroupBox54 = nullptr;
    QLabel *C_Menu = nullptr;
    QLabel *C_SW = nullptr;

    // ---- Gain
    kit::TrackBar *AGCBar = nullptr;
    kit::TrackBar *SENSBar = nullptr;

    // ---- ALC / AES
    kit::RadioGroup *ALCE = nullptr;
    kit::TrackBar *ALCAutoBar = nullptr;
    kit::TrackBar *ALCFixBar = nullptr;
    kit::RadioGroup *AESE = nullptr;
    kit::TrackBar *AESAutoBar = nullptr;
    QComboBox *AESFixBox = nullptr;

    // ---- BLC and peak
    kit::RadioGroup *BLCE = nullptr;
    kit::TrackBar *BLCSensBar = nullptr;
    QLabel *BLCPanel = nullptr;
    std::array<QCheckBox *, BlcCells> BLCCheckE{};   // BLCCheck01E .. BLCCheck48E, row by row
    kit::RadioGroup *PEAK = nullptr;
    kit::TrackBar *PeakOnBar = nullptr;

    // ---- White balance and colour gain
    kit::RadioGroup *wb_select = nullptr;
    QPushButton *AWB = nullptr;
    kit::TrackBar *ATWBar = nullptr;
    kit::TrackBar *AWBBar = nullptr;
    kit::TrackBar *Rgain = nullptr;
    kit::TrackBar *BGain = nullptr;

    // ---- Aperture
    kit::TrackBar *HGainBar = nullptr;
    kit::TrackBar *VGainBar = nullptr;

    // ---- Other functions
    kit::RadioGroup *Default = nullptr;
    QPushButton *PresetSet = nullptr;
    kit::RadioGroup *InitialE = nullptr;
    QCheckBox *HReverse = nullptr;
    QCheckBox *VReverse = nullptr;
    QPushButton *RevSet = nullptr;
    kit::RadioGroup *PosiNega = nullptr;
    kit::RadioGroup *Sync = nullptr;
    kit::Edit *PhaseLevel = nullptr;
    kit::UpDown *PhaseUD = nullptr;
    QPushButton *PhaseSet = nullptr;
    kit::RadioGroup *FreezeE = nullptr;
    kit::RadioGroup *GammaE = nullptr;
    kit::RadioGroup *langu_sel = nullptr;
    kit::RadioGroup *chromaE = nullptr;
    kit::RadioGroup *PushSW = nullptr;

    // ---- Lens
    QPushButton *WideZoom = nullptr;
    QPushButton *TeleZoom = nullptr;
    QPushButton *StopZoom = nullptr;
    QPushButton *FarFocus = nullptr;
    QPushButton *NearFocus = nullptr;
    QPushButton *StopFocus = nullptr;
    kit::Edit *ZoomDir = nullptr;
    kit::Edit *CurrentZoom = nullptr;
    kit::Edit *FocusDir = nullptr;
    kit::Edit *CurrentFocus = nullptr;
    kit::Edit *FocusStepMin = nullptr;
    kit::Edit *FocusStepMax = nullptr;
    kit::SpinButton *ZoomSpinButton = nullptr;
    kit::SpinButton *FocusSpinButton = nullptr;
    kit::TrackBar *ZoomStepBar = nullptr;
    kit::TrackBar *FocusStepBar = nullptr;
    kit::TrackBar *ZoomSpeedBar = nullptr;
    kit::TrackBar *FocusSpeedBar = nullptr;
    QCheckBox *AutoFocus = nullptr;
    QPushButton *OnePushAF = nullptr;
    kit::RadioGroup *DigitalZoom = nullptr;
    kit::RadioGroup *ZOOMTR = nullptr;
    kit::RadioGroup *ZoomMag = nullptr;
    kit::RadioGroup *AFSleepE = nullptr;
    QPushButton *GetZoomCurrent = nullptr;
    QCheckBox *CurrentCheck = nullptr;

    // ---- Positions
    kit::Edit *PositionNo = nullptr;
    kit::UpDown *PosUpDown1 = nullptr;
    QPushButton *load_pos = nullptr;
    QPushButton *save_pos = nullptr;
    kit::Edit *AlarmNo = nullptr;
    kit::UpDown *AlarmUpDown1 = nullptr;
    QPushButton *AlSaveE = nullptr;
    kit::RadioGroup *PoOSD = nullptr;

private:
    // Chain steps that depend on the reply or on the after-write flag.
    void CidNextRead(const ResponseFrame &r);
    void CidWriteNext(const ResponseFrame &r);
    void ALCWriteSet(const ResponseFrame &r);
    void AESWriteSet(const ResponseFrame &r);
    void AESNextRead(const ResponseFrame &r);
    void MarkMove(uint8_t item);

    QString titleBuffer_;
    // Set by the answer to an ALC or AES write: the chain re-reads exposure and stops.
    uint8_t afterWrite_ = 0;

    QLayout *layoutTitleColumn();
    QLayout *layoutExposureColumn();
    QLayout *layoutColourColumn();
    QLayout *layoutLensColumn();
};
