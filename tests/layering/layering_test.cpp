// The layering of the source tree: which folders a file may include from, where OpenGL and
// SDL may be named, how the programs pick their backends, and no circle of files including
// each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TInclude {
    std::string file;     // the including file, relative to the source root
    int line;
    std::string target;   // as written between the quotes or angle brackets
    bool system;          // <...>
};

const char* const kProductFolders[] = {"assets", "platform", "draw2d", "audio", "game", "tools", "bench"};

// What each backend offers the programs that pick it: the headers that hand out its drivers
// (and the bench's fragment counter). Its other files are its insides.
const std::map<std::string, std::set<std::string>> kBackendEntrances = {
    {"draw2d/gl/", {"draw2d/gl/gl_plane_driver.h", "draw2d/gl/gl_fragment_counter.h"}},
    {"draw2d/es2/", {"draw2d/es2/es2_plane_driver.h"}},
    {"platform/sdl/", {"platform/sdl/sdl_platform.h"}},
    {"platform/web/", {"platform/web/web_platform.h"}},
    {"platform/win32/", {"platform/win32/win32_platform.h"}},
    {"platform/headless/",
     {"platform/headless/headless_platform.h", "platform/headless/script_system.h",
      "platform/headless/replay_system.h"}},
};

// The Windows API's headers: the Win32 platform's, and Windows' half of a file that differs by
// system (*_windows.cpp).
const std::set<std::string> kWindowsHeaders = {"windows.h", "windowsx.h", "mmsystem.h", "xinput.h", "io.h",
                                               "process.h", "psapi.h"};

// The yardstick bench/desktop.sh sets the game beside: a bare SDL and OpenGL program that
// includes nothing of ours.
const char* const kYardstick = "bench/bare_window.cpp";

// Every #include of every C++ file under the product folders.
std::vector<TInclude> ReadIncludes() {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<TInclude> out;
    const fs::path root = KESTRAVA_SOURCE_DIR;
    for (const char* folder : kProductFolders) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp" && ext != ".inc") continue;
            std::ifstream in(entry.path());
            std::string text;
            for (int n = 1; std::getline(in, text); ++n) {
                std::smatch m;
                if (std::regex_search(text, m, include))
                    out.push_back({fs::relative(entry.path(), root).generic_string(), n, m[2], m[1] == "<"});
            }
        }
    }
    return out;
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

std::string TopFolder(const std::string& path) { return path.substr(0, path.find('/')); }

// Program entries pick the backends; they alone may name them.
bool IsEntryPoint(const std::string& file) {
    return file.ends_with("_main.cpp") || StartsWith(file, "tools/") || StartsWith(file, "bench/");
}

std::string Where(const TInclude& inc) { return inc.file + ":" + std::to_string(inc.line) + " includes " + inc.target; }

}  // namespace

TEST(Layering, IncludesPointOnlyDown) {
    // What each folder may include from, besides itself.
    const std::map<std::string, std::set<std::string>> below = {
        {"assets", {}},
        {"assets/gen", {"assets", "platform"}},   // the build-time generators share the float-to-int helper
        {"platform", {"assets"}},
        {"draw2d", {"platform", "assets"}},
        {"audio", {"platform", "assets"}},
        {"game", {"draw2d", "audio", "platform", "assets"}},
        {"tools", {"game", "draw2d", "audio", "platform", "assets"}},
        {"bench", {"game", "draw2d", "audio", "platform", "assets"}},
    };
    const std::vector<TInclude> includes = ReadIncludes();
    ASSERT_GT(includes.size(), 100u) << "the source tree was not found at " << KESTRAVA_SOURCE_DIR;
    for (const TInclude& inc : includes) {
        if (inc.system || inc.target.find('/') == std::string::npos) continue;
        std::string from = TopFolder(inc.file);
        const std::string to = TopFolder(inc.target);
        if (from == "assets" && std::count(inc.file.begin(), inc.file.end(), '/') > 1) from = "assets/gen";
        if (!below.count(to) || from == to) continue;
        EXPECT_TRUE(below.at(from).count(to)) << Where(inc) << ": " << from << " sits below " << to;
    }
}

TEST(Layering, OpenGLSDLWindowsAndTheBrowserOnlyInTheirBackends) {
    for (const TInclude& inc : ReadIncludes()) {
        const std::string t = inc.target;
        if (inc.file == kYardstick) {
            EXPECT_TRUE(inc.system) << Where(inc) << ": the yardstick includes nothing of ours";
        } else if (StartsWith(t, "GL/") || StartsWith(t, "SDL_opengl") || t == "SDL2/SDL_opengl.h") {
            EXPECT_TRUE(StartsWith(inc.file, "draw2d/gl/") || StartsWith(inc.file, "platform/win32/")) << Where(inc);
        } else if (kWindowsHeaders.count(t)) {
            EXPECT_TRUE(StartsWith(inc.file, "platform/win32/") || inc.file.ends_with("_windows.cpp"))
                << Where(inc) << ": the Windows API outside its platform";
        } else if (StartsWith(t, "GLES2/")) {
            EXPECT_TRUE(StartsWith(inc.file, "draw2d/es2/")) << Where(inc);
        } else if (StartsWith(t, "SDL") || StartsWith(t, "SDL2/")) {
            EXPECT_TRUE(StartsWith(inc.file, "platform/sdl/")) << Where(inc);
        } else if (StartsWith(t, "emscripten/")) {
            EXPECT_TRUE(StartsWith(inc.file, "platform/web/")) << Where(inc);
        }
    }
}

// Generic code reaches a backend only through the interfaces; the program entries choose one,
// through the headers it offers them, and never reach into it.
TEST(Layering, ProgramsPickBackendsThroughTheirEntrancesAlone) {
    int picked = 0;
    for (const TInclude& inc : ReadIncludes()) {
        for (const auto& [backend, entrances] : kBackendEntrances) {
            if (!StartsWith(inc.target, backend) || StartsWith(inc.file, backend)) continue;
            EXPECT_TRUE(IsEntryPoint(inc.file)) << Where(inc) << ": only a program entry picks a backend";
            EXPECT_TRUE(entrances.count(inc.target)) << Where(inc) << ": the inside of " << backend;
            if (StartsWith(inc.file, "bench/")) ++picked;
        }
    }
    EXPECT_GT(picked, 0) << "the bench's entries were not read";
}

// A header and its source file are one unit; no two units may reach each other by includes.
TEST(Layering, NoCircleOfFiles) {
    auto unit = [](const std::string& path) { return path.substr(0, path.rfind('.')); };
    std::map<std::string, std::set<std::string>> edges;
    std::set<std::string> units;
    for (const TInclude& inc : ReadIncludes()) {
        units.insert(unit(inc.file));
        if (inc.system) continue;
        const std::string to = unit(inc.target);
        if (to != unit(inc.file)) edges[unit(inc.file)].insert(to);
    }
    // Tarjan's strongly connected components; any component of two or more units is a circle.
    std::map<std::string, int> index, low;
    std::vector<std::string> stack;
    std::set<std::string> onStack;
    std::vector<std::vector<std::string>> circles;
    int counter = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& v) {
        index[v] = low[v] = counter++;
        stack.push_back(v);
        onStack.insert(v);
        for (const std::string& w : edges[v]) {
            if (!index.count(w)) {
                visit(w);
                low[v] = std::min(low[v], low[w]);
            } else if (onStack.count(w)) {
                low[v] = std::min(low[v], index[w]);
            }
        }
        if (low[v] != index[v]) return;
        std::vector<std::string> component;
        std::string w;
        do {
            w = stack.back();
            stack.pop_back();
            onStack.erase(w);
            component.push_back(w);
        } while (w != v);
        if (component.size() > 1) circles.push_back(component);
    };
    for (const std::string& u : units)
        if (!index.count(u)) visit(u);
    for (const auto& circle : circles) {
        std::string names;
        for (const std::string& u : circle) names += " " + u;
        ADD_FAILURE() << "these files include each other in a circle:" << names;
    }
}
