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

namespace fs = std::filesystem;

namespace {

std::string CannotWrite(const std::string& what, const std::string& path, int errnum) {
    return "cannot write " + what + " " + path + ": " + std::strerror(errnum);
}

std::string FolderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// Why path cannot be written (an errno value), 0 when it can. A path not there yet needs a
// folder that can be written.
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

// What tells two names of one file apart from two files: the device and inode of a file
// that is there, the resolved path of one that is not yet. Character devices (/dev/null, a
// terminal) may be shared.
struct TFileIdentity {
    bool exists = false;
    bool sharable = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::string resolved;
};

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

bool SameFile(const TFileIdentity& a, const TFileIdentity& b) {
    if (a.sharable || b.sharable) return false;
    if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
    return a.resolved == b.resolved;
}

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

// "the trace would overwrite the keys k.txt", "the trace t and the audio capture ./t are the same file".
std::string Clash(const TFileUse& output, const TFileUse& other) {
    const bool samePath = output.path == other.path;
    std::string text = output.what + (samePath ? "" : " " + output.path);
    if (!other.output) return text + " would overwrite " + other.what + " " + other.path;
    if (samePath) return text + " and " + other.what + " are the same file " + other.path;
    return text + " and " + other.what + " " + other.path + " are the same file";
}

}  // namespace

int CheckFiles(const std::vector<TFileUse>& files, std::string* error) {
    std::vector<TFileIdentity> ids;
    for (const TFileUse& use : files) ids.push_back(IdentityOf(use.path));
    for (size_t i = 0; i < files.size(); ++i) {
        if (!files[i].output) continue;
        for (size_t j = 0; j < files.size(); ++j) {
            if (j == i || (files[j].output && j < i) || !SameFile(ids[i], ids[j])) continue;
            *error = Clash(files[i], files[j]);
            return 2;
        }
    }
    for (const TFileUse& use : files) {
        if (const int why = use.output ? WhyNotWritable(use.path) : 0; why != 0) {
            *error = CannotWrite(use.what, use.path, why);
            return 1;
        }
    }
    return 0;
}

TOutputFile::~TOutputFile() { Abandon(); }

bool TOutputFile::Fail(int errnum) {
    if (error_.empty()) error_ = CannotWrite(what_, path_, errnum);
    return false;
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

bool TOutputFile::Write(std::string_view bytes) {
    if (!file_ || !error_.empty()) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return Fail(errno);
    return true;
}

bool TOutputFile::Flush() {
    if (!file_ || !error_.empty()) return false;
    return std::fflush(file_) == 0 || Fail(errno);
}

bool TOutputFile::WriteAt(long offset, std::string_view bytes) {
    if (!Flush()) return false;
    if (std::fseek(file_, offset, SEEK_SET) != 0) {
        std::clearerr(file_);
        return true;
    }
    return Write(bytes) && (std::fseek(file_, 0, SEEK_END) == 0 || Fail(errno));
}

bool TOutputFile::Close(std::string* error) {
    if (!file_) return true;
    bool ok = Flush();
    if (ok && !temporary_.empty() && fsync(fileno(file_)) != 0) ok = Fail(errno);
    if (std::fclose(file_) != 0 && ok) ok = Fail(errno);
    file_ = nullptr;
    if (ok && !temporary_.empty()) {
        if (std::rename(temporary_.c_str(), target_.c_str()) != 0) ok = Fail(errno);
        else temporary_.clear();
    }
    if (!ok && error) *error = error_;
    Abandon();
    return ok;
}

void TOutputFile::Abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) unlink(temporary_.c_str());
    temporary_.clear();
}
