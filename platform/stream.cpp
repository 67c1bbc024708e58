// Streams by path: the factory list, the disk file stream, the embedded-file registry and
// the memory stream that serves embedded files in place.
#include "platform/stream.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <forward_list>
#include <vector>

#include "platform/error.h"

// ---- the stream base ----

// True at the end of the stream.
bool TStream::Eof() { return Pos() == Size(); }

// Reads exactly count bytes or raises the read error.
void TStream::ReadBytes(void* dst, int count) {
    if (count < 0) throw TStreamReadError();
    auto* p = static_cast<uint8_t*>(dst);
    while (count > 0) {
        int n = Read(p, count);
        if (n <= 0) throw TStreamReadError();
        p += n;
        count -= n;
    }
}

// Writes exactly count bytes or raises the write error.
void TStream::WriteBytes(const void* src, int count) {
    if (count < 0) throw TStreamWriteError();
    auto* p = static_cast<const uint8_t*>(src);
    while (count > 0) {
        int n = Write(p, count);
        if (n <= 0) throw TStreamWriteError();
        p += n;
        count -= n;
    }
}

int TStream::ReadInt() {
    uint8_t b[4];
    ReadBytes(b, 4);
    return static_cast<int>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

int TStream::ReadShort() {
    uint8_t b[2];
    ReadBytes(b, 2);
    return b[0] | b[1] << 8;
}

int TStream::ReadByte() {
    uint8_t b;
    ReadBytes(&b, 1);
    return b;
}

// ---- the memory stream ----

std::shared_ptr<TRamStream> TRamStream::Create(const void* buf, int size, int readable, int writeable) {
    auto s = std::make_shared<TRamStream>();
    s->buf = static_cast<uint8_t*>(const_cast<void*>(buf));
    s->size = buf && size > 0 ? size : 0;
    s->readable = readable;
    s->writeable = writeable;
    return s;
}

TStreamPtr CreateRamStream(const void* buf, int size, int readable, int writeable) {
    return TRamStream::Create(buf, size, readable, writeable);
}

int TRamStream::Seek(int p) {
    pos = p < 0 ? 0 : p > size ? size : p;
    return pos;
}

int TRamStream::Read(void* dst, int count) {
    if (count <= 0 || !readable || pos < 0 || pos > size) return 0;
    if (count > size - pos) count = size - pos;
    std::copy(buf + pos, buf + pos + count, static_cast<uint8_t*>(dst));
    pos += count;
    return count;
}

int TRamStream::Write(const void* src, int count) {
    if (count <= 0 || !writeable || pos < 0 || pos > size) return 0;
    if (count > size - pos) count = size - pos;
    const auto* s = static_cast<const uint8_t*>(src);
    std::copy(s, s + count, buf + pos);
    pos += count;
    return count;
}

// ---- the disk file stream ----

namespace {

struct TFileStream : TStream {
    explicit TFileStream(FILE* f) : file(f) {}
    ~TFileStream() override { Close(); }

    int Pos() override { return file ? static_cast<int>(std::ftell(file)) : -1; }
    int Size() override {
        if (!file) return 0;
        long here = std::ftell(file);
        std::fseek(file, 0, SEEK_END);
        long end = std::ftell(file);
        std::fseek(file, here, SEEK_SET);
        return static_cast<int>(end);
    }
    int Seek(int p) override {
        if (!file) return -1;
        int size = Size();
        std::fseek(file, p < 0 ? 0 : p > size ? size : p, SEEK_SET);
        return Pos();
    }
    int Read(void* dst, int count) override {
        if (!file || count <= 0) return 0;
        std::fseek(file, 0, SEEK_CUR);   // stdio needs a seek between writing and reading
        return static_cast<int>(std::fread(dst, 1, static_cast<size_t>(count), file));
    }
    int Write(const void* src, int count) override {
        if (!file || count <= 0) return 0;
        std::fseek(file, 0, SEEK_CUR);
        return static_cast<int>(std::fwrite(src, 1, static_cast<size_t>(count), file));
    }
    void Close() override {
        if (file) std::fclose(file);
        file = nullptr;
    }

    FILE* file;
};

// Opens a disk file: "rb" to read, "wb" to write (truncating), "r+b" for both.
TStreamPtr OpenFileStream(const std::string& path, int readable, int writeable) {
    const char* mode = readable && writeable ? "r+b" : writeable ? "wb" : readable ? "rb" : nullptr;
    if (!mode) return nullptr;
    FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return nullptr;
    return std::make_shared<TFileStream>(f);
}

// ---- factories ----

std::vector<TStreamFactory*>& Factories() {
    static std::vector<TStreamFactory*> factories;
    return factories;
}

// Serves "incbin::name" for reading from the registry.
struct TRamStreamFactory : TStreamFactory {
    TStreamPtr CreateStream(const std::string&, const std::string& proto, const std::string& path,
                            int readable, int writeable) override {
        if (proto != "incbin" || writeable) return nullptr;
        const void* data = IncbinPtr(path);
        if (!data) return nullptr;
        return TRamStream::Create(data, IncbinLen(path), readable, writeable);
    }
};

// ---- the embedded-file registry ----

struct TIncbinEntry {
    std::string name;
    const void* data;
    int length;
};

// Newest entry first; entries are never removed.
std::forward_list<TIncbinEntry>& Registry() {
    static std::forward_list<TIncbinEntry> registry;
    return registry;
}

const TIncbinEntry* FindIncbin(const std::string& name) {
    for (const TIncbinEntry& e : Registry()) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

}  // namespace

// A new factory is asked before every older one.
TStreamFactory::TStreamFactory() {
    auto& factories = Factories();
    factories.insert(factories.begin(), this);
}

TStreamFactory::~TStreamFactory() {
    auto& factories = Factories();
    std::erase(factories, this);
}

TStreamPtr OpenStream(const std::string& url, int readable, int writeable) {
    StartStreams();
    if (url.empty()) return nullptr;
    size_t split = url.find("::");
    if (split == std::string::npos) return OpenFileStream(url, readable, writeable);
    std::string proto = url.substr(0, split);
    for (char& c : proto) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string path = url.substr(split + 2);
    std::vector<TStreamFactory*> factories = Factories();
    for (TStreamFactory* factory : factories) {
        if (TStreamPtr s = factory->CreateStream(url, proto, path, readable, writeable)) return s;
    }
    return nullptr;
}

TStreamPtr ReadStream(const std::string& url) { return OpenStream(url, 1, 0); }
TStreamPtr WriteStream(const std::string& url) { return OpenStream(url, 0, 1); }

int IncbinAdd(const std::string& name, const void* data, int length) {
    if (!data || length < 0) return 0;
    if (FindIncbin(name)) return 0;
    Registry().push_front({name, data, length});
    return 1;
}

const void* IncbinPtr(const std::string& name) {
    const TIncbinEntry* e = FindIncbin(name);
    return e ? e->data : nullptr;
}

int IncbinLen(const std::string& name) {
    const TIncbinEntry* e = FindIncbin(name);
    return e ? e->length : 0;
}

const void* IncbinUrlBytes(const std::string& url, int* length) {
    const std::string prefix = "incbin::";
    const bool named = url.compare(0, prefix.size(), prefix) == 0;
    const TIncbinEntry* e = named ? FindIncbin(url.substr(prefix.size())) : nullptr;
    if (length) *length = e ? e->length : 0;
    return e ? e->data : nullptr;
}

void StartStreams() {
    static TRamStreamFactory factory;
}
