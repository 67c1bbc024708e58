// The files a program writes, alike on every system: the system's half is
// output_file_posix.cpp or output_file_windows.cpp.
#include "platform/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/output_file_system.h"

namespace {

bool SameFile(const TFileIdentity& a, const TFileIdentity& b) {
    if (a.sharable || b.sharable) return false;
    if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
    return a.resolved == b.resolved;
}

// "the trace would overwrite the keys k.txt", "the trace t and the audio capture ./t are the same file".
std::string Clash(const TFileUse& output, const TFileUse& other) {
    const bool samePath = output.path == other.path;
    std::string text = output.what + (samePath ? "" : " " + output.path);
    if (!other.output) return text + " would overwrite " + other.what + " " + other.path;
    if (samePath) return text + " and " + other.what + " are the same file " + other.path;
    return text + " and " + other.what + " " + other.path + " are the same file";
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

std::string CannotWrite(const std::string& what, const std::string& path, int errnum) {
    return "cannot write " + what + " " + path + ": " + std::strerror(errnum);
}

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

bool TOutputFile::Close(std::string* error) {
    if (!file_) return true;
    bool ok = Flush();
    if (ok && !temporary_.empty())
        if (const int why = SyncToDisk(file_)) ok = Fail(why);
    if (std::fclose(file_) != 0 && ok) ok = Fail(errno);
    file_ = nullptr;
    if (ok && !temporary_.empty()) {
        if (const int why = MoveIntoPlace(temporary_, target_)) ok = Fail(why);
        else temporary_.clear();
    }
    if (!ok && error) *error = error_;
    Abandon();
    return ok;
}

void TOutputFile::Abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) std::remove(temporary_.c_str());
    temporary_.clear();
}

bool TOutputFile::Fail(int errnum) {
    if (error_.empty()) error_ = CannotWrite(what_, path_, errnum);
    return false;
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
