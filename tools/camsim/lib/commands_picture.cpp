// Exposure (0x81), colour (0x82), and the other functions and status words (0x86).

#include "commands.h"

#include <algorithm>

namespace camsim::commands {

namespace {

constexpr Layout kAgc{{{&S::priority}, {&S::agcLevel}, {&S::sensLevel}}};
constexpr Layout kAlc{{{&S::alcMode}, {&S::alcAutoLevel}, {&S::alcFixLevel}}};
constexpr Layout kAes{{{&S::aesMode}, {&S::aesAutoLevel}, {&S::aesFixShutter}}};
constexpr Layout kBlc{{{&S::blc}, {&S::blcLevel}, {&S::peak}}};
constexpr Layout kBlcRows123{{{&S::blcRow1}, {&S::blcRow2}, {&S::blcRow3}}};
constexpr Layout kBlcRows456{{{&S::blcRow4}, {&S::blcRow5}, {&S::blcRow6}}};
constexpr Layout kPeak{{{&S::peak}, {&S::peakLevel}, {&S::blc}}};

constexpr Layout kColor{{{&S::wbMode}, {&S::atwRange}, {}}};
constexpr Layout kColorLevels{{{&S::atwLevel}, {&S::indoorLevel}, {&S::outdoorLevel}}};
constexpr Layout kAwbLevel{{{&S::awbLevel}, {}, {}}};
constexpr Layout kColorGain{{{&S::ryGain}, {&S::byGain}, {}}};

constexpr Layout kPreset{{{&S::presetFlag}, {&S::initial}, {}}};
constexpr Layout kReverse{{{&S::hReverse}, {&S::vReverse}, {&S::negative}}};
constexpr Layout kPhase{{{&S::phaseOn}, {&S::phase, Part::High}, {&S::phase, Part::Low}}};
constexpr Layout kPhaseMax{{{&S::phaseMax, Part::High}, {&S::phaseMax, Part::Low}, {}}};
constexpr Layout kPicture{{{&S::gamma}, {&S::language}, {&S::winker}}};
constexpr Layout kBoard{{{&S::boardPosition}, {&S::boardHNormal}, {&S::boardVNormal}}};
constexpr Layout kVideo{{{&S::tvNtsc}, {&S::lowResolution}, {}}};
constexpr Layout kApc{{{&S::hGain}, {&S::vGain}, {}}};
constexpr Layout kFreeze{{{&S::freeze}, {&S::freezeMode}, {&S::pushSw}}};
constexpr Layout kReverseState{{{&S::hReverse}, {&S::vReverse}, {}}};
constexpr Layout kDayNight{{{&S::dayNight}, {&S::dayNightLevel}, {}}};
constexpr Layout kOptions{{{&S::eepNoSave}, {&S::reverseDpt}, {&S::reverseMask}}};
constexpr Layout kKeys{{{}, {&S::menuOpen}, {&S::zoomFocusKeys}}};
constexpr Layout kBlueBack{{{&S::blueBack}, {&S::colorBar}, {}}};

// --- 0x81 exposure figures --------------------------------------------------------------------

// The running ALC, AGC and AES figures: the set levels plus a slow wobble.
Frame7 exposureNow(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    const int w = cam.wave();
    const int alc = s.alcMode == 0 ? 0x40 + s.alcAutoLevel * 8 + w : 0x20 + s.alcFixLevel * 0x18;
    const int agc = s.agcLevel * 0x1C + w / 4;
    const int aes = s.aesMode == 0 ? 0x30 + s.aesAutoLevel * 0x10 + w : s.aesFixShutter * 0x1C;
    return cam.reply(r.category, r.item, uint8_t(alc), uint8_t(agc), uint8_t(aes));
}

// Iris loop: ALC figure and AES figure.
Frame7 irisAlc(Camera &cam, const Request &r)
{
    const int w = cam.wave();
    return wordReply(cam, r, uint8_t(0x40 + w), uint16_t(0x0800 + w * 8));
}

// Iris loop: status and CPC maximum.
Frame7 irisCpc(Camera &cam, const Request &r)
{
    return wordReply(cam, r, cam.live().cpcStop ? 0x80 : 0x01, 0x0FA0);
}

// Iris loop: reference light quantity k (0-5).
Frame7 irisReference(Camera &cam, const Request &r)
{
    if (r.d1 > 5)
        return refuse(cam, r);
    return wordReply(cam, r, r.d1, uint16_t(0x0100 * (r.d1 + 1) + 0x10 * r.d1));
}

// Iris loop: the figure reported with the duty, and the duty.
Frame7 irisDuty(Camera &cam, const Request &r)
{
    const int w = cam.wave();
    const uint16_t kn = uint16_t(0x0380 + w);
    return cam.reply(r.category, r.item, uint8_t(kn >> 8), uint8_t(kn), uint8_t(0x80 + w));
}

// --- 0x82 colour detection --------------------------------------------------------------------

// Detection figure 0x10 + k: R, G, B, Y, R+B, R-B, B/Y (x256); they drift with the wave.
Frame7 colourFigure(Camera &cam, const Request &r)
{
    const int w = cam.wave();
    const int red = 0x0200 + w * 4, green = 0x0300 + w * 3, blue = 0x0180 + (32 - w) * 5;
    const int luma = (red * 3 + green * 6 + blue) / 10;
    int value = 0;
    switch (r.item - 0x10) {
    case 0: value = red; break;
    case 1: value = green; break;
    case 2: value = blue; break;
    case 3: value = luma; break;
    case 4: value = red + blue; break;
    case 5: value = red - blue; break;
    default: value = blue * 256 / luma; break;
    }
    const uint8_t raChroma = r.item == 0x10 ? uint8_t(0x20 + w) : 0;
    return cam.reply(r.category, r.item, uint8_t(value >> 8), uint8_t(value), raChroma);
}

// --- 0x86 other functions ---------------------------------------------------------------------

// Data 1 = 2 arms or disarms the preset (data 2); data 1 = 1, or 0 while armed, restores
// the factory picture settings. Answered in the 0x00 layout.
Frame7 preset(Camera &cam, const Request &r)
{
    if (r.d1 == 2) {
        cam.set(&S::presetFlag, r.d2);
    } else if (r.d1 == 1 || cam.live().presetFlag) {
        Settings factory;
        const Settings now = cam.live();
        // Line, ID and board straps are not picture settings.
        for (int S::*keep : {&S::commId, &S::commMode, &S::baudCode, &S::twoStopBits, &S::boardPosition,
                             &S::boardHNormal, &S::boardVNormal, &S::tvNtsc, &S::lowResolution})
            factory.*keep = now.*keep;
        for (const SettingField &f : settingFields())
            cam.set(f.member, factory.*f.member, Persist::Always);
    }
    return replyIn(cam, r, kPreset);
}

Frame7 phaseOffset(Camera &cam, const Request &r)
{
    cam.set(&S::phaseOffset, r.d1 << 8 | r.d2);
    return echo(cam, r);
}

// 'Save' of the reverse state set with the no-save writes.
Frame7 saveReverse(Camera &cam, const Request &r)
{
    cam.set(&S::hReverse, cam.live().hReverse, Persist::Always);
    cam.set(&S::vReverse, cam.live().vReverse, Persist::Always);
    return echo(cam, r);
}

// Alarm input, motion detected, night (infrared) state.
Frame7 alarmStatus(Camera &cam, const Request &r)
{
    return cam.reply(r.category, r.item, 0, 0, cam.live().dayNight == 0 ? 1 : 0);
}


} // namespace

std::vector<Category> pictureCommands()
{
    return {
        {0x81, "exposure: AGC, ALC, AES, iris, BLC, peak", {
            read(0x00, kAgc),
            handle(0x01, exposureNow),
            writeEcho(0x80, &S::agcLevel),
            writeEcho(0x81, &S::sensLevel),
            writeEcho(0x82, &S::priority),
            read(0x10, kAlc),
            write(0x90, &S::alcMode, kAlc),
            write(0x91, &S::alcAutoLevel, kAlc),
            write(0x92, &S::alcFixLevel, kAlc),
            read(0x20, kAes),
            write(0xA0, &S::aesMode, kAes),
            write(0xA1, &S::aesAutoLevel, kAes),
            write(0xA2, &S::aesFixShutter, kAes),
            handle(0x70, irisAlc),
            handle(0x71, irisCpc),
            handle(0x72, irisReference),
            handle(0x73, irisDuty),
            writeEcho(0xF0, &S::cpcStop, Persist::Volatile),
            read(0x30, kBlc),
            read(0x31, kBlcRows123),
            read(0x32, kBlcRows456),
            read(0x40, kPeak),
            write(0xB0, &S::blc, kBlc),
            writeEcho(0xB1, &S::blcLevel),
            {0xB2, [](Camera &cam, const Request &r) {
                 cam.set(&S::blcRow1, r.d1);
                 cam.set(&S::blcRow2, r.d2);
                 cam.set(&S::blcRow3, r.d3);
                 return echo(cam, r);
             }},
            {0xB3, [](Camera &cam, const Request &r) {
                 cam.set(&S::blcRow4, r.d1);
                 cam.set(&S::blcRow5, r.d2);
                 cam.set(&S::blcRow6, r.d3);
                 return echo(cam, r);
             }},
            write(0xD0, &S::peak, kPeak),
            writeEcho(0xD1, &S::peakLevel),
        }},
        {0x82, "colour and white balance", {
            read(0x00, kColor),
            read(0x01, kColorLevels),
            read(0x02, kAwbLevel),
            read(0x03, kColorGain),
            handle(0x10, colourFigure),
            handle(0x11, colourFigure),
            handle(0x12, colourFigure),
            handle(0x13, colourFigure),
            handle(0x14, colourFigure),
            handle(0x15, colourFigure),
            handle(0x16, colourFigure),
            write(0x80, &S::wbMode, kColor),
            writeEcho(0x81, &S::atwLevel),
            writeEcho(0x82, &S::awbLevel),
            writeEcho(0x83, &S::ryGain),
            writeEcho(0x84, &S::byGain),
            {0x85, [](Camera &cam, const Request &r) { return echo(cam, r); }},   // AWB one push
            writeEcho(0x86, &S::indoorLevel),
            writeEcho(0x87, &S::outdoorLevel),
            writeEcho(0x88, &S::atwRange),
        }},
        {0x86, "other functions and status", {
            read(0x00, kPreset),
            read(0x01, kReverse),
            read(0x02, kPhase),
            read(0x03, kPhaseMax),
            read(0x04, kPicture),
            handle(0x05, alarmStatus),
            read(0x06, kBoard),
            read(0x07, kVideo),
            read(0x08, kApc),
            read(0x09, kFreeze),
            read(0x0A, kReverseState),
            read(0x10, kDayNight),
            read(0x11, kOptions),
            read(0x12, kKeys),
            read(0x13, kBlueBack),
            handle(0x80, preset),
            writeEcho(0x81, &S::initial),
            write(0x82, &S::hReverse, kReverse),
            write(0x83, &S::vReverse, kReverse),
            writeEcho(0x84, &S::negative),
            write(0x85, &S::phaseOn, kPhase),
            handle(0x87, phaseOffset),
            write(0x88, &S::hReverse, kReverse, Persist::Volatile),
            write(0x89, &S::vReverse, kReverse, Persist::Volatile),
            writeEcho(0x8A, &S::gamma),
            writeEcho(0x8B, &S::language),
            writeEcho(0x8C, &S::winker),
            handle(0x8F, saveReverse),
            writeEcho(0x90, &S::freeze),
            writeEcho(0x91, &S::freezeMode),
            writeEcho(0xA0, &S::dayNight),
            writeEcho(0xA1, &S::dayNightLevel),
            writeEcho(0xA2, &S::eepNoSave, Persist::Always),
            writeEcho(0xA3, &S::reverseDpt),
            writeEcho(0xA4, &S::reverseMask),
            writeEcho(0xB0, &S::blueBack),
            writeEcho(0xB1, &S::colorBar),
            writeEcho(0xC0, &S::pushSw),
        }},
    };
}

} // namespace camsim::commands
