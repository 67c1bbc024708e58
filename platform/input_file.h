// Reading a whole input named on a command line (a key file, a recorded game) within limits
// a real user never meets, so that a mistaken or hostile name (/dev/zero, a folder, a huge
// file) is refused at once instead of filling the memory.
//
// A recorded pass is some 40 bytes, so an hour of recorded play (216,000 passes) is about
// 9 MB, and a key file for that hour far less: 64 MiB is hours of play. A line is one event,
// or one pass with its few clock readings, tens of bytes: 16 KiB leaves room for hundreds of
// readings, and a file without line breaks is refused after its first 16 KiB.
#pragma once

#include <cstddef>
#include <string>

inline constexpr size_t kMaxInputBytes = size_t{64} << 20;
inline constexpr size_t kMaxInputLine = size_t{16} << 10;

// Reads the whole file, pipe or device at path into *text, less a UTF-8 byte-order mark at
// its start; `what` names it in messages ("key file"). False with a one-line message in
// *error when it cannot be opened or read, is a folder, or holds more than kMaxInputBytes or
// a line longer than kMaxInputLine.
bool ReadInputFile(const std::string& path, const std::string& what, std::string* text, std::string* error);
