// libFuzzer target: arbitrary bytes as the kit's wave forms (plain and compressed) and as a
// WAVE file. A form that reads holds a WAVE file that writes and reads again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kit/engine/kitforms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorlet;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)CheckWaveData(bytes);
    for (bool compressed : {false, true}) {
        TKitReader in(bytes);
        std::string wave;
        if (!ReadWaveForm(in, compressed, wave)) {
            if (!wave.empty()) std::abort();
            continue;
        }
        if (!CheckWaveData(wave) || (!compressed && wave.size() > size)) std::abort();
        const std::string form = WaveForm(wave, compressed);
        TKitReader again(form);
        std::string back;
        if (!ReadWaveForm(again, compressed, back) || back != wave) std::abort();
    }
    return 0;
}
