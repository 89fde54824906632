// libFuzzer target: arbitrary text as a counter formula and as a counters template line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/FData.h"
#include "stats/FMath.h"
#include "stats/counters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string text(reinterpret_cast<const char*>(data), size);
    GameOver = data[0 % (size ? size : 1)] & 1 ? 1 : 0;
    Solved3BV = Board3BV = 30;
    GameClock = {12, 34};
    EvaluateFormula(text);
    CounterValueText(text);
    return 0;
}
