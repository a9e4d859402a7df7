#pragma once
// The texts the preview shows for the movie it plays: the header facts in
// the status bar and the frame counter under the track bar. Pure
// functions; any thread.

#include <QLocale>
#include <QString>

struct TSwfHeader;

// "Flash 6 - 120Frame - 12fps - 3.4Kb - W:550 H:400": numbers without
// grouping, the length as the catalogue writes it.
QString PreviewHeaderText(const TSwfHeader &header, const QLocale &locale = QLocale());

// "37/120": the frame shown and the last frame.
QString FrameCounterText(int position, int maximum);
