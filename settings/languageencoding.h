// Byte texts from files (language files, names in old files) into the engine's UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The bytes as they are when they are valid UTF-8, else decoded as Windows-1252.
std::string ByteTextToUtf8(std::string_view bytes);

} // namespace quorlet
