// The command engine: every area's tables in one index from category and item to handler.

#include "commands.h"

#include <QtGlobal>

#include <map>

namespace camsim {

namespace commands {

uint8_t byteOf(const Settings &s, const Slot &slot)
{
    if (!slot.field)
        return 0;
    const int v = s.*slot.field;
    switch (slot.part) {
    case Part::High: return uint8_t(v >> 8);
    case Part::Low: return uint8_t(v);
    case Part::Byte: break;
    }
    return uint8_t(v);
}

Frame7 replyIn(const Camera &cam, const Request &r, const Layout &layout)
{
    const Settings &s = cam.live();
    return cam.reply(r.category, r.item, byteOf(s, layout[0]), byteOf(s, layout[1]), byteOf(s, layout[2]));
}

Frame7 echo(const Camera &cam, const Request &r)
{
    return cam.reply(r.category, r.item, r.d1, r.d2, r.d3);
}

Frame7 refuse(const Camera &cam, const Request &r)
{
    return cam.reply(uint8_t(r.category | 0x40), r.item);
}

Frame7 wordReply(const Camera &cam, const Request &r, uint8_t d1, uint16_t word)
{
    return cam.reply(r.category, r.item, d1, uint8_t(word >> 8), uint8_t(word));
}

// A read: answers the current state in the layout.
Rule read(uint8_t item, Layout layout)
{
    return {item, [layout](Camera &cam, const Request &r) { return replyIn(cam, r, layout); }};
}

// A write of data 1 into one setting, answered with the new state in a read's layout.
Rule write(uint8_t item, int Settings::*field, Layout answer, Persist persist)
{
    return {item, [=](Camera &cam, const Request &r) {
                cam.set(field, r.d1, persist);
                return replyIn(cam, r, answer);
            }};
}

// A write of data 1 into one setting, answered by echoing the request.
Rule writeEcho(uint8_t item, int Settings::*field, Persist persist)
{
    return {item, [=](Camera &cam, const Request &r) {
                cam.set(field, r.d1, persist);
                return echo(cam, r);
            }};
}

Rule handle(uint8_t item, Frame7 (*f)(Camera &, const Request &))
{
    return {item, f};
}

Rule everyItem(Handler h)
{
    return {-1, std::move(h)};
}

namespace {

const std::vector<Category> &categories()
{
    static const std::vector<Category> all = [] {
        std::vector<Category> out;
        // One line per area file.
        for (auto area : {
                 titleAndCommCommands,
                 pictureCommands,
                 memoryCommands,
                 defectCommands,
                 motionCommands,
                 lensCommands,
                 presetCommands,
                 maskCommands,
                 afCommands,
                 factoryCommands,
             }) {
            std::vector<Category> tables = area();
            out.insert(out.end(), std::make_move_iterator(tables.begin()), std::make_move_iterator(tables.end()));
        }
        return out;
    }();
    return all;
}

// Category and item -> handler, built once from the tables.
class CommandIndex
{
public:
    CommandIndex()
    {
        for (const Category &c : categories())
            for (const Rule &rule : c.rules) {
                const bool taken = rule.item < 0 ? !whole_.emplace(c.category, &rule.handle).second
                                                 : !items_.emplace(uint16_t(c.category << 8 | rule.item), &rule.handle).second;
                if (taken)
                    qFatal("camsim: two tables teach category %02X item %02X", c.category, rule.item & 0xFF);
            }
    }

    const Handler *find(uint8_t category, uint8_t item) const
    {
        if (auto it = items_.find(uint16_t(category << 8 | item)); it != items_.end())
            return it->second;
        if (auto it = whole_.find(category); it != whole_.end())
            return it->second;
        return nullptr;
    }

private:
    std::map<uint16_t, const Handler *> items_;
    std::map<uint8_t, const Handler *> whole_;
};

const CommandIndex &commandIndex()
{
    static const CommandIndex index;
    return index;
}

} // namespace

} // namespace commands

using namespace commands;

bool Camera::knows(uint8_t category, uint8_t item)
{
    return commandIndex().find(category, item) != nullptr;
}

std::optional<Frame7> Camera::answer(const Frame7 &request)
{
    if (verdict(request) != Verdict::Answer)
        return std::nullopt;
    ++tick_;
    const Request r = Request::of(request);
    if (const Handler *h = commandIndex().find(r.category, r.item))
        return (*h)(*this, r);
    return errorReply(request);
}

} // namespace camsim
