#pragma once

#include "pages/page.h"

// Motorised zoom and focus: drive, direct positions, single steps, speeds, auto focus,
// digital zoom, zoom-linked tracking, digital pan/tilt/zoom and the zoom repeat test.
class LensPage : public Page
{
    Q_OBJECT
public:
    LensPage(Link &link, Pages &pages);
    void layoutControls() override;
    void connectHandlers() override;
    // The first read when the page is shown.
    void PageCheck() override;
    void Trans_end(const ResponseFrame &r) override;
    void resetState() override;

    // Program-wide lens values. The last zoom and focus positions sent by direct entry (on
    // this page or the EASY page): the same position is not sent twice in a row, even when
    // the lens was moved in between. The phase of the repeat tests, shared with the presets'.
    uint16_t SentZoomPos = 0;
    uint16_t SentFocusPos = 0;
    bool RepeatPhase = false;
    // The repeat tests' interval for an item of their '1s'..'10s' group: 10 s beyond it.
    static int repeatInterval(int index);

    // ---- reads (category 0x83, no data)
    void ZoomRead();
    void FocusRead();
    void AutoFocusRead();
    void DZoomRead();
    void LensSpeedRead();
    void LensHirituRead();
    void FocusMinRead();
    void FocusMaxRead();
    void LensTrackRead();
    void DPTRead1();
    void DPTRead2();

    // ---- apply operations: this page and the twins on the EASY, EASY2 and Fac pages
    void ZoomSet(const ResponseFrame &r);
    void FocusSet(const ResponseFrame &r);
    void AutoFocusSet(const ResponseFrame &r);
    void DZoomSet(const ResponseFrame &r);
    void LensSpeedSet(const ResponseFrame &r);
    void LensHirituSet(const ResponseFrame &r);
    void FocusMinSet(const ResponseFrame &r);
    void FocusMaxSet(const ResponseFrame &r);
    void LensTrackSet(const ResponseFrame &r);
    void DPTSet1(const ResponseFrame &r);
    void DPTSet2(const ResponseFrame &r);

    void Trans_end_Lens(const ResponseFrame &r);

    // ---- handlers (the EASY and EASY2 twins share them or have their own)
    void WideSWClick();
    void TeleSWClick();
    void StopSWClick();
    void NearSWClick();
    void FarSWClick();
    void FStopSWClick();
    void AFocusClick();
    void AutoFocusClick();
    void AFATClick();
    void ZOOMTRClick();
    void AFSleepClick();
    void AFSleepEClick();
    void OPAFClick();
    void OnePushAFClick();
    void DZoomNewClick();
    void DigitalZoomClick();
    void ZoomStepChange();
    void ZoomDirChange();
    void FocusStepChange();
    void FocusDirChange();
    void ZoomStepBarChange();
    void FocusStepBarChange();
    void ZoomMagClick();
    void PZO1Click();
    void MZO1Click();
    void PFO1Click();
    void MFO1Click();
    void ZoSpdClick();
    void ZoomSpeedBarChange();
    void FoSpdClick();
    void FocusSpeedBarChange();
    void Scale2Click();
    void TrackClick();
    void TrackAutoModeClick();
    void TrackBar1Change();
    void TrackUpDownClick();
    void TrackTimerTimer();
    void AFTRCClick();
    void EAFTRCClick();
    void dpt_xudClick();
    void dpt_yudClick();
    void dpt_wudClick();
    void dpt_cancelClick();
    void ODrenClick();
    void DZoomOnOffClick();
    void ZoomSpinButtonUpClick();
    void ZoomSpinButtonDownClick();
    void FocusSpinButtonUpClick();
    void FocusSpinButtonDownClick();
    void CurrentCheckClick();
    void LensTimer1Timer();
    void GetZoomCurrentClick();
    void Lens_RepeatClick();
    void Lens_Repeat_TimeClick();
    void Lens_TestTimer1Timer();

    // Zoom
    QPushButton *WideSW = nullptr;
    QPushButton *TeleSW = nullptr;
    QPushButton *StopSW = nullptr;
    kit::TrackBar *ZoomBar = nullptr;   // ratio display only
    kit::Edit *ZoomStep = nullptr;
    QPushButton *PZO1 = nullptr;
    QPushButton *MZO1 = nullptr;
    kit::RadioGroup *ZoSpd = nullptr;
    kit::RadioGroup *DZoomNew = nullptr;
    QCheckBox *Scale2 = nullptr;
    QCheckBox *ODren = nullptr;

    // Focus
    QCheckBox *AFocus = nullptr;
    QPushButton *NearSW = nullptr;
    QPushButton *FarSW = nullptr;
    QPushButton *FStopSW = nullptr;
    kit::Edit *FocusStep = nullptr;
    kit::TrackBar *FocusBar = nullptr;   // ratio display only
    QPushButton *OPAF = nullptr;
    QPushButton *PFO1 = nullptr;
    QPushButton *MFO1 = nullptr;
    kit::RadioGroup *FoSpd = nullptr;
    QCheckBox *AFAT = nullptr;
    kit::RadioGroup *AFSleep = nullptr;
    kit::RadioGroup *AFTRC = nullptr;

    // Tracking
    kit::RadioGroup *Track = nullptr;
    kit::RadioGroup *TrackAutoMode = nullptr;
    kit::TrackBar *TrackBar1 = nullptr;
    kit::UpDown *TrackUpDown = nullptr;
    kit::Edit *TrackEd = nullptr;
    QLabel *Label94 = nullptr;
    QLabel *Label95 = nullptr;
    QLabel *Label96 = nullptr;

    // Digital pan/tilt/zoom
    kit::RadioGroup *DZoomOnOff = nullptr;
    kit::Edit *dpt_xe = nullptr;
    kit::UpDown *dpt_xud = nullptr;
    kit::Edit *dpt_ye = nullptr;
    kit::UpDown *dpt_yud = nullptr;
    kit::Edit *dpt_w = nullptr;
    kit::UpDown *dpt_wud = nullptr;
    QPushButton *dpt_cancel = nullptr;

    // Repeat test
    QGroupBox *GroupBox49 = nullptr;   // "Test"
    QCheckBox *Lens_Repeat = nullptr;
    kit::RadioGroup *Lens_Repeat_Time = nullptr;

    kit::Timer *TrackTimer = nullptr;        // sends the latest slider position, at most every 500 ms
    kit::Timer *LensTimer1 = nullptr;        // zoom position polling
    kit::Timer *Lens_TestTimer1 = nullptr;   // repeat test tick

private:
    void read(uint8_t item);
    // A command without data: drives, stops, one-push AF, cancel.
    void command(uint8_t item);
    // Direct entry of a zoom (0x8B) or focus (0x8C) position from one of its edits.
    void sendPosition(const kit::Edit *edit, uint8_t item, uint16_t &sent);
    void singleStep(uint8_t item);
    void sendTrackMode();
    void sendDpt();
    void stepZoomDir(bool up);
    void stepFocusDir(bool up);

    QGroupBox *layoutZoom();
    QGroupBox *layoutFocus();
    QGroupBox *layoutTracking();
    QGroupBox *layoutDigitalPtz();
    QGroupBox *layoutTest();
};
