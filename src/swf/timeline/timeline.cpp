#include "swf/timeline/timeline.h"

#include <QString>

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
    labels_.emplace(label, frame);  // the first frame with a label keeps it
}

int Timeline::findLabel(const std::string &label) const
{
    const auto exact = labels_.find(label);
    if (exact != labels_.end())
        return exact->second;
    const QString wanted = QString::fromStdString(label);
    for (const auto &[name, frame] : labels_)
        if (QString::fromStdString(name).compare(wanted, Qt::CaseInsensitive) == 0)
            return frame;
    return -1;
}

}  // namespace swf
