#include "catalogue/zenteqthumb.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QListView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedLayout>
#include <QThread>
#include <QTreeView>
#include <algorithm>

#include "catalogue/cataloguemodel.h"
#include "catalogue/detailreader.h"
#include "catalogue/detailtext.h"
#include "catalogue/folderlisting.h"
#include "catalogue/thumbdelegate.h"
#include "catalogue/thumbnailmaker.h"
#include "catalogue/thumbworker.h"
#include "catalogue/tilerestorer.h"

namespace {

// How long a load waits for the worker to acknowledge its stop, and the
// pause after it.
constexpr int kStopWaitMs = 2000;
constexpr int kSettleMs = 100;
// Where the probe for the first visible item starts on the diagonal.
constexpr int kProbeStart = 20;
// An icon whose top is less than this far above the client area still
// counts as on screen.
constexpr int kVisibleMargin = 100;
constexpr int kDetailWidths[TCatalogueModel::ColumnCount] = {300, 100, 100, 100, 200};

}  // namespace

TZenteqThumb::TZenteqThumb(QWidget *parent)
    : QWidget(parent),
      model_(new TCatalogueModel(this)),
      selection_(new QItemSelectionModel(model_, this)),
      delegate_(new TThumbDelegate(this)),
      restorer_(new TTileRestorer(this)),
      detailReader_(new TDetailReader(this)),
      listView_(new QListView(this)),
      detailView_(new QTreeView(this)),
      stack_(new QStackedLayout(this))
{
    setObjectName(QStringLiteral("FlashView"));
    setAccessibleName(QStringLiteral("Movies"));
    stack_->setContentsMargins(0, 0, 0, 0);
    setUpView(listView_);
    setUpView(detailView_);
    listView_->setItemDelegate(delegate_);
    listView_->setMovement(QListView::Static);
    listView_->setResizeMode(QListView::Adjust);
    listView_->setWrapping(true);
    setUpDetailColumns();
    stack_->addWidget(listView_);
    stack_->addWidget(detailView_);
    setViewStyle(vsIcon);
    connect(model_, &TCatalogueModel::tileMissing, this, &TZenteqThumb::restoreTile);
    connect(restorer_, &TTileRestorer::restored, this, [this](quint64 load, quint64 id, const QImage &tile) {
        const int row = model_->rowOfId(id);
        if (load == load_ && row >= 0)
            model_->restoreTile(id, tile, isOnScreen(row));
    });
    connect(detailReader_, &TDetailReader::detailsRead, this,
            [this](quint64 load, const QList<TItemDetails> &details) {
                if (load == load_)
                    model_->setDetails(details);
            });
}

TZenteqThumb::~TZenteqThumb()
{
    RequestWorkerStop();
    ++load_;  // every further request of a worker is refused
    for (const auto &worker : workers_) {
        // Only the worker's own requests are served here: the rest of the
        // window may already be half destroyed.
        while (!worker->wait(QDeadlineTimer(5)))
            QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void TZenteqThumb::setUpView(QAbstractItemView *view)
{
    view->setAccessibleName(QStringLiteral("Movies"));
    view->setModel(model_);
    QItemSelectionModel *own = view->selectionModel();
    view->setSelectionModel(selection_);
    delete own;
    // Every style selects whole rows, so that the selection a click makes
    // in one style is the selection every command and the other styles see.
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->viewport()->installEventFilter(this);
    for (QScrollBar *bar : {view->verticalScrollBar(), view->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &TZenteqThumb::dropTilesScrolledPast);
    connect(view, &QWidget::customContextMenuRequested, this,
            [this, view](const QPoint &pos) { emit contextMenuRequested(view->viewport()->mapToGlobal(pos)); });
}

void TZenteqThumb::setUpDetailColumns()
{
    detailView_->setRootIsDecorated(false);
    detailView_->setItemsExpandable(false);
    detailView_->setUniformRowHeights(true);
    detailView_->setAllColumnsShowFocus(true);
    detailView_->header()->setStretchLastSection(false);
    for (int column = 0; column < TCatalogueModel::ColumnCount; ++column)
        detailView_->setColumnWidth(column, kDetailWidths[column]);
}

void TZenteqThumb::setViewStyle(ViewStyle style)
{
    style_ = style;
    if (style == vsReport) {
        showView(detailView_);
        return;
    }
    const bool thumbnails = style == vsIcon;
    delegate_->setThumbnailMode(thumbnails);
    listView_->setViewMode(thumbnails ? QListView::IconMode : QListView::ListMode);
    listView_->setFlow(style == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    listView_->setGridSize(thumbnails ? QSize(TThumbDelegate::kCellWidth, TThumbDelegate::kCellHeight) : QSize());
    listView_->setUniformItemSizes(thumbnails);
    listView_->setMovement(QListView::Static);
    listView_->setWrapping(true);
    listView_->setSpacing(0);
    showView(listView_);
    listView_->doItemsLayout();
}

// Whoever gives the catalogue the keyboard gives it to the view on show,
// so the arrow keys and the view's own keys act on the items.
void TZenteqThumb::showView(QAbstractItemView *view)
{
    const bool hadFocus = hasFocus();
    stack_->setCurrentWidget(view);
    setFocusProxy(view);
    if (hadFocus)
        view->setFocus();
}

TZenteqThumb::ViewStyle TZenteqThumb::viewStyle() const { return style_; }

QAbstractItemView *TZenteqThumb::currentView() const
{
    return style_ == vsReport ? static_cast<QAbstractItemView *>(detailView_) : listView_;
}

void TZenteqThumb::LoadFolder(const QString &folder, const QStringList *files)
{
    filePath_ = folder;
    const quint64 request = ++loadRequests_;
    RequestWorkerStop();
    WaitForWorkerIdle(kStopWaitMs);
    QThread::msleep(kSettleMs);
    if (request != loadRequests_)
        return;  // a newer load ran while this one waited, and it wins
    Clear();
    model_->appendItems(files ? ListGivenPaths(*files) : ListMovieFolder(folder));
    detailReader_->read(load_, model_->idsAndPaths());
    pruneFinishedWorkers();
    if (model_->rowCount() > 0)
        startWorker();
}

void TZenteqThumb::Clear()
{
    ++load_;
    restorer_->forget();
    detailReader_->forget();
    model_->clear();
    emit progressValueChanged(0);
}

void TZenteqThumb::startWorker()
{
    auto worker = std::make_unique<TThumbWorker>(this, static_cast<TThumbHost *>(this), load_,
                                                 TThumbStyle::fromApplication());
    worker->launch();
    workers_.push_back(std::move(worker));
}

void TZenteqThumb::pruneFinishedWorkers()
{
    workers_.erase(std::remove_if(workers_.begin(), workers_.end(),
                                  [](const std::unique_ptr<TThumbWorker> &worker) { return worker->isFinished(); }),
                   workers_.end());
}

void TZenteqThumb::StopWorkerAndWait()
{
    RequestWorkerStop();
    WaitForWorkerIdle(-1);
}

void TZenteqThumb::selectAll()
{
    if (itemCount() == 0)
        return;
    const QItemSelection all(model_->index(0, 0), model_->index(itemCount() - 1, TCatalogueModel::ColumnCount - 1));
    selection_->select(all, QItemSelectionModel::Select);
}

int TZenteqThumb::itemCount() const { return model_->rowCount(); }

int TZenteqThumb::selectedCount() const { return int(selectedRows().size()); }

// A row counts as selected when any of its cells is: the list styles show
// and select only the first column, the detail style selects all five.
QList<int> TZenteqThumb::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selection_->selectedIndexes())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QString TZenteqThumb::firstSelectedPath() const
{
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? QString() : itemPath(rows.first());
}

QStringList TZenteqThumb::selectedPaths() const
{
    QStringList paths;
    for (const int row : selectedRows())
        paths.append(itemPath(row));
    return paths;
}

void TZenteqThumb::setItemSelected(int row, bool selected)
{
    if (row < 0 || row >= itemCount())
        return;
    selection_->select(model_->index(row, 0), (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                                  QItemSelectionModel::Rows);
}

QString TZenteqThumb::itemPath(int row) const
{
    return row >= 0 && row < itemCount() ? model_->item(row).path : QString();
}

QString TZenteqThumb::itemCaption(int row) const
{
    return row >= 0 && row < itemCount() ? model_->item(row).caption : QString();
}

int TZenteqThumb::itemImageIndex(int row) const
{
    return row >= 0 && row < itemCount() ? model_->item(row).imageIndex : -1;
}

QStringList TZenteqThumb::itemDetails(int row) const
{
    return row >= 0 && row < itemCount() ? model_->item(row).details : QStringList();
}

QImage TZenteqThumb::itemThumbnail(int row) const
{
    const int image = itemImageIndex(row);
    return image >= 0 ? model_->thumbnail(image) : QImage();
}

int TZenteqThumb::thumbnailCount() const { return model_->thumbnailCount(); }

int TZenteqThumb::tilesInMemory() const { return model_->tilesInMemory(); }

void TZenteqThumb::setTileCapacity(int capacity) { model_->setTileCapacity(capacity); }

void TZenteqThumb::waitForRestoredTiles()
{
    restorer_->waitForDone();
    QCoreApplication::sendPostedEvents(restorer_);
    QCoreApplication::sendPostedEvents(model_);
}

void TZenteqThumb::restoreTile(quint64 id, const QString &path)
{
    restorer_->request(load_, id, path, TThumbStyle::fromApplication());
}

// Tiles asked for but not restored yet belong to items scrolled past; the
// next paint asks again for those still on screen.
void TZenteqThumb::dropTilesScrolledPast()
{
    restorer_->forget();
    model_->forgetMissing();
}

bool TZenteqThumb::isOnScreen(int row) const
{
    const QAbstractItemView *view = currentView();
    return isVisible() && view->viewport()->rect().intersects(view->visualRect(model_->index(row, 0)));
}

void TZenteqThumb::removeItem(int row) { model_->removeItem(row); }

int TZenteqThumb::rowAt(QAbstractItemView *view, const QPoint &viewportPos) const
{
    const QModelIndex index = view->indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

int TZenteqThumb::itemAtGlobal(const QPoint &globalPos) const
{
    QAbstractItemView *view = currentView();
    return rowAt(view, view->viewport()->mapFromGlobal(globalPos));
}

void TZenteqThumb::scrollToItem(int row)
{
    if (row < 0 || row >= itemCount())
        return;
    currentView()->doItemsLayout();
    currentView()->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
}

bool TZenteqThumb::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *view = currentView();
    if (watched != view->viewport())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const int row = rowAt(view, mouse->position().toPoint());
            if (event->type() == QEvent::MouseButtonRelease)
                emit itemClicked(row);
            else
                emit itemDoubleClicked(row);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- requests of the thumbnail worker (interface thread) ---

TThumbItemState TZenteqThumb::stateOf(int row) const
{
    const TCatalogueItem &entry = model_->item(row);
    TThumbItemState state;
    state.valid = true;
    state.id = entry.id;
    state.hasImage = entry.imageIndex >= 0;
    state.path = entry.path;
    return state;
}

int TZenteqThumb::workerStarted(quint64 load)
{
    if (load != load_)
        return -1;
    const int count = itemCount();
    emit statusTextChanged(QStringLiteral("Total file: %1").arg(count));
    emit progressRangeChanged(count);
    return count;
}

int TZenteqThumb::firstVisibleRow() const
{
    QAbstractItemView *view = currentView();
    const int reach = qMin(view->viewport()->width(), view->viewport()->height());
    for (int a = kProbeStart; a < reach; ++a) {
        const int row = rowAt(view, QPoint(a, a));
        if (row >= 0)
            return row;
    }
    return -1;
}

int TZenteqThumb::firstVisibleRowWithoutImage() const
{
    if (!isVisible())
        return -1;
    QAbstractItemView *view = currentView();
    const QSize client = view->viewport()->size();
    const int first = firstVisibleRow();
    for (int row = qMax(first, 0); first >= 0 && row < itemCount(); ++row) {
        const QRect icon = view->visualRect(model_->index(row, 0));
        if (icon.top() <= -kVisibleMargin || icon.top() >= client.height() || icon.left() >= client.width())
            break;
        if (model_->item(row).imageIndex < 0)
            return row;
    }
    return -1;
}

TThumbWork TZenteqThumb::nextWork(quint64 load, quint64 nextId)
{
    TThumbWork work;
    if (load != load_)
        return work;
    const int visible = firstVisibleRowWithoutImage();
    if (visible >= 0) {
        work.item = stateOf(visible);
        work.onScreen = true;
        return work;
    }
    const int from = model_->rowFromId(nextId);
    for (int row = from; from >= 0 && row < itemCount(); ++row) {
        if (model_->item(row).imageIndex < 0) {
            work.item = stateOf(row);
            work.paintTile = model_->hasRoomForTile();
            return work;
        }
    }
    return work;
}

int TZenteqThumb::storeThumbnail(quint64 load, quint64 id, const TThumbnail &thumbnail)
{
    if (load != load_)
        return -1;
    const int row = model_->rowOfId(id);
    if (row < 0)
        return -1;
    if (model_->item(row).imageIndex >= 0)
        return model_->item(row).imageIndex;
    const QStringList details = thumbnail.failed ? QStringList() : DetailTexts(thumbnail.header);
    const int image = model_->addThumbnail(row, thumbnail.picture, details, isOnScreen(row));
    emit progressValueChanged(image + 1);
    if (thumbnail.failed)
        emit errorReported(thumbnail.error);
    return image;
}

void TZenteqThumb::workerFinished(quint64 load)
{
    if (load == load_)
        emit progressValueChanged(0);
}
