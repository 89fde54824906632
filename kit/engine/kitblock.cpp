#include "kit/engine/kitblock.h"

#include <array>

namespace quorlet {

namespace {

constexpr uint16_t kNoPosition = 0xFFFF;
constexpr size_t kMaxDistance = 4095;
constexpr size_t kMaxMatch = 18;
constexpr size_t kMinRun = 16;
constexpr size_t kMaxRun = 4095;

uint8_t At(std::string_view s, size_t i) {
    return static_cast<uint8_t>(s[i]);
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

uint32_t GetU32(std::string_view s, size_t at) {
    return uint32_t{At(s, at)} | uint32_t{At(s, at + 1)} << 8 | uint32_t{At(s, at + 2)} << 16 |
           uint32_t{At(s, at + 3)} << 24;
}

void PutControl(std::string& out, size_t at, uint16_t word) {
    out[at] = static_cast<char>(word >> 8);
    out[at + 1] = static_cast<char>(word);
}

} // namespace

std::string CompressBlock(std::string_view src) {
    const size_t n = src.size();
    std::string out;
    out.reserve(n + 8);
    out.append(3, '\0');
    out[0] = static_cast<char>(kKitMethodCompressed);
    size_t controlAt = 1;
    uint16_t control = 0;
    int items = 0;
    std::array<uint16_t, 4096> table;
    table.fill(kNoPosition);
    size_t i = 0;
    while (i < n && out.size() <= n) {
        if (items == 16) {
            PutControl(out, controlAt, control);
            controlAt = out.size();
            out.append(2, '\0');
            control = 0;
            items = 0;
        }
        ++items;
        size_t run = 1;
        while (run < kMaxRun && i + run < n && src[i + run] == src[i]) ++run;
        if (run >= kMinRun) {
            const size_t r = run - kMinRun;
            out += '\0';
            out += static_cast<char>(r >> 8);
            out += static_cast<char>(r);
            out += src[i];
            control = static_cast<uint16_t>(control << 1 | 1);
            i += run;
            continue;
        }
        // Only where three bytes remain: the key never reads past the input.
        if (i + 3 <= n) {
            const uint32_t key = ((uint32_t{At(src, i)} << 4 ^ At(src, i + 1)) << 4) ^ At(src, i + 2);
            const uint32_t h = (key * 40543u) >> 4 & 0xFFF;
            const uint16_t entry = table[h];
            table[h] = static_cast<uint16_t>(i);
            if (entry != kNoPosition && entry < i && i - entry <= kMaxDistance) {
                size_t len = 0;
                while (len < kMaxMatch && i + len < n && src[entry + len] == src[i + len]) ++len;
                if (len >= 3) {
                    const auto word = static_cast<uint16_t>((i - entry) << 4 | (len - 3));
                    out += static_cast<char>(word >> 8);
                    out += static_cast<char>(word);
                    control = static_cast<uint16_t>(control << 1 | 1);
                    i += len;
                    continue;
                }
            }
        }
        out += src[i];
        control = static_cast<uint16_t>(control << 1);
        ++i;
    }
    PutControl(out, controlAt, static_cast<uint16_t>(control << (16 - items)));
    if (out.size() > n) {
        out.assign(1, static_cast<char>(kKitMethodStored));
        out.append(src);
    }
    return out;
}

bool DecompressBlock(std::string_view block, std::string& out) {
    if (block.empty()) return false;
    const size_t start = out.size();
    if (At(block, 0) == kKitMethodStored) {
        if (block.size() - 1 > kKitChunkSize) return false;
        out.append(block.substr(1));
        return true;
    }
    if (At(block, 0) != kKitMethodCompressed) return false;
    size_t pos = 1;
    uint16_t control = 0;
    int bits = 0;
    while (pos < block.size()) {
        if (bits == 0) {
            if (pos + 2 > block.size()) return false;
            control = static_cast<uint16_t>(At(block, pos) << 8 | At(block, pos + 1));
            pos += 2;
            bits = 16;
            if (pos == block.size()) break;
        }
        const bool coded = control & 0x8000;
        control = static_cast<uint16_t>(control << 1);
        --bits;
        if (!coded) {
            if (out.size() - start + 1 > kKitChunkSize) return false;
            out += block[pos++];
            continue;
        }
        if (pos + 2 > block.size()) return false;
        const uint8_t b0 = At(block, pos), b1 = At(block, pos + 1);
        const size_t distance = size_t{b0} << 4 | b1 >> 4;
        if (distance != 0) {
            const size_t len = (b1 & 15u) + 3;
            if (distance > out.size() - start || out.size() - start + len > kKitChunkSize) return false;
            // Byte by byte: an overlapping copy repeats what it has just written.
            for (size_t k = 0; k < len; ++k) out += out[out.size() - distance];
            pos += 2;
        } else {
            if (pos + 4 > block.size()) return false;
            const size_t run = (size_t{b1} << 8 | At(block, pos + 2)) + kMinRun;
            if (out.size() - start + run > kKitChunkSize) return false;
            out.append(run, block[pos + 3]);
            pos += 4;
        }
    }
    return true;
}

std::string CompressStream(std::string_view source) {
    std::string out(4, '\0');
    for (size_t at = 0; at < source.size(); at += kKitChunkSize) {
        const std::string block = CompressBlock(source.substr(at, kKitChunkSize));
        PutU32(out, static_cast<uint32_t>(block.size()));
        out += block;
    }
    const auto total = static_cast<uint32_t>(out.size() - 4);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(total >> (8 * i));
    return out;
}

bool DecompressStream(std::string_view bytes, std::string& out, size_t* consumed) {
    out.clear();
    if (consumed) *consumed = 0;
    if (bytes.size() < 4) return false;
    size_t remaining = GetU32(bytes, 0);
    if (remaining > bytes.size() - 4) return false;
    size_t pos = 4;
    while (remaining > 0) {
        if (remaining < 4) {
            out.clear();
            return false;
        }
        const size_t len = GetU32(bytes, pos);
        if (len > remaining - 4 || len >= 65536 || !DecompressBlock(bytes.substr(pos + 4, len), out)) {
            out.clear();
            return false;
        }
        pos += 4 + len;
        remaining -= 4 + len;
    }
    if (consumed) *consumed = pos;
    return true;
}

} // namespace quorlet
