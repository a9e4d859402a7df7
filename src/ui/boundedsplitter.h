#pragma once
// A splitter whose first handle asks its owner before it moves: a drag that
// would give the first pane a refused size leaves the panes as they were.
// The owner supplies the decision; the splitter owns its handles.
// Interface thread only.

#include <QSplitter>

#include <functional>

class TBoundedSplitter : public QSplitter {
    Q_OBJECT
public:
    // Receives the proposed size of the first pane (width for a horizontal
    // splitter, height for a vertical one); true lets the handle move.
    using CanResize = std::function<bool(int proposedSize)>;

    explicit TBoundedSplitter(Qt::Orientation orientation, QWidget *parent = nullptr);

    void setCanResize(CanResize decide);

    // Moves the first handle so that the first pane gets `size` pixels, when
    // the decision allows it. Returns whether the handle moved.
    bool proposeFirstPaneSize(int size);

protected:
    QSplitterHandle *createHandle() override;

private:
    CanResize m_canResize;
};
