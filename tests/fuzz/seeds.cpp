// Writes the test inputs made in memory (every PNG and WAV case of the loader tests) into a
// folder, as seeds for the fuzz targets, with the PNG conformance suite's files the PNG tests
// read: kestrava-fuzz-seeds FOLDER makes FOLDER/png and FOLDER/wav.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "audio/wav_inputs.h"
#include "draw2d/png_inputs.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const TBytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path png = fs::path(argv[1]) / "png", wav = fs::path(argv[1]) / "wav";
    fs::create_directories(png);
    fs::create_directories(wav);
    int count = 0;
    Write(png / "rgb-32x20.png", RgbPngPicture(32, 20).bytes), ++count;
    for (const TPngLimitFile& file : PngLimitFiles()) Write(png / (file.name + ".png"), file.bytes), ++count;
    for (const auto& entry : fs::directory_iterator(fs::path(KESTRAVA_TESTDATA) / "pngsuite/png"))
        fs::copy_file(entry.path(), png / entry.path().filename(), fs::copy_options::overwrite_existing), ++count;
    for (const TWavFile& file : WavFiles()) Write(wav / (file.name + ".wav"), file.bytes), ++count;
    std::printf("%d seed files in %s\n", count, argv[1]);
    return 0;
}
