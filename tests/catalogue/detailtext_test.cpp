#include <QImage>
#include <QLocale>
#include <gtest/gtest.h>

#include "catalogue/detailtext.h"
#include "catalogue/thumbnailmaker.h"
#include "catalogue/thumbnailpainter.h"
#include "moviebuilder.h"

TEST(DetailText, LengthsBelow1024AreBytesAboveAreTenthsOfKilobytes)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    struct Case {
        uint32_t length;
        const QLocale *locale;
        const char *text;
    };
    const Case cases[] = {
        {0, &english, "0bytes"},          {1023, &english, "1023bytes"},  {1024, &english, "1.0Kb"},
        {1536, &english, "1.5Kb"},        {1280, &english, "1.3Kb"},      // 1.25 rounds up
        {3500, &english, "3.4Kb"},        {1536, &german, "1,5Kb"},       // the user's separator
        {1500000, &english, "1464.8Kb"},  // no grouping
        {0xFFFFFFFF, &english, "4194304.0Kb"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(LengthText(c.length, *c.locale).toStdString(), c.text) << c.length;
}

TEST(DetailText, ColumnsAndCaptionLinesOfTheExampleMovie)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(DetailTexts(ExampleHeader(3500), english),
              QStringList({"3.4Kb", "120", "12fps", "W:550 H:400"}));
    EXPECT_EQ(CaptionLines(ExampleHeader(3500)), QStringList({"Flash 6 * 120 Frames", "550 * 400 * 12fps"}));
}

TEST(ThumbnailFrame, ShowsTheMiddleFrameCountedFromZero)
{
    const std::pair<uint32_t, int> cases[] = {{0, -1}, {1, -1}, {2, 1}, {3, 1}, {101, 50}, {65535, 32767}};
    for (const auto &[frames, shown] : cases)
        EXPECT_EQ(ThumbnailFrame(frames), shown) << frames;
}

TEST(ThumbnailPainter, DrawsPictureBorderAndCaptionBand)
{
    TThumbStyle style;
    style.band = QColor(200, 200, 200);
    QImage red(kThumbSize, kMoviePictureHeight, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QImage tile = PaintThumbnail(red, CaptionLines(ExampleHeader(3500)), style);
    ASSERT_EQ(tile.size(), QSize(120, 120));
    const QRgb black = qRgb(0, 0, 0);
    // The border is whole all round, the band's edge included.
    for (const QPoint edge : {QPoint(0, 0), QPoint(119, 0), QPoint(0, 119), QPoint(119, 119), QPoint(60, 0),
                              QPoint(0, 60), QPoint(119, 60), QPoint(60, 119), QPoint(1, 119), QPoint(118, 119),
                              QPoint(0, 100), QPoint(119, 100)})
        EXPECT_EQ(tile.pixel(edge), black) << edge.x() << "," << edge.y();
    EXPECT_EQ(tile.pixel(60, 45), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(1, 91), style.band.rgb());
    EXPECT_EQ(tile.pixel(1, 118), style.band.rgb());
    int inked = 0;
    for (int y = 92; y < 119; ++y)
        for (int x = 1; x < 119; ++x)
            inked += tile.pixel(x, y) != style.band.rgb();
    EXPECT_GT(inked, 20) << "caption lines were not drawn";
}

TEST(ThumbnailPainter, AMovieWithoutPictureGetsTheBrokenMark)
{
    TThumbStyle style;
    style.band = Qt::gray;
    const QImage tile = PaintThumbnail(QImage(), QStringList(), style);
    ASSERT_EQ(tile.size(), QSize(120, 120));
    int reddish = 0;
    for (int y = 1; y < 90; ++y)
        for (int x = 1; x < 119; ++x)
            reddish += qRed(tile.pixel(x, y)) > 150 && qGreen(tile.pixel(x, y)) < 100;
    EXPECT_GT(reddish, 20);
    EXPECT_FALSE(ApplicationIcon(16).isNull());
}
