// The main of the engine benchmarks.
#include "bench/main/benchrun.h"

int main(int argc, char** argv) {
    return quorlet::bench::RunBenchmarks(argc, argv);
}
