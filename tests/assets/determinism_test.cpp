// The generated files are the same bytes on every build: each generator, run twice afresh,
// writes exactly what was embedded.
#include "assets/embedded.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TGenerated {
    std::string generator, arguments, embedded;   // generator: its path under the build's assets/
};

// Runs the generator with its arguments and the output path; the file's bytes, empty when it failed.
std::string Generate(const TGenerated& file, const std::string& out) {
    const std::string command = "\"" KESTRAVA_BINARY_DIR "/assets/" + file.generator + "\" " + file.arguments +
                                " \"" + out + "\"";
    if (std::system(command.c_str()) != 0) return {};
    return ReadFile(out);
}

TEST(GeneratedFiles, TwoFreshGenerationsGiveTheEmbeddedBytes) {
    const std::string fonts = "\"" KESTRAVA_SOURCE_DIR "/assets/font/";
    std::vector<TGenerated> files = {{"font/kestrava_fontgen", fonts + "quorbfont.txt\"", "quorbfont.bin"},
                                     {"font/kestrava_fontgen", fonts + "gldrawtextfont.txt\"", "gldrawtextfont.bin"},
                                     {"icon/kestrava_icongen", "256", "io.github.kestrava.Kestrava.png"}};
    for (std::string name : {"wing2", "spark", "island", "arrow"})
        files.push_back({"pictures/kestrava_picturegen", name, name + ".png"});
    for (int n = 1; n <= 8; ++n)
        files.push_back({"music/kestrava_musicgen", std::to_string(n), "sound" + std::to_string(n) + ".wav"});
    TTempDir dir;
    ASSERT_FALSE(dir.Path().empty());
    for (const TGenerated& file : files) {
        SCOPED_TRACE(file.embedded);
        const TEmbeddedFile embedded = EmbeddedFile(file.embedded.c_str());
        const std::string fresh = Generate(file, dir.Path() + "/first");
        ASSERT_FALSE(fresh.empty());
        EXPECT_TRUE(fresh == std::string(reinterpret_cast<const char*>(embedded.data), embedded.length));
        EXPECT_TRUE(fresh == Generate(file, dir.Path() + "/second"));
    }
}

}  // namespace
