#include "kit/engine/kitcodec.h"

namespace quorlet {

namespace {

uint16_t NextKey(uint8_t scrambled, uint16_t key) {
    return static_cast<uint16_t>((static_cast<uint32_t>(scrambled) + key) * kScrambleMul + kScrambleAdd);
}

} // namespace

std::string ScrambleText(std::string_view text, uint16_t key) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(static_cast<uint8_t>(text[i]) ^ (key >> 8));
        out[i] = static_cast<char>(c);
        key = NextKey(c, key);
    }
    return out;
}

std::string UnscrambleText(std::string_view text, uint16_t key) {
    std::string out(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint8_t>(text[i]);
        out[i] = static_cast<char>(c ^ (key >> 8));
        key = NextKey(c, key);
    }
    return out;
}

std::string EncodeText(std::string_view bytes) {
    std::string out = std::to_string(bytes.size()) + ':';
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t value = 0;
        for (size_t j = 0; j < 3; ++j)
            value = value << 8 | (i + j < bytes.size() ? static_cast<uint8_t>(bytes[i + j]) : uint8_t{' '});
        for (int shift = 18; shift >= 0; shift -= 6) out += static_cast<char>(((value >> shift) & 0x3F) + '0');
    }
    return out;
}

bool DecodeText(std::string_view text, std::string& bytes) {
    bytes.clear();
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    size_t length = 0;
    for (size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        length = length * 10 + static_cast<size_t>(text[i] - '0');
        if (length > text.size()) return false; // no body can hold it
    }
    const std::string_view body = text.substr(colon + 1);
    if (body.size() % 4 != 0 || length > body.size() / 4 * 3) return false;
    std::string out;
    out.reserve(body.size() / 4 * 3);
    for (size_t i = 0; i < body.size(); i += 4) {
        uint32_t value = 0;
        for (size_t j = 0; j < 4; ++j) {
            const char c = body[i + j];
            if (c < '0' || c > 'o') return false;
            value = value << 6 | static_cast<uint32_t>(c - '0');
        }
        out += static_cast<char>(value >> 16);
        out += static_cast<char>(value >> 8);
        out += static_cast<char>(value);
    }
    out.resize(length);
    bytes = std::move(out);
    return true;
}

} // namespace quorlet
