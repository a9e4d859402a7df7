// Embedded video: frames picked by the placement's ratio, decoded in order
// or from the nearest key frame, the corpus' codecs, and hostile frames.

#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "common/testpaths.h"
#include "swf/media/videostream.h"
#include "swf/moviedefinition.h"
#include "swf/movie.h"
#include "swfbuilder.h"
#include "videoencoder.h"

using namespace swftest;

namespace {

const swf::Rect kStage{0, 2000, 0, 2000};
constexpr uint16_t kVideoId = 5;
constexpr int kWidth = 64, kHeight = 48;
constexpr uint16_t kDefineVideoStream = 60, kVideoFrame = 61;

QByteArray VideoStreamBody(uint16_t id, int frames, int width, int height, uint8_t codec)
{
    BitWriter w;
    w.u16(id);
    w.u16(uint16_t(frames));
    w.u16(uint16_t(width));
    w.u16(uint16_t(height));
    w.u8(0);
    w.u8(codec);
    return w.data();
}

QByteArray VideoFrameBody(uint16_t id, uint16_t number, const QByteArray &data)
{
    BitWriter w;
    w.u16(id);
    w.u16(number);
    w.bytes(data);
    return w.data();
}

std::shared_ptr<const swf::MovieDefinition> MovieWithVideo(const std::vector<QByteArray> &frames, int width = kWidth,
                                                            int height = kHeight, uint8_t codec = 2)
{
    SwfBuilder b(8, kStage, 12, uint16_t(frames.size()));
    b.tag(kDefineVideoStream, VideoStreamBody(kVideoId, int(frames.size()), width, height, codec));
    Placement place = PlaceCharacter(1, kVideoId);
    for (size_t i = 0; i < frames.size(); ++i) {
        b.tag(kVideoFrame, VideoFrameBody(kVideoId, uint16_t(i), frames[i]));
        place.ratio = int(i);
        b.placeObject2(place).showFrame();
        place.move = true;
        place.characterId = -1;
    }
    return swf::LoadMovieFromBytes(b.bytes());
}

const std::vector<QColor> kColours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan,
                                      Qt::magenta, Qt::white, Qt::black, Qt::gray};

bool Near(QRgb actual, const QColor &expected)
{
    return std::abs(qRed(actual) - expected.red()) <= 24 && std::abs(qGreen(actual) - expected.green()) <= 24
           && std::abs(qBlue(actual) - expected.blue()) <= 24;
}

const swf::VideoStreamCharacter &Stream(const swf::MovieDefinition &movie)
{
    const auto *stream = movie.dictionary.findAs<swf::VideoStreamCharacter>(kVideoId);
    EXPECT_TRUE(stream);
    return *stream;
}

}  // namespace

TEST(Video, RatioPicksTheFrameInOrderOrFromTheNearestKeyFrame)
{
    struct Case {
        TestCodec codec;
        uint8_t codecId;
        int width, height;  // screen video codes 64-pixel blocks: two rows of them
        // FFmpeg's second screen video decoder refuses the blocks its own
        // encoder builds on the previous frame's: those frames leave the
        // key frame's picture showing.
        bool keyFramesOnly;
    };
    const Case cases[] = {{TestCodec::H263, 2, kWidth, kHeight, false},
                          {TestCodec::ScreenVideo, 3, 128, 128, false},
                          {TestCodec::ScreenVideo2, 6, 128, 128, true}};
    for (const auto &[codec, codecId, width, height, keyFramesOnly] : cases) {
        const EncodedVideo video = EncodeFlatFrames(codec, kColours, width, height, 4);
        const std::vector<QByteArray> &frames = video.frames;
        ASSERT_EQ(frames.size(), kColours.size()) << int(codecId);
        int keys = 0;
        for (size_t i = 0; i < frames.size(); ++i) {
            const auto *data = reinterpret_cast<const uint8_t *>(frames[i].constData());
            EXPECT_EQ(swf::IsVideoKeyFrame(swf::VideoCodec(codecId), data, size_t(frames[i].size())), video.keys[i])
                << int(codecId) << " frame " << i;
            keys += video.keys[i];
        }
        EXPECT_LT(keys, int(frames.size())) << int(codecId) << ": the encoder made key frames only";
        const auto movie = MovieWithVideo(frames, width, height, codecId);
        ASSERT_TRUE(movie);
        const swf::VideoStreamCharacter &stream = Stream(*movie);
        ASSERT_EQ(stream.frameCount(), kColours.size());

        // Forward, backward across key frames, jumps, and past the last frame.
        for (const int ratio : {0, 1, 2, 3, 4, 5, 8, 2, 6, 7, 0, 5, 3, 200}) {
            const QImage picture = stream.picture(uint16_t(ratio));
            ASSERT_EQ(picture.size(), QSize(width, height)) << ratio;
            int shownFrame = std::min<int>(ratio, int(kColours.size()) - 1);
            while (keyFramesOnly && !video.keys[size_t(shownFrame)])
                --shownFrame;
            const QColor &expected = kColours[size_t(shownFrame)];
            const QRgb shown = picture.pixel(width / 2, height / 4);
            EXPECT_TRUE(Near(shown, expected)) << int(codecId) << " ratio " << ratio << " shows " << std::hex << shown;
            EXPECT_EQ(qGray(picture.pixel(width / 2, height - 2)), 0) << int(codecId) << " ratio " << ratio;
        }
    }
}

TEST(Video, PlacedVideoIsDrawnWithItsFrame)
{
    const auto movie = MovieWithVideo(EncodeFlatH263Frames(kColours, kWidth, kHeight, 4));
    swf::MoviePlayer player(movie);
    player.gotoFrame(2);
    const QImage image = player.renderImage(QSize(100, 100), swf::Quality::Low);
    EXPECT_TRUE(Near(image.pixel(kWidth / 2, kHeight / 4), kColours[2]));
    EXPECT_EQ(image.pixel(90, 90), qRgb(255, 255, 255));  // beyond the video's box
}

TEST(Video, BrokenFramesLeaveTheLastGoodPicture)
{
    std::vector<QByteArray> frames = EncodeFlatH263Frames({Qt::red, Qt::green}, kWidth, kHeight, 10);
    std::mt19937 random(3);
    QByteArray noise(500, 0);
    for (char &c : noise)
        c = char(random());
    frames.push_back(noise);
    frames.push_back(frames[1].left(frames[1].size() / 3));
    frames.push_back(QByteArray());
    const auto movie = MovieWithVideo(frames);
    const swf::VideoStreamCharacter &stream = Stream(*movie);
    for (int ratio = 0; ratio < int(frames.size()); ++ratio)
        stream.picture(uint16_t(ratio));
    const QImage last = stream.picture(uint16_t(frames.size() - 1));
    ASSERT_FALSE(last.isNull());
    EXPECT_EQ(last.size(), QSize(kWidth, kHeight));
}

TEST(Video, HostileStreamsDecodeNothingAndNeverCrash)
{
    const std::vector<QByteArray> noise = {
        QByteArray(1, '\0'), QByteArray(40, '\xff'), QByteArray(),
        QByteArray::fromHex("0000000001"),             // an AVC set-up record cut short
        QByteArray::fromHex("17010000007fffffff65"),   // a NAL unit longer than its frame
        QByteArray::fromHex("0100000000000001"),       // a NAL length and nothing after it
        QByteArray::fromHex("1040104000ffff02"),       // a screen video block longer than its frame
        QByteArray::fromHex("104010400000010400")};    // a block smaller than its flags claim
    for (const uint8_t codec : {2, 3, 4, 5, 6, 7, 99}) {
        SwfBuilder b(8, kStage, 12, 1);
        b.tag(kDefineVideoStream, VideoStreamBody(kVideoId, int(noise.size()), kWidth, kHeight, codec));
        for (size_t i = 0; i < noise.size(); ++i)
            b.tag(kVideoFrame, VideoFrameBody(kVideoId, uint16_t(i), noise[i]));
        b.showFrame();
        const auto movie = swf::LoadMovieFromBytes(b.bytes());
        ASSERT_TRUE(movie);
        for (uint16_t ratio : {0, 2, 1, 8, 4, 3})
            Stream(*movie).picture(ratio);
    }
    // A stream too large to decode stays blank.
    const auto huge = MovieWithVideo(EncodeFlatH263Frames({Qt::red}, kWidth, kHeight, 1), 60000, 60000);
    EXPECT_TRUE(Stream(*huge).picture(0).isNull());
}

TEST(Video, CorpusCodecsDecodeAtTheirStreamSize)
{
    SKIP_WITHOUT_CORPUS();
    struct Case {
        const char *path;
        QSize size;
        bool alpha;
    };
    const Case cases[] = {
        {"ruffle/image/visual/video/colorconversion/h263/test.swf", {640, 480}, false},
        {"ruffle/image/visual/video/colorconversion/vp6/test.swf", {640, 480}, false},
        {"ruffle/image/visual/video/colorconversion/vp6a/test.swf", {640, 480}, true},
        {"ruffle/image/visual/video/vp6_alphaoffset/test.swf", {976, 400}, true},
    };
    for (const Case &c : cases) {
        const auto movie = swf::LoadMovie(CorpusDir() + QLatin1Char('/') + QLatin1String(c.path));
        ASSERT_TRUE(movie) << c.path;
        const auto *stream = movie->dictionary.findAs<swf::VideoStreamCharacter>(0);  // these movies number it 0
        ASSERT_TRUE(stream) << c.path;
        const QImage picture = stream->picture(0);
        ASSERT_EQ(picture.size(), c.size) << c.path;
        bool translucent = false;
        for (int y = 0; y < picture.height() && !translucent; y += 7)
            for (int x = 0; x < picture.width() && !translucent; x += 7)
                translucent = qAlpha(picture.pixel(x, y)) < 255;
        EXPECT_EQ(translucent, c.alpha) << c.path;
    }
}

// As a movie stores them, and with the byte of frame type and codec an FLV
// file puts first; a seek on a fresh stream starts from the key frame
// before it, after the set-up record further back.
TEST(Video, AvcFramesUnwrapAndSeekFromTheirKeyFrames)
{
    const EncodedVideo video = EncodeFlatFrames(TestCodec::Avc, kColours, kWidth, kHeight, 4);
    if (video.frames.size() != kColours.size())
        GTEST_SKIP() << "no H.264 encoder";
    ASSERT_FALSE(video.setup.isEmpty());
    for (const bool flvHeader : {false, true}) {
        const auto header = [flvHeader](bool key) {
            return flvHeader ? QByteArray(1, char(key ? 0x17 : 0x27)) : QByteArray();
        };
        std::vector<QByteArray> frames = {header(true) + QByteArray::fromHex("00000000") + video.setup};
        for (size_t i = 0; i < video.frames.size(); ++i)
            frames.push_back(header(video.keys[i]) + QByteArray::fromHex("01000000") + video.frames[i]);
        const auto packet = [&frames](size_t i) {
            return swf::AvcPacket(reinterpret_cast<const uint8_t *>(frames[i].constData()), size_t(frames[i].size()));
        };
        EXPECT_EQ(packet(0).type, swf::AvcPacket::Type::Setup);
        int keys = 0;
        for (size_t i = 0; i < video.frames.size(); ++i) {
            EXPECT_EQ(packet(i + 1).type, swf::AvcPacket::Type::Pictures);
            EXPECT_EQ(packet(i + 1).key, video.keys[i]) << "frame " << i << (flvHeader ? " in FLV form" : "");
            keys += video.keys[i];
        }
        EXPECT_GT(keys, 1);
        EXPECT_LT(keys, int(video.frames.size()));

        SwfBuilder b(8, kStage, 12, 1);
        b.tag(kDefineVideoStream, VideoStreamBody(kVideoId, int(frames.size()), kWidth, kHeight, 7));
        for (size_t i = 0; i < frames.size(); ++i)
            b.tag(kVideoFrame, VideoFrameBody(kVideoId, uint16_t(i), frames[i]));
        const auto movie = swf::LoadMovieFromBytes(b.showFrame().bytes());
        const swf::VideoStreamCharacter &stream = Stream(*movie);
        for (const int picture : {5, 1, 0, 8, 2}) {
            const QImage image = stream.picture(uint16_t(picture + 1));
            ASSERT_EQ(image.size(), QSize(kWidth, kHeight)) << picture;
            EXPECT_TRUE(Near(image.pixel(kWidth / 2, kHeight / 4), kColours[size_t(picture)])) << picture;
        }
    }
}
