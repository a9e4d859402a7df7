#pragma once
// Decoding the image data of the DefineBits family (JPEG, or PNG and GIF
// data that later movies put in the same tags) into premultiplied ARGB
// pictures. Pure functions; any thread.

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "swf/format/memorybudget.h"

namespace swf {

enum class EmbeddedImageKind { Jpeg, Png, Gif };

// What the data is, by its signature; anything not PNG or GIF is taken
// for JPEG.
EmbeddedImageKind DetectEmbeddedImage(const QByteArray &data);

// One well-formed JPEG stream from the encoding tables (the JPEGTables tag,
// may be empty) and the picture data. Movies often carry extra end/start of
// image markers (FF D9 FF D8) before the picture or between tables and
// picture, which decoders reject: every start and end marker before the
// first scan is dropped and a single start marker put in front.
QByteArray MergeJpegStream(const QByteArray &tables, const QByteArray &data);

// Decodes JPEG, PNG or GIF data (JPEG tables already merged). The picture's
// bytes are booked in `budget` before decoding: a picture that does not fit,
// or data that cannot be decoded, gives a null image and books nothing.
QImage DecodeEmbeddedImage(const QByteArray &data, MemoryBudget &budget);

// Applies the alpha plane of DefineBitsJPEG3/4: `zlibAlpha` inflates to one
// byte per pixel, row by row. Authoring tools store the JPEG colours
// already multiplied by that alpha, so they are taken as premultiplied and
// only clamped to it (which also hides fully transparent pixels of movies
// that did not premultiply). Pixels the plane does not reach (a short or
// corrupt stream) stay opaque.
void ApplyAlphaPlane(QImage &image, const uint8_t *zlibAlpha, size_t size);

}  // namespace swf
