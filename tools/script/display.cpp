#include "tools/script/display.h"

#include <png.h>

#include <vector>

#include "draw2d/gl/gl_plane_driver.h"
#include "platform/output_file.h"
#include "platform/desktop.h"

bool ScriptDisplay(TWindowDriver** window, TPlaneDriver** planeDriver) {
    *window = DesktopPlatform().window;
    *planeDriver = GLPlaneDriver();
    return true;
}

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

bool WritePng(const std::string& path, const std::string& what, const uint8_t* rgba, int width, int height,
              std::string* error) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgb[i * 3 + 0] = rgba[i * 4 + 0];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = rgb.data() + static_cast<size_t>(y) * width * 3;
    TOutputFile file;
    if (!file.Open(path, what, TOutputFile::TMode::Whole, error)) return false;
    if (!WritePngRows(&file, rows.data(), width, height) && file.Error().empty()) {
        *error = "cannot write " + what + " " + path + ": the picture could not be encoded";
        return false;
    }
    return file.Close(error);
}
