// Decoding sounds: every codec path through FFmpeg with real corpus sounds
// (their decoded lengths against what their headers state), hostile and
// truncated data, and the WAV that swfrender writes.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <iostream>
#include <numeric>
#include <random>

#include "common/testpaths.h"
#include "corpusmanifest.h"
#include "soundbuilder.h"
#include "swf/media/soundcharacter.h"
#include "swf/moviedefinition.h"
#include "swf/timeline/sprite.h"

using namespace swftest;

namespace {

const swf::Rect kStage{0, 2000, 0, 2000};

std::shared_ptr<const swf::MovieDefinition> MovieWithOneSound(uint8_t flags, uint32_t stated, const QByteArray &data)
{
    SwfBuilder b(8, kStage, 12, 1);
    b.tag(kDefineSoundTag, DefineSoundBody(1, flags, stated, data)).tag(kStartSoundTag, StartSoundBody(1)).showFrame();
    return swf::LoadMovieFromBytes(b.bytes());
}

QByteArray RandomBytes(int size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, 0);
    for (char &c : bytes)
        c = char(random());
    return bytes;
}

// Frames a decoded sound may miss or have over its header's count: one
// frame of the movie, or one MP3 frame of 1152 samples for short movies.
int64_t Tolerance(int rate, double frameRate)
{
    return std::max<int64_t>(1152, int64_t(rate / (frameRate > 0 ? frameRate : 12)) + 1);
}

struct CorpusSounds {
    int sounds = 0, streams = 0, mismatched = 0;
};

void CheckSound(const QString &path, const swf::SoundCharacter &sound, double frameRate, CorpusSounds &tally)
{
    const swf::PcmBuffer &pcm = sound.pcm();
    ++tally.sounds;
    EXPECT_EQ(pcm.rejectedPackets, 0) << path.toStdString() << " sound " << sound.id();
    const int64_t difference = std::abs(pcm.sourceFrames - int64_t(sound.statedSampleCount()));
    if (difference > Tolerance(sound.format().rate, frameRate)) {
        ++tally.mismatched;
        ADD_FAILURE() << path.toStdString() << " sound " << sound.id() << ": decoded " << pcm.sourceFrames
                      << " frames, stated " << sound.statedSampleCount();
    }
}

void CheckStream(const QString &path, const swf::SoundStream &stream, double frameRate, CorpusSounds &tally)
{
    if (stream.blockCount() == 0)
        return;
    ++tally.streams;
    const swf::PcmBuffer &pcm = stream.pcm();
    const int64_t difference = std::abs(pcm.sourceFrames - stream.statedSampleCount());
    if (difference > Tolerance(stream.format().rate, frameRate)) {
        ++tally.mismatched;
        ADD_FAILURE() << path.toStdString() << ": stream decoded " << pcm.sourceFrames << " frames, stated "
                      << stream.statedSampleCount();
    }
}

void CheckMovieSounds(const QString &path, CorpusSounds &tally)
{
    const auto movie = swf::LoadMovie(CorpusDir() + QLatin1Char('/') + path);
    ASSERT_TRUE(movie) << path.toStdString();
    const double rate = movie->header.frameRate;
    if (movie->timeline.stream)
        CheckStream(path, *movie->timeline.stream, rate, tally);
    for (int id = 1; id <= 0xffff; ++id) {
        if (const auto *sound = movie->dictionary.findAs<swf::SoundCharacter>(uint16_t(id)))
            CheckSound(path, *sound, rate, tally);
        else if (const auto *sprite = movie->dictionary.findAs<swf::SpriteCharacter>(uint16_t(id)))
            if (sprite->timeline().stream)
                CheckStream(path, *sprite->timeline().stream, rate, tally);
    }
}

}  // namespace

TEST(SoundDecode, CorpusSoundsDecodeToTheLengthTheirHeadersState)
{
    SKIP_WITHOUT_CORPUS();
    const QStringList paths = CorpusMoviesWithFeature({QStringLiteral("sound"), QStringLiteral("streamsound")});
    ASSERT_FALSE(paths.isEmpty());
    CorpusSounds tally;
    for (const QString &path : paths)
        CheckMovieSounds(path, tally);
    std::cout << "sound decode: " << paths.size() << " movies, " << tally.sounds << " event sounds, "
              << tally.streams << " streams, " << tally.mismatched << " off their stated length\n";
    EXPECT_GT(tally.sounds, 5);
}

TEST(SoundDecode, HostileDataDecodesWhatItCanAndNeverMore)
{
    struct Case {
        const char *name;
        uint8_t flags;
        QByteArray data;
    };
    const Case cases[] = {
        {"MP3 noise", 0x2e, RandomBytes(5000, 1)},
        {"MP3 frame header then nothing", 0x2e, QByteArray::fromHex("0000fffb9064")},
        {"ADPCM noise", 0x1e, RandomBytes(5000, 2)},
        {"ADPCM one byte", 0x1f, QByteArray(1, '\xff')},
        {"Nellymoser short of a block", 0x6e, RandomBytes(63, 3)},
        {"Nellymoser noise", 0x4e, RandomBytes(6400, 4)},
        {"Speex noise", 0xbe, RandomBytes(300, 5)},
        {"A-law odd length", 0x7e, RandomBytes(301, 6)},
        {"16-bit stereo odd length", 0x3f, RandomBytes(7, 7)},
        {"unknown codec", 0xfe, RandomBytes(100, 8)},
        {"nothing at all", 0x2e, QByteArray()},
    };
    for (const Case &c : cases) {
        const auto movie = MovieWithOneSound(c.flags, 0xffffffffu, c.data);
        ASSERT_TRUE(movie) << c.name;
        const auto *sound = movie->dictionary.findAs<swf::SoundCharacter>(1);
        ASSERT_TRUE(sound) << c.name;
        const swf::PcmBuffer &pcm = sound->pcm();
        EXPECT_LE(pcm.frameCount(), swf::PcmBuffer::kMostFrames) << c.name;
        EXPECT_EQ(pcm.samples.size() % 2, 0u) << c.name;
    }
}

TEST(SoundDecode, TruncatedStreamPlaysWhatItHas)
{
    SwfBuilder b(8, kStage, 12, 4);
    b.tag(kSoundStreamHeadTag, StreamHeadBody(0x22, 576));  // MP3, 11 kHz
    b.tag(kSoundStreamBlockTag, QByteArray::fromHex("4002") + RandomBytes(300, 9)).showFrame();
    QByteArray bytes = b.bytes();
    // The next block's header claims far more than the file has left.
    bytes += SwfBuilder::tagBytes(kSoundStreamBlockTag, RandomBytes(400, 10), true).left(40);
    // The header records the whole file, so that the player reads it all.
    qToLittleEndian<quint32>(quint32(bytes.size()), bytes.data() + 4);
    const auto movie = swf::LoadMovieFromBytes(bytes);
    ASSERT_TRUE(movie);
    ASSERT_TRUE(movie->timeline.stream);
    EXPECT_EQ(movie->timeline.stream->blockCount(), 2u);
    const swf::PcmBuffer &pcm = movie->timeline.stream->pcm();
    EXPECT_LE(pcm.frameCount(), swf::PcmBuffer::kMostFrames);
}

namespace {

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

Wav ReadWav(const QString &path)
{
    QFile file(path);
    Wav wav;
    if (!file.open(QIODevice::ReadOnly))
        return wav;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(36, 4) != "data")
        return wav;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    wav.channels = qFromLittleEndian<quint16>(data + 22);
    wav.rate = int(qFromLittleEndian<quint32>(data + 24));
    wav.bits = qFromLittleEndian<quint16>(data + 34);
    const quint32 length = std::min<quint32>(qFromLittleEndian<quint32>(data + 40), quint32(bytes.size() - 44));
    for (quint32 i = 0; i + 1 < length; i += 2)
        wav.samples.push_back(qFromLittleEndian<qint16>(data + 44 + i));
    return wav;
}

}  // namespace

TEST(SoundDecode, SwfrenderWritesTheSoundOfTheFramesItRuns)
{
    SKIP_WITHOUT_CORPUS();
    QTemporaryDir folder;
    const QString wavPath = folder.filePath(QStringLiteral("sound.wav"));
    QProcess process;
    process.start(QStringLiteral(PAVOKO_SWFRENDER),
                  {QStringLiteral("--frames"), QStringLiteral("10"), QStringLiteral("--audio"), wavPath,
                   QStringLiteral("-o"), folder.filePath(QStringLiteral("frame.png")),
                   CorpusDir() + QStringLiteral("/ruffle/trace/audio/g711_event_alaw/test.swf")});
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    const Wav wav = ReadWav(wavPath);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.bits, 16);
    const auto movie = swf::LoadMovie(CorpusDir() + QStringLiteral("/ruffle/trace/audio/g711_event_alaw/test.swf"));
    ASSERT_TRUE(movie);
    const double expectedFrames = 10 * 44100 / movie->header.frameRate;
    EXPECT_NEAR(double(wav.samples.size() / 2), expectedFrames, 1);
    const int loudest = std::accumulate(wav.samples.begin(), wav.samples.end(), 0,
                                        [](int m, int16_t s) { return std::max(m, std::abs(int(s))); });
    EXPECT_GT(loudest, 1000);
}
