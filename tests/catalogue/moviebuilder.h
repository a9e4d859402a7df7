#pragma once
// Builds small SWF files for the catalogue tests: a header with the given
// facts, as many ShowFrame tags as frames and an End tag, stored plain
// ("FWS") or zlib-compressed ("CWS").

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "catalogue/swfheader.h"

struct TMovieSpec {
    QByteArray signature = "FWS";
    uint8_t version = 6;
    uint32_t xMax = 11000;  // twips
    uint32_t yMax = 8000;
    uint8_t rate = 12;
    uint8_t rateFraction = 0;
    uint16_t frames = 1;
    // The length recorded in bytes 4-7; 0 means the real inflated length.
    uint32_t recordedLength = 0;
};

// The body: rectangle, rate, count and the tags.
QByteArray MovieBody(const TMovieSpec &spec);
// The whole file; "CWS" compresses the body.
QByteArray MovieBytes(const TMovieSpec &spec);
// The 8-byte opening followed by `body` as given (compressed when
// `compress`).
QByteArray RawMovie(const QByteArray &signature, uint8_t version, uint32_t length, const QByteArray &body,
                    bool compress);
// Writes `bytes` to `path`; fails the calling test when it cannot.
void WriteFile(const QString &path, const QByteArray &bytes);

// The record of a 550 x 400 movie of version 6 with 120 frames at 12 fps.
TSwfHeader ExampleHeader(uint32_t length);
