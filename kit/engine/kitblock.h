// The kit's block compressor (a 4096-entry hash over three-byte keys, matches of 3..18 bytes
// up to 4095 back, runs of 16..4095 equal bytes) and the block stream that carries any amount
// of data as chunks of at most 32,781 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorlet {

constexpr size_t kKitChunkSize = 32781;
constexpr uint8_t kKitMethodCompressed = 0x40;
constexpr uint8_t kKitMethodStored = 0x80;

// One chunk (at most kKitChunkSize bytes) as a block: method byte, then control words and
// items; a chunk that would not shrink is stored (method byte + the bytes).
std::string CompressBlock(std::string_view chunk);
// Appends the block's bytes to out. False for anything the compressor cannot have made: an
// unknown method, a read past the block, a match reaching before the output, or more than
// kKitChunkSize bytes out; out then holds what was decoded before the fault.
bool DecompressBlock(std::string_view block, std::string& out);

// The block stream: a 4-byte total T (the sum of each block's length L and 4), then per block
// L (4 bytes) and the L bytes. All numbers little-endian.
std::string CompressStream(std::string_view source);
// Reads one block stream from the start of bytes into out (replacing it); consumed gets the
// bytes read. False when T reaches past the bytes, a block's L past the remaining T or beyond
// 65,535, or a block does not decode; out is then empty.
bool DecompressStream(std::string_view bytes, std::string& out, size_t* consumed = nullptr);

} // namespace quorlet
