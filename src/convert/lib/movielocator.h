#pragma once
// Where a movie lies inside a bigger file. Pure functions over bytes that
// are already in memory (a mapped file); no allocation, no Qt, so that the
// converter library, the projector program and the screen saver program
// share them. Every length read from the bytes is checked against their
// size before it is used. Any thread.
//
// Layouts known here (n is the movie's size in bytes):
//   projector trailer:  program, movie, 56 34 12 FA, n as 4 bytes LE
//   Linux, 32-bit:      program, n as 4 bytes LE, 56 34 12 FA, movie
//   Linux, 64-bit:      program, n as 8 bytes LE, 56 34 12 FA FF FF FF FF, movie
//   screen saver:       program, movie, n as 4 bytes LE

#include <cstddef>
#include <cstdint>
#include <optional>

struct MovieSpan {
    size_t offset = 0;
    size_t length = 0;

    bool operator==(const MovieSpan &other) const { return offset == other.offset && length == other.length; }
};

// The 4 bytes that mark an appended movie.
inline constexpr uint8_t kProjectorMagic[4] = {0x56, 0x34, 0x12, 0xFA};
inline constexpr size_t kProjectorTrailerBytes = 8;
// Versions above this are no movie of any player ever released.
inline constexpr uint8_t kHighestSaneVersion = 80;

// True when `bytes` (at least 8 of them) open with "FWS", "CWS" or "ZWS"
// and a version from 1 to kHighestSaneVersion.
bool StartsLikeMovie(const uint8_t *bytes, size_t size);

// The movie before a projector trailer at the very end, when the trailer's
// length fits and the bytes it points at start like a movie.
std::optional<MovieSpan> FindMovieBeforeTrailer(const uint8_t *bytes, size_t size);

// The movie that runs to the end of the file behind a Linux projector's
// length and magic (64-bit layout first, then 32-bit).
std::optional<MovieSpan> FindMovieAfterLinuxMagic(const uint8_t *bytes, size_t size);

// The largest complete movie anywhere in the bytes: a signature whose
// header, recorded length and body (tags up to the end tag, or the whole
// compressed stream) check out.
std::optional<MovieSpan> ScanForMovie(const uint8_t *bytes, size_t size);

// Every layout a projector may have, in the order above, then the scan.
std::optional<MovieSpan> FindProjectorMovie(const uint8_t *bytes, size_t size);

// The movie of a screen saver file: the last 4 bytes give n, the movie is
// the n bytes before them. Nothing when n does not fit.
std::optional<MovieSpan> FindScreenSaverMovie(const uint8_t *bytes, size_t size);

// Size of the complete movie starting at `bytes`, or nothing when its
// header or body does not check out. Exposed for the scan's tests.
std::optional<size_t> CompleteMovieLength(const uint8_t *bytes, size_t size);
