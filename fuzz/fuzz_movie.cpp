// libFuzzer target: any bytes as a movie file, put through what users do
// with a movie (movieworkout.h). Nothing may crash, hang or leak, whatever
// the bytes claim.

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

#include "movieworkout.h"

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
    fuzzworkout::Workout(bytes);
    return 0;
}
