// What output_file.cpp needs of the system, from output_file_posix.cpp or
// output_file_windows.cpp (which also give TOutputFile's Open, Close and Abandon).
#pragma once

#include <cstdint>
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
