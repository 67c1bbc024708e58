// Turns the text art of an 8 by 16 font into the 1536-byte font file the drawing layer embeds.
//
//   kestrava_fontgen <glyphs.txt> <out.bin>          the font file
//   kestrava_fontgen --bold <glyphs.txt> <out.txt>   a bold version of the art, as text art
//
// The art has one block per character, codes 32 to 127 in order: a header line
// `char 'A' (65)` (or `char DEL (127)`) and 16 lines of 8 characters, '#' ink and '.' empty.
// Lines starting with "//" and blank lines between blocks are ignored.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kFirstCode = 32;
constexpr int kGlyphs = 96;
constexpr int kRows = 16;

// One byte per glyph row, bit 0 the leftmost pixel.
struct Font {
    unsigned char rows[kGlyphs][kRows] = {};
};

// The printable form of a character code for messages.
std::string CharName(int code) {
    if (code == 127) return "DEL (127)";
    char name[16];
    std::snprintf(name, sizeof name, "'%c' (%d)", code, code);
    return name;
}

// Reads the code from a header line `char 'X' (NN)`; -1 when the line is not a header.
int HeaderCode(const std::string& line) {
    if (line.rfind("char ", 0) != 0) return -1;
    size_t open = line.rfind('(');
    size_t close = line.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open + 2) return -1;
    int code = 0;
    for (size_t i = open + 1; i < close; ++i) {
        if (line[i] < '0' || line[i] > '9') return -1;
        code = code * 10 + (line[i] - '0');
        if (code > 1000) return -1;
    }
    // A quoted character, when present, must agree with the number.
    if (line.size() > 7 && line[5] == '\'' && line[7] == '\'' && line[6] != code) return -2;
    return code;
}

// Parses the art; on failure returns false with a message naming the line.
bool ParseFont(const std::string& text, const std::string& path, Font& font, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    int next = kFirstCode;
    auto fail = [&](const std::string& what) {
        error = path + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("//", 0) == 0) continue;
        int code = HeaderCode(line);
        if (code == -2) return fail("the quoted character does not match its code");
        if (code < 0) return fail("expected a header line like: char 'A' (65)");
        if (code != next) return fail("expected the block of " + CharName(next) + " here");
        for (int y = 0; y < kRows; ++y) {
            if (!std::getline(in, line)) return fail("the block of " + CharName(code) + " ends early");
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() != 8 || line.find_first_not_of(".#") != std::string::npos)
                return fail("expected 8 characters of '.' or '#'");
            unsigned char bits = 0;
            for (int x = 0; x < 8; ++x) {
                if (line[x] == '#') bits |= static_cast<unsigned char>(1u << x);
            }
            font.rows[code - kFirstCode][y] = bits;
        }
        ++next;
    }
    if (next != kFirstCode + kGlyphs) {
        lineNo = 0;
        return fail("the font stops before " + CharName(next));
    }
    return true;
}

// The first and last rows holding ink, or -1 and -1 for an empty glyph.
void InkRows(const Font& font, int g, int& top, int& bottom) {
    top = bottom = -1;
    for (int y = 0; y < kRows; ++y) {
        if (!font.rows[g][y]) continue;
        if (top < 0) top = y;
        bottom = y;
    }
}

// Checks the layout rules the drawing layer and the game's text rely on; returns the broken ones.
std::vector<std::string> CheckFont(const Font& font) {
    std::vector<std::string> problems;
    std::set<std::string> seen;
    for (int g = 0; g < kGlyphs; ++g) {
        int code = g + kFirstCode;
        std::string name = "glyph " + CharName(code) + ": ";
        int top, bottom;
        InkRows(font, g, top, bottom);
        if (code == ' ') {
            if (top >= 0) problems.push_back(name + "the space must be empty");
            continue;
        }
        if (top < 0) {
            problems.push_back(name + "has no ink");
            continue;
        }
        bool tall = std::strchr("()[]{}^|", code) != nullptr;
        if (top == 0 || (top == 1 && !tall))
            problems.push_back(name + "ink in row " + std::to_string(top) +
                               "; only ( ) [ ] { } ^ | may start at row 1, and row 0 stays empty");
        if (bottom > 12) problems.push_back(name + "ink in row " + std::to_string(bottom) + "; rows 13 to 15 stay empty");
        bool capital = (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9');
        if (capital && (top != 2 || bottom != 10))
            problems.push_back(name + "spans rows " + std::to_string(top) + " to " + std::to_string(bottom) +
                               "; capitals and digits fill rows 2 to 10");
        std::string key(reinterpret_cast<const char*>(font.rows[g]), kRows);
        if (!seen.insert(key).second) problems.push_back(name + "looks the same as an earlier glyph");
    }
    return problems;
}

// The font file: row 0 of every glyph, then row 1 of every glyph, and so on.
std::string FontFile(const Font& font) {
    std::string bytes(kGlyphs * kRows, '\0');
    for (int y = 0; y < kRows; ++y) {
        for (int g = 0; g < kGlyphs; ++g) bytes[y * kGlyphs + g] = static_cast<char>(font.rows[g][y]);
    }
    return bytes;
}

// A heavier version of the font: every ink pixel also inks its right-hand neighbour.
Font BoldFont(const Font& font) {
    Font bold;
    for (int g = 0; g < kGlyphs; ++g) {
        for (int y = 0; y < kRows; ++y) {
            bold.rows[g][y] = static_cast<unsigned char>(font.rows[g][y] | (font.rows[g][y] << 1));
        }
    }
    return bold;
}

// The font as text art in the format ParseFont reads.
std::string FontArt(const Font& font, const std::string& comment) {
    std::string art = "// " + comment + "\n";
    for (int g = 0; g < kGlyphs; ++g) {
        int code = g + kFirstCode;
        art += code == 127 ? std::string("\nchar DEL (127)\n") : "\nchar " + CharName(code) + "\n";
        for (int y = 0; y < kRows; ++y) {
            for (int x = 0; x < 8; ++x) art += (font.rows[g][y] >> x) & 1 ? '#' : '.';
            art += '\n';
        }
    }
    return art;
}

// Writes the bytes to the file, removing it again when the write fails.
bool WriteFile(const char* path, const std::string& bytes) {
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::remove(path);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    bool bold = argc == 4 && std::strcmp(argv[1], "--bold") == 0;
    if (argc != 3 && !bold) {
        std::fprintf(stderr, "usage: kestrava_fontgen [--bold] <glyphs.txt> <out>\n");
        return 2;
    }
    const char* inPath = argv[argc - 2];
    const char* outPath = argv[argc - 1];
    std::ifstream in(inPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "kestrava_fontgen: cannot read %s\n", inPath);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    Font font;
    std::string error;
    if (!ParseFont(text.str(), inPath, font, error)) {
        std::fprintf(stderr, "kestrava_fontgen: %s\n", error.c_str());
        return 1;
    }
    if (bold) font = BoldFont(font);
    std::vector<std::string> problems = CheckFont(font);
    for (const std::string& p : problems) std::fprintf(stderr, "kestrava_fontgen: %s: %s\n", inPath, p.c_str());
    if (!problems.empty()) return 1;

    std::string out = bold ? FontArt(font, "A bold version of the built-in font, made with kestrava_fontgen --bold.")
                           : FontFile(font);
    if (!WriteFile(outPath, out)) {
        std::fprintf(stderr, "kestrava_fontgen: cannot write %s\n", outPath);
        return 1;
    }
    return 0;
}
