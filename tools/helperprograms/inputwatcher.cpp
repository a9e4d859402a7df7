#include "inputwatcher.h"

#include <QMouseEvent>

namespace {

// Mouse travel below this many pixels is jitter, not the user.
constexpr int kMouseJitterPixels = 10;

}  // namespace

bool TInputWatcher::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        onInput_();
        return true;
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if (!firstSeen_)
            firstSeen_ = at;
        else if ((at - *firstSeen_).manhattanLength() > kMouseJitterPixels)
            onInput_();
        return false;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
