#include "platform/parse.h"

#include <cerrno>
#include <cctype>
#include <cstdlib>

bool ParseWholeNumber(const std::string& text, long lo, long hi, int* out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
    *out = static_cast<int>(v);
    return true;
}

std::string Quoted(const std::string& word, size_t longest) {
    std::string shown;
    for (char c : word.substr(0, longest)) shown += (c >= 32 && c < 127) ? c : '?';
    return "\"" + shown + (word.size() > longest ? "...\"" : "\"");
}

bool CheckFileValue(const std::string& option, const std::string& value, std::span<const char* const> options,
                    std::string* error) {
    if (value.empty()) {
        *error = option + " needs a file";
        return false;
    }
    for (const char* other : options) {
        if (value != other) continue;
        *error = option + " needs a file, not the option '" + value + "'";
        return false;
    }
    return true;
}
