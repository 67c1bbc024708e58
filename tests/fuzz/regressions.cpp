// Runs a fuzz target over saved inputs, as an ordinary test in any build (gcc, the sanitizer
// build): every file under the target's saved corpus and made seeds (tests/fuzz.cmake) goes
// through LLVMFuzzerTestOneInput once, in name order. A crash or sanitizer report fails the
// test; so does a folder that is missing or holds no file, so a lost corpus cannot pass silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

TEST(Fuzz, SavedAndMadeInputsLoadOrAreRefused) {
    for (const char* folder : {KESTRAVA_FUZZ_CORPUS, KESTRAVA_FUZZ_SEEDS}) {
        std::error_code error;
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, error))
            if (entry.is_regular_file()) files.push_back(entry.path());
        ASSERT_FALSE(error || files.empty()) << "no inputs in " << folder;
        std::sort(files.begin(), files.end());
        for (const fs::path& path : files) {
            std::ifstream in(path, std::ios::binary);
            std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            ASSERT_FALSE(!in.eof() && in.fail()) << "cannot read " << path;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        }
    }
}
