#pragma once
// The items of the catalogue view and their thumbnails.
//
// An item is one movie: its caption (file name, or the whole path given in
// a list), its full path, the index of its thumbnail (-1 until made) and
// its four detail texts (empty until made). Thumbnails are numbered in the
// order they were made; an item's image index is its number. Their tiles
// live in a bounded store (tilestore.h): a tile asked for after it was
// dropped is announced as missing, and comes back through restoreTile.
// Every item carries an id that is unique for the program's run and grows
// in row order, so a thumbnail made for an item can find it again after
// other items were removed, and never lands on another item.
//
// Owned by TZenteqThumb; interface thread only.

#include <QAbstractTableModel>
#include <QImage>
#include <QStringList>
#include <unordered_set>
#include <vector>

#include "catalogue/tilestore.h"

// The detail texts of item `id`, read apart from its thumbnail.
struct TItemDetails {
    quint64 id = 0;
    QStringList details;
};

struct TCatalogueItem {
    quint64 id = 0;
    QString caption;
    QString path;
    int imageIndex = -1;
    QStringList details;
};

class TCatalogueModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColName, ColLength, ColFrames, ColRate, ColSize, ColumnCount };
    enum Role { ThumbnailRole = Qt::UserRole + 1, ImageIndexRole, PathRole };

    explicit TCatalogueModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Removes every item and every thumbnail.
    void clear();
    // Appends items given as (caption, path) pairs, in order.
    void appendItems(const QList<QPair<QString, QString>> &items);
    void removeItem(int row);
    // Every item's id and path, in list order.
    QList<QPair<quint64, QString>> idsAndPaths() const;

    const TCatalogueItem &item(int row) const { return items_[size_t(row)]; }
    // The row of the first item whose id is `id` or larger; -1 when none.
    int rowFromId(quint64 id) const;
    // The row that holds item `id`, or -1 when it is gone.
    int rowOfId(quint64 id) const;

    // Numbers `picture` as the next thumbnail, makes it item `row`'s image
    // with these detail texts (unless empty), and answers the new image
    // index. `shown` tells whether the item is on screen (see the store's
    // policy); a null picture is a tile to be painted when it is shown.
    int addThumbnail(int row, const QImage &picture, const QStringList &details, bool shown = true);
    // How many thumbnails were made since the last clear.
    int thumbnailCount() const { return madeCount_; }
    // The tile of image `imageIndex`; null while it is out of memory.
    QImage thumbnail(int imageIndex) const;
    // Gives the items their detail texts, where they have none yet.
    void setDetails(const QList<TItemDetails> &batch);
    // Gives item `id` its tile again; false when the item is gone.
    bool restoreTile(quint64 id, const QImage &tile, bool shown);
    int tilesInMemory() const { return tiles_.size(); }
    void setTileCapacity(int capacity) { tiles_.setCapacity(capacity); }
    // Whether one more tile fits without dropping another.
    bool hasRoomForTile() const;
    // Forgets which missing tiles were announced, so that those painted
    // again are announced anew (their requests were dropped).
    void forgetMissing();

signals:
    // Item `id` was to be painted, but its tile is out of memory. Sent
    // once until the tile is restored, after the painting.
    void tileMissing(quint64 id, const QString &path) const;

private:
    void noteMissing(const TCatalogueItem &entry) const;

    std::vector<TCatalogueItem> items_;
    // Painting marks tiles as recently shown, so the store changes under
    // const reads.
    mutable TTileStore tiles_;
    mutable std::unordered_set<quint64> missing_;
    int madeCount_ = 0;
    quint64 nextId_ = 1;
};
