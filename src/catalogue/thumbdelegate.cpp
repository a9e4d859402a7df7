#include "catalogue/thumbdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include "catalogue/cataloguemodel.h"
#include "catalogue/thumbnailpainter.h"

namespace {

constexpr int kSmallIconSize = 16;
constexpr int kSmallGap = 4;
constexpr int kCaptionGap = 4;

bool IsSelected(const QStyleOptionViewItem &option) { return option.state & QStyle::State_Selected; }

QPalette::ColorGroup GroupOf(const QStyleOptionViewItem &option)
{
    return option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
}

}  // namespace

TThumbDelegate::TThumbDelegate(QObject *parent)
    : QStyledItemDelegate(parent), smallIcon_(ApplicationIcon(kSmallIconSize))
{
}

void TThumbDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    if (thumbnails_)
        paintThumbnailCell(painter, option, index);
    else
        paintSmallItem(painter, option, index);
    painter->restore();
}

QSize TThumbDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (thumbnails_)
        return QSize(kCellWidth, kCellHeight);
    const QString caption = index.data(Qt::DisplayRole).toString();
    const int textWidth = option.fontMetrics.horizontalAdvance(caption);
    return QSize(kSmallIconSize + kSmallGap + textWidth + 2 * kSmallGap,
                 qMax(kSmallIconSize + 2, option.fontMetrics.height() + 2));
}

// Selected text gets the highlight behind just the words, as list views
// always drew it. `drawText` draws the words with the pen set.
void TThumbDelegate::paintCaption(QPainter *painter, const QStyleOptionViewItem &option, const QRect &textRect,
                                  const std::function<void()> &drawText) const
{
    const QPalette::ColorGroup group = GroupOf(option);
    if (IsSelected(option)) {
        painter->fillRect(textRect.adjusted(-1, 0, 1, 0), option.palette.brush(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, QPalette::HighlightedText));
    } else {
        painter->setPen(option.palette.color(group, QPalette::Text));
    }
    painter->setFont(option.font);
    drawText();
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(option.palette.color(group, QPalette::Text), 1, Qt::DotLine));
        painter->drawRect(textRect.adjusted(-1, 0, 0, -1));
    }
}

// The caption under a thumbnail, wrapped anywhere into the lines the area
// holds and centred; laid out once for both its highlight and its drawing,
// as scrolling a large folder paints a whole screen of them at a time.
void TThumbDelegate::paintWrappedCaption(QPainter *painter, const QStyleOptionViewItem &option, const QRect &area,
                                         const QString &text) const
{
    QTextLayout layout(text, option.font);
    QTextOption textOption(Qt::AlignHCenter);
    textOption.setWrapMode(QTextOption::WrapAnywhere);
    layout.setTextOption(textOption);
    QRectF bounds;
    qreal top = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, top));
        top += line.height();
        bounds |= line.naturalTextRect();
    }
    layout.endLayout();
    const QRect textRect = bounds.translated(area.topLeft()).toAlignedRect().intersected(area);
    paintCaption(painter, option, textRect, [&] {
        painter->setClipRect(area, Qt::IntersectClip);
        layout.draw(painter, area.topLeft());
    });
}

void TThumbDelegate::paintThumbnailCell(QPainter *painter, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    const QRect cell = option.rect;
    const QRect tile(cell.x() + (cell.width() - kThumbSize) / 2, cell.y() + 2, kThumbSize, kThumbSize);
    const QVariant thumbnail = index.data(TCatalogueModel::ThumbnailRole);
    if (thumbnail.isValid()) {
        painter->drawImage(tile.topLeft(), thumbnail.value<QImage>());
        if (IsSelected(option)) {
            QColor tint = option.palette.color(GroupOf(option), QPalette::Highlight);
            tint.setAlpha(90);
            painter->fillRect(tile, tint);
        }
    }
    const QRect captionArea(cell.x() + 2, tile.bottom() + 1 + kCaptionGap, cell.width() - 4,
                            cell.bottom() - tile.bottom() - kCaptionGap);
    const QString caption = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideMiddle,
                                                          2 * captionArea.width() - 8);
    paintWrappedCaption(painter, option, captionArea, caption);
}

void TThumbDelegate::paintSmallItem(QPainter *painter, const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    const QRect rect = option.rect;
    if (index.data(TCatalogueModel::ImageIndexRole).toInt() >= 0)
        painter->drawImage(QPoint(rect.x() + 1, rect.y() + (rect.height() - kSmallIconSize) / 2), smallIcon_);
    const QRect textArea = rect.adjusted(kSmallIconSize + kSmallGap, 0, -1, 0);
    const QString caption =
        option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, textArea.width());
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const QRect textRect = option.fontMetrics.boundingRect(textArea, flags, caption).intersected(textArea);
    paintCaption(painter, option, textRect, [&] { painter->drawText(textArea, flags, caption); });
}
