#include "catalogue/cataloguemodel.h"

#include "ui/plaintext.h"

#include <algorithm>

namespace {

// About three screens of tiles on a large monitor, some 43 MB.
constexpr int kTilesInMemory = 1000;

const char *const kColumnTitles[TCatalogueModel::ColumnCount] = {"Filename", "File length", "Total Frames",
                                                                  "Frame Rate", "Size"};

}  // namespace

TCatalogueModel::TCatalogueModel(QObject *parent) : QAbstractTableModel(parent), tiles_(kTilesInMemory) {}

int TCatalogueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(items_.size());
}

int TCatalogueModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant TCatalogueModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TCatalogueItem &entry = item(index.row());
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == ColName)
            return entry.caption;
        return entry.details.value(index.column() - 1);
    case Qt::ToolTipRole:
        return PlainToolTip(entry.path);
    case ThumbnailRole: {
        if (entry.imageIndex < 0)
            return {};
        const QImage tile = thumbnail(entry.imageIndex);
        if (tile.isNull())
            noteMissing(entry);
        return tile;
    }
    case ImageIndexRole:
        return entry.imageIndex;
    case PathRole:
        return entry.path;
    default:
        return {};
    }
}

QVariant TCatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(kColumnTitles[section]);
}

void TCatalogueModel::clear()
{
    beginResetModel();
    items_.clear();
    items_.shrink_to_fit();
    tiles_.clear();
    missing_.clear();
    madeCount_ = 0;
    endResetModel();
}

void TCatalogueModel::appendItems(const QList<QPair<QString, QString>> &items)
{
    if (items.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + int(items.size()) - 1);
    items_.reserve(items_.size() + size_t(items.size()));
    for (const auto &[caption, path] : items)
        items_.push_back(TCatalogueItem{nextId_++, caption, path, -1, {}});
    endInsertRows();
}

QList<QPair<quint64, QString>> TCatalogueModel::idsAndPaths() const
{
    QList<QPair<quint64, QString>> items;
    items.reserve(qsizetype(items_.size()));
    for (const TCatalogueItem &entry : items_)
        items.append({entry.id, entry.path});
    return items;
}

void TCatalogueModel::removeItem(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

int TCatalogueModel::rowFromId(quint64 id) const
{
    const auto found = std::lower_bound(items_.begin(), items_.end(), id,
                                        [](const TCatalogueItem &entry, quint64 key) { return entry.id < key; });
    return found == items_.end() ? -1 : int(found - items_.begin());
}

int TCatalogueModel::rowOfId(quint64 id) const
{
    const int row = rowFromId(id);
    return row >= 0 && item(row).id == id ? row : -1;
}

// One cell at a time: a view repaints just the cell it shows (nothing for
// an item off screen), where a range would make it repaint everything.
int TCatalogueModel::addThumbnail(int row, const QImage &picture, const QStringList &details, bool shown)
{
    TCatalogueItem &entry = items_[size_t(row)];
    entry.imageIndex = madeCount_++;
    if (!picture.isNull())
        tiles_.put(entry.imageIndex, picture, shown);
    emit dataChanged(index(row, 0), index(row, 0));
    if (!details.isEmpty() && details != entry.details) {
        entry.details = details;
        for (int column = ColLength; column < ColumnCount; ++column)
            emit dataChanged(index(row, column), index(row, column));
    }
    return entry.imageIndex;
}

void TCatalogueModel::setDetails(const QList<TItemDetails> &batch)
{
    int first = rowCount(), last = -1;
    for (const TItemDetails &read : batch) {
        const int row = rowOfId(read.id);
        if (row < 0 || !items_[size_t(row)].details.isEmpty())
            continue;
        items_[size_t(row)].details = read.details;
        first = std::min(first, row);
        last = std::max(last, row);
    }
    if (last >= first)
        emit dataChanged(index(first, ColLength), index(last, ColumnCount - 1));
}

bool TCatalogueModel::hasRoomForTile() const { return tiles_.size() < tiles_.capacity(); }

QImage TCatalogueModel::thumbnail(int imageIndex) const { return tiles_.get(imageIndex); }

bool TCatalogueModel::restoreTile(quint64 id, const QImage &tile, bool shown)
{
    missing_.erase(id);
    const int row = rowOfId(id);
    if (row < 0 || item(row).imageIndex < 0)
        return false;
    tiles_.put(item(row).imageIndex, tile, shown);
    emit dataChanged(index(row, 0), index(row, 0));
    return true;
}

void TCatalogueModel::forgetMissing() { missing_.clear(); }

// Announced after the painting that found it missing, so no view hears of
// it in the middle of drawing.
void TCatalogueModel::noteMissing(const TCatalogueItem &entry) const
{
    if (!missing_.insert(entry.id).second)
        return;
    const quint64 id = entry.id;
    const QString path = entry.path;
    QMetaObject::invokeMethod(
        const_cast<TCatalogueModel *>(this), [this, id, path] { emit tileMissing(id, path); }, Qt::QueuedConnection);
}
