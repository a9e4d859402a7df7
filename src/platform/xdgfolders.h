#pragma once
// The XDG base folders of the user (data, configuration), looked up anew
// on every call so that a changed environment takes effect. Any thread.

#include <QString>

// `folder` with a trailing "/".
QString WithTrailingSlash(QString folder);

// $XDG_DATA_HOME, default ~/.local/share/, with a trailing "/".
QString UserDataHome();
// $XDG_CONFIG_HOME, default ~/.config/, with a trailing "/".
QString UserConfigHome();
// $XDG_CACHE_HOME, default ~/.cache/, with a trailing "/".
QString UserCacheHome();
