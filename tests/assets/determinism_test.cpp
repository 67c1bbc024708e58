// The generated files are the same bytes on every build: generating them afresh gives exactly
// what was embedded.
#include "assets/embedded.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Runs a generator command line ending in the output path; returns the file's bytes.
std::string generate(const std::string& commandStart, const fs::path& out) {
    std::string command = commandStart + " \"" + out.string() + "\"";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(out, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string embedded(const char* name) {
    TEmbeddedFile file = EmbeddedFile(name);
    return file.data ? std::string(reinterpret_cast<const char*>(file.data), file.length) : std::string();
}

TEST(GeneratedFiles, AFreshGenerationMatchesTheEmbeddedBytes) {
    fs::path dir = fs::temp_directory_path() / ("kestrava_determinism_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string pictures = "\"" KESTRAVA_BINARY_DIR "/assets/pictures/kestrava_picturegen\" ";
    for (const char* name : {"wing2", "spark", "island", "arrow"}) {
        SCOPED_TRACE(name);
        std::string fresh = generate(pictures + name, dir / "picture.png");
        ASSERT_FALSE(fresh.empty());
        EXPECT_TRUE(fresh == embedded((std::string(name) + ".png").c_str()));
        EXPECT_TRUE(fresh == generate(pictures + name, dir / "again.png"));
    }
    const std::string fonts = "\"" KESTRAVA_BINARY_DIR "/assets/font/kestrava_fontgen\" \"" KESTRAVA_SOURCE_DIR "/assets/font/";
    for (const char* name : {"quorbfont", "gldrawtextfont"}) {
        SCOPED_TRACE(name);
        std::string fresh = generate(fonts + name + ".txt\"", dir / "font.bin");
        ASSERT_EQ(fresh.size(), 1536u);
        EXPECT_TRUE(fresh == embedded((std::string(name) + ".bin").c_str()));
    }
    fs::remove_all(dir);
}

}  // namespace
