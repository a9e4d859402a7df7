#pragma once
// The program's pictures, painted by code: the command tool bar's images
// (24 by 24), the playback buttons' images (16 by 16) and the program's own
// picture. Needs a running QGuiApplication; interface thread only.

#include <QIcon>
#include <QPixmap>

// Images of the command tool bar, numbered as its buttons refer to them.
enum class TToolImage {
    FullScreen = 0,
    ViewType = 1,
    Search = 2,
    Property = 3,
    Help = 4,
    Homepage = 5,
    BatchConvert = 6,
    SetAsDesktop = 7,
    ScreenSaver = 8,
};

// Images of the playback buttons, in the order the buttons stand.
enum class TPlayImage { Start = 0, Back, Pause, Stop, Play, Forward, End };

QIcon ToolBarIcon(TToolImage image);
QIcon PlaybackIcon(TPlayImage image);
// The program's picture at `size` by `size` pixels.
QPixmap ProgramPicture(int size);
