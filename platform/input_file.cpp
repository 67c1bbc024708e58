#include "platform/input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/parse.h"

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kLongestShownPath = 200;

// Where a read has got to: the line in hand, from 1, and the bytes of it read so far.
struct TLineCount {
    size_t line = 1;
    size_t length = 0;

    // Counts the lines of the next bytes read; false as soon as one is longer than kMaxInputLine.
    bool Take(const char* bytes, size_t size) {
        const char* end = bytes + size;
        for (const char* p = bytes; p < end;) {
            const char* newline = static_cast<const char*>(std::memchr(p, '\n', end - p));
            length += (newline ? newline : end) - p;
            if (length > kMaxInputLine) return false;
            if (!newline) break;
            ++line;
            length = 0;
            p = newline + 1;
        }
        return true;
    }
};

// Reads file to its end within the limits; "" or why not.
std::string ReadWithin(std::FILE* file, const std::string& path, const std::string& what, std::string* text) {
    TLineCount lines;
    std::vector<char> chunk(size_t{1} << 16);
    // The size is never asked first: a pipe or a device has none to tell.
    for (size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), file)) > 0;) {
        if (text->size() + n > kMaxInputBytes)
            return path + ": over " + std::to_string(kMaxInputBytes >> 20) + " MiB, more than any " + what + " holds";
        if (!lines.Take(chunk.data(), n))
            return path + ":" + std::to_string(lines.line) + ": a line over " + std::to_string(kMaxInputLine) +
                   " bytes, longer than any " + what + " holds";
        text->append(chunk.data(), n);
    }
    if (std::ferror(file)) return path + ": cannot read the " + what + ": " + std::strerror(errno);
    return "";
}

}  // namespace

bool ReadInputFile(const std::string& path, const std::string& what, std::string* text, std::string* error) {
    std::string why;
    std::string read;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        why = Quoted(path, kLongestShownPath) + " is a folder, not a " + what;
    } else if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        why = ReadWithin(file, path, what, &read);
        std::fclose(file);
    } else {
        why = path + ": cannot open the " + what + ": " + std::strerror(errno);
    }
    if (!why.empty()) {
        if (error) *error = why;
        return false;
    }
    if (read.starts_with(kByteOrderMark)) read.erase(0, 3);
    *text = std::move(read);
    return true;
}
