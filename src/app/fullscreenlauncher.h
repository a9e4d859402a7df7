#pragma once
// The ways into the full-screen player: a double-clicked catalogue item,
// the full-screen command on the previewed movie and the movie named on
// the command line all open it here, with the program's settings store,
// interface texts and wallpaper commands handed to it. Interface thread
// only.

#include <QString>

class QWidget;
struct TFullScreenServices;

// The application services the full-screen player works with.
TFullScreenServices FullScreenServices();

// Plays `moviePath` (as given, untrimmed) full screen over `owner` (null
// before the main window exists) and returns when the user leaves it.
void PlayMovieFullScreen(QWidget *owner, const QString &moviePath);
