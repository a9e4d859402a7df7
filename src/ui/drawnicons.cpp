#include "ui/drawnicons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace {

const QColor kOutline(64, 64, 64);
const QColor kScreenBlue(40, 80, 160);

using Drawing = std::function<void(QPainter &)>;

QPixmap Paint(int size, const Drawing &draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return pixmap;
}

// A monitor on a foot whose screen is `screen`; the caller paints into it.
void DrawMonitor(QPainter &p, const QRectF &screen, const QBrush &screenFill)
{
    p.setPen(QPen(kOutline, 1.2));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(screen.adjusted(-2, -2, 2, 2), 2, 2);
    p.setBrush(screenFill);
    p.drawRect(screen);
    const qreal middle = screen.center().x();
    p.setBrush(QColor(160, 160, 165));
    p.drawRect(QRectF(middle - 2, screen.bottom() + 2, 4, 2));
    p.drawRect(QRectF(middle - 6, screen.bottom() + 4, 12, 1.5));
}

void DrawArrowHead(QPainter &p, const QPointF &tip, const QPointF &along, const QPointF &across)
{
    p.drawPolygon(QPolygonF({tip, tip - along + across, tip - along - across}));
}

void DrawFullScreen(QPainter &p)
{
    const QRectF screen(3, 3, 18, 12);
    DrawMonitor(p, screen, kScreenBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const QPointF corners[] = {screen.topLeft(), screen.topRight(), screen.bottomLeft(), screen.bottomRight()};
    for (const QPointF &corner : corners) {
        const QPointF inward((corner.x() < screen.center().x()) ? 1 : -1,
                             (corner.y() < screen.center().y()) ? 1 : -1);
        const QPointF tip = corner + inward;
        p.drawPolygon(QPolygonF({tip, tip + QPointF(inward.x() * 5, 0), tip + QPointF(0, inward.y() * 5)}));
    }
}

void DrawViewType(QPainter &p)
{
    const QColor fills[] = {QColor(230, 90, 60), QColor(70, 150, 220), QColor(90, 180, 80), QColor(240, 190, 50)};
    p.setPen(QPen(kOutline, 1));
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column) {
            p.setBrush(fills[row * 2 + column]);
            p.drawRect(QRectF(3 + column * 10, 3 + row * 10, 8, 8));
        }
}

void DrawSearch(QPainter &p)
{
    p.setPen(QPen(QColor(120, 70, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 14), QPointF(21, 21));
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(190, 225, 250));
    p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawArc(QRectF(6, 6, 8, 8), 100 * 16, 70 * 16);
}

// A sheet of paper with text lines, its top right corner folded.
void DrawPage(QPainter &p, const QRectF &page)
{
    const qreal fold = 4;
    QPainterPath sheet;
    sheet.moveTo(page.topLeft());
    sheet.lineTo(page.right() - fold, page.top());
    sheet.lineTo(page.right(), page.top() + fold);
    sheet.lineTo(page.bottomRight());
    sheet.lineTo(page.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    for (qreal y = page.top() + 5; y < page.bottom() - 2; y += 3)
        p.drawLine(QPointF(page.left() + 2, y), QPointF(page.right() - 2, y));
}

void DrawProperty(QPainter &p)
{
    DrawPage(p, QRectF(4, 2, 13, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 100, 200));
    p.drawEllipse(QPointF(17, 17), 5.5, 5.5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(16.2, 16, 1.8, 4.5));
    p.drawEllipse(QPointF(17.1, 14), 1, 1);
}

void DrawHelp(QPainter &p)
{
    p.setPen(QPen(QColor(20, 70, 160), 1));
    p.setBrush(QColor(50, 120, 220));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawHomepage(QPainter &p)
{
    p.setPen(QPen(kOutline, 1));
    p.setBrush(QColor(245, 225, 180));
    p.drawRect(QRectF(5, 11, 14, 10));
    p.setBrush(QColor(200, 50, 40));
    p.drawPolygon(QPolygonF({QPointF(2, 12), QPointF(12, 3), QPointF(22, 12)}));
    p.setBrush(QColor(130, 80, 40));
    p.drawRect(QRectF(10, 15, 4, 6));
}

void DrawBatchConvert(QPainter &p)
{
    DrawPage(p, QRectF(2, 2, 11, 14));
    DrawPage(p, QRectF(5, 5, 11, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 160, 60));
    p.drawRect(QRectF(12, 16, 6, 4));
    DrawArrowHead(p, QPointF(23, 18), QPointF(6, 0), QPointF(0, 5));
}

void DrawSetAsDesktop(QPainter &p)
{
    const QRectF screen(3, 3, 18, 12);
    QLinearGradient sky(screen.topLeft(), screen.bottomLeft());
    sky.setColorAt(0, QColor(120, 180, 240));
    sky.setColorAt(1, QColor(200, 230, 255));
    DrawMonitor(p, screen, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QPointF(16, 6.5), 2, 2);
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(QPolygonF({screen.bottomLeft(), QPointF(9, 9), QPointF(14, 12.5), screen.bottomRight()}));
}

void DrawScreenSaver(QPainter &p)
{
    const QRectF screen(3, 3, 18, 12);
    DrawMonitor(p, screen, QColor(15, 20, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 220, 80));
    QPainterPath moon;
    moon.addEllipse(QPointF(9, 9), 4, 4);
    QPainterPath bite;
    bite.addEllipse(QPointF(11, 7.5), 3.5, 3.5);
    p.drawPath(moon.subtracted(bite));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 6), 0.9, 0.9);
    p.drawEllipse(QPointF(18, 11), 0.7, 0.7);
    p.drawEllipse(QPointF(14, 12), 0.6, 0.6);
}

// Playback images are drawn facing right; the backward ones are mirrored.
void DrawTriangle(QPainter &p, qreal left, qreal width)
{
    p.drawPolygon(QPolygonF({QPointF(left, 3), QPointF(left + width, 8), QPointF(left, 13)}));
}

void DrawPlayShape(QPainter &p, TPlayImage image)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    switch (image) {
    case TPlayImage::Start:
    case TPlayImage::End:
        DrawTriangle(p, 3, 8);
        p.drawRect(QRectF(11, 3, 2, 10));
        break;
    case TPlayImage::Back:
    case TPlayImage::Forward:
        DrawTriangle(p, 2, 6);
        DrawTriangle(p, 8, 6);
        break;
    case TPlayImage::Pause:
        p.drawRect(QRectF(4, 3, 3, 10));
        p.drawRect(QRectF(9, 3, 3, 10));
        break;
    case TPlayImage::Stop:
        p.drawRect(QRectF(4, 4, 8, 8));
        break;
    case TPlayImage::Play:
        DrawTriangle(p, 4, 9);
        break;
    }
}

} // namespace

QIcon ToolBarIcon(TToolImage image)
{
    static const Drawing drawings[] = {DrawFullScreen, DrawViewType,     DrawSearch,
                                       DrawProperty,   DrawHelp,         DrawHomepage,
                                       DrawBatchConvert, DrawSetAsDesktop, DrawScreenSaver};
    return QIcon(Paint(24, drawings[static_cast<int>(image)]));
}

QIcon PlaybackIcon(TPlayImage image)
{
    const bool backward = image == TPlayImage::Start || image == TPlayImage::Back;
    return QIcon(Paint(16, [&](QPainter &p) {
        if (backward) {
            p.translate(16, 0);
            p.scale(-1, 1);
        }
        DrawPlayShape(p, image);
    }));
}

// A film frame with a play mark on a warm tile, our own mark; the installed
// icons (data/icons/pavoko.svg) draw the same picture.
QPixmap ProgramPicture(int size)
{
    return Paint(size, [size](QPainter &p) {
        p.scale(size / 32.0, size / 32.0);
        const QColor deep(200, 40, 30);
        const QColor rim(120, 30, 20);
        QLinearGradient glow(0, 0, 0, 32);
        glow.setColorAt(0, QColor(250, 140, 40));
        glow.setColorAt(1, deep);
        p.setPen(QPen(rim, 1));
        p.setBrush(glow);
        p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(5, 7, 22, 18), 2, 2);
        p.setBrush(rim);
        for (int x = 7; x <= 23; x += 4) {
            p.drawRect(QRectF(x, 8.5, 2, 2));
            p.drawRect(QRectF(x, 21.5, 2, 2));
        }
        p.setBrush(deep);
        p.drawPolygon(QPolygonF({QPointF(13, 12), QPointF(13, 20), QPointF(20, 16)}));
    });
}
