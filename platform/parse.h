// Reading values from command lines and text files (whole decimal numbers only, with nothing
// before or after, and a range the caller names), and echoing what was read in a message.
#pragma once

#include <span>
#include <string>

// A whole decimal number in [lo, hi] and nothing else; false for anything else
// ("", "12x", " 3", out of range).
bool ParseWholeNumber(const std::string& text, long lo, long hi, int* out);

// A word for a message: in double quotes, every byte but printable ASCII shown as '?', and
// cut to `longest` characters with "..." when longer, so that what a file holds can be echoed
// without its bytes reaching the terminal.
std::string Quoted(const std::string& word, size_t longest = 24);

// Checks the value given to an option that names a file: false with "OPTION needs a file" when
// it is empty, or "OPTION needs a file, not the option 'VALUE'" when it is one of `options`
// (the program's own: its value was forgotten; a file so named is still reached as ./NAME).
bool CheckFileValue(const std::string& option, const std::string& value, std::span<const char* const> options,
                    std::string* error);
