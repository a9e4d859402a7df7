#pragma once
// Builds small uncompressed movies byte by byte for the player tests: a
// stage of a given size and colour, a rectangle of another colour placed
// on every frame, and optionally a stop action on one frame.

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QString>

struct TestMovie {
    int stageWidth = 100;   // pixels
    int stageHeight = 50;
    double frameRate = 12;  // frames a second, 8.8 fixed point in the file
    int frameCount = 10;
    QColor background = QColor(0, 0, 255);
    // In stage pixels; empty for no shape.
    QRect rectangle = QRect(50, 0, 50, 50);
    QColor rectangleColor = QColor(255, 0, 0);
    int stopOnFrame = -1;   // 0-based frame whose action is "stop"; -1 for none

    QByteArray bytes() const;
    // Writes the movie into `folder` under `name` and returns its path.
    QString writeTo(const QString &folder, const QString &name = QStringLiteral("movie.swf")) const;
};
