// Text scrambling with a 16-bit key, and a printable form of any bytes ("<length>:" followed
// by four characters "0".."o" per three bytes). Texts are bytes throughout: a scrambled text
// may hold any byte, NUL included.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorlet {

// The key stepping constants: k := (c + k) * kScrambleMul + kScrambleAdd, modulo 2^16.
constexpr uint16_t kScrambleMul = 0x9E37;
constexpr uint16_t kScrambleAdd = 0x3039;

std::string ScrambleText(std::string_view text, uint16_t key);
// Restores what ScrambleText made with the same key.
std::string UnscrambleText(std::string_view text, uint16_t key);

std::string EncodeText(std::string_view bytes);
// False (and an empty result) for anything EncodeText cannot have made: no ":", a length that
// is not decimal, a body that is not whole groups of four, characters outside "0".."o", or a
// length beyond the bytes the body holds.
bool DecodeText(std::string_view text, std::string& bytes);

} // namespace quorlet
