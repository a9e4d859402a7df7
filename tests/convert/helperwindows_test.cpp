// The helper programs' windows, in-process: the projector's keys and the
// screen saver's end on the user's first real input.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "helperprograms/inputwatcher.h"
#include "helperprograms/projectorwindow.h"
#include "common/smallmovies.h"
#include "swf/movie.h"

namespace {

void Press(QWidget *window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(window, &press);
}

void MoveMouse(QWidget *widget, const QPoint &global)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(widget->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

TEST(ProjectorWindow, OpensAtTheStageSizeAndTogglesFullScreenUntilEscCloses)
{
    TProjectorWindow window(QStringLiteral("clip.exe"),
                            swf::LoadMovieFromBytes(smallmovies::PlainMovie(Qt::red, 120, 90)));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("clip.exe"));
    EXPECT_EQ(window.size(), QSize(120, 90));
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool fullScreen;
    } steps[] = {{Qt::Key_F11, Qt::NoModifier, true},     {Qt::Key_F11, Qt::NoModifier, false},
                 {Qt::Key_F, Qt::ControlModifier, true},  {Qt::Key_Escape, Qt::NoModifier, false},
                 {Qt::Key_F, Qt::NoModifier, false}};
    for (const auto &step : steps) {
        Press(&window, step.key, step.modifiers);
        EXPECT_EQ(window.isFullScreen(), step.fullScreen) << step.key;
        EXPECT_TRUE(window.isVisible());
    }
    Press(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST(ScreenSaverInput, EndsOnAKeyAClickOrARealMouseMoveButNotOnJitter)
{
    QWidget screen;
    screen.resize(400, 300);
    screen.setMouseTracking(true);
    screen.show();
    const auto inputsFor = [&](const std::function<void()> &act) {
        int ends = 0;
        TInputWatcher watcher([&ends] { ++ends; });
        qApp->installEventFilter(&watcher);
        act();
        qApp->removeEventFilter(&watcher);
        return ends;
    };
    const QPoint start = screen.mapToGlobal(QPoint(100, 100));
    EXPECT_EQ(inputsFor([&] { Press(&screen, Qt::Key_Space); }), 1);
    EXPECT_EQ(inputsFor([&] {
                  QMouseEvent click(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(screen.mapToGlobal(QPoint(10, 10))),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                  QApplication::sendEvent(&screen, &click);
              }),
              1);
    EXPECT_EQ(inputsFor([&] {
                  MoveMouse(&screen, start);
                  MoveMouse(&screen, start + QPoint(3, 4));
                  MoveMouse(&screen, start + QPoint(-2, 5));
              }),
              0);
    EXPECT_GE(inputsFor([&] {
                  MoveMouse(&screen, start);
                  MoveMouse(&screen, start + QPoint(30, 0));
              }),
              1);
}
