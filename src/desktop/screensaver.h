#pragma once
// Screen saver files: our screen saver program ("screenSaver.scr" beside
// the program) followed by a movie and the movie's length as 4 bytes
// little-endian, and their installation as the current screen saver.
// Failures throw std::runtime_error for the application's error report.
// Interface thread only.

#include <QString>

// The screen saver program that every screen saver file starts with.
QString ScreenSaverTemplatePath();

// Writes the template, the movie and the movie's length to `targetPath`,
// replacing an existing file whole (temporary file, then rename) and with
// the executable bits set. Nothing is written when the template or the
// movie cannot be read, when the movie is 4 GiB or more, or when the
// target is the movie or the template itself.
void MakeScreenSaver(const QString &moviePath, const QString &targetPath);

// Copies the screen saver file to WindowsDirectory() + "pavoko.scr",
// records that path as "SCRNSAVE.EXE" under "Control Panel\Desktop" in the
// registry store, lists and selects it in ~/.xscreensaver when the user
// has that file, and opens the desktop's screen saver settings. A copy
// that cannot be made throws before anything is recorded.
void SetCurrentScreenSaver(const QString &screenSaverPath);
