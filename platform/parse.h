// Reading values from command lines and text files (whole decimal numbers only, with nothing
// before or after, and a range the caller names), and echoing what was read in a message.
#pragma once

#include <string>

// A whole decimal number in [lo, hi] and nothing else; false for anything else
// ("", "12x", " 3", out of range).
bool ParseWholeNumber(const std::string& text, long lo, long hi, int* out);

// A word for a message: in double quotes, every byte but printable ASCII shown as '?', and
// cut to `longest` characters with "..." when longer, so that what a file holds can be echoed
// without its bytes reaching the terminal.
std::string Quoted(const std::string& word, size_t longest = 24);
