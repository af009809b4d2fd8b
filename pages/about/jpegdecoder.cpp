// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/about/jpegdecoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// The pictures of the program are small; larger dimensions are read as corruption.
constexpr JDIMENSION maxSide = 4096;

// libjpeg's default error handler ends the process; this one jumps back into decompress().
struct ErrorManager {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void silent(j_common_ptr) {}

// Returns false when libjpeg failed or warned. Holds only plain C objects, since a longjmp out of
// libjpeg lands here without running destructors; the image it fills belongs to the caller.
bool decompress(const QByteArray &data, QImage &image)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpBack;
    errors.manager.output_message = silent;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width > maxSide || info.output_height > maxSide) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    const bool clean = errors.manager.num_warnings == 0;
    jpeg_destroy_decompress(&info);
    return clean;
}

} // namespace

QImage decodeJpeg(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
    QImage image;
    if (!decompress(data, image))
        return {};
    return image;
}
