// libFuzzer target: any bytes as a movie file, loaded and played for a few
// frames at a small size. Nothing may crash, hang or leak, whatever the
// bytes claim.

#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>

#include "swf/movie.h"

namespace {

constexpr int kFramesShown = 4;
const QSize kPictureSize(64, 48);

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Text drawing needs the font database of a GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_movie";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto movie = swf::LoadMovieFromBytes(bytes);
    if (!movie)
        return 0;
    swf::MoviePlayer player(movie);
    player.setPlaying(true);
    for (int frame = 0; frame < kFramesShown; ++frame) {
        player.renderImage(kPictureSize, frame % 2 ? swf::Quality::Low : swf::Quality::High);
        player.advance();
    }
    // Going back rebuilds the display list from the start.
    player.gotoFrame(player.frameCount() - 1);
    player.gotoFrame(1);
    player.renderImage(kPictureSize, swf::Quality::Medium);
    return 0;
}
