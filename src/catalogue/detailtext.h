#pragma once
// The texts the catalogue shows for a movie: the four detail columns and
// the two caption lines of its thumbnail. Pure functions of the header and
// a locale; callable from any thread.

#include <QLocale>
#include <QString>
#include <QStringList>

#include "catalogue/swfheader.h"

// "1023bytes" below 1024, else kilobytes to the nearest tenth with the
// locale's decimal separator and no grouping: "1.0Kb", "1.5Kb".
QString LengthText(uint32_t length, const QLocale &locale = QLocale());

// Kilobytes to the nearest tenth, whatever the length: "0.5Kb", "3.4Kb".
QString KilobyteText(uint32_t length, const QLocale &locale = QLocale());

// Length, frame count, "12fps", "W:550 H:400", in column order.
QStringList DetailTexts(const TSwfHeader &header, const QLocale &locale = QLocale());

// "Flash 6 - 120Frame - 12fps - 3.4Kb - W:550 H:400", with `lengthText`
// in the length's place: the one-line summary of a movie.
QString HeaderSummary(const TSwfHeader &header, const QString &lengthText);

// "Flash 6 * 120 Frames" and "550 * 400 * 12fps".
QStringList CaptionLines(const TSwfHeader &header);
