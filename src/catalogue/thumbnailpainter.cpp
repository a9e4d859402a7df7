#include "catalogue/thumbnailpainter.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace {

constexpr int kCaptionTop = 92;
constexpr int kCaptionStep = 13;

// A sheet with a torn lower edge and a red cross: clearly "this movie
// could not be shown", not an empty or half-loaded picture.
void PaintBrokenMark(QPainter &painter, const QRect &area)
{
    painter.fillRect(area, QColor(236, 236, 236));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet(area.center().x() - 22, area.top() + 12, 44, 58);
    QPainterPath outline;
    outline.moveTo(sheet.topLeft());
    outline.lineTo(sheet.right() - 12, sheet.top());
    outline.lineTo(sheet.right(), sheet.top() + 12);
    for (int step = 0; step <= 6; ++step)
        outline.lineTo(sheet.right() - step * sheet.width() / 6, sheet.bottom() - (step % 2) * 6);
    outline.closeSubpath();
    painter.setPen(QPen(QColor(110, 110, 110), 1.5));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);
    painter.setPen(QPen(QColor(200, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = sheet.center();
    painter.drawLine(centre + QPointF(-11, -11), centre + QPointF(11, 11));
    painter.drawLine(centre + QPointF(11, -11), centre + QPointF(-11, 11));
    painter.restore();
}

// Our own pictures fill the area exactly; one another program left in the
// shared thumbnail cache is fitted in, centred, aspect kept.
void DrawPictureFitting(QPainter &painter, const QRect &area, const QImage &picture)
{
    if (picture.size() == area.size()) {
        painter.drawImage(area.topLeft(), picture);
        return;
    }
    const QSize fitted = picture.size().scaled(area.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
}

// The band fills the tile between the border's left, right and bottom
// edges, so the border stays whole all round.
void PaintFrameAndBand(QPainter &painter, const TThumbStyle &style)
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, kThumbSize - 1, kThumbSize - 1);
    painter.fillRect(QRect(1, kMoviePictureHeight, kThumbSize - 2, kThumbSize - 1 - kMoviePictureHeight), style.band);
}

void PaintCaptionLines(QPainter &painter, const QStringList &lines, const TThumbStyle &style)
{
    painter.setFont(style.font);
    painter.setPen(style.text);
    QRect band(1, kCaptionTop, kThumbSize - 2, kThumbSize - kMoviePictureHeight - 1);
    for (const QString &line : lines) {
        painter.drawText(band, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, line);
        band.translate(0, kCaptionStep);
    }
}

}  // namespace

TThumbStyle TThumbStyle::fromApplication()
{
    TThumbStyle style;
    style.band = QGuiApplication::palette().color(QPalette::Button);
    style.text = Qt::black;
    style.font = QFont(QStringLiteral("MS Sans Serif"));
    style.font.setPixelSize(11);
    return style;
}

QImage PaintThumbnail(const QImage &moviePicture, const QStringList &captionLines, const TThumbStyle &style)
{
    QImage tile(kThumbSize, kThumbSize, QImage::Format_RGB32);
    tile.fill(Qt::white);
    QPainter painter(&tile);
    const QRect pictureArea(0, 0, kThumbSize, kMoviePictureHeight);
    if (moviePicture.isNull())
        PaintBrokenMark(painter, pictureArea);
    else
        DrawPictureFitting(painter, pictureArea, moviePicture);
    PaintFrameAndBand(painter, style);
    PaintCaptionLines(painter, captionLines, style);
    painter.end();
    // Kept as painted: the view draws this format onto the screen without
    // converting it, and the tiles in memory are bounded in number.
    return tile;
}

QImage ApplicationIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 60, 110));
    painter.drawRoundedRect(QRectF(0.5 * unit, 1.5 * unit, 15 * unit, 13 * unit), 2 * unit, 2 * unit);
    painter.setBrush(Qt::white);
    for (int hole = 0; hole < 5; ++hole) {
        const qreal x = (1.6 + hole * 2.9) * unit;
        painter.drawRect(QRectF(x, 2.3 * unit, 1.5 * unit, 1.2 * unit));
        painter.drawRect(QRectF(x, 12.5 * unit, 1.5 * unit, 1.2 * unit));
    }
    painter.setBrush(QColor(245, 150, 30));
    const QPointF play[3] = {{5.8 * unit, 5 * unit}, {5.8 * unit, 11 * unit}, {11 * unit, 8 * unit}};
    painter.drawPolygon(play, 3);
    return icon;
}
