#include <QImage>
#include <gtest/gtest.h>

#include "swf/filter.h"
#include "swfbuilder.h"

using swf::Filter;

namespace {

// A 40 by 40 transparent picture with an opaque red square in 10..29.
QImage Square()
{
    QImage picture(40, 40, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    for (int y = 10; y < 30; ++y)
        for (int x = 10; x < 30; ++x)
            picture.setPixel(x, y, qRgba(255, 0, 0, 255));
    return picture;
}

}  // namespace

TEST(Filter, BlurSpreadsTheEdgeBothWaysByItsScaledSize)
{
    Filter blur;
    blur.kind = Filter::Kind::Blur;
    blur.blurX = 4;
    blur.blurY = 4;
    QImage picture = Square();
    blur.apply(picture, 2.0);  // an 8 pixel box
    EXPECT_GT(qAlpha(picture.pixel(7, 20)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(2, 20)), 0);
    EXPECT_LT(qAlpha(picture.pixel(10, 20)), 255);
    EXPECT_EQ(qAlpha(picture.pixel(20, 20)), 255);
}

TEST(Filter, DropShadowLiesBehindTheObjectAtItsAngleAndDistance)
{
    Filter shadow;
    shadow.kind = Filter::Kind::DropShadow;
    shadow.colour = swf::Rgba{0, 0, 255, 255};
    shadow.distance = 5;
    shadow.angle = 0;  // to the right
    QImage picture = Square();
    shadow.apply(picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(255, 0, 0, 255));  // object on top
    EXPECT_EQ(picture.pixel(32, 20), qRgba(0, 0, 255, 255));  // shadow to the right
    EXPECT_EQ(qAlpha(picture.pixel(7, 20)), 0);                // nothing to the left

    shadow.knockout = true;
    picture = Square();
    shadow.apply(picture, 1.0);
    EXPECT_EQ(qAlpha(picture.pixel(20, 20)), 0);  // the object cut out
    EXPECT_EQ(picture.pixel(32, 20), qRgba(0, 0, 255, 255));
}

TEST(Filter, ColourMatrixMixesChannels)
{
    Filter matrix;
    matrix.kind = Filter::Kind::ColorMatrix;
    // Red goes to blue, alpha stays.
    matrix.matrix[2 * 5 + 0] = 1;
    matrix.matrix[3 * 5 + 3] = 1;
    QImage picture = Square();
    matrix.apply(picture, 1.0);
    EXPECT_EQ(picture.pixel(20, 20), qRgba(0, 0, 255, 255));
}

TEST(Filter, ListKeepsDrawnFiltersAndStepsOverTheOthers)
{
    swftest::BitWriter w;
    w.u8(4);                   // four filters
    w.u8(3);                   // bevel: not drawn
    w.bytes(QByteArray(27, '\0'));
    w.u8(1);                   // blur 2 x 3, one pass
    w.u32(2 << 16);
    w.u32(3 << 16);
    w.u8(1 << 3);
    w.u8(9);                   // unknown: ends the list
    w.u8(1);
    const QByteArray bytes = w.data();
    swf::SwfReader r(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    std::vector<Filter> filters;
    Filter::parseList(r, filters);
    ASSERT_EQ(filters.size(), 1u);
    EXPECT_EQ(filters[0].kind, Filter::Kind::Blur);
    EXPECT_EQ(filters[0].blurX, 2.0f);
    EXPECT_EQ(filters[0].blurY, 3.0f);
    EXPECT_EQ(filters[0].passes, 1);
    EXPECT_TRUE(r.atEnd());
}
