#include "swf/timeline/button.h"

#include <memory>

namespace swf {

namespace {

constexpr uint16_t kDefineButton2 = 34;
constexpr uint8_t kStateUp = 0x01;
constexpr uint8_t kStateOver = 0x02;
constexpr uint8_t kStateDown = 0x04;
constexpr uint8_t kStateHitTest = 0x08;
constexpr uint8_t kHasFilterList = 0x10;
constexpr uint8_t kHasBlendMode = 0x20;
constexpr uint8_t kTrackAsMenu = 0x01;

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

size_t RecordBytes(const DisplayCommand &place)
{
    return sizeof place + place.filters.size() * sizeof(Filter);
}

// The character records up to their end flag, each kept for every state
// that shows it.
void ReadRecords(SwfReader &r, bool version2, DefineContext &ctx, ButtonCharacter::Definition &def)
{
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
        const std::pair<uint8_t, ButtonPicture> shown[] = {
            {kStateUp, ButtonPicture::Up}, {kStateOver, ButtonPicture::Over}, {kStateDown, ButtonPicture::Down}};
        for (const auto &[bit, picture] : shown)
            if ((flags & bit) && ctx.budget.reserve(RecordBytes(place)))
                def.pictures[int(picture)].frames[0].commands.push_back(place);
        if ((flags & kStateHitTest) && ctx.budget.reserve(RecordBytes(place)))
            def.hitArea.push_back(place);
    }
}

bool AddActionRecord(SwfReader actions, uint16_t conditions, DefineContext &ctx, ButtonCharacter::Definition &def)
{
    ButtonActionRecord record;
    record.conditions = conditions;
    if (!ctx.budget.reserve(sizeof record + actions.remaining()))
        return false;
    record.actions = QByteArray(reinterpret_cast<const char *>(actions.current()), int(actions.remaining()));
    ParseFrameActions(actions, record.simpleActions);
    def.actions.push_back(std::move(record));
    return true;
}

// DefineButton2's condition records: each starts with the offset of the
// next (0 for the last, which runs to the end of the tag).
void ReadConditionRecords(SwfReader &r, DefineContext &ctx, ButtonCharacter::Definition &def)
{
    while (r.remaining() >= 4) {
        const uint16_t size = r.u16();
        const uint16_t conditions = r.u16();
        const bool last = size == 0;
        if (!last && (size < 4 || r.remaining() < size - 4u))
            return;
        SwfReader actions = r.sub(last ? r.remaining() : size - 4u);
        if (!AddActionRecord(actions, conditions, ctx, def) || last)
            return;
    }
}

}  // namespace

void ButtonCharacter::setColorTransform(const ColorTransform &cx)
{
    for (Timeline &picture : def_.pictures)
        for (Frame &frame : picture.frames)
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
    ButtonCharacter::Definition def;
    for (Timeline &picture : def.pictures) {
        picture.setFrameCount(1);
        picture.frames.emplace_back();
    }
    size_t actionsAt = 0;
    if (version2) {
        def.trackAsMenu = r.u8() & kTrackAsMenu;
        const uint16_t offset = r.u16();
        // The offset counts from its own first byte.
        actionsAt = offset == 0 ? 0 : r.position() - 2 + offset;
    }
    ReadRecords(r, version2, ctx, def);
    if (!version2) {
        // The first version has one action list, fired on release; a
        // lone end action is no list.
        if (r.remaining() > 1)
            AddActionRecord(r.sub(r.remaining()), kOverDownToOverUp, ctx, def);
    } else if (actionsAt > 0 && actionsAt <= r.size()) {
        r.seek(actionsAt);
        ReadConditionRecords(r, ctx, def);
    }
    ctx.dictionary.add(std::make_shared<ButtonCharacter>(id, std::move(def)));
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
