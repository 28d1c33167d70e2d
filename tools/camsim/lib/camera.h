// The simulated camera module: its settings, its memories and its answer to one request frame.
// No I/O here: Camera::answer() is a plain "request frame -> optional reply frame" function, so
// the model can be driven directly (tests) or through a pseudo-terminal (PtyCamera).
#pragma once

#include "lens.h"
#include "link/frame.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace camsim {

// Frame helpers (the checksum makes the seven bytes sum to 0 modulo 256).
uint8_t checksum(const Frame7 &f);
bool sumIsZero(const Frame7 &f);
Frame7 makeFrame(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t id);
// "8110 0102 0301 6A": two hex digits per byte, a space after bytes 1, 3 and 5.
QString frameHex(const Frame7 &f);
// Any byte string as upper-case hex pairs separated by spaces.
QString bytesHex(const uint8_t *data, size_t size);

// Line speeds as the camera stores them (0x89/0x11 data 1): 0 = 9600, 1 = 19200, 2 = 38400.
int baudOfCode(int code);            // 0 for an unknown code
std::optional<int> codeOfBaud(int baud);

// Every setting the camera keeps, one int each (sent as one byte unless a layout says
// otherwise). Grouped as the command tables group them.
struct Settings
{
    // 0x80 title display
    int titleDisplay = 1, titlePosition = 0;
    // 0x81 AGC and sensitivity-up
    int priority = 0, agcLevel = 4, sensLevel = 0;
    // 0x81 ALC and AES
    int alcMode = 0, alcAutoLevel = 4, alcFixLevel = 4;
    int aesMode = 0, aesAutoLevel = 4, aesFixShutter = 0;
    int cpcStop = 0;
    // 0x81 BLC (six metering rows, bit 0 = leftmost cell) and peak
    int blc = 0, blcLevel = 3;
    int blcRow1 = 0x00, blcRow2 = 0x18, blcRow3 = 0x3C, blcRow4 = 0x3C, blcRow5 = 0x18, blcRow6 = 0x00;
    int peak = 0, peakLevel = 4;
    // 0x82 white balance and colour gains
    int wbMode = 0, atwRange = 0, atwLevel = 4, indoorLevel = 4, outdoorLevel = 4, awbLevel = 4;
    int ryGain = 4, byGain = 4;
    // 0x86 other functions
    int presetFlag = 0, initial = 0;
    int hReverse = 0, vReverse = 0, negative = 0;
    int phaseOn = 0, phase = 0, phaseMax = 624, phaseOffset = 0;
    int gamma = 0, language = 0, winker = 0;
    int hGain = 4, vGain = 4;
    int freeze = 0, freezeMode = 0, pushSw = 0;
    int dayNight = 1, dayNightLevel = 4;
    int eepNoSave = 0, reverseDpt = 0, reverseMask = 0;
    int blueBack = 0, colorBar = 0;
    // 0x86 status words (board straps, read only)
    int boardPosition = 1, boardHNormal = 1, boardVNormal = 1, tvNtsc = 1, lowResolution = 0;
    // 0x89 communication settings; baudCode/twoStopBits reach the line at the next power-on
    int commId = 1, commMode = 0, baudCode = 2, twoStopBits = 0;
    // 0x89/0x80 OSD key state (not kept over a power cycle)
    int menuOpen = 0, zoomFocusKeys = 0;
    // 0x8A marker
    int marker = 0, markerX = 128, markerY = 128;
    // 0x9A pixel-defect correction on/off; 0x83 iris bias (the cursor and the adjustment
    // runs are not kept over a power cycle)
    int defectCorrection = 1, defectCursor = 0, irisBias = 0x80, irisAdjusting = 0;
    // 0x85 motion detection: switch, level, alarm contact, alarm time, OSD indication; the
    // watched cells (six rows, bit 0 = leftmost cell); area 1, a rectangle of centre (h, v)
    // and half-sizes (width, height) in a picture of -80..80 by -60..60 (positions as signed
    // bytes); the detection interval (0x14) and the fixed interval (0x23); the camera's byte
    // of each level threshold (256 - threshold); areas 2 and 3 (16 bits, positions in two's
    // complement).
    int motion = 0, motionLevel = 4, motionContact = 0, motionTime = 0, motionOsd = 0;
    int motionRow1 = 0xFF, motionRow2 = 0xFF, motionRow3 = 0xFF, motionRow4 = 0xFF, motionRow5 = 0xFF,
        motionRow6 = 0xFF;
    int motionHPos = 0, motionVPos = 0, motionWidth = 80, motionHeight = 60;
    int motionInterval = 30, motionIntervalFix = 3;
    int motionThreshold0 = 56, motionThreshold1 = 96, motionThreshold2 = 128, motionThreshold3 = 156,
        motionThreshold4 = 176, motionThreshold5 = 192, motionThreshold6 = 208, motionThreshold7 = 224,
        motionThreshold8 = 232, motionThreshold9 = 240;
    int area2HPos = 0xFFD8, area2VPos = 0xFFE2, area2Width = 40, area2Height = 30;
    int area3HPos = 40, area3VPos = 30, area3Width = 20, area3Height = 15;
    // 0x83 lens: auto focus, zoom+AF, AF sleep, digital zoom maximum (0-5), zoom and focus
    // speeds (0-4), scale display, zoom magnification display, tracking mode (0 auto x1-x10,
    // 1 auto x3-x10, 2 fixed) and position, AF mode, digital pan and tilt (signed bytes) and
    // width (low byte), optical-to-digital zoom, digital zoom on/off
    int autoFocus = 0, zoomAf = 0, afSleep = 0, digitalZoomMax = 0;
    int zoomSpeed = 2, focusSpeed = 2, scaleDisplay = 0, zoomMag = 0;
    int trackMode = 0, trackPosition = 128, afMode = 0;
    int dptPan = 0, dptTilt = 0, dptWidth = Lens::kDptWidthInitial, opticalDigital = 0, digitalZoomOn = 0;
    // 0x84 presets: position number on the OSD, alarm position, the last preset moved to, the
    // default position and whether the camera moves there at power-on
    int positionOsd = 0, alarmPosition = 1, lastPreset = 0, defaultPosition = 1, powerOnPosition = 0;
    // 0x88 privacy masks A-D: on (bit n = mask n) and connected flags; each mask as H and V
    // start/end in a frame of 0..2 x centre (the centre form and the two 16-bit groups are
    // worked out from these); the centre of the mask coordinates and the two corrections
    // (16 bits, two's complement) that shift every mask in the sensor's coordinates
    int maskOn = 0, maskConnect = 0;
    int mask1HStart = 60, mask1HEnd = 100, mask1VStart = 40, mask1VEnd = 80;
    int mask2HStart = 10, mask2HEnd = 40, mask2VStart = 10, mask2VEnd = 30;
    int mask3HStart = 120, mask3HEnd = 150, mask3VStart = 80, mask3VEnd = 110;
    int mask4HStart = 0, mask4HEnd = 20, mask4VStart = 100, mask4VEnd = 120;
    int maskHCentre = 80, maskVCentre = 60, maskHRevision = 0, maskVRevision = 0;

    bool operator==(const Settings &) const = default;
};

// Name and member of every setting, for the state file.
struct SettingField
{
    const char *name;
    int Settings::*member;
};
const std::vector<SettingField> &settingFields();

enum class CommMode { OneToOne = 0, OneToN = 1 };

// A defective sensor pixel that the camera's detection finds (0x9A items 0x01-0x06): where the
// even field sees it, its peak, and the odd field's offset from there (0 for a plain defect).
// A stuck defect stays visible even while a table entry corrects it.
struct PlantedDefect
{
    int x = 0, y = 0, peak = 0;
    int oddDx = 0, oddDy = 0;
    bool stuck = false;

    bool operator==(const PlantedDefect &) const = default;
};

// How a write is kept: Saved = stored unless the camera is in 'No Save' mode; Always = stored
// regardless; Volatile = lost at the next reset.
enum class Persist { Saved, Always, Volatile };

// The speed and stop bits the camera's UART runs at; set only at power-on.
struct LineSettings
{
    int baud = 38400;
    int stopBits = 1;
};

// One request as the command handlers see it.
struct Request
{
    uint8_t category = 0, item = 0, d1 = 0, d2 = 0, d3 = 0;

    static Request of(const Frame7 &f) { return {f[0], f[1], f[2], f[3], f[4]}; }
    // The memory categories address a word by item (high byte) and data 1 (low byte).
    int address() const { return item << 8 | d1; }
    // ... and carry a written word in data 2 (high) and data 3 (low).
    uint16_t word() const { return uint16_t(d2 << 8 | d3); }
};

class Camera
{
public:
    static constexpr int kEepromWords = 1024;
    static constexpr int kDspWords = 256;
    static constexpr int kTitleLength = 20;
    static constexpr int kRamBegin = 0xD000;
    static constexpr int kRamEnd = 0xF000;   // one past the window
    static constexpr uint16_t kTitleBlank = 0x007E;

    using EepromWords = std::array<uint16_t, kEepromWords>;
    using DspWords = std::array<uint16_t, kDspWords>;
    using Title = std::array<uint16_t, kTitleLength>;

    // Factory defaults, powered on.
    Camera();

    enum class Verdict { Answer, BadChecksum, OtherId };
    // Whether the camera answers this frame at all: a bad checksum is never answered, and in
    // '1:N' mode only frames carrying the camera's own ID are.
    Verdict verdict(const Frame7 &request) const;
    // The camera's reaction to one request frame: its reply, or nothing.
    std::optional<Frame7> answer(const Frame7 &request);
    // The refusal of a request: category | 0x40, same item, no data.
    Frame7 errorReply(const Frame7 &request) const;
    // A reply from this camera (its ID, sealed).
    Frame7 reply(uint8_t category, uint8_t item, uint8_t d1 = 0, uint8_t d2 = 0, uint8_t d3 = 0) const;
    // True when a command table handles this category and item.
    static bool knows(uint8_t category, uint8_t item);

    // Power on: the live settings and the working copies come from the stored ones, and the
    // line takes the stored speed and stop bits.
    void powerOn();
    // The reset command: as power-on, but the line keeps running at its speed.
    void reset();

    Settings &live() { return live_; }
    const Settings &live() const { return live_; }
    Settings &stored() { return stored_; }
    const Settings &stored() const { return stored_; }
    // Changes one setting as a write request does.
    void set(int Settings::*field, int value, Persist persist = Persist::Saved);

    uint8_t id() const { return uint8_t(live_.commId); }
    CommMode mode() const { return live_.commMode == 1 ? CommMode::OneToN : CommMode::OneToOne; }
    LineSettings line() const { return line_; }

    Title &title() { return title_; }
    const Title &title() const { return title_; }
    // EEPROM 1 and the working copy the firmware runs from (0x91 reads, 0x93 writes it).
    EepromWords &eeprom1() { return eeprom1_; }
    const EepromWords &eeprom1() const { return eeprom1_; }
    EepromWords &eeprom1Ram() { return eeprom1Ram_; }
    const EepromWords &eeprom1Ram() const { return eeprom1Ram_; }
    EepromWords &eeprom2() { return eeprom2_; }
    const EepromWords &eeprom2() const { return eeprom2_; }
    DspWords &dspEeprom() { return dspEeprom_; }
    const DspWords &dspEeprom() const { return dspEeprom_; }
    DspWords &dspRegisters() { return dspRegisters_; }
    const DspWords &dspRegisters() const { return dspRegisters_; }
    // Factory contents of the DSP EEPROM (the 'default' variant of 0x9F reads these).
    static DspWords factoryDsp();
    // The RAM window 0xD000-0xEFFF; a few words there follow the running figures.
    uint8_t ramByte(int address) const;

    // The sensor's defective pixels (a few by default).
    std::vector<PlantedDefect> &defects() { return defects_; }
    const std::vector<PlantedDefect> &defects() const { return defects_; }

    // Advances once per answered request; the live figures (exposure, iris, colour detection,
    // RAM counters) are functions of it, so a repeated read shows movement.
    unsigned tick() const { return tick_; }
    // A triangle wave 0..32 of the tick, never equal for two consecutive ticks.
    int wave() const;

    // The motion detector's scene: cells are numbered 1-48 row by row (1 top-left, 8 top-right,
    // 48 bottom-right). Something moving in a cell makes its figure jump from tick to tick.
    static constexpr int kMotionCells = 48;
    void setMotionInCell(int cell, bool moving = true);   // cells outside 1-48 are ignored
    void clearMotion() { moving_ = 0; }
    bool motionInCell(int cell) const;
    // The detector's figure of cell index 0-47 (cell number - 1) now, and how much it changed
    // since the previous tick (a few units in a still cell, hundreds where something moves).
    uint16_t motionValue(int index) const;
    uint16_t motionDifference(int index) const;
    // The lens with its motors brought up to the present (zoom and focus move with time while
    // they are driven); lens() is the lens as last brought up.
    Lens &lensNow();
    const Lens &lens() const { return lens_; }
    // The presets live with the lens and are kept whatever the no-save mode says.
    std::array<LensPreset, Lens::kPresets> &presets() { return lens_.presets; }
    const std::array<LensPreset, Lens::kPresets> &presets() const { return lens_.presets; }
    // Milliseconds on the camera's clock: a steady clock unless a test sets its own.
    void setClock(std::function<int64_t()> msNow) { clock_ = std::move(msNow); }
    int64_t nowMs() const;

    // Title text as the camera shows it (codes without a character appear as '?').
    QString titleText() const;
    // Stores a title given as text (characters without a code become blanks).
    void setTitleText(const QString &text);

private:
    Settings stored_;
    Settings live_;
    LineSettings line_;
    Title title_{};
    EepromWords eeprom1_{}, eeprom1Ram_{}, eeprom2_{};
    DspWords dspEeprom_{}, dspRegisters_{};
    std::vector<uint8_t> ram_;
    std::vector<PlantedDefect> defects_;
    unsigned tick_ = 0;
    uint64_t moving_ = 0;   // bit n: something moves in cell n + 1
    Lens lens_;
    std::function<int64_t()> clock_;
};

// The title code of a character (0xFFFF when it has none) and back.
uint16_t titleCodeOf(QChar c);
QChar titleCharOf(uint16_t code);

} // namespace camsim
