// The players' track bar and the bounded splitter.
#include "ui/boundedsplitter.h"
#include "ui/drawnicons.h"
#include "ui/trackbar95.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <gtest/gtest.h>

namespace {

QRect HandleRect(const TTrackBar95 &bar)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.subControls = QStyle::SC_All;
    return bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &bar);
}

QImage Picture(QWidget &widget)
{
    return widget.grab().toImage();
}

void SendMouse(QWidget *target, QEvent::Type type, const QPoint &local, const QPoint &global)
{
    QMouseEvent event(type, QPointF(local), QPointF(global), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST(TrackBar95, StartsWithAShownThumbAndNoFixedLength)
{
    TTrackBar95 bar;
    EXPECT_EQ(bar.orientation(), Qt::Horizontal);
    EXPECT_TRUE(bar.Thumb());
    EXPECT_FALSE(bar.FixedLength());
    EXPECT_FALSE(bar.SelEnabled());
    EXPECT_EQ(bar.tickPosition(), QSlider::NoTicks);
}

TEST(TrackBar95, FixedLengthGivesTheThumbItsSize)
{
    TTrackBar95 bar;
    bar.resize(200, 30);
    bar.setFixedLength(true);
    for (int size : {10, 16, 24}) {
        bar.setThumbSize(size);
        EXPECT_EQ(HandleRect(bar).height(), size);
    }
    EXPECT_EQ(bar.property("ThumbSize").toInt(), 24);
}

TEST(TrackBar95, HiddenThumbIsNotDrawn)
{
    TTrackBar95 bar;
    bar.resize(200, 24);
    bar.setRange(0, 10);
    bar.setValue(5);
    const QImage withThumb = Picture(bar);
    bar.setThumb(false);
    const QImage withoutThumb = Picture(bar);
    EXPECT_NE(withThumb, withoutThumb);
    bar.setThumb(true);
    EXPECT_EQ(Picture(bar), withThumb);
}

TEST(BoundedSplitter, RefusedDragLeavesThePanesAsTheyWere)
{
    TBoundedSplitter splitter(Qt::Horizontal);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.setHandleWidth(4);
    splitter.resize(800, 300);
    splitter.setCanResize([](int width) { return width >= 250 && width <= 450; });
    splitter.show();
    splitter.setSizes({300, 496});
    ASSERT_EQ(splitter.sizes().at(0), 300);

    QSplitterHandle *handle = splitter.handle(1);
    const QPoint grip(2, 100);
    const QPoint gripGlobal = handle->mapToGlobal(grip);
    SendMouse(handle, QEvent::MouseButtonPress, grip, gripGlobal);
    const struct {
        int dx;
        int width;
    } moves[] = {{-51, 300}, {-50, 250}, {150, 450}, {151, 450}, {100, 400}};
    for (const auto &move : moves) {
        SCOPED_TRACE(move.dx);
        SendMouse(handle, QEvent::MouseMove, grip, gripGlobal + QPoint(move.dx, 0));
        EXPECT_EQ(splitter.sizes().at(0), move.width);
    }
    SendMouse(handle, QEvent::MouseButtonRelease, grip, gripGlobal + QPoint(100, 0));
}

TEST(DrawnIcons, EveryPictureHasPaint)
{
    for (int image = 0; image <= 8; ++image) {
        const QImage picture = ToolBarIcon(static_cast<TToolImage>(image)).pixmap(24, 24).toImage();
        EXPECT_EQ(picture.size(), QSize(24, 24));
        EXPECT_NE(picture.pixelColor(12, 12).alpha() + picture.pixelColor(6, 12).alpha(), 0) << image;
    }
    for (int image = 0; image <= 6; ++image) {
        const QImage picture = PlaybackIcon(static_cast<TPlayImage>(image)).pixmap(16, 16).toImage();
        EXPECT_EQ(picture.size(), QSize(16, 16));
    }
    // Backward buttons face the other way.
    const QImage forward = PlaybackIcon(TPlayImage::Forward).pixmap(16, 16).toImage();
    const QImage back = PlaybackIcon(TPlayImage::Back).pixmap(16, 16).toImage();
    EXPECT_NE(back, forward);
    EXPECT_GT(back.pixelColor(3, 8).alpha(), 0);
    EXPECT_EQ(back.pixelColor(3, 3).alpha(), 0);
}
