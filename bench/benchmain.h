#pragma once
// The entry of a benchmark program that needs widgets: an application of
// type `App` (a QApplication, or one derived from it) on the offscreen
// platform unless told otherwise, then the benchmarks.

#include <QApplication>
#include <benchmark/benchmark.h>

template <class App = QApplication>
int RunWidgetBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
