#pragma once
// What the projector and the screen saver programs share: the movie at the
// end of their own file, the stage size it asks for, and the snapshot
// option that lets a test see a played frame without a screen.
// Interface thread only.

#include <QSize>
#include <QString>
#include <memory>

#include "convert/lib/movielocator.h"

class QWidget;
namespace swf {
class MovieDefinition;
}

enum class EmbeddedLayout { Projector, ScreenSaver };

// The movie appended to the file at `programPath` in the given layout,
// parsed from the mapped file (nothing is unpacked to disk). Null with
// `*error` set when the file holds no such movie.
std::shared_ptr<const swf::MovieDefinition> LoadEmbeddedMovie(const QString &programPath, EmbeddedLayout layout,
                                                              QString *error);

// The stage size in pixels; 550 by 400 for a movie without a stage.
QSize StageSize(const std::shared_ptr<const swf::MovieDefinition> &movie);

// "--snapshot FILE" among `arguments`: the file where a test wants the
// window's picture, empty when not asked.
QString SnapshotPath(const QStringList &arguments);

// After three frames of the movie (a second at most, for slow movies),
// saves a picture of `window` as PNG to `path` and quits the application
// with status 0 (1 when it cannot be saved).
void TakeSnapshotSoon(QWidget *window, double framePeriodMs, const QString &path);
