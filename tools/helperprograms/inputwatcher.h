#pragma once
// The screen saver's end: the user's first real input anywhere in the
// application (a key, a click, the wheel, or the mouse travelling more than
// a few pixels from where it was first seen) calls `onInput` and is eaten.
// Install it on the application. Interface thread only.

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class TInputWatcher : public QObject {
public:
    explicit TInputWatcher(std::function<void()> onInput) : onInput_(std::move(onInput)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> onInput_;
    std::optional<QPoint> firstSeen_;
};
