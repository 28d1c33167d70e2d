// The lens presets (0x84): 64 numbered positions of zoom and focus kept in the camera, moving
// to them, storing into them, the alarm and default positions and the position-number OSD.
// Answers about a preset, or about the lens now, carry the preset number in data 1 and the
// value in data 2 (high) and data 3 (low).

#include "commands.h"

namespace camsim::commands {

namespace {

constexpr Layout kOsd{{{}, {&S::positionOsd}, {}}};
constexpr Layout kAlarm{{{}, {&S::alarmPosition}, {}}};
constexpr Layout kLast{{{&S::lastPreset}, {}, {}}};

// The preset of data 1, or nullptr (the request is then refused).
const LensPreset *presetOf(const Camera &cam, const Request &r)
{
    return cam.lens().preset(r.d1);
}

// Default position: data 1 is the position the camera moves to at power-on (0: none), data 2
// the default position number kept for it.
Frame7 defaultPosition(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    return cam.reply(r.category, r.item, uint8_t(s.powerOnPosition ? s.defaultPosition : 0),
                     uint8_t(s.defaultPosition));
}

// A preset's zoom (item 0x03), focus (0x04) or further item (0x11-0x13).
Frame7 presetValue(Camera &cam, const Request &r)
{
    const LensPreset *p = presetOf(cam, r);
    if (!p)
        return refuse(cam, r);
    const uint16_t v = r.item == 0x03 ? p->zoom : r.item == 0x04 ? p->focus : p->data[size_t(r.item - 0x11)];
    return wordReply(cam, r, r.d1, v);
}

// The lens now: zoom (0x05), focus (0x06); its further items (0x14-0x16) are 0.
Frame7 currentValue(Camera &cam, const Request &r)
{
    const Lens &lens = cam.lensNow();
    const int v = r.item == 0x05 ? lens.zoom.position : r.item == 0x06 ? lens.focus.position : 0;
    return wordReply(cam, r, uint8_t(cam.live().lastPreset), uint16_t(v));
}

template <uint16_t LensPreset::*Value>
Frame7 storeValue(Camera &cam, const Request &r)
{
    LensPreset *p = cam.lensNow().preset(r.d1);
    if (!p)
        return refuse(cam, r);
    p->*Value = r.word();
    return wordReply(cam, r, r.d1, p->*Value);
}

Frame7 moveToPreset(Camera &cam, const Request &r)
{
    Lens &lens = cam.lensNow();
    const LensPreset *p = lens.preset(r.d1);
    if (!p)
        return refuse(cam, r);
    lens.zoom.moveTo(signedPosition(p->zoom));
    lens.focus.moveTo(signedPosition(p->focus));
    cam.set(&S::lastPreset, r.d1);
    return echo(cam, r);
}

Frame7 storeLens(Camera &cam, const Request &r)
{
    Lens &lens = cam.lensNow();
    LensPreset *p = lens.preset(r.d1);
    if (!p)
        return refuse(cam, r);
    p->zoom = uint16_t(lens.zoom.position);
    p->focus = uint16_t(lens.focus.position);
    return echo(cam, r);
}

// A position number 0-64 (0: none).
Rule positionNumber(uint8_t item, int Settings::*field)
{
    return {item, [=](Camera &cam, const Request &r) {
                if (r.d1 > Lens::kPresets)
                    return refuse(cam, r);
                cam.set(field, r.d1);
                return echo(cam, r);
            }};
}

} // namespace

std::vector<Category> presetCommands()
{
    return {
        {0x84, "lens presets", {
            read(0x00, kOsd),
            read(0x01, kAlarm),
            read(0x02, kLast),
            handle(0x10, defaultPosition),
            handle(0x03, presetValue),
            handle(0x04, presetValue),
            handle(0x11, presetValue),
            handle(0x12, presetValue),
            handle(0x13, presetValue),
            handle(0x05, currentValue),
            handle(0x06, currentValue),
            handle(0x14, currentValue),
            handle(0x15, currentValue),
            handle(0x16, currentValue),
            handle(0x80, storeValue<&LensPreset::zoom>),
            handle(0x81, storeValue<&LensPreset::focus>),
            handle(0x82, moveToPreset),
            writeEcho(0x83, &S::positionOsd),
            positionNumber(0x85, &S::alarmPosition),
            positionNumber(0x8D, &S::defaultPosition),
            writeEcho(0x8F, &S::powerOnPosition),
            handle(0x90, storeLens),
        }},
    };
}

} // namespace camsim::commands
