#pragma once
// Builds small uncompressed movies byte by byte for the player tests: a
// stage of a given size and colour, a rectangle of another colour placed
// on every frame, and optionally a stop action on one frame. The rectangle
// may be a button or a sprite instead, with pictures of its own for the pointer over
// it and for the button held down, and actions that go to a frame.

#include <QByteArray>
#include <QColor>
#include <QList>
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
    // When not empty the rectangle is a looping sprite whose frames show
    // it in these colours, one after the other.
    QList<QColor> spriteColors;

    // The rectangle as a button (its hit area), with these pictures.
    bool button = false;
    QColor overColor = QColor(255, 255, 0);
    QColor downColor = QColor(0, 255, 0);
    int releaseGoesTo = -1;  // frame a release goes to and stops at; -1 for none
    char keyPress = 0;       // a key whose press goes to keyGoesTo; 0 for none
    int keyGoesTo = 0;
    // A web address the release asks for (before its goto), and one the
    // first frame's script asks for; empty for none.
    QString releaseOpensUrl;
    QString firstFrameOpensUrl;

    // In stage pixels: an empty input text field there, bordered, in the
    // player's own font (placed above the rectangle); empty for none.
    QRect inputField;

    QByteArray bytes() const;
    // Writes the movie into `folder` under `name` and returns its path.
    QString writeTo(const QString &folder, const QString &name = QStringLiteral("movie.swf")) const;
};
