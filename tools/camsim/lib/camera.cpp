#include "camera.h"

#include <chrono>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace camsim {

uint8_t checksum(const Frame7 &f)
{
    unsigned sum = 0;
    for (size_t i = 0; i < 6; ++i)
        sum += f[i];
    return uint8_t(0x100 - (sum & 0xFF));
}

bool sumIsZero(const Frame7 &f)
{
    unsigned sum = 0;
    for (uint8_t b : f)
        sum += b;
    return (sum & 0xFF) == 0;
}

Frame7 makeFrame(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3, uint8_t id)
{
    Frame7 f{category, item, d1, d2, d3, id, 0};
    f[6] = checksum(f);
    return f;
}

QString bytesHex(const uint8_t *data, size_t size)
{
    static const char16_t digits[] = u"0123456789ABCDEF";
    QString s;
    s.reserve(int(size * 3));
    for (size_t i = 0; i < size; ++i) {
        if (i)
            s += u' ';
        s += QChar(digits[data[i] >> 4]);
        s += QChar(digits[data[i] & 0x0F]);
    }
    return s;
}

QString frameHex(const Frame7 &f)
{
    QString s;
    s.reserve(17);
    for (size_t i = 0; i < f.size(); ++i) {
        s += bytesHex(&f[i], 1);
        if (i == 1 || i == 3 || i == 5)
            s += u' ';
    }
    return s;
}

int baudOfCode(int code)
{
    switch (code) {
    case 0: return 9600;
    case 1: return 19200;
    case 2: return 38400;
    default: return 0;
    }
}

std::optional<int> codeOfBaud(int baud)
{
    for (int code = 0; code <= 2; ++code)
        if (baudOfCode(code) == baud)
            return code;
    return std::nullopt;
}

const std::vector<SettingField> &settingFields()
{
#define CAMSIM_FIELD(name) SettingField{#name, &Settings::name}
    static const std::vector<SettingField> fields = {
        CAMSIM_FIELD(titleDisplay), CAMSIM_FIELD(titlePosition),
        CAMSIM_FIELD(priority), CAMSIM_FIELD(agcLevel), CAMSIM_FIELD(sensLevel),
        CAMSIM_FIELD(alcMode), CAMSIM_FIELD(alcAutoLevel), CAMSIM_FIELD(alcFixLevel),
        CAMSIM_FIELD(aesMode), CAMSIM_FIELD(aesAutoLevel), CAMSIM_FIELD(aesFixShutter),
        CAMSIM_FIELD(cpcStop),
        CAMSIM_FIELD(blc), CAMSIM_FIELD(blcLevel),
        CAMSIM_FIELD(blcRow1), CAMSIM_FIELD(blcRow2), CAMSIM_FIELD(blcRow3),
        CAMSIM_FIELD(blcRow4), CAMSIM_FIELD(blcRow5), CAMSIM_FIELD(blcRow6),
        CAMSIM_FIELD(peak), CAMSIM_FIELD(peakLevel),
        CAMSIM_FIELD(wbMode), CAMSIM_FIELD(atwRange), CAMSIM_FIELD(atwLevel),
        CAMSIM_FIELD(indoorLevel), CAMSIM_FIELD(outdoorLevel), CAMSIM_FIELD(awbLevel),
        CAMSIM_FIELD(ryGain), CAMSIM_FIELD(byGain),
        CAMSIM_FIELD(presetFlag), CAMSIM_FIELD(initial),
        CAMSIM_FIELD(hReverse), CAMSIM_FIELD(vReverse), CAMSIM_FIELD(negative),
        CAMSIM_FIELD(phaseOn), CAMSIM_FIELD(phase), CAMSIM_FIELD(phaseMax), CAMSIM_FIELD(phaseOffset),
        CAMSIM_FIELD(gamma), CAMSIM_FIELD(language), CAMSIM_FIELD(winker),
        CAMSIM_FIELD(hGain), CAMSIM_FIELD(vGain),
        CAMSIM_FIELD(freeze), CAMSIM_FIELD(freezeMode), CAMSIM_FIELD(pushSw),
        CAMSIM_FIELD(dayNight), CAMSIM_FIELD(dayNightLevel),
        CAMSIM_FIELD(eepNoSave), CAMSIM_FIELD(reverseDpt), CAMSIM_FIELD(reverseMask),
        CAMSIM_FIELD(blueBack), CAMSIM_FIELD(colorBar),
        CAMSIM_FIELD(boardPosition), CAMSIM_FIELD(boardHNormal), CAMSIM_FIELD(boardVNormal),
        CAMSIM_FIELD(tvNtsc), CAMSIM_FIELD(lowResolution),
        CAMSIM_FIELD(commId), CAMSIM_FIELD(commMode), CAMSIM_FIELD(baudCode), CAMSIM_FIELD(twoStopBits),
        CAMSIM_FIELD(menuOpen), CAMSIM_FIELD(zoomFocusKeys),
        CAMSIM_FIELD(marker), CAMSIM_FIELD(markerX), CAMSIM_FIELD(markerY),
        CAMSIM_FIELD(defectCorrection), CAMSIM_FIELD(defectCursor), CAMSIM_FIELD(irisBias),
        CAMSIM_FIELD(irisAdjusting),
        CAMSIM_FIELD(motion), CAMSIM_FIELD(motionLevel), CAMSIM_FIELD(motionContact),
        CAMSIM_FIELD(motionTime), CAMSIM_FIELD(motionOsd),
        CAMSIM_FIELD(motionRow1), CAMSIM_FIELD(motionRow2), CAMSIM_FIELD(motionRow3),
        CAMSIM_FIELD(motionRow4), CAMSIM_FIELD(motionRow5), CAMSIM_FIELD(motionRow6),
        CAMSIM_FIELD(motionHPos), CAMSIM_FIELD(motionVPos), CAMSIM_FIELD(motionWidth), CAMSIM_FIELD(motionHeight),
        CAMSIM_FIELD(motionInterval), CAMSIM_FIELD(motionIntervalFix),
        CAMSIM_FIELD(motionThreshold0), CAMSIM_FIELD(motionThreshold1), CAMSIM_FIELD(motionThreshold2),
        CAMSIM_FIELD(motionThreshold3), CAMSIM_FIELD(motionThreshold4), CAMSIM_FIELD(motionThreshold5),
        CAMSIM_FIELD(motionThreshold6), CAMSIM_FIELD(motionThreshold7), CAMSIM_FIELD(motionThreshold8),
        CAMSIM_FIELD(motionThreshold9),
        CAMSIM_FIELD(area2HPos), CAMSIM_FIELD(area2VPos), CAMSIM_FIELD(area2Width), CAMSIM_FIELD(area2Height),
        CAMSIM_FIELD(area3HPos), CAMSIM_FIELD(area3VPos), CAMSIM_FIELD(area3Width), CAMSIM_FIELD(area3Height),
        CAMSIM_FIELD(autoFocus), CAMSIM_FIELD(zoomAf), CAMSIM_FIELD(afSleep), CAMSIM_FIELD(digitalZoomMax),
        CAMSIM_FIELD(zoomSpeed), CAMSIM_FIELD(focusSpeed), CAMSIM_FIELD(scaleDisplay), CAMSIM_FIELD(zoomMag),
        CAMSIM_FIELD(trackMode), CAMSIM_FIELD(trackPosition), CAMSIM_FIELD(afMode),
        CAMSIM_FIELD(dptPan), CAMSIM_FIELD(dptTilt), CAMSIM_FIELD(dptWidth), CAMSIM_FIELD(opticalDigital),
        CAMSIM_FIELD(digitalZoomOn),
        CAMSIM_FIELD(positionOsd), CAMSIM_FIELD(alarmPosition), CAMSIM_FIELD(lastPreset),
        CAMSIM_FIELD(defaultPosition), CAMSIM_FIELD(powerOnPosition),
        CAMSIM_FIELD(maskOn), CAMSIM_FIELD(maskConnect),
        CAMSIM_FIELD(mask1HStart), CAMSIM_FIELD(mask1HEnd), CAMSIM_FIELD(mask1VStart), CAMSIM_FIELD(mask1VEnd),
        CAMSIM_FIELD(mask2HStart), CAMSIM_FIELD(mask2HEnd), CAMSIM_FIELD(mask2VStart), CAMSIM_FIELD(mask2VEnd),
        CAMSIM_FIELD(mask3HStart), CAMSIM_FIELD(mask3HEnd), CAMSIM_FIELD(mask3VStart), CAMSIM_FIELD(mask3VEnd),
        CAMSIM_FIELD(mask4HStart), CAMSIM_FIELD(mask4HEnd), CAMSIM_FIELD(mask4VStart), CAMSIM_FIELD(mask4VEnd),
        CAMSIM_FIELD(maskHCentre), CAMSIM_FIELD(maskVCentre), CAMSIM_FIELD(maskHRevision),
        CAMSIM_FIELD(maskVRevision),
    };
#undef CAMSIM_FIELD
    return fields;
}

// ---------------------------------------------------------------------------------------------
// Title codes

uint16_t titleCodeOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 0x15 || u == 0x16 || u == 0x22 || u == 0x5D || u == 0x7D)
        return u;
    if ((u >= 0x27 && u <= 0x3E) || (u >= 0x41 && u <= 0x5B) || (u >= 0x61 && u <= 0x7B))
        return u;
    if (u == 0x20)
        return Camera::kTitleBlank;
    if (u == 0x7E)
        return 0x0018;
    return 0xFFFF;
}

QChar titleCharOf(uint16_t code)
{
    // The first character whose code matches, as a reader of the title finds it.
    for (char16_t u = 0; u < 0x100; ++u)
        if (titleCodeOf(QChar(u)) == code)
            return QChar(u);
    return QChar(u'?');
}

// ---------------------------------------------------------------------------------------------
// Factory contents

namespace {

Camera::EepromWords patternWords(uint16_t base)
{
    Camera::EepromWords w{};
    for (int a = 0; a < Camera::kEepromWords; ++a)
        w[size_t(a)] = uint16_t(base | a);
    return w;
}

} // namespace

Camera::DspWords Camera::factoryDsp()
{
    DspWords w{};
    for (int r = 0; r < kDspWords; ++r)
        w[size_t(r)] = uint16_t(0x3000 | r);
    // The pixel-defect table (15 H/V pairs) starts empty.
    for (int r = 0xC0; r <= 0xDD; ++r)
        w[size_t(r)] = 0;
    // White clip (level in the low byte) and burst levels (B-Y high, R-Y low).
    w[0x34] = 0x00E0;
    w[0x38] = 0x4858;
    return w;
}

Camera::Camera()
    : eeprom1_(patternWords(0x1000)), eeprom2_(patternWords(0x2000)), dspEeprom_(factoryDsp())
{
    // IR decision thresholds (minimum/maximum of R+B, R-B and B/Y).
    const uint16_t thresholds[] = {0x0040, 0x0180, 0x0020, 0x0100, 0x0030, 0x00C0};
    for (size_t k = 0; k < 6; ++k)
        eeprom1_[0xE0 + k] = thresholds[k];
    // Day/night colour check: red and blue upper and lower limits, the check switch (low
    // byte 1 = on) and the night-to-day value in the low byte.
    const std::pair<int, uint16_t> dayNight[] = {{0x109, 0x0180}, {0x21B, 0x0040}, {0x118, 0x0160},
                                                  {0x21C, 0x0030}, {0x221, 0x0001}, {0x21A, 0x0003}};
    for (const auto &[address, word] : dayNight)
        eeprom1_[size_t(address)] = word;
    // Firmware version code in the high byte of the last word.
    eeprom1_[0x3FF] = 0x0300;

    ram_.resize(size_t(kRamEnd - kRamBegin));
    for (size_t i = 0; i < ram_.size(); ++i)
        ram_[i] = uint8_t(i * 7 + (i >> 8));

    setTitleText(u"ORVIK CAMERA"_s);
    defects_ = {{0x100, 0x080, 0x0060}, {0x2A5, 0x13C, 0x0048}, {0x051, 0x1F0, 0x0030}};
    powerOn();
}

void Camera::powerOn()
{
    reset();
    // The lens goes to the default position when the camera is told to.
    if (stored_.powerOnPosition)
        if (const LensPreset *p = lens_.preset(stored_.defaultPosition))
            lens_.jumpTo(*p);
    line_.baud = baudOfCode(stored_.baudCode) ? baudOfCode(stored_.baudCode) : 38400;
    line_.stopBits = stored_.twoStopBits ? 2 : 1;
}

void Camera::reset()
{
    live_ = stored_;
    eeprom1Ram_ = eeprom1_;
    dspRegisters_ = dspEeprom_;
}

void Camera::set(int Settings::*field, int value, Persist persist)
{
    live_.*field = value;
    if (persist == Persist::Always || (persist == Persist::Saved && !live_.eepNoSave))
        stored_.*field = value;
}

Camera::Verdict Camera::verdict(const Frame7 &request) const
{
    if (!sumIsZero(request))
        return Verdict::BadChecksum;
    if (mode() == CommMode::OneToN && request[5] != id())
        return Verdict::OtherId;
    return Verdict::Answer;
}

Frame7 Camera::reply(uint8_t category, uint8_t item, uint8_t d1, uint8_t d2, uint8_t d3) const
{
    return makeFrame(category, item, d1, d2, d3, id());
}

Frame7 Camera::errorReply(const Frame7 &request) const
{
    return reply(uint8_t(request[0] | 0x40), request[1]);
}

int64_t Camera::nowMs() const
{
    if (clock_)
        return clock_();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Lens &Camera::lensNow()
{
    lens_.advance(nowMs(), live_);
    return lens_;
}

int Camera::wave() const
{
    return std::abs(int(tick_ % 64) - 32);
}

uint8_t Camera::ramByte(int address) const
{
    if (address < kRamBegin || address >= kRamEnd)
        return 0;
    switch (address) {
    case kRamBegin: return uint8_t(tick_ >> 8);   // request counter, high byte first
    case kRamBegin + 1: return uint8_t(tick_);
    case kRamBegin + 2: return uint8_t(wave());
    default: return ram_[size_t(address - kRamBegin)];
    }
}

void Camera::setMotionInCell(int cell, bool moving)
{
    if (cell < 1 || cell > kMotionCells)
        return;
    const uint64_t bit = uint64_t(1) << (cell - 1);
    moving_ = moving ? moving_ | bit : moving_ & ~bit;
}

bool Camera::motionInCell(int cell) const
{
    return cell >= 1 && cell <= kMotionCells && ((moving_ >> (cell - 1)) & 1u);
}

namespace {

// A still cell shows its part of the scene with a little sensor noise; a moving one adds a
// large figure that jumps by hundreds from one tick to the next.
int motionFigure(int index, unsigned tick, bool moving)
{
    int v = 300 + (index * 37) % 400 + int((tick + unsigned(index)) % 4);
    if (moving)
        v += 1500 + int((tick * 389u + unsigned(index) * 17u) % 2000u);
    return v;
}

} // namespace

uint16_t Camera::motionValue(int index) const
{
    if (index < 0 || index >= kMotionCells)
        return 0;
    return uint16_t(motionFigure(index, tick_, motionInCell(index + 1)));
}

uint16_t Camera::motionDifference(int index) const
{
    if (index < 0 || index >= kMotionCells)
        return 0;
    const bool moving = motionInCell(index + 1);
    return uint16_t(std::abs(motionFigure(index, tick_, moving) - motionFigure(index, tick_ - 1, moving)));
}

QString Camera::titleText() const
{
    QString s;
    for (uint16_t code : title_)
        s += titleCharOf(code);
    return s;
}

void Camera::setTitleText(const QString &text)
{
    for (int k = 0; k < kTitleLength; ++k) {
        const uint16_t code = k < text.size() ? titleCodeOf(text.at(k)) : kTitleBlank;
        title_[size_t(k)] = code == 0xFFFF ? kTitleBlank : code;
    }
}

} // namespace camsim
