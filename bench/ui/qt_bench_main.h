// The main of a window benchmark: a Qt application (offscreen unless a platform is chosen)
// around Google Benchmark's run.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunQtBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
