#include "tools/script/outputs.h"

#include <png.h>

#include <vector>

namespace {

// libpng reports errors by longjmp; keep this frame free of objects with destructors.
bool WritePngRows(std::FILE* file, png_bytep* rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(const std::string& path, const uint8_t* rgba, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgb[i * 3 + 0] = rgba[i * 4 + 0];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y) rows[y] = rgb.data() + static_cast<size_t>(y) * width * 3;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = WritePngRows(file, rows.data(), width, height);
    return std::fclose(file) == 0 && ok;
}

namespace {

void Put32(std::FILE* f, uint32_t v) {
    const unsigned char b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void Put16(std::FILE* f, uint16_t v) {
    const unsigned char b[2] = {uint8_t(v), uint8_t(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

void WriteWavHeader(std::FILE* f, uint32_t frames) {
    uint32_t bytes = frames * 4;
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    Put16(f, 1);          // PCM
    Put16(f, 2);          // stereo
    Put32(f, 44100);
    Put32(f, 44100 * 4);
    Put16(f, 4);
    Put16(f, 16);
    std::fwrite("data", 1, 4, f);
    Put32(f, bytes);
}

}  // namespace

bool TWavWriter::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    WriteWavHeader(file_, 0);
    return true;
}

void TWavWriter::Append(const int16_t* samples, int frames) {
    if (!file_) return;
    for (int i = 0; i < frames * 2; ++i) Put16(file_, static_cast<uint16_t>(samples[i]));
    frames_ += static_cast<uint32_t>(frames);
}

bool TWavWriter::Close() {
    if (!file_) return ok_;
    ok_ = std::fseek(file_, 0, SEEK_SET) == 0;
    if (ok_) WriteWavHeader(file_, frames_);
    ok_ = std::fclose(file_) == 0 && ok_;
    file_ = nullptr;
    return ok_;
}

TWavWriter::~TWavWriter() { Close(); }
