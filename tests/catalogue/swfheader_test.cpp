#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/swfheader.h"
#include "moviebuilder.h"

namespace {

// The body bytes of a 550 x 400 movie at 12 fps with one frame.
const QByteArray kExampleBody = QByteArray::fromHex("7800055F00000FA000000C0100");

// A record whose every field holds a value no reader would write, to tell
// untouched fields from zeroed ones.
TSwfHeader SentinelHeader()
{
    TSwfHeader h;
    std::memcpy(h.Signature, "???", 3);
    h.Version = 99;
    h.FileLength = 0xDEADBEEF;
    h.XMin = h.XMax = h.YMin = h.YMax = 77777;
    h.FrameRate = h.FrameRateFrac = 77;
    h.FrameCount = 77777;
    return h;
}

bool SameHeader(const TSwfHeader &a, const TSwfHeader &b)
{
    return std::memcmp(a.Signature, b.Signature, 3) == 0 && a.Version == b.Version && a.FileLength == b.FileLength &&
           a.XMin == b.XMin && a.XMax == b.XMax && a.YMin == b.YMin && a.YMax == b.YMax &&
           a.FrameRate == b.FrameRate && a.FrameRateFrac == b.FrameRateFrac && a.FrameCount == b.FrameCount;
}

class SwfHeaderTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        WriteFile(path, bytes);
        return path;
    }
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(SwfHeaderTest, ReadsThePlainAndTheCompressedFormOfTheSameMovie)
{
    for (const bool compressed : {false, true}) {
        SCOPED_TRACE(compressed ? "CWS" : "FWS");
        const QString path = write(QStringLiteral("example.swf"),
                                   RawMovie(compressed ? "CWS" : "FWS", 6, 3500, kExampleBody + QByteArray(4, '\0'), compressed));
        TSwfHeader h;
        EXPECT_TRUE(ReadSwfHeader(path, h));
        EXPECT_EQ(std::string(h.Signature, 3), compressed ? "CWS" : "FWS");
        EXPECT_EQ(h.Version, 6);
        EXPECT_EQ(h.FileLength, 3500u);
        EXPECT_EQ(h.XMin, 0u);
        EXPECT_EQ(h.XMax, 11000u);
        EXPECT_EQ(h.YMax, 8000u);
        EXPECT_EQ(HeaderWidth(h), 550u);
        EXPECT_EQ(HeaderHeight(h), 400u);
        EXPECT_EQ(h.FrameRate, 12);
        EXPECT_EQ(h.FrameRateFrac, 0);
        EXPECT_EQ(h.FrameCount, 1u);
    }
}

TEST_F(SwfHeaderTest, RefusesFilesOf22BytesOrLessAndLeavesTheRecordAlone)
{
    const QByteArray movie = RawMovie("FWS", 6, 100, kExampleBody + QByteArray(20, '\0'), false);
    TSwfHeader h = SentinelHeader();
    EXPECT_FALSE(ReadSwfHeader(write(QStringLiteral("short.swf"), movie.left(22)), h));
    EXPECT_TRUE(SameHeader(h, SentinelHeader()));
    EXPECT_TRUE(ReadSwfHeader(write(QStringLiteral("just.swf"), movie.left(23)), h));
    EXPECT_EQ(h.XMax, 11000u);
}

TEST_F(SwfHeaderTest, MissingFilesFoldersAndPipesGiveFalseWithoutAnError)
{
    const QString pipe = dir_.filePath(QStringLiteral("pipe.swf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    TSwfHeader h = SentinelHeader();
    EXPECT_FALSE(ReadSwfHeader(dir_.filePath(QStringLiteral("absent.swf")), h));
    EXPECT_FALSE(ReadSwfHeader(dir_.path(), h));
    EXPECT_FALSE(ReadSwfHeader(pipe, h));  // must not wait for a writer
    EXPECT_FALSE(ReadSwfHeader(QString(), h));
    EXPECT_TRUE(SameHeader(h, SentinelHeader()));
}

TEST_F(SwfHeaderTest, UnknownSignaturesCopyTheOpeningOnly)
{
    struct Case {
        const char *signature;
        uint8_t version;
    };
    // Lower-case forms, a compressed movie older than version 6 (its body is
    // garbage and must not be inflated), LZMA before version 13.
    for (const Case c : {Case{"fws", 6}, Case{"cws", 6}, Case{"CWS", 5}, Case{"ZWS", 12}, Case{"GIF", 8}}) {
        SCOPED_TRACE(c.signature);
        const QString path =
            write(QStringLiteral("odd.swf"), RawMovie(c.signature, c.version, 4242, QByteArray(40, '\x5A'), false));
        TSwfHeader h = SentinelHeader();
        EXPECT_FALSE(ReadSwfHeader(path, h));
        EXPECT_EQ(std::string(h.Signature, 3), c.signature);
        EXPECT_EQ(h.Version, c.version);
        EXPECT_EQ(h.FileLength, 4242u);
        EXPECT_EQ(h.XMax, 77777u);
        EXPECT_EQ(h.FrameCount, 77777u);
    }
}

TEST_F(SwfHeaderTest, DecodesBodyFieldsAsTheFormatStoresThem)
{
    struct Case {
        const char *name;
        QByteArray body;
        uint32_t xMin, xMax, yMax;
        uint8_t rate, fraction;
        uint32_t frames;
    };
    const Case cases[] = {
        // Nbits 0: an empty rectangle in one byte, rate and count right after.
        {"nbits 0", QByteArray::fromHex("00000C0300"), 0, 0, 0, 12, 0, 3},
        // Count bytes FF FF are 65535, not -1.
        {"count 65535", QByteArray::fromHex("7800055F00000FA000000CFFFF"), 0, 11000, 8000, 12, 0, 65535},
        // Rate bytes 80 18: 24 and a half.
        {"rate 24.5", QByteArray::fromHex("7800055F00000FA00080180100"), 0, 11000, 8000, 24, 128, 1},
        // Nbits 4 with XMin 1111: the top bit set reads 15, not -1.
        {"unsigned fields", QByteArray::fromHex("27800000 0C0100"), 15, 0, 0, 12, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray body = c.body;
        body.append(QByteArray(30, '\0'));
        TSwfHeader h;
        ASSERT_TRUE(ReadSwfHeader(write(QStringLiteral("body.swf"), RawMovie("FWS", 8, 50, body, false)), h));
        EXPECT_EQ(h.XMin, c.xMin);
        EXPECT_EQ(h.XMax, c.xMax);
        EXPECT_EQ(h.YMax, c.yMax);
        EXPECT_EQ(h.FrameRate, c.rate);
        EXPECT_EQ(h.FrameRateFrac, c.fraction);
        EXPECT_EQ(h.FrameCount, c.frames);
    }
}

TEST_F(SwfHeaderTest, ALargeTopBitFieldStaysPositive)
{
    TMovieSpec spec;
    spec.xMax = 0x7FFFFFFF;  // 31 bits
    TSwfHeader h;
    ASSERT_TRUE(ReadSwfHeader(write(QStringLiteral("huge.swf"), MovieBytes(spec)), h));
    EXPECT_EQ(h.XMax, 0x7FFFFFFFu);
    EXPECT_EQ(HeaderWidth(h), 0x7FFFFFFFu / 20);
}

TEST_F(SwfHeaderTest, BodyBytesBeyondTheDataReadAsZero)
{
    // Nbits 31 and all ones: the rectangle needs 17 body bytes, but only 15
    // arrive, in a 23-byte plain file and in a compressed stream that ends.
    const QByteArray body(15, '\xFF');
    const QByteArray plain = RawMovie("FWS", 6, 23, body, false);
    const QByteArray compressed = RawMovie("CWS", 6, 23, body, true) + QByteArray(8, '\0');
    for (const QByteArray &bytes : {plain, compressed}) {
        SCOPED_TRACE(bytes.left(3).toStdString());
        TSwfHeader h = SentinelHeader();
        EXPECT_TRUE(ReadSwfHeader(write(QStringLiteral("cut.swf"), bytes), h));
        EXPECT_EQ(h.XMin, 0x7FFFFFFFu);
        EXPECT_EQ(h.YMin, 0x7FFFFFFFu);
        EXPECT_EQ(h.YMax, 0x7FFFFE00u);  // 22 ones arrived, 9 bits missing
        EXPECT_EQ(h.FrameRate, 0);
        EXPECT_EQ(h.FrameRateFrac, 0);
        EXPECT_EQ(h.FrameCount, 0u);
    }
}

TEST_F(SwfHeaderTest, ABrokenCompressedBodyRaisesAnErrorNamingTheFile)
{
    const QString path = write(QStringLiteral("broken.swf"), RawMovie("CWS", 6, 100, QByteArray(40, '\x5A'), false));
    TSwfHeader h;
    try {
        ReadSwfHeader(path, h);
        FAIL() << "no error raised";
    } catch (const ESwfHeaderError &error) {
        EXPECT_NE(std::string(error.what()).find(path.toStdString()), std::string::npos) << error.what();
    }
    const QString lzma = write(QStringLiteral("broken-lzma.swf"),
                               RawMovie("ZWS", 13, 100, QByteArray::fromHex("10000000FF") + QByteArray(40, '\xFF'), false));
    EXPECT_THROW(ReadSwfHeader(lzma, h), ESwfHeaderError);
}

TEST_F(SwfHeaderTest, AFileThatCannotBeOpenedRaisesAnError)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the super-user";
    const QString path = write(QStringLiteral("locked.swf"), MovieBytes(TMovieSpec()));
    QFile::setPermissions(path, QFileDevice::Permissions());
    TSwfHeader h;
    EXPECT_THROW(ReadSwfHeader(path, h), ESwfHeaderError);
}

TEST(ReadBits, TakesBitsMostSignificantFirstAndStaysInsideTheBuffer)
{
    const uint8_t bytes[] = {0b10110000, 0xFF};
    struct Case {
        int32_t start;
        uint8_t count;
        uint32_t expected;
    };
    const Case cases[] = {
        {0, 0, 0},              // no bits
        {0, 4, 0b1011},         // first nibble
        {0, 0x84, 0b1011},      // the count's top bit is ignored
        {2, 3, 0b110},          // from the middle of a byte
        {6, 4, 0b0011},         // across a byte boundary
        {12, 8, 0b11110000},    // bits past the end read as zero
        {-2, 3, 0b001},         // and so do bits before the start
        {0, 32, 0xB0FF0000},    // a full 32-bit result
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReadBits(bytes, sizeof bytes, c.start, c.count), c.expected) << c.start << "/" << int(c.count);
}
