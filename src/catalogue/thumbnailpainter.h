#pragma once
// Paints the catalogue's pictures: the 120 x 120 thumbnail tile (movie
// picture on top, border, caption band with two centred lines), the tile
// of a movie that cannot be shown, and the application icon used for
// rendered items in the small styles. QImage only, so the thumbnail worker
// may paint on its own thread; the style is captured on the interface
// thread beforehand.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QStringList>

constexpr int kThumbSize = 120;
constexpr int kMoviePictureHeight = 90;

struct TThumbStyle {
    QColor band;      // the caption band
    QFont font;       // the caption lines
    QColor text = Qt::black;

    // The application palette's colours and the dialog font at 11 pixels;
    // interface thread only.
    static TThumbStyle fromApplication();
};

// `moviePicture` (120 x 90) fills the top; a null picture draws the
// "broken movie" mark there instead. An empty `captionLines` leaves the
// band blank.
QImage PaintThumbnail(const QImage &moviePicture, const QStringList &captionLines, const TThumbStyle &style);

// A square picture of `size` pixels drawn in code: a film frame with a play
// mark.
QImage ApplicationIcon(int size);
