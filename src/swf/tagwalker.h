#pragma once
// Walks the tag list of a movie body (and of each DefineSprite in it) once,
// at load time: definition tags go to their handlers, which fill the
// dictionary; display list tags, frame labels and frame actions become the
// plain per-frame command lists of a Timeline.
//
// A tag whose length runs past the end of its list is clipped to what is
// there; nothing is ever read beyond. Every command kept is booked in the
// movie's memory budget; when the budget runs out the walk stops and the
// movie keeps the frames read so far. Used only by the loading thread.

#include <string>
#include <unordered_map>

#include "swf/characters/definetags.h"
#include "swf/moviedefinition.h"

namespace swf {

class TagWalker {
public:
    explicit TagWalker(MovieDefinition &movie);

    // Reads the body after the 8-byte file header: frame rectangle, rate,
    // count, then the root tag list.
    void walkBody(const QByteArray &body);

private:
    // Fills `timeline` from the tags in `r`; `root` allows definitions.
    // Returns false when the list ended before its End tag.
    bool walkTags(SwfReader &r, Timeline &timeline, bool root);
    // `root`: the tag is on the main timeline.
    bool handleControlTag(Tag &tag, Timeline &timeline, Frame &frame, int frameIndex, bool root);
    // Sound starts, stream sound blocks and video frames, in any timeline.
    bool handleMediaTag(Tag &tag, Timeline &timeline, Frame &frame, int frameIndex);
    void readSymbolClasses(SwfReader body);
    void readScriptLimits(SwfReader body);
    void handleRootTag(Tag &tag, int frameIndex);
    void defineSprite(Tag tag);
    void exportAssets(Tag tag, int frameIndex);
    // Books `bytes` for the timeline; false (and the walk stops) when the
    // budget is spent.
    bool book(size_t bytes);

    MovieDefinition &movie_;
    DefineContext context_;
    bool outOfMemory_ = false;
    // Character ids by the class names SymbolClass gives them, for
    // StartSound2.
    std::unordered_map<std::string, uint16_t> classIds_;
};

}  // namespace swf
