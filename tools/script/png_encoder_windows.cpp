// Windows' PNG encoder: stb_image_write (Debian's libstb-dev), which deflates through zlib.
#include "tools/script/png_encoder.h"

#include <zlib.h>

#include <cstdlib>

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

namespace {

void PngWrite(void* context, void* data, int length) {
    static_cast<TOutputFile*>(context)->Write({static_cast<const char*>(data), static_cast<size_t>(length)});
}

}  // namespace

bool EncodePng(TOutputFile* file, const uint8_t* rgb, int width, int height) {
    return stbi_write_png_to_func(PngWrite, file, width, height, 3, rgb, width * 3) != 0;
}
