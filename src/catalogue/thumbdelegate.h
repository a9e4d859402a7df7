#pragma once
// Paints one catalogue item in the list-like styles. Thumbnails: the
// 120 x 120 tile centred at the top of its 140 x 160 cell and the caption
// under it. Small icons and list: the application icon (once the item's
// thumbnail exists) and the caption beside it. An item not rendered yet
// shows no picture. The detail table uses the standard delegate.
// Interface thread only; owned by the catalogue view.

#include <QImage>
#include <QStyledItemDelegate>
#include <functional>

class TThumbDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kCellWidth = 140;
    static constexpr int kCellHeight = 160;

    explicit TThumbDelegate(QObject *parent = nullptr);

    void setThumbnailMode(bool thumbnails) { thumbnails_ = thumbnails; }
    bool thumbnailMode() const { return thumbnails_; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    void paintThumbnailCell(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintSmallItem(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintCaption(QPainter *painter, const QStyleOptionViewItem &option, const QRect &textRect,
                      const std::function<void()> &drawText) const;
    void paintWrappedCaption(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                             const QString &text) const;

    QImage smallIcon_;
    bool thumbnails_ = true;
};
