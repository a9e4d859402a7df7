#pragma once
// A picture file (JPEG, PNG or GIF) that a script loads into a clip or a
// level: the player shows it as a movie of one frame that holds the
// picture at its natural size, its top left corner at the clip's origin.

#include <QByteArray>
#include <memory>

namespace swf {

class MovieDefinition;

// True when `bytes` start as one of the picture formats a script may load.
bool LooksLikePicture(const QByteArray &bytes);

// The one-frame movie showing the picture; null when the data is no
// picture or does not fit the memory budget.
std::shared_ptr<MovieDefinition> PictureMovie(const QByteArray &bytes);

}  // namespace swf
