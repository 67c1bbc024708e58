#include "temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrava-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TTempDir::Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return file;
}
