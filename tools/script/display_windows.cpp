// Windows' display: the Win32 window and the GL plane driver, and PNG written with
// stb_image_write (Debian's libstb-dev), which deflates through zlib.
#include "tools/script/display.h"

#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "draw2d/gl/gl_plane_driver.h"
#include "platform/desktop.h"
#include "platform/output_file.h"

namespace {

// stb_image_write's deflate is its own unless given one: zlib's packs the pictures as small
// as libpng does. The block is freed with STBIW_FREE, so it comes from malloc.
unsigned char* ZlibCompress(unsigned char* data, int length, int* outLength, int quality) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto* out = static_cast<unsigned char*>(std::malloc(size));
    if (!out || compress2(out, &size, data, static_cast<uLong>(length), quality) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *outLength = static_cast<int>(size);
    return out;
}

}  // namespace

#define STBIW_ZLIB_COMPRESS ZlibCompress
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

bool ScriptDisplay(TWindowDriver** window, TPlaneDriver** planeDriver) {
    *window = DesktopPlatform().window;
    *planeDriver = GLPlaneDriver();
    return true;
}

namespace {

void PngWrite(void* context, void* data, int length) {
    static_cast<TOutputFile*>(context)->Write({static_cast<const char*>(data), static_cast<size_t>(length)});
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
    TOutputFile file;
    if (!file.Open(path, what, TOutputFile::TMode::Whole, error)) return false;
    if (!stbi_write_png_to_func(PngWrite, &file, width, height, 3, rgb.data(), width * 3) && file.Error().empty()) {
        *error = "cannot write " + what + " " + path + ": the picture could not be encoded";
        return false;
    }
    return file.Close(error);
}
