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
    // The first read when the page is shown.
    void PageCheck() override;
    void ZoomRead();
    void resetState() override;

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
    QGroupBox *layoutZoom();
    QGroupBox *layoutFocus();
    QGroupBox *layoutTracking();
    QGroupBox *layoutDigitalPtz();
    QGroupBox *layoutTest();
};
