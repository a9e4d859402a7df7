#pragma once
// The catalogue view: one folder's movies (or a given list of paths) as
// thumbnails, small icons, a list or a detail table. Thumbnails are made in
// the background by the thumbnail worker, the items on screen first; the
// detail texts are read apart from them, so they never wait for pictures.
// Lives on the interface thread; the worker reaches it only through
// synchronous requests, each tagged with the load it belongs to, so a
// request of a stopped worker never reaches a refilled list.
//
// The view owns its items (the model), the thumbnails and the worker
// threads it started; its destructor stops and joins them, so closing the
// window or ending the program never leaves a worker touching it.

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "catalogue/thumbhost.h"

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedLayout;
class QTreeView;
class TCatalogueModel;
class TDetailReader;
class TThumbDelegate;
class TThumbWorker;
class TTileRestorer;

class TZenteqThumb : public QWidget, private TThumbHost {
    Q_OBJECT
    Q_PROPERTY(int itemCount READ itemCount)
    Q_PROPERTY(QString FilePath READ FilePath)
    // Kept for the window layouts that store it; nothing reads it.
    Q_PROPERTY(bool Stop MEMBER stop_)
public:
    enum ViewStyle { vsIcon = 0, vsSmallIcon = 1, vsList = 2, vsReport = 3 };

    explicit TZenteqThumb(QWidget *parent = nullptr);
    ~TZenteqThumb() override;

    // Stops a running worker (bounded wait), clears the view, lists the
    // "*.swf" files of `folder` (or the paths of `files` when given) and
    // starts a new worker.
    void LoadFolder(const QString &folder, const QStringList *files = nullptr);
    // Removes every item and thumbnail.
    void Clear();
    // The folder given to the last load.
    QString FilePath() const { return filePath_; }

    void setViewStyle(ViewStyle style);
    ViewStyle viewStyle() const;

    void selectAll();
    int itemCount() const;
    int selectedCount() const;
    // Full path of the first selected item; empty when none is selected.
    QString firstSelectedPath() const;
    QStringList selectedPaths() const;
    // Selected rows in list order.
    QList<int> selectedRows() const;
    void setItemSelected(int row, bool selected);

    QString itemPath(int row) const;
    QString itemCaption(int row) const;
    // -1 until the item's thumbnail exists.
    int itemImageIndex(int row) const;
    // Length, frame count, rate and size texts; empty until rendered.
    QStringList itemDetails(int row) const;
    QImage itemThumbnail(int row) const;
    int thumbnailCount() const;
    // Tiles held in memory now, and at most (the rest wait on disk).
    int tilesInMemory() const;
    void setTileCapacity(int capacity);
    // Waits until dropped tiles asked for are back (tests).
    void waitForRestoredTiles();
    // Removes one item (a file command moved or deleted its movie); a
    // running worker simply finds it gone.
    void removeItem(int row);
    // The row under a global screen position, or -1.
    int itemAtGlobal(const QPoint &globalPos) const;
    void scrollToItem(int row);
    QAbstractItemView *currentView() const;

    // The close hand-shake: asks the worker to stop and processes events,
    // without a time limit, until it has.
    void StopWorkerAndWait();

signals:
    // "Total file: N", for the first status panel.
    void statusTextChanged(const QString &text);
    void progressRangeChanged(int maximum);
    void progressValueChanged(int value);
    // A click on an item (its index) or on empty space (-1).
    void itemClicked(int index);
    void itemDoubleClicked(int index);
    // A right click: the main window pops its context menu up here.
    void contextMenuRequested(const QPoint &globalPos);
    // A thumbnail could not be made: the text for the application's error
    // report. The item shows the "broken movie" picture.
    void errorReported(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpView(QAbstractItemView *view);
    void showView(QAbstractItemView *view);
    void setUpDetailColumns();
    void startWorker();
    void pruneFinishedWorkers();
    int rowAt(QAbstractItemView *view, const QPoint &viewportPos) const;
    TThumbItemState stateOf(int row) const;
    int firstVisibleRow() const;
    int firstVisibleRowWithoutImage() const;
    bool isOnScreen(int row) const;
    void restoreTile(quint64 id, const QString &path);
    void dropTilesScrolledPast();

    int workerStarted(quint64 load) override;
    TThumbWork nextWork(quint64 load, quint64 nextId) override;
    int storeThumbnail(quint64 load, quint64 id, const TThumbnail &thumbnail) override;
    void workerFinished(quint64 load) override;

    TCatalogueModel *model_;
    QItemSelectionModel *selection_;
    TThumbDelegate *delegate_;
    TTileRestorer *restorer_;
    TDetailReader *detailReader_;
    QListView *listView_;
    QTreeView *detailView_;
    QStackedLayout *stack_;
    ViewStyle style_ = vsIcon;
    QString filePath_;
    bool stop_ = false;
    // Names the current list; bumped whenever the items are replaced.
    quint64 load_ = 0;
    // Counts LoadFolder calls, so that a load overtaken by a newer one
    // while it waited for the worker gives way.
    quint64 loadRequests_ = 0;
    std::vector<std::unique_ptr<TThumbWorker>> workers_;
};
