#include "swf/timeline/displaycommand.h"

namespace swf {

namespace {

constexpr uint16_t kPlaceObject = 4;
constexpr uint16_t kPlaceObject3 = 70;
constexpr uint16_t kRemoveObject = 5;
constexpr int kFirstVersionWithWideEvents = 6;

bool ParsePlaceObject1(SwfReader &r, DisplayCommand &c)
{
    c.hasCharacter = true;
    c.characterId = r.u16();
    c.depth = r.u16();
    c.hasMatrix = true;
    c.matrix = r.matrix();
    if (r.overrun())
        return false;
    if (!r.atEnd()) {
        const ColorTransform cx = r.colorTransform(false);
        if (!r.overrun()) {
            c.hasColorTransform = true;
            c.colorTransform = cx;
        }
    }
    return true;
}

// The handlers of a placed sprite: each names its events and holds its
// actions; a list cut off keeps the handlers read whole.
void ParseClipEvents(SwfReader &r, DisplayCommand &c, bool wideEvents)
{
    r.u16();  // reserved
    // Every event of all handlers together: the player hears only these.
    const uint32_t heard = wideEvents ? r.u32() : r.u16();
    while (!r.atEnd() && !r.overrun()) {
        ClipEventHandler handler;
        handler.events = wideEvents ? r.u32() : r.u16();
        if (handler.events == 0 || r.overrun())
            break;
        uint32_t size = r.u32();
        if (handler.events & kClipEventKeyPress) {
            handler.keyCode = r.u8();
            size = size > 0 ? size - 1 : 0;
        }
        if (r.overrun() || size > r.remaining())
            break;
        handler.actions = {r.current(), size};
        r.skip(size);
        handler.events &= heard;
        if (handler.events != 0)
            c.clipEvents.push_back(handler);
    }
}

// PlaceObject2 and 3 share every field; 3 adds a second flag byte and the
// fields it announces.
bool ParsePlaceObject23(SwfReader &r, DisplayCommand &c, bool version3, bool wideEvents)
{
    const uint8_t flags = r.u8();
    const uint8_t flags3 = version3 ? r.u8() : 0;
    c.depth = r.u16();
    if (r.overrun())
        return false;
    c.move = flags & 0x01;
    const bool hasClassName = flags3 & 0x08;
    const bool hasImage = flags3 & 0x10;
    if (hasClassName || (hasImage && (flags & 0x02)))
        r.string();  // ActionScript 3 class: nothing to instantiate here
    if (flags & 0x02) {
        c.characterId = r.u16();
        c.hasCharacter = !r.overrun();
    }
    if (flags & 0x04) {
        c.matrix = r.matrix();
        c.hasMatrix = !r.overrun();
    }
    if (flags & 0x08) {
        c.colorTransform = r.colorTransform(true);
        c.hasColorTransform = !r.overrun();
    }
    if (flags & 0x10) {
        c.ratio = r.u16();
        c.hasRatio = !r.overrun();
    }
    if (flags & 0x20) {
        c.name = r.string();
        c.hasName = !r.overrun();
    }
    if (flags & 0x40) {
        c.clipDepth = r.u16();
        c.hasClipDepth = !r.overrun();
    }
    if (flags3 & 0x01) {
        Filter::parseList(r, c.filters);
        c.hasFilters = !r.overrun();
    }
    if (flags3 & 0x02) {
        c.blendMode = r.u8();
        c.hasBlendMode = !r.overrun();
    }
    if (flags3 & 0x04)
        c.cacheAsBitmap = r.u8() != 0;
    if (flags3 & 0x20) {
        c.visible = r.u8() != 0;
        c.hasVisible = !r.overrun();
        if (!c.hasVisible)
            c.visible = true;
    }
    if (flags3 & 0x40) {
        c.background = r.rgba();
        c.hasBackground = !r.overrun();
    }
    if (flags & 0x80)
        ParseClipEvents(r, c, wideEvents);
    return true;
}

}  // namespace

bool ParsePlaceObject(Tag tag, DisplayCommand &command, int swfVersion)
{
    command = DisplayCommand();
    command.kind = DisplayCommand::Kind::Place;
    SwfReader &r = tag.body;
    if (tag.code == kPlaceObject)
        return ParsePlaceObject1(r, command);
    return ParsePlaceObject23(r, command, tag.code == kPlaceObject3, swfVersion >= kFirstVersionWithWideEvents);
}

bool ParseRemoveObject(Tag tag, DisplayCommand &command)
{
    command = DisplayCommand();
    command.kind = DisplayCommand::Kind::Remove;
    SwfReader &r = tag.body;
    if (tag.code == kRemoveObject) {
        command.characterId = r.u16();
        command.hasCharacter = true;
    }
    command.depth = r.u16();
    return !r.overrun();
}

}  // namespace swf
