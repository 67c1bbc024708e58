// The desktop's PNG encoder: libpng.
#include "tools/script/png_encoder.h"

#include <png.h>

#include <vector>

#include "platform/output_file.h"

namespace {

// libpng's own messages are not shown: a failed write is told with the system's reason.
void PngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarned(png_structp, png_const_charp) {}
void PngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* file = static_cast<TOutputFile*>(png_get_io_ptr(png));
    if (!file->Write({reinterpret_cast<const char*>(data), length})) png_error(png, "write");
}
void PngFlush(png_structp) {}

// libpng reports errors by longjmp; keep this frame free of objects with destructors.
bool WritePngRows(TOutputFile* file, png_bytep* rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFailed, PngWarned);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, file, PngWrite, PngFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool EncodePng(TOutputFile* file, const uint8_t* rgb, int width, int height) {
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(rgb) + static_cast<size_t>(y) * width * 3;
    return WritePngRows(file, rows.data(), width, height);
}
