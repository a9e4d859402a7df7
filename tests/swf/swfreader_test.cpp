#include <gtest/gtest.h>

#include "swf/format/swfreader.h"

using swf::SwfReader;

TEST(SwfReader, ReadsLittleEndianNumbersAndStopsAtTheEnd)
{
    const uint8_t bytes[] = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xff};
    SwfReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_FALSE(r.overrun());
    EXPECT_EQ(r.u16(), 0);  // only one byte left
    EXPECT_TRUE(r.overrun());
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(SwfReader, ReadsSignedBitFieldsAndRectangles)
{
    // nbits = 5; xmin=0, xmax=10, ymin=-1, ymax=15
    // 00101 00000 01010 11111 01111 -> padded
    const uint8_t bytes[] = {0x28, 0x15, 0xf7, 0x80};
    SwfReader r(bytes, sizeof bytes);
    const swf::Rect rect = r.rect();
    EXPECT_EQ(rect.xMin, 0);
    EXPECT_EQ(rect.xMax, 10);
    EXPECT_EQ(rect.yMin, -1);
    EXPECT_EQ(rect.yMax, 15);
    EXPECT_FALSE(r.overrun());
}

TEST(SwfReader, SubReaderIsClippedToWhatIsLeft)
{
    const uint8_t bytes[] = {1, 2, 3};
    SwfReader r(bytes, sizeof bytes);
    r.u8();
    SwfReader inner = r.sub(100);
    EXPECT_EQ(inner.size(), 2u);
    EXPECT_TRUE(r.overrun());
    EXPECT_EQ(inner.u8(), 2);
}

TEST(SwfReader, UnterminatedStringIsReadToTheEnd)
{
    const uint8_t bytes[] = {'a', 'b', 0, 'c'};
    SwfReader r(bytes, sizeof bytes);
    EXPECT_EQ(r.string(), "ab");
    EXPECT_EQ(r.string(), "c");
    EXPECT_TRUE(r.overrun());
}
