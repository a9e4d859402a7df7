#pragma once
// The per-user data folder that stands in for the Windows directory: the
// wallpaper page and its movie copy, captured frames and the registry store
// live there. The folder is $XDG_DATA_HOME/pavoko/ (default
// ~/.local/share/pavoko/), looked up anew on every call so that a changed
// environment (tests point HOME and XDG_DATA_HOME elsewhere) takes effect.
// Any thread may call these functions.

#include <QString>

// The data folder with a trailing "/". The folder and its "web/WallPaper/"
// folder are made when missing; a folder that cannot be made is not
// reported here, the first write into it fails instead.
QString WindowsDirectory();

// WindowsDirectory() + "web/WallPaper/": where the wallpaper page and its
// movie copy are written.
QString WallpaperFolder();

// WindowsDirectory() + "SharedObjects/": where the players keep what
// movies store with SharedObject, a folder per movie below it (made when
// first written).
QString SharedObjectsFolder();
