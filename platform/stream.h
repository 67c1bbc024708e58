// Byte streams opened by path, the registry of embedded files and the memory stream that serves them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct TStream {
    virtual ~TStream() = default;
    virtual int Pos() = 0;               // -1 when not seekable
    virtual int Size() = 0;
    virtual int Seek(int pos) = 0;       // returns the new position
    virtual int Read(void* dst, int count) = 0;
    virtual int Write(const void* src, int count) = 0;
    virtual void Close() {}
    virtual bool Eof();                  // Pos() == Size()

    // Read until count bytes have arrived; a Read returning 0 first raises TStreamReadError.
    void ReadBytes(void* dst, int count);
    void WriteBytes(const void* src, int count);
    int ReadInt();                       // 32 bits, little-endian
    int ReadShort();                     // 16 bits unsigned, little-endian
    int ReadByte();
    std::string ReadString(int length);
};
using TStreamPtr = std::shared_ptr<TStream>;

// A stream over bytes it does not own.
struct TRamStream : TStream {
    static std::shared_ptr<TRamStream> Create(const void* buf, int size, int readable, int writeable);
    int Pos() override { return pos; }
    int Size() override { return size; }
    int Seek(int p) override;
    int Read(void* dst, int count) override;
    int Write(const void* src, int count) override;

    int pos = 0;
    int size = 0;
    uint8_t* buf = nullptr;
    int readable = 0;
    int writeable = 0;
};
TStreamPtr CreateRamStream(const void* buf, int size, int readable, int writeable);

struct TStreamFactory {
    TStreamFactory();                    // prepends itself to the factory list
    virtual ~TStreamFactory();
    virtual TStreamPtr CreateStream(const std::string& url, const std::string& proto,
                                    const std::string& path, int readable, int writeable) = 0;
};

TStreamPtr OpenStream(const std::string& url, int readable, int writeable);
TStreamPtr ReadStream(const std::string& url);
TStreamPtr WriteStream(const std::string& url);

// Embedded files: served in place, never copied.
int IncbinAdd(const std::string& name, const void* data, int length);
const void* IncbinPtr(const std::string& name);
int IncbinLen(const std::string& name);

// Starts the stream services (the memory-stream factory); safe to call more than once.
void StartStreams();
