#include "jpegdecoder.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the decoder.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void onError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->escape, 1);
}

void onMessage(j_common_ptr info, int level)
{
    // Warnings (level -1) are counted by libjpeg itself; nothing is printed.
    if (level < 0)
        ++info->err->num_warnings;
}

} // namespace

bool decodeJpeg(const std::uint8_t* data, std::size_t size, RgbImage& image, std::string& error)
{
    image = {};
    if (size == 0) {
        error = "no picture data";
        return false;
    }
    jpeg_decompress_struct info{};
    ErrorManager manager{};
    info.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = onError;
    manager.base.emit_message = onMessage;
    std::vector<std::uint8_t>& pixels = image.pixels;

    if (setjmp(manager.escape)) {
        jpeg_destroy_decompress(&info);
        error = manager.message;
        image = {};
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    const long warnings = manager.base.num_warnings;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    jpeg_destroy_decompress(&info);
    if (warnings > 0) {
        error = "damaged picture data";
        image = {};
        return false;
    }
    return true;
}
