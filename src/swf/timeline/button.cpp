#include "swf/timeline/button.h"

#include <memory>

namespace swf {

namespace {

constexpr uint16_t kDefineButton2 = 34;
constexpr uint8_t kStateUp = 0x01;
constexpr uint8_t kHasFilterList = 0x10;
constexpr uint8_t kHasBlendMode = 0x20;

void ReadRecordExtras(SwfReader &r, uint8_t flags, DisplayCommand &place)
{
    if (flags & kHasFilterList) {
        Filter::parseList(r, place.filters);
        place.hasFilters = true;
    }
    if (flags & kHasBlendMode) {
        place.blendMode = r.u8();
        place.hasBlendMode = true;
    }
}

}  // namespace

void ButtonCharacter::setColorTransform(const ColorTransform &cx)
{
    for (Frame &frame : upState_.frames)
        for (DisplayCommand &command : frame.commands) {
            command.hasColorTransform = true;
            command.colorTransform = cx;
        }
}

void DefineButtonTag(Tag tag, DefineContext &ctx)
{
    SwfReader &r = tag.body;
    const uint16_t id = r.u16();
    const bool version2 = tag.code == kDefineButton2;
    if (version2) {
        r.u8();   // track as menu
        r.u16();  // offset of the actions
    }
    Frame up;
    while (!r.atEnd() && !r.overrun()) {
        const uint8_t flags = r.u8();
        if (flags == 0)
            break;
        DisplayCommand place;
        place.hasCharacter = true;
        place.characterId = r.u16();
        place.depth = r.u16();
        place.hasMatrix = true;
        place.matrix = r.matrix();
        if (version2) {
            place.colorTransform = r.colorTransform(true);
            place.hasColorTransform = true;
            ReadRecordExtras(r, flags, place);
        }
        if (r.overrun())
            break;
        if ((flags & kStateUp) && ctx.budget.reserve(sizeof place + place.filters.size() * sizeof(Filter)))
            up.commands.push_back(place);
    }
    Timeline timeline;
    timeline.setFrameCount(1);
    timeline.frames.push_back(std::move(up));
    ctx.dictionary.add(std::make_shared<ButtonCharacter>(id, std::move(timeline)));
}

void DefineButtonCxformTag(Tag tag, DefineContext &ctx)
{
    SwfReader &r = tag.body;
    const uint16_t id = r.u16();
    const ColorTransform cx = r.colorTransform(false);
    if (r.overrun())
        return;
    if (auto *button = ctx.dictionary.findAs<ButtonCharacter>(id))
        button->setColorTransform(cx);
}

void DefineButtonSoundTag(Tag tag, DefineContext &ctx)
{
    ButtonSounds sounds;
    if (!ParseButtonSounds(tag.body, sounds))
        return;
    if (auto *button = ctx.dictionary.findAs<ButtonCharacter>(sounds.buttonId))
        button->setSounds(std::move(sounds));
}

}  // namespace swf
