#include "swf/tagwalker.h"

#include <algorithm>
#include <memory>

#include "swf/media/soundcharacter.h"
#include "swf/media/videostream.h"
#include "swf/timeline/button.h"
#include "swf/timeline/sprite.h"

namespace swf {

namespace {

enum TagCode : uint16_t {
    kEnd = 0,
    kShowFrame = 1,
    kDefineShape = 2,
    kPlaceObject = 4,
    kRemoveObject = 5,
    kDefineBits = 6,
    kDefineButton = 7,
    kJpegTables = 8,
    kSetBackgroundColor = 9,
    kDefineFont = 10,
    kDefineSound = 14,
    kStartSound = 15,
    kDefineButtonSound = 17,
    kSoundStreamHead = 18,
    kSoundStreamBlock = 19,
    kDefineText = 11,
    kDoAction = 12,
    kDoInitAction = 59,
    kDefineFontInfo = 13,
    kDefineBitsLossless = 20,
    kDefineBitsJpeg2 = 21,
    kDefineShape2 = 22,
    kDefineButtonCxform = 23,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kDefineShape3 = 32,
    kDefineText2 = 33,
    kDefineButton2 = 34,
    kDefineBitsJpeg3 = 35,
    kDefineBitsLossless2 = 36,
    kDefineEditText = 37,
    kDefineSprite = 39,
    kExportAssets = 56,
    kFrameLabel = 43,
    kSoundStreamHead2 = 45,
    kDefineMorphShape = 46,
    kDefineFont2 = 48,
    kDefineVideoStream = 60,
    kVideoFrame = 61,
    kDefineFontInfo2 = 62,
    kScriptLimits = 65,
    kFileAttributes = 69,
    kPlaceObject3 = 70,
    kDefineFont3 = 75,
    kSymbolClass = 76,
    kDefineShape4 = 83,
    kDefineMorphShape2 = 84,
    kStartSound2 = 89,
    kDefineBitsJpeg4 = 90,
};

constexpr int kFirstVersionWithVisibility = 11;
// Signature, version and recorded length come before the body.
constexpr uint32_t kFileHeaderBytes = 8;

using DefineHandler = void (*)(Tag, DefineContext &);

DefineHandler FindDefineHandler(uint16_t code)
{
    switch (code) {
    case kDefineShape:
    case kDefineShape2:
    case kDefineShape3:
    case kDefineShape4:
        return DefineShapeTag;
    case kDefineMorphShape:
    case kDefineMorphShape2:
        return DefineMorphShapeTag;
    case kJpegTables:
        return JpegTablesTag;
    case kDefineBits:
    case kDefineBitsJpeg2:
    case kDefineBitsJpeg3:
    case kDefineBitsJpeg4:
        return DefineBitsJpegTag;
    case kDefineBitsLossless:
    case kDefineBitsLossless2:
        return DefineBitsLosslessTag;
    case kDefineFont:
    case kDefineFont2:
    case kDefineFont3:
        return DefineFontTag;
    case kDefineFontInfo:
    case kDefineFontInfo2:
        return DefineFontInfoTag;
    case kDefineText:
    case kDefineText2:
        return DefineTextTag;
    case kDefineEditText:
        return DefineEditTextTag;
    case kDefineButton:
    case kDefineButton2:
        return DefineButtonTag;
    case kDefineButtonCxform:
        return DefineButtonCxformTag;
    case kDefineButtonSound:
        return DefineButtonSoundTag;
    case kDefineSound:
        return DefineSoundTag;
    case kDefineVideoStream:
        return DefineVideoStreamTag;
    default:
        return nullptr;
    }
}

// The next tag header and its body, clipped to the bytes that are left.
Tag NextTag(SwfReader &r)
{
    Tag tag;
    const uint16_t codeAndLength = r.u16();
    tag.code = codeAndLength >> 6;
    uint32_t length = codeAndLength & 0x3f;
    if (length == 0x3f)
        length = r.u32();
    tag.body = r.sub(length);
    return tag;
}

size_t CommandBytes(const DisplayCommand &command)
{
    return sizeof command + command.name.size() + command.filters.size() * sizeof(Filter);
}

}  // namespace

TagWalker::TagWalker(MovieDefinition &movie)
    : movie_(movie), context_{0, movie.dictionary, movie.budget, {}}
{
}

bool TagWalker::book(size_t bytes)
{
    if (!outOfMemory_ && !movie_.budget.reserve(bytes))
        outOfMemory_ = true;
    return !outOfMemory_;
}

void TagWalker::walkBody(const QByteArray &body)
{
    context_.swfVersion = movie_.header.version;
    // The player reads no further than the length the header records.
    size_t size = size_t(body.size());
    const uint32_t recorded = movie_.header.fileLength;
    if (recorded >= kFileHeaderBytes && recorded - kFileHeaderBytes < size)
        size = recorded - kFileHeaderBytes;
    SwfReader r(reinterpret_cast<const uint8_t *>(body.constData()), size);
    movie_.header.frame = r.rect();
    movie_.header.frameRate = r.u16() / 256.0;
    movie_.header.frameCount = r.u16();
    if (r.overrun()) {
        movie_.truncated = true;
        return;
    }
    if (!walkTags(r, movie_.timeline, true))
        movie_.truncated = true;
}

bool TagWalker::walkTags(SwfReader &r, Timeline &timeline, bool root)
{
    Frame frame;
    bool ended = false;
    while (!r.atEnd() && !outOfMemory_) {
        Tag tag = NextTag(r);
        if (tag.code == kEnd) {
            ended = true;
            break;
        }
        if (tag.code == kShowFrame) {
            if (!book(sizeof frame))
                break;
            timeline.frames.push_back(std::move(frame));
            frame = Frame();
            continue;
        }
        if (!handleControlTag(tag, timeline, frame, int(timeline.frames.size()), root) && root)
            handleRootTag(tag, int(timeline.frames.size()));
    }
    const bool complete = ended && !r.overrun() && !outOfMemory_;
    timeline.complete = complete;
    // Tags after the last ShowFrame of a finished list are never shown;
    // those of a cut-off list, or of a list without any ShowFrame, are.
    const bool pending = !frame.commands.empty() || !frame.actions.empty() || !frame.initActions.empty()
                         || !frame.sounds.empty();
    if (pending && (!complete || timeline.frames.empty()))
        timeline.frames.push_back(std::move(frame));
    // The frames the list holds count, whatever number its header states.
    timeline.setFrameCount(std::max<int>(1, int(timeline.frames.size())));
    return complete;
}

bool TagWalker::handleControlTag(Tag &tag, Timeline &timeline, Frame &frame, int frameIndex, bool root)
{
    DisplayCommand command;
    switch (tag.code) {
    case kPlaceObject:
    case kPlaceObject2:
    case kPlaceObject3:
        if (!ParsePlaceObject(tag, command, movie_.header.version))
            return true;
        // The main timeline meets its definitions as it plays: a character
        // defined further on is not there yet, so nothing new is placed.
        if (root && command.hasCharacter && !movie_.dictionary.find(command.characterId)) {
            if (!command.move)
                return true;
            command.hasCharacter = false;
        }
        // Earlier players ignore the visibility flag.
        if (movie_.header.version < kFirstVersionWithVisibility) {
            command.hasVisible = false;
            command.visible = true;
        }
        if (book(CommandBytes(command) + command.clipEvents.size() * sizeof(ClipEventHandler)))
            frame.commands.push_back(std::move(command));
        return true;
    case kRemoveObject:
    case kRemoveObject2:
        if (ParseRemoveObject(tag, command) && book(CommandBytes(command)))
            frame.commands.push_back(std::move(command));
        return true;
    case kFrameLabel: {
        const std::string label = tag.body.string();
        if (book(sizeof(label) + label.size() * 2))
            timeline.addLabel(label, frameIndex);
        return true;
    }
    case kDoAction:
        if (book(sizeof(ActionBlock)))
            frame.actions.push_back(
                {tag.body.current(), uint32_t(tag.body.remaining()), uint32_t(frame.commands.size())});
        return true;
    case kDoInitAction: {
        InitActionBlock init;
        init.spriteId = tag.body.u16();
        init.actions = {tag.body.current(), uint32_t(tag.body.remaining()), uint32_t(frame.commands.size())};
        if (!tag.body.overrun() && book(sizeof init))
            frame.initActions.push_back(init);
        return true;
    }
    default:
        return handleMediaTag(tag, timeline, frame, frameIndex);
    }
}

bool TagWalker::handleMediaTag(Tag &tag, Timeline &timeline, Frame &frame, int frameIndex)
{
    switch (tag.code) {
    case kStartSound:
    case kStartSound2: {
        StartSoundCommand command;
        if (!ParseStartSound(tag.body, tag.code == kStartSound2, command))
            return true;
        if (!command.className.empty()) {
            const auto it = classIds_.find(command.className);
            command.soundId = it == classIds_.end() ? 0 : it->second;
        }
        const size_t bytes = sizeof command + command.info.envelope.size() * sizeof(SoundInfo::EnvelopePoint);
        if (command.soundId != 0 && book(bytes))
            frame.sounds.push_back(std::move(command));
        return true;
    }
    case kSoundStreamHead:
    case kSoundStreamHead2:
        if (!timeline.stream)
            timeline.stream = SoundStream::fromHead(tag.body);
        return true;
    case kSoundStreamBlock:
        if (timeline.stream && book(SoundStream::kBlockBytes))
            timeline.stream->addBlock(frameIndex, tag.body);
        return true;
    case kVideoFrame:
        VideoFrameTag(tag, context_);
        return true;
    default:
        return false;
    }
}

void TagWalker::readSymbolClasses(SwfReader body)
{
    const uint16_t count = body.u16();
    for (uint16_t i = 0; i < count && !body.overrun(); ++i) {
        const uint16_t id = body.u16();
        std::string name = body.string();
        if (!body.overrun() && book(sizeof name + name.size() * 2))
            classIds_.emplace(std::move(name), id);
    }
}

void TagWalker::readScriptLimits(SwfReader body)
{
    const uint16_t depth = body.u16();
    const uint16_t seconds = body.u16();
    if (body.overrun())
        return;
    movie_.maxRecursionDepth = depth;
    movie_.scriptTimeoutSeconds = seconds;
}

void TagWalker::handleRootTag(Tag &tag, int frameIndex)
{
    switch (tag.code) {
    case kSetBackgroundColor:
        if (!movie_.setsBackground) {
            movie_.background = tag.body.rgb();
            movie_.setsBackground = true;
        }
        return;
    case kFileAttributes:
        movie_.fileAttributes = tag.body.u32();
        return;
    case kScriptLimits:
        readScriptLimits(tag.body);
        return;
    case kDefineSprite:
        defineSprite(tag);
        return;
    case kSymbolClass:
        readSymbolClasses(tag.body);
        return;
    case kExportAssets:
        exportAssets(tag, frameIndex);
        return;
    default:
        break;
    }
    if (DefineHandler handler = FindDefineHandler(tag.code))
        handler(tag, context_);
}

void TagWalker::exportAssets(Tag tag, int frameIndex)
{
    const uint16_t count = tag.body.u16();
    for (unsigned i = 0; i < count && !tag.body.atEnd(); ++i) {
        const uint16_t id = tag.body.u16();
        std::string name = tag.body.string();
        if (tag.body.overrun() || !book(sizeof(id) + name.size() * 2 + 32))
            return;
        movie_.exportFrames.emplace(name, frameIndex);
        movie_.exports.emplace(std::move(name), id);
    }
}

void TagWalker::defineSprite(Tag tag)
{
    const uint16_t id = tag.body.u16();
    Timeline timeline;
    tag.body.u16();  // the frame count it states; its frames count instead
    if (tag.body.overrun())
        return;
    timeline.byteLength = uint32_t(tag.body.remaining());
    walkTags(tag.body, timeline, false);
    if (book(sizeof(SpriteCharacter)))
        movie_.dictionary.add(std::make_shared<SpriteCharacter>(id, std::move(timeline)));
}

}  // namespace swf
