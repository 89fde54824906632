#include "core/screenshot.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <jpeglib.h>

#include "core/FData.h"
#include "core/boardfile.h"

namespace quorlet {

namespace {

// libjpeg's default handler ends the process: this one jumps back to the encoder instead.
struct TJpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->back, 1);
}

void JpegOutputMessage(j_common_ptr) {}

// The library part of EncodeJpeg: only plain data lives across setjmp. On success `*buffer`
// holds `*size` bytes allocated by the library (free()); on failure `message` says why.
bool CompressJpeg(const uint8_t* rgb, int width, int height, std::size_t stride, unsigned char** buffer,
                  unsigned long* size, char* message) {
    jpeg_compress_struct info;
    TJpegErrorManager manager;
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = JpegErrorExit;
    manager.base.output_message = JpegOutputMessage;
    manager.message[0] = '\0';
    if (setjmp(manager.back)) {
        jpeg_destroy_compress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", manager.message);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<std::size_t>(info.next_scanline) * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::string NextScreenshotName(const std::string& folder, const std::string& extension, std::string* error) {
    for (long number = 0; number < 100000000; ++number) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%04ld", number);
        const std::string name = "ScreenShot_" + std::string(digits) + extension;
        std::error_code ec;
        const bool taken = std::filesystem::exists(std::filesystem::u8path(folder + name), ec);
        // A check that cannot answer (no search right, a name too long) fails alike for every
        // number: counting it as taken would walk the whole range.
        if (ec) {
            if (error) *error = name + ": " + ec.message();
            return {};
        }
        if (!taken) return folder + name;
    }
    if (error) *error = "no free screenshot number";
    return {};
}

bool EncodeJpeg(const uint8_t* rgb, int width, int height, std::size_t stride, std::string& out,
                std::string* error) {
    out.clear();
    if (!rgb || width <= 0 || height <= 0 || stride < static_cast<std::size_t>(width) * 3) {
        if (error) *error = "empty picture";
        return false;
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {};
    const bool ok = CompressJpeg(rgb, width, height, stride, &buffer, &size, message);
    if (ok) out.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    if (!ok && error) *error = message[0] ? message : "JPEG encoding failed";
    return ok;
}

std::string ScreenshotFolder() {
    const std::string folder = Options.LastPath + "screenshots/";
    return CreateFolderOrReport(folder) ? folder : std::string();
}

bool SaveScreenshotBytes(const std::string& folder, const std::string& extension, const std::string& bytes) {
    std::string error;
    const std::string path = NextScreenshotName(folder, extension, &error);
    if (path.empty()) {
        ReportFileSaveFailure(folder, error);
        return false;
    }
    return WriteFileOrReport(path, bytes);
}

} // namespace quorlet
