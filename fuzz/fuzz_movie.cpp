// libFuzzer target: any bytes as a movie file, put through what users do
// with a movie (movieworkout.h). Nothing may crash, hang or leak, whatever
// the bytes claim.

#include <QGuiApplication>
#include <QImage>
#include <QThreadPool>
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
    // Qt converts large pictures on its global thread pool, whose threads
    // end when idle and start again when needed. LeakSanitizer's check
    // after an input fails when a thread starts or ends under it, so the
    // threads start here, once, and stay.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    QImage(1024, 1024, QImage::Format_ARGB32).convertToFormat(QImage::Format_RGB32);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    fuzzworkout::Workout(bytes);
    return 0;
}
