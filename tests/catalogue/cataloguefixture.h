#pragma once
// A temporary folder of generated movies and helpers to let the catalogue
// view's worker run to its end.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#include "catalogue/thumbworker.h"
#include "catalogue/zenteqthumb.h"
#include "moviebuilder.h"

class CatalogueFixture : public ::testing::Test {
protected:
    // A folder `name` with `count` movies "movie000.swf"...; movie i has
    // `firstFrames + i` frames, so its detail columns tell which file they
    // were made from.
    QString makeFolder(const QString &name, int count, int firstFrames = 1)
    {
        const QString folder = dir_.filePath(name);
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i) {
            TMovieSpec spec;
            spec.frames = uint16_t(firstFrames + i);
            WriteFile(folder + QStringLiteral("/movie%1.swf").arg(i, 3, 10, QLatin1Char('0')), MovieBytes(spec));
        }
        return folder;
    }

    // Processes events until `done`; false if that never happens (a hang
    // guard, not a measure of speed).
    static bool WaitUntil(const std::function<bool()> &done)
    {
        QDeadlineTimer guard(120000);
        while (!done()) {
            if (guard.hasExpired())
                return false;
            QCoreApplication::processEvents();
            QThread::msleep(1);
        }
        return true;
    }

    static void ShowView(TZenteqThumb &view, int width = 600, int height = 400)
    {
        view.resize(width, height);
        view.show();
    }

    static bool WorkerDone() { return WorkerHandle.load() == nullptr && WorkerIdle; }

    static bool AllRendered(const TZenteqThumb &view)
    {
        for (int row = 0; row < view.itemCount(); ++row) {
            if (view.itemImageIndex(row) < 0)
                return false;
        }
        return true;
    }

    static bool FinishWorker(const TZenteqThumb &view)
    {
        return WaitUntil([&] { return WorkerDone() && AllRendered(view); });
    }

    QTemporaryDir dir_;
};
