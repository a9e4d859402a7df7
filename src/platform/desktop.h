#pragma once
// The running desktop, as far as the wallpaper and the screen saver need
// it: showing a picture as the background and opening the desktop's own
// settings programs. Linux desktops are driven through their command-line
// tools found on PATH (GNOME gsettings, XFCE xfconf-query, KDE
// plasma-apply-wallpaperimage); a desktop without such a tool keeps its
// wallpaper. Nothing here throws or
// reports a failure. Interface thread only (it may render a movie frame and
// waits a few seconds at most for each tool).

#include <QSize>
#include <QString>

// The picture a desktop can show for `path`. A picture is shown as it is.
// No desktop shows a web page as its background, so for a page (".htm",
// ".html") the movie the page embeds is rendered at the screen's size as
// "Pavoko.png" beside the page and that picture is returned. Empty when no
// picture can be made.
QString WallpaperPicture(const QString &path);

// Renders the first frame of the movie at `moviePath` into `picturePath`
// (PNG) at `size`; false when the movie cannot be loaded or the picture
// cannot be written (an earlier picture is then left as it was).
bool RenderMovieFrame(const QString &moviePath, const QString &picturePath, const QSize &size);

// Shows WallpaperPicture(path) as the desktop background, best effort.
void ApplyDesktopWallpaper(const QString &path);

// Starts the desktop's settings program, detached, if one is found.
void StartDesktopSettings();

// Starts the screen saver settings (xscreensaver's own when it is
// installed, else the desktop's settings program), detached, if found.
void StartScreenSaverSettings();
