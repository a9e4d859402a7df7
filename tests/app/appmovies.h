#pragma once
// Movies with chosen header facts (size, rate, frame count) for the tests
// of the main window, built by the catalogue tests' movie builder. Include
// this header from one test file of test_app only: it brings the builder's
// definitions along.

#include "../catalogue/moviebuilder.cpp"

#include <QDir>

// Writes a plain movie of `frames` frames, 550 by 400 at 12 fps, into
// `folder` as `name` and returns its path.
inline QString WriteMovieWithFrames(const QString &folder, const QString &name, uint16_t frames)
{
    TMovieSpec spec;
    spec.frames = frames;
    const QString path = QDir(folder).filePath(name);
    WriteFile(path, MovieBytes(spec));
    return path;
}
