// Decodes a JPEG in memory for the tests that check what the encoder wrote.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace quorlet::test {

struct TDecodedJpeg {
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<uint8_t> pixels; // rows of width * components bytes
};

namespace detail {
struct TJpegTestError {
    jpeg_error_mgr base;
    std::jmp_buf back;
};
[[noreturn]] inline void JpegTestErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegTestError*>(info->err)->back, 1);
}
} // namespace detail

// False when the bytes are no JPEG the library can read.
inline bool DecodeJpeg(const std::string& bytes, TDecodedJpeg& out) {
    jpeg_decompress_struct info;
    detail::TJpegTestError error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = detail::JpegTestErrorExit;
    if (setjmp(error.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    out.progressive = info.progressive_mode;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.components = info.output_components;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height * out.components, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + static_cast<std::size_t>(info.output_scanline) * out.width * out.components;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace quorlet::test
