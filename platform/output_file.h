// The files a program writes beside playing (a trace, a recording, a capture, a picture).
// They are checked all together before any is opened, so a run that is refused or cannot
// start leaves every existing file as it was; and a file that is worthless when partial
// only ever takes its place whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// A file a run names: what it is in messages ("the trace") and whether it is written.
struct TFileUse {
    std::string path;
    std::string what;
    bool output = true;
};

// Checks the files of a run before any is opened. Returns 0 when the run may go on;
// 2 when an output names an input or another output (the same file by any of its names);
// 1 when an output cannot be written (no such folder, a folder, no permission). Either way
// *error holds one line naming the file and the reason.
int CheckFiles(const std::vector<TFileUse>& files, std::string* error);

// An output file. A `Whole` file (a trace, a capture, a picture) is written to a temporary
// file beside its path and renamed into place by Close, so the path holds either what it
// held before or the complete new file. An `InPlace` file (a recording, a frame log) is
// written straight to its path as the program goes, so what was written survives a kill.
// A path that is not a regular file (/dev/stdout, a pipe, a device) is always written
// straight to, and never replaced.
class TOutputFile {
public:
    enum class TMode { Whole, InPlace };

    TOutputFile() = default;
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;
    // Gives up a file not closed yet (Abandon).
    ~TOutputFile();

    // Opens path, named what in messages; false with "cannot write WHAT PATH: REASON".
    bool Open(const std::string& path, const std::string& what, TMode mode, std::string* error);
    bool IsOpen() const { return file_ != nullptr; }
    // Appends the bytes; false once any write has failed (Error() says why).
    bool Write(std::string_view bytes);
    // Hands what is buffered to the system; false once any write has failed.
    bool Flush();
    // Overwrites bytes at offset, then goes back to the end; a file that cannot seek (a pipe)
    // keeps what it has and this returns true. False once any write has failed.
    bool WriteAt(long offset, std::string_view bytes);
    // Completes the file: flushes and closes it and, for a whole file, puts it in place.
    // True when it was never opened; false with the first failure's message.
    bool Close(std::string* error);
    // Closes without completing: a whole file's temporary is removed, its path untouched.
    void Abandon();
    // The first failure, "cannot write WHAT PATH: REASON"; empty while all went well.
    const std::string& Error() const { return error_; }

private:
    bool Fail(int errnum);

    std::FILE* file_ = nullptr;
    std::string path_;       // the path asked for, as messages name it
    std::string target_;     // where a whole file is put: the path, or the file a link there names
    std::string what_;
    std::string temporary_;  // the whole file's temporary, empty when written in place
    std::string error_;
};
