// Windows' half of the output files: a whole file is written beside its path under a
// temporary name, flushed to the disk and moved over the path in one step.
#include "platform/output_file.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

#include "platform/output_file_system.h"

namespace fs = std::filesystem;

namespace {

// The errno value nearest a Win32 error, for the C library's wording of the reason.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    default: return EIO;
    }
}

}  // namespace

int WhyNotWritable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EISDIR;
        return attributes & FILE_ATTRIBUTE_READONLY ? EACCES : 0;
    }
    const DWORD why = GetLastError();
    if (why != ERROR_FILE_NOT_FOUND) return ErrnoOf(why);
    const DWORD folder = GetFileAttributesA(FolderOf(path).c_str());
    if (folder == INVALID_FILE_ATTRIBUTES) return ErrnoOf(GetLastError());
    return folder & FILE_ATTRIBUTE_DIRECTORY ? 0 : ENOTDIR;
}

TFileIdentity IdentityOf(const std::string& path) {
    TFileIdentity id;
    HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info{};
        id.sharable = GetFileType(handle) == FILE_TYPE_CHAR;
        if (GetFileInformationByHandle(handle, &info)) {
            id.exists = true;
            id.device = info.dwVolumeSerialNumber;
            id.inode = static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
        }
        CloseHandle(handle);
    }
    std::error_code ignored;
    id.resolved = fs::weakly_canonical(fs::absolute(path, ignored), ignored).string();
    return id;
}

bool TOutputFile::Open(const std::string& path, const std::string& what, TMode mode, std::string* error) {
    Abandon();
    path_ = path;
    what_ = what;
    error_.clear();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = CannotWrite(what, path, EISDIR);
        return false;
    }
    int why = 0;
    if (mode == TMode::Whole && !IdentityOf(path).sharable) {
        static std::atomic<unsigned> serial{0};
        target_ = path;
        const std::string name = FolderOf(path) + "/." + fs::path(path).filename().string() + "." +
                                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++);
        HANDLE handle = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            why = ErrnoOf(GetLastError());
        } else {
            temporary_ = name;
            const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
            if (fd < 0) CloseHandle(handle);
            else file_ = _fdopen(fd, "wb");
            why = errno;
        }
    } else {
        file_ = std::fopen(path.c_str(), "wb");
        why = errno;
    }
    if (!file_) {
        *error = CannotWrite(what, path, why);
        Abandon();
        return false;
    }
    return true;
}

int SyncToDisk(std::FILE* file) {
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) ? 0 : ErrnoOf(GetLastError());
}

int MoveIntoPlace(const std::string& temporary, const std::string& target) {
    const DWORD how = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return MoveFileExA(temporary.c_str(), target.c_str(), how) ? 0 : ErrnoOf(GetLastError());
}
