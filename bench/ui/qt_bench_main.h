// The main of a window benchmark: a Qt application (offscreen unless a platform is chosen)
// around Google Benchmark's run.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/main/benchrun.h"

inline int RunQtBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return quorlet::bench::RunBenchmarks(argc, argv);
}
