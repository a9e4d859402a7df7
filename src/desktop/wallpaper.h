#pragma once
// Making a picture or a movie the desktop wallpaper. The desktop settings
// are recorded in the registry store under "Control Panel\desktop", the
// running desktop is asked to show the picture, and the desktop's settings
// program is opened. Failures to write a file or a value throw
// std::runtime_error for the application's error report; applying the
// picture to the desktop never fails. Interface thread only.

#include <QByteArray>
#include <QString>

// Records `path` as the wallpaper ("Wallpaper" as a string, "TileWallpaper"
// and "WallpaperStyle" as 32-bit integers 0), shows it on the desktop and
// opens the desktop's settings program.
void SetWallpaper(const QString &path);

// Copies the movie as "Pavoko.swf" and writes the page "Pavoko.htm" that
// embeds it into WallpaperFolder(), then SetWallpaper on the page. Both
// files are written completely before either replaces an earlier one; when
// either cannot be written nothing is replaced and the wallpaper settings
// stay as they were.
void SetFlashWallpaper(const QString &moviePath);

// The wallpaper page, byte for byte: one line of HTML and CR LF.
QByteArray WallpaperPage();
