#include "swf/media/soundinfo.h"

#include <algorithm>

namespace swf {

namespace {

// A record may claim up to 255 envelope points; each takes 8 bytes.
constexpr size_t kEnvelopePointSize = 8;

}  // namespace

bool SoundInfo::parse(SwfReader &r)
{
    const uint8_t flags = r.u8();
    stop = flags & 0x20;
    noMultiple = flags & 0x10;
    hasInPoint = flags & 0x01;
    hasOutPoint = flags & 0x02;
    if (hasInPoint)
        inPoint = r.u32();
    if (hasOutPoint)
        outPoint = r.u32();
    if (flags & 0x04)
        loops = std::max<uint16_t>(1, r.u16());
    if (flags & 0x08) {
        const size_t count = std::min<size_t>(r.u8(), r.remaining() / kEnvelopePointSize);
        envelope.resize(count);
        for (EnvelopePoint &point : envelope) {
            point.position = r.u32();
            point.left = std::min<uint16_t>(r.u16(), 32768);
            point.right = std::min<uint16_t>(r.u16(), 32768);
        }
    }
    return !r.overrun();
}

bool ParseStartSound(SwfReader body, bool byClassName, StartSoundCommand &command)
{
    command = StartSoundCommand();
    if (byClassName)
        command.className = body.string();
    else
        command.soundId = body.u16();
    if (body.overrun())
        return false;
    command.info.parse(body);
    return true;
}

bool ParseButtonSounds(SwfReader body, ButtonSounds &sounds)
{
    sounds = ButtonSounds();
    sounds.buttonId = body.u16();
    if (body.overrun())
        return false;
    for (StartSoundCommand &change : sounds.changes) {
        change.soundId = body.u16();
        if (body.overrun()) {
            change.soundId = 0;
            break;
        }
        if (change.soundId != 0 && !change.info.parse(body))
            break;
    }
    return true;
}

}  // namespace swf
