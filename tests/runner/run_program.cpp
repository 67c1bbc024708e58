#include "runner/run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TProgramResult RunCommand(const std::string& command) {
    TProgramResult result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
    int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TProgramResult RunScript(const std::string& arguments) {
    return RunCommand("SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava-script " + arguments);
}

std::string TempDir(const std::string& name) {
    // The process id keeps the suites of two checkouts running at once out of each other's way.
    auto dir = std::filesystem::temp_directory_path() / ("kestrava-runner-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

double TraceValue(const std::string& line, const std::string& field) {
    std::string key = "\"" + field + "\":";
    size_t at = line.find(key);
    if (at == std::string::npos) throw std::runtime_error("no field " + field + " in " + line);
    return std::strtod(line.c_str() + at + key.size(), nullptr);
}

std::string StartGameScript(const std::string& arguments, const std::string& game) {
    return (game.empty() ? "SDL_AUDIODRIVER=dummy " KESTRAVA_BINARY_DIR "/kestrava" : game) + " " + arguments +
           " & pid=$!\n"
           "for i in $(seq 1 100); do\n"
           "  w=$(xdotool search --name '^Kestrava v.0.4$' 2>/dev/null | head -n 1)\n"
           "  [ -n \"$w\" ] && break; sleep 0.1\n"
           "done\n"
           "[ -n \"$w\" ] || { kill $pid; echo 'no window'; exit 3; }\n";
}

std::string WindowsBuild() {
    const char* build = std::getenv("KESTRAVA_WINDOWS_BUILD");
    if (!build || !*build) return "";
    return (std::filesystem::path(KESTRAVA_SOURCE_DIR) / build).lexically_normal().string();
}

std::string WineCommand(const std::string& program) {
    const std::string build = WindowsBuild();
    return build.empty() ? "" : KESTRAVA_SOURCE_DIR "/tools/wine.sh " + build + "/" + program + " ";
}

std::string RhythmicTapping(int frames) {
    std::string keys = "5 down 32\n6 up 32\n";
    for (int f = 20; f < frames; f += 40) {
        for (const char* code : {"90", "39"}) keys += std::to_string(f) + " down " + code + "\n";
        for (const char* code : {"90", "39"}) keys += std::to_string(f + 6) + " up " + code + "\n";
    }
    return keys;
}
