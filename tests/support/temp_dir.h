// A folder of a test's own, made fresh under the temporary folder and removed with the object,
// for inputs that must be files on disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TTempDir {
  public:
    TTempDir();               // an empty path when no folder could be made
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes the bytes to a file of that name in the folder; returns the file's path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

  private:
    std::string path_;
};

// A file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);
