// What output_file.cpp needs of the system, from output_file_posix.cpp or
// output_file_windows.cpp (which also give TOutputFile's Open).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// What tells two names of one file apart from two files: the device and inode (on Windows
// the volume serial number and file index) of a file that is there, the resolved path of one
// that is not yet. Character devices (/dev/null, a terminal, NUL) may be shared.
struct TFileIdentity {
    bool exists = false;
    bool sharable = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    std::string resolved;
};

TFileIdentity IdentityOf(const std::string& path);

// Why path cannot be written (an errno value), 0 when it can. A path not there yet needs a
// folder that can be written.
int WhyNotWritable(const std::string& path);

// "cannot write WHAT PATH: REASON", the reason an errno value's.
std::string CannotWrite(const std::string& what, const std::string& path, int errnum);

// Writes the file's buffered bytes through to the disk: 0, or why not (an errno value).
int SyncToDisk(std::FILE* file);
// Moves the written temporary over the target in one step: 0, or why not (an errno value).
int MoveIntoPlace(const std::string& temporary, const std::string& target);

// The folder a path is in ("." for a bare name).
std::string FolderOf(const std::string& path);
