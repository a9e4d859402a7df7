#pragma once
// Start-up's way into the full-screen player: plays the movie named on the
// command line before the main window exists, and returns when the user
// leaves it. Interface thread only.

#include <QString>

// `untrimmedPath` is the first command-line argument exactly as given.
void PlayMovieFullScreen(const QString &untrimmedPath);
