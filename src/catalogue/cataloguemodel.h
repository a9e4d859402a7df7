#pragma once
// The items of the catalogue view and their thumbnails.
//
// An item is one movie: its caption (file name, or the whole path given in
// a list), its full path, the index of its thumbnail (-1 until made) and
// its four detail texts (empty until made). Thumbnails are kept in the
// order they were made; an item's image index is its place there.
// Every item carries an id that is unique for the program's run and grows
// in row order, so a thumbnail made for an item can find it again after
// other items were removed, and never lands on another item.
//
// Owned by TZenteqThumb; interface thread only.

#include <QAbstractTableModel>
#include <QImage>
#include <QStringList>
#include <vector>

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

    const TCatalogueItem &item(int row) const { return items_[size_t(row)]; }
    // The row of the first item whose id is `id` or larger; -1 when none.
    int rowFromId(quint64 id) const;
    // The row that holds item `id`, or -1 when it is gone.
    int rowOfId(quint64 id) const;

    // Stores `picture` as the next thumbnail, makes it item `row`'s image
    // with these detail texts, and answers the new image index.
    int addThumbnail(int row, const QImage &picture, const QStringList &details);
    int thumbnailCount() const { return int(thumbnails_.size()); }
    const QImage &thumbnail(int imageIndex) const { return thumbnails_[size_t(imageIndex)]; }

private:
    std::vector<TCatalogueItem> items_;
    std::vector<QImage> thumbnails_;
    quint64 nextId_ = 1;
};
