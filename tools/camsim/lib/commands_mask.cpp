// Privacy masks (0x88): four masks A-D (mask number 0-3 in data 1), switched on and off,
// connected, placed by start and end or by centre and size, shown in two 16-bit groups; the
// centre of the mask coordinates and the H and V corrections.
//
// The camera keeps each mask as start and end in a frame of 0 .. 2 x centre. The centre form
// is the middle and half-size of that rectangle, relative to the centre (positions as signed
// bytes); group 2 is the centre form in sensor units (8 per mask unit), group 3 the same with
// the corrections added to the positions.

#include "commands.h"

#include <algorithm>

namespace camsim::commands {

namespace {

constexpr int kMasks = 4;
constexpr int kSensorUnit = 8;

struct MaskFields
{
    int S::*hStart, S::*hEnd, S::*vStart, S::*vEnd;
};
constexpr MaskFields kMask[kMasks] = {
    {&S::mask1HStart, &S::mask1HEnd, &S::mask1VStart, &S::mask1VEnd},
    {&S::mask2HStart, &S::mask2HEnd, &S::mask2VStart, &S::mask2VEnd},
    {&S::mask3HStart, &S::mask3HEnd, &S::mask3VStart, &S::mask3VEnd},
    {&S::mask4HStart, &S::mask4HEnd, &S::mask4VStart, &S::mask4VEnd},
};

constexpr Layout kCentre{{{&S::maskHCentre}, {&S::maskVCentre}, {}}};
constexpr Layout kHRevision{{{&S::maskHRevision, Part::High}, {&S::maskHRevision, Part::Low}, {}}};
constexpr Layout kVRevision{{{&S::maskVRevision, Part::High}, {&S::maskVRevision, Part::Low}, {}}};

Persist storeIf(bool saving)
{
    return saving ? Persist::Saved : Persist::Volatile;
}

int signed16(int v)
{
    return int16_t(uint16_t(v));
}

// One mask in the centre form: position of the middle relative to the centre, half-size.
struct Centred
{
    int h, v, width, height;
};

Centred centred(const Settings &s, int m)
{
    const MaskFields &f = kMask[m];
    const auto axis = [](int start, int end, int centre, int &pos, int &size) {
        pos = std::clamp((start + end) / 2 - centre, -128, 127);
        size = std::max(0, (end - start) / 2);
    };
    Centred c{};
    axis(s.*f.hStart, s.*f.hEnd, s.maskHCentre, c.h, c.width);
    axis(s.*f.vStart, s.*f.vEnd, s.maskVCentre, c.v, c.height);
    return c;
}

void place(Camera &cam, int m, const Centred &c, Persist p)
{
    const Settings &s = cam.live();
    const MaskFields &f = kMask[m];
    const auto clampByte = [](int v) { return std::clamp(v, 0, 255); };
    const int hMid = s.maskHCentre + c.h, vMid = s.maskVCentre + c.v;
    cam.set(f.hStart, clampByte(hMid - c.width), p);
    cam.set(f.hEnd, clampByte(hMid + c.width), p);
    cam.set(f.vStart, clampByte(vMid - c.height), p);
    cam.set(f.vEnd, clampByte(vMid + c.height), p);
}

void setBit(Camera &cam, int S::*field, int m, bool on, Persist p)
{
    const int bits = cam.live().*field;
    cam.set(field, on ? bits | (1 << m) : bits & ~(1 << m), p);
}

bool badMask(const Request &r)
{
    return r.d1 >= kMasks;
}

// --- reads

Frame7 flags(Camera &cam, const Request &r)
{
    const Settings &s = cam.live();
    return cam.reply(r.category, r.item, 0, uint8_t(s.maskOn), uint8_t(s.maskConnect));
}

template <bool Vertical>
Frame7 startEnd(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    const Settings &s = cam.live();
    const MaskFields &f = kMask[r.d1];
    return Vertical ? cam.reply(r.category, r.item, r.d1, uint8_t(s.*f.vStart), uint8_t(s.*f.vEnd))
                    : cam.reply(r.category, r.item, r.d1, uint8_t(s.*f.hStart), uint8_t(s.*f.hEnd));
}

Frame7 onBits(Camera &cam, const Request &r)
{
    return cam.reply(r.category, r.item, uint8_t(cam.live().maskOn));
}

Frame7 position(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    const Centred c = centred(cam.live(), r.d1);
    return cam.reply(r.category, r.item, r.d1, uint8_t(c.h), uint8_t(c.v));
}

Frame7 size(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    const Centred c = centred(cam.live(), r.d1);
    return cam.reply(r.category, r.item, r.d1, uint8_t(c.width), uint8_t(c.height));
}

// Groups 2 and 3: field 0-3 = H P, V P, Wi, He.
template <int Field, bool Corrected>
Frame7 sensorField(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    const Settings &s = cam.live();
    const Centred c = centred(s, r.d1);
    const int values[] = {c.h, c.v, c.width, c.height};
    int v = values[Field] * kSensorUnit;
    if (Corrected && Field == 0)
        v += signed16(s.maskHRevision);
    if (Corrected && Field == 1)
        v += signed16(s.maskVRevision);
    return wordReply(cam, r, r.d1, uint16_t(v));
}

// --- writes (answered by echoing the request)

template <int S::*Bits, bool Saving>
Frame7 flagWrite(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    setBit(cam, Bits, r.d1, r.d2 != 0, storeIf(Saving));
    return echo(cam, r);
}

// On/off with data 3 = 1 to store it.
Frame7 onOffWrite(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    setBit(cam, &S::maskOn, r.d1, r.d2 != 0, storeIf(r.d3 == 1));
    return echo(cam, r);
}

template <bool Vertical, bool Saving>
Frame7 startEndWrite(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    const MaskFields &f = kMask[r.d1];
    cam.set(Vertical ? f.vStart : f.hStart, r.d2, storeIf(Saving));
    cam.set(Vertical ? f.vEnd : f.hEnd, r.d3, storeIf(Saving));
    return echo(cam, r);
}

template <bool Saving>
Frame7 positionWrite(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    Centred c = centred(cam.live(), r.d1);
    c.h = int8_t(r.d2);
    c.v = int8_t(r.d3);
    place(cam, r.d1, c, storeIf(Saving));
    return echo(cam, r);
}

template <bool Saving>
Frame7 sizeWrite(Camera &cam, const Request &r)
{
    if (badMask(r))
        return refuse(cam, r);
    Centred c = centred(cam.live(), r.d1);
    c.width = r.d2;
    c.height = r.d3;
    place(cam, r.d1, c, storeIf(Saving));
    return echo(cam, r);
}

// A correction: data 1 (high) and data 2 (low), data 3 = 1 to store it.
template <int S::*Field>
Frame7 revisionWrite(Camera &cam, const Request &r)
{
    cam.set(Field, r.d1 << 8 | r.d2, storeIf(r.d3 == 1));
    return echo(cam, r);
}

} // namespace

std::vector<Category> maskCommands()
{
    return {
        {0x88, "privacy masks", {
            handle(0x00, flags),
            handle(0x01, startEnd<false>),
            handle(0x02, startEnd<true>),
            read(0x03, kCentre),
            handle(0x10, onBits),
            handle(0x11, position),
            handle(0x12, size),
            handle(0x14, sensorField<0, false>),
            handle(0x15, sensorField<1, false>),
            handle(0x16, sensorField<2, false>),
            handle(0x17, sensorField<3, false>),
            handle(0x18, sensorField<0, true>),
            handle(0x19, sensorField<1, true>),
            handle(0x1A, sensorField<2, true>),
            handle(0x1B, sensorField<3, true>),
            read(0x20, kHRevision),
            read(0x21, kVRevision),
            // The start/end view: the even item stores, the odd one does not.
            handle(0x80, flagWrite<&S::maskOn, true>),
            handle(0x81, flagWrite<&S::maskOn, false>),
            handle(0x82, flagWrite<&S::maskConnect, true>),
            handle(0x83, flagWrite<&S::maskConnect, false>),
            handle(0x84, startEndWrite<false, true>),
            handle(0x85, startEndWrite<false, false>),
            handle(0x86, startEndWrite<true, true>),
            handle(0x87, startEndWrite<true, false>),
            // The centre view: the higher item stores.
            handle(0x90, onOffWrite),
            handle(0x91, positionWrite<false>),
            handle(0x92, positionWrite<true>),
            handle(0x93, sizeWrite<false>),
            handle(0x94, sizeWrite<true>),
            handle(0xA0, revisionWrite<&S::maskHRevision>),
            handle(0xA1, revisionWrite<&S::maskVRevision>),
        }},
    };
}

} // namespace camsim::commands
