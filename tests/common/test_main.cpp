// Test entry: a QApplication (offscreen unless told otherwise) so that
// widget, painter and font tests can run without a display. The shared
// thumbnail cache lives in a folder of the test run's own, never in the
// cache of the person running the tests.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Players in tests never open the sound device.
    qputenv("PAVOKO_NO_SOUND", "1");
    const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
