// The camera's command set, for the area files that teach it requests. Each area file
// (commands_<area>.cpp) holds the tables of its categories: one entry per item, in the shape
// of the tool's own request and reply tables, with the layouts that name where each reply
// byte comes from. A request no table lists is refused with an error reply
// (category | 0x40, same item). Two tables may share a category, never a category and item.
#pragma once

#include "camera.h"

#include <array>
#include <functional>
#include <vector>

namespace camsim::commands {

using S = Settings;
using Handler = std::function<Frame7(Camera &, const Request &)>;

// Where one reply byte comes from: a setting, or the high or low byte of a 16-bit setting.
enum class Part { Byte, High, Low };
struct Slot
{
    int Settings::*field = nullptr;   // none: the byte is 0
    Part part = Part::Byte;
};
// Data 1, data 2 and data 3 of a reply.
using Layout = std::array<Slot, 3>;

struct Rule
{
    int item;   // -1: every item (the memory categories address by item)
    Handler handle;
};

struct Category
{
    uint8_t category;
    const char *subject;
    std::vector<Rule> rules;
};

// Data 1-3 of a reply from the live settings in a layout.
uint8_t byteOf(const Settings &s, const Slot &slot);
Frame7 replyIn(const Camera &cam, const Request &r, const Layout &layout);
// The request's own category, item and data.
Frame7 echo(const Camera &cam, const Request &r);
// The refusal: category | 0x40, same item, no data.
Frame7 refuse(const Camera &cam, const Request &r);
// Data 1, then a word in data 2 (high) and data 3 (low).
Frame7 wordReply(const Camera &cam, const Request &r, uint8_t d1, uint16_t word);

// --- rule builders

// A read: answers the current state in the layout.
Rule read(uint8_t item, Layout layout);
// A write of data 1 into one setting, answered with the new state in a read's layout.
Rule write(uint8_t item, int Settings::*field, Layout answer, Persist persist = Persist::Saved);
// A write of data 1 into one setting, answered by echoing the request.
Rule writeEcho(uint8_t item, int Settings::*field, Persist persist = Persist::Saved);
Rule handle(uint8_t item, Frame7 (*f)(Camera &, const Request &));
Rule everyItem(Handler h);

// --- the areas

// 0x80 title, 0x89 communication and OSD keys, 0x8A marker, 0x8F reset.
std::vector<Category> titleAndCommCommands();
// 0x81 exposure, 0x82 colour, 0x86 other functions and status.
std::vector<Category> pictureCommands();
// 0x90-0x9F memories and registers.
std::vector<Category> memoryCommands();
// 0x9A pixel defects, and the Tool page's iris and lens adjustment items of 0x81 and 0x83.
std::vector<Category> defectCommands();
// 0x85 motion detection.
std::vector<Category> motionCommands();
// 0x83 lens (the items of the lens page and its twins).
std::vector<Category> lensCommands();
// 0x84 lens presets.
std::vector<Category> presetCommands();
// 0x88 privacy masks, their centre and corrections.
std::vector<Category> maskCommands();
// 0x83 auto-focus filter values.
std::vector<Category> afCommands();
// The factory settings of 0x86: the line-lock phase (steps and absolute positions) and the
// aperture gains.
std::vector<Category> factoryCommands();

} // namespace camsim::commands
