#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/output_file_system.h"

namespace fs = std::filesystem;

namespace {

#ifdef __EMSCRIPTEN__
// The web's C library keeps a umask of its own (0777) while node writes the real files: node's
// is the one that counts. Read by setting it, as node warns of a bare process.umask().
EM_JS(int, ProcessUmask, (), {
    if (typeof process == "undefined") return 0o022;
    const mask = process.umask(0o022);
    process.umask(mask);
    return mask;
});
#else
int ProcessUmask() {
    const mode_t mask = umask(022);
    umask(mask);
    return static_cast<int>(mask);
}
#endif

// The permissions a new file gets from open(): 0666 less the umask.
mode_t NewFileMode() { return 0666 & ~static_cast<mode_t>(ProcessUmask()); }

}  // namespace

int WhyNotWritable(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return EISDIR;
        return access(path.c_str(), W_OK) == 0 ? 0 : errno;
    }
    if (errno != ENOENT) return errno;
    const std::string folder = FolderOf(path);
    if (stat(folder.c_str(), &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    return access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

TFileIdentity IdentityOf(const std::string& path) {
    TFileIdentity id;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        id.exists = true;
        id.sharable = S_ISCHR(st.st_mode);
        id.device = st.st_dev;
        id.inode = st.st_ino;
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
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        *error = CannotWrite(what, path, EISDIR);
        return false;
    }
    if (mode == TMode::Whole && (!exists || S_ISREG(st.st_mode))) {
        // A link is followed: the file it names is replaced, the link stays.
        std::error_code ignored;
        target_ = exists ? fs::canonical(path, ignored).string() : path;
        std::string name = FolderOf(target_) + "/." + fs::path(target_).filename().string() + ".XXXXXX";
        const int fd = mkstemp(name.data());
        if (fd >= 0) {
            temporary_ = name;
            fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode());
            file_ = fdopen(fd, "wb");
        }
    } else {
        file_ = std::fopen(path.c_str(), "wb");
    }
    if (!file_) {
        *error = CannotWrite(what, path, errno);
        Abandon();
        return false;
    }
    return true;
}

int SyncToDisk(std::FILE* file) { return fsync(fileno(file)) == 0 ? 0 : errno; }

int MoveIntoPlace(const std::string& temporary, const std::string& target) {
    return std::rename(temporary.c_str(), target.c_str()) == 0 ? 0 : errno;
}
