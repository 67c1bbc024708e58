// Reading numbers from command lines and text files: whole decimal numbers only, with
// nothing before or after, and a range the caller names.
#pragma once

#include <string>

// A whole decimal number in [lo, hi] and nothing else; false for anything else
// ("", "12x", " 3", out of range).
bool ParseWholeNumber(const std::string& text, long lo, long hi, int* out);
