#include "ui/boundedsplitter.h"

#include <QMouseEvent>

namespace {

// A handle that turns a drag into a proposal to its splitter instead of
// moving itself; only the first handle of a splitter is bounded.
class TBoundedHandle : public QSplitterHandle {
public:
    TBoundedHandle(Qt::Orientation orientation, TBoundedSplitter *parent)
        : QSplitterHandle(orientation, parent), m_splitter(parent)
    {
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_grabOffset = along(event->position().toPoint());
        QSplitterHandle::mousePressEvent(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!(event->buttons() & Qt::LeftButton))
            return;
        const QPoint inSplitter = m_splitter->mapFromGlobal(event->globalPosition().toPoint());
        const int position = along(inSplitter) - m_grabOffset;
        if (m_splitter->handle(1) == this)
            m_splitter->proposeFirstPaneSize(position);
        else
            moveSplitter(position);
    }

private:
    int along(const QPoint &point) const
    {
        return orientation() == Qt::Horizontal ? point.x() : point.y();
    }

    TBoundedSplitter *m_splitter;
    int m_grabOffset = 0;
};

} // namespace

TBoundedSplitter::TBoundedSplitter(Qt::Orientation orientation, QWidget *parent)
    : QSplitter(orientation, parent)
{
    setOpaqueResize(true);
}

void TBoundedSplitter::setCanResize(CanResize decide)
{
    m_canResize = std::move(decide);
}

bool TBoundedSplitter::proposeFirstPaneSize(int size)
{
    if (count() < 2 || (m_canResize && !m_canResize(size)))
        return false;
    moveSplitter(size, 1);
    return true;
}

QSplitterHandle *TBoundedSplitter::createHandle()
{
    return new TBoundedHandle(orientation(), this);
}
