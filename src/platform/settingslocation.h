#pragma once
// Where the settings file lives. Beside the program while the program's
// folder can be written (and the file there, when it exists, too): a
// program unpacked into a folder of its own keeps its settings with it.
// Otherwise (a system-wide install, a read-only medium) the same file name
// under $XDG_CONFIG_HOME/pavoko/ (default ~/.config/pavoko/), a folder that
// is made when missing. Decided anew on every call. Any thread.

#include <QString>

// The settings file `fileName` for a program in `programFolder` (with or
// without a trailing "/").
QString SettingsFilePath(const QString &programFolder, const QString &fileName);

// $XDG_CONFIG_HOME/pavoko/ with a trailing "/"; not made here.
QString UserSettingsFolder();
