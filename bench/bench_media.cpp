// Cost of sound and video against real time, over corpus movies:
//  - SoundSecond/<movie>: decode a movie's first event sound from scratch
//    and mix one second (44,100 frames) of it, as a player's first second
//    of that sound costs; "realtime_share" is the part of a second spent;
//  - VideoFrame/<movie>: decode the first frame of a movie's embedded
//    video from scratch and turn it into a picture at its size.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <chrono>
#include <vector>

#include "swf/media/soundcharacter.h"
#include "swf/media/soundmixer.h"
#include "swf/media/videostream.h"
#include "swf/moviedefinition.h"

namespace {

const char *const kSoundMovies[] = {
    "shumway/examples/racing/race/race.swf",                   // MP3, 22 kHz
    "ruffle/trace/audio/g711_event_alaw/test.swf",            // G.711 A-law
    "ruffle/trace/from_gnash/misc-swfc.all/sound/test.swf",   // MP3
    "ruffle/trace/avm1/sound_start_stop/test.swf",            // MP3, 44 kHz
};

const char *const kVideoMovies[] = {
    "ruffle/image/visual/video/colorconversion/h263/test.swf",
    "ruffle/image/visual/video/colorconversion/vp6/test.swf",
    "ruffle/image/visual/video/colorconversion/vp6a/test.swf",
};

QString CorpusPath(const char *relative)
{
    return QStringLiteral(PAVOKO_CORPUS_DIR "/") + QLatin1String(relative);
}

const swf::SoundCharacter *FirstSound(const swf::MovieDefinition &movie)
{
    for (int id = 0; id <= 0xffff; ++id)
        if (const auto *sound = movie.dictionary.findAs<swf::SoundCharacter>(uint16_t(id)))
            return sound;
    return nullptr;
}

void SoundSecond(benchmark::State &state, const QString &path)
{
    constexpr int kSecond = swf::PcmBuffer::kRate;
    std::vector<int16_t> out(size_t(kSecond) * 2);
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh copy of the movie: its sound has never been decoded.
        const auto movie = swf::LoadMovie(path);
        const swf::SoundCharacter *sound = movie ? FirstSound(*movie) : nullptr;
        if (!sound) {
            state.SkipWithError("no sound");
            return;
        }
        swf::SoundMixer mixer;
        swf::SoundInfo info;
        info.loops = 100;  // a short sound still fills the second
        mixer.startEvent(*sound, sound->id(), info);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        mixer.mix(out.data(), kSecond);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime_share"] = seconds / double(state.iterations());
}

void VideoFrame(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        state.PauseTiming();
        const auto movie = swf::LoadMovie(path);
        const auto *stream = movie ? movie->dictionary.findAs<swf::VideoStreamCharacter>(0) : nullptr;
        if (!stream) {
            state.SkipWithError("no video");
            return;
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(stream->picture(0));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    for (const char *movie : kSoundMovies)
        benchmark::RegisterBenchmark((std::string("SoundSecond/") + movie).c_str(), SoundSecond, CorpusPath(movie))
            ->Unit(benchmark::kMillisecond);
    for (const char *movie : kVideoMovies)
        benchmark::RegisterBenchmark((std::string("VideoFrame/") + movie).c_str(), VideoFrame, CorpusPath(movie))
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
