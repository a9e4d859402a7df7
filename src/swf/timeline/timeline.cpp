#include "swf/timeline/timeline.h"

#include "swf/format/asciicase.h"

namespace swf {

int Timeline::frameCount() const
{
    if (frameCount_ > 0)
        return frameCount_;
    return frames.empty() ? 1 : int(frames.size());
}

const Frame &Timeline::frame(int index) const
{
    static const Frame empty;
    if (index < 0 || size_t(index) >= frames.size())
        return empty;
    return frames[size_t(index)];
}

void Timeline::addLabel(const std::string &label, int frame)
{
    // Labels match whatever the case of A-Z, and the first frame with a
    // label keeps it.
    labels_.emplace(AsciiLower(label), frame);
}

int Timeline::findLabel(const std::string &label) const
{
    const auto found = labels_.find(AsciiLower(label));
    return found == labels_.end() ? -1 : found->second;
}

}  // namespace swf
