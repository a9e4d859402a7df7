#pragma once
// Whether a point lies on what a character, a placed object or a button's
// hit area covers: the filled outlines of shapes, texts and bitmaps, the
// objects inside sprites, each through its own matrix. Points are in twips
// of the space named by each function. Clip layers count: a point outside
// the mask over an object does not hit it. Pure functions over immutable
// characters and a display list that does not change meanwhile; the
// player's thread.

#include <QPointF>
#include <optional>

#include "swf/characters/dictionary.h"
#include "swf/timeline/displaylist.h"

namespace swf {

class ButtonCharacter;

// The point in the space that `matrix` maps from; none when the matrix
// squeezes everything onto a line.
std::optional<QPointF> ToLocal(const Matrix &matrix, const QPointF &point);

// `point` in the character's own twips. A sprite counts with what its
// first frame places.
bool CharacterContains(const Character &character, const QPointF &point, uint16_t ratio,
                       const Dictionary &dictionary, int nesting = 0);

// `point` in the coordinates of the button's own space.
bool HitAreaContains(const ButtonCharacter &button, const QPointF &point, const Dictionary &dictionary);

// `point` in the coordinates of the list that holds `object`. A placed
// sprite counts with the objects it shows now.
bool ObjectContains(const DisplayObject &object, const QPointF &point, const Dictionary &dictionary);

// Whether the clip layers of `list` that cover `depth` all contain
// `point` (coordinates of the list).
bool ClipsAdmit(const DisplayList &list, int depth, const QPointF &point, const Dictionary &dictionary);

}  // namespace swf
