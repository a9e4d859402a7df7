// The order Tab moves the focus in: the visible objects that take part
// (tabEnabled, or by default input fields, buttons and clips that act as
// buttons; a clip's tabChildren false leaves out what it holds), by
// tabIndex when any of them has one (those without one stay out), else
// from the top of the stage down and from left to right.

#include <algorithm>
#include <cmath>

#include "swf/avm1/clipobject.h"
#include "swf/avm1/machine.h"
#include "swf/avm1/scriptfocus.h"
#include "swf/characters/edittextcharacter.h"
#include "swf/characters/textfieldcharacter.h"
#include "swf/timeline/button.h"
#include "swf/timeline/playercontext.h"
#include "swf/timeline/scriptmasks.h"
#include "swf/timeline/timelinestate.h"

namespace swf::avm1 {

namespace {

struct TabStop {
    Object *object;
    double tabIndex;
    QPointF position;
};

bool IsTextField(const DisplayObject &object)
{
    return dynamic_cast<const TextFieldCharacter *>(object.character)
           || dynamic_cast<const EditTextCharacter *>(object.character);
}

bool IsButton(const DisplayObject &object)
{
    return dynamic_cast<const ButtonCharacter *>(object.character) != nullptr;
}

bool IsClip(const DisplayObject &object) { return object.children && !IsButton(object); }

// A clip that names a handler of the mouse's button events, even one set
// to undefined, is one Tab visits.
bool NamesButtonHandler(Machine &m, Object *clip)
{
    static const char *const kHandlers[] = {"onPress",   "onRelease",  "onReleaseOutside", "onRollOver",
                                            "onRollOut", "onDragOver", "onDragOut"};
    return m.version() >= 6
           && std::any_of(std::begin(kHandlers), std::end(kHandlers), [&](const char *name) { return m.has(clip, name); });
}

// A property that decides when set and gives way to `byDefault` when not.
bool FlagOr(Machine &m, Object *object, const char *name, bool byDefault)
{
    const Value value = m.get(object, name);
    return value.isUndefined() ? byDefault : m.toBoolean(value);
}

class StopCollector {
public:
    StopCollector(Machine &m, const std::function<bool(TimelineState &)> &actsAsButton)
        : m_(m), actsAsButton_(actsAsButton)
    {
    }

    void collect(TimelineState &timeline, int nesting = 0)
    {
        if (nesting > PlayerContext::kNestingLimit)
            return;
        for (auto &[depth, object] : timeline.displayList().objects()) {
            if (!object.visible || object.unloading || object.clipDepth > 0)
                continue;
            if (IsTextField(object))
                consider(timeline, object, m_.clips->textField(timeline, object), false);
            else if (IsClip(object))
                considerClip(timeline, object, nesting);
            else if (IsButton(object) && object.children)
                consider(timeline, object, m_.clips->objectFor(object.children.get()), true);
        }
    }

    std::vector<TabStop> stops;

private:
    void considerClip(TimelineState &timeline, DisplayObject &object, int nesting)
    {
        Object *clip = m_.clips->objectFor(object.children.get());
        const bool button = (actsAsButton_ && actsAsButton_(*object.children)) || (clip && NamesButtonHandler(m_, clip));
        consider(timeline, object, clip, button);
        if (clip && FlagOr(m_, clip, "tabChildren", true))
            collect(*object.children, nesting + 1);
    }

    void consider(TimelineState &timeline, const DisplayObject &object, Object *script, bool byDefault)
    {
        if (!script)
            return;
        // An object given a tabIndex takes part unless it says otherwise.
        const Value index = m_.get(script, "tabIndex");
        byDefault = byDefault || !index.isUndefined();
        if (!byDefault && IsTextField(object))
            byDefault = m_.toString(m_.get(script, "type")) == "input";
        if (!FlagOr(m_, script, "tabEnabled", byDefault))
            return;
        const Matrix toStage = TimelineToStage(timeline) * object.matrix;
        stops.push_back({script, index.isUndefined() ? NAN : m_.toNumber(index), QPointF(toStage.tx, toStage.ty)});
    }

    Machine &m_;
    const std::function<bool(TimelineState &)> &actsAsButton_;
};

std::vector<TabStop> InTabOrder(std::vector<TabStop> stops)
{
    const bool indexed = std::any_of(stops.begin(), stops.end(), [](const TabStop &s) { return std::isfinite(s.tabIndex); });
    if (indexed) {
        stops.erase(std::remove_if(stops.begin(), stops.end(), [](const TabStop &s) { return !std::isfinite(s.tabIndex); }),
                    stops.end());
        std::stable_sort(stops.begin(), stops.end(),
                         [](const TabStop &a, const TabStop &b) { return a.tabIndex < b.tabIndex; });
    } else {
        std::stable_sort(stops.begin(), stops.end(), [](const TabStop &a, const TabStop &b) {
            return a.position.y() != b.position.y() ? a.position.y() < b.position.y() : a.position.x() < b.position.x();
        });
    }
    return stops;
}

}  // namespace

void ScriptFocus::tab(TimelineState &root, bool backwards)
{
    if (!machine_.clips)
        return;
    StopCollector collector(machine_, actsAsButton);
    collector.collect(root);
    const std::vector<TabStop> stops = InTabOrder(std::move(collector.stops));
    if (stops.empty())
        return;
    Object *now = current();
    const auto at = std::find_if(stops.begin(), stops.end(), [now](const TabStop &s) { return s.object == now; });
    const size_t count = stops.size();
    size_t next = backwards ? count - 1 : 0;
    if (at != stops.end())
        next = (size_t(at - stops.begin()) + (backwards ? count - 1 : 1)) % count;
    moveTo(stops[next].object, true, true);
}

}  // namespace swf::avm1
