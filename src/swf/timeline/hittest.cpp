#include "swf/timeline/hittest.h"

#include "swf/characters/areacontains.h"
#include "swf/characters/drawing.h"
#include "swf/timeline/button.h"
#include "swf/timeline/playercontext.h"
#include "swf/timeline/sprite.h"
#include "swf/timeline/timelinestate.h"

namespace swf {

std::optional<QPointF> ToLocal(const Matrix &matrix, const QPointF &point)
{
    bool invertible = false;
    const QTransform inverse = matrix.toQTransform().inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    return inverse.map(point);
}

namespace {

// Whether one of the records (placed in the space of `point`) covers it.
bool RecordsContain(const std::vector<DisplayCommand> &records, const QPointF &point, const Dictionary &dictionary,
                    int nesting)
{
    for (const DisplayCommand &record : records) {
        if (record.kind != DisplayCommand::Kind::Place || !record.hasCharacter)
            continue;
        const Character *character = dictionary.find(record.characterId);
        const auto local = ToLocal(record.matrix, point);
        if (character && local
            && CharacterContains(*character, *local, record.ratio, dictionary, nesting + 1))
            return true;
    }
    return false;
}

}  // namespace

bool CharacterContains(const Character &character, const QPointF &point, uint16_t ratio,
                       const Dictionary &dictionary, int nesting)
{
    if (nesting > PlayerContext::kNestingLimit)
        return false;
    if (const auto *sprite = dynamic_cast<const SpriteCharacter *>(&character))
        return RecordsContain(sprite->timeline().frame(0).commands, point, dictionary, nesting);
    if (const auto *button = dynamic_cast<const ButtonCharacter *>(&character))
        return RecordsContain(button->hitArea(), point, dictionary, nesting);
    return AreaContains(character.hitArea(ratio), point);
}

bool HitAreaContains(const ButtonCharacter &button, const QPointF &point, const Dictionary &dictionary)
{
    return RecordsContain(button.hitArea(), point, dictionary, 0);
}

bool ObjectContains(const DisplayObject &object, const QPointF &point, const Dictionary &dictionary)
{
    const auto local = ToLocal(object.matrix, point);
    if (!local || !object.visible)
        return false;
    if (const auto *button = dynamic_cast<const ButtonCharacter *>(object.character))
        return HitAreaContains(*button, *local, dictionary);
    if (!object.children)
        return object.character && AreaContains(object.character->hitArea(object.ratio), *local);
    if (const Drawing *drawing = object.children->drawing(); drawing && AreaContains(drawing->hitArea(0), *local))
        return true;
    const DisplayList &list = object.children->displayList();
    for (const auto &[depth, child] : list.objects())
        if (child.clipDepth == 0 && ObjectContains(child, *local, list.dictionary())
            && ClipsAdmit(list, depth, *local, list.dictionary()))
            return true;
    return false;
}

bool ClipsAdmit(const DisplayList &list, int depth, const QPointF &point, const Dictionary &dictionary)
{
    for (const auto &[clipAt, clip] : list.objects()) {
        if (clipAt >= depth)
            break;
        if (clip.clipDepth >= depth && !ObjectContains(clip, point, dictionary))
            return false;
    }
    return true;
}

}  // namespace swf
