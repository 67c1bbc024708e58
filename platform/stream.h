// Byte streams opened by path, the registry of embedded files and the memory stream that serves them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A byte stream: a disk file, embedded bytes, or whatever a factory opens.
struct TStream {
    virtual ~TStream() = default;
    // The read/write position; -1 when not seekable.
    virtual int Pos() = 0;
    // The length in bytes.
    virtual int Size() = 0;
    // Moves the position; returns the new one.
    virtual int Seek(int pos) = 0;
    // Copies up to count bytes out; returns how many (0 at the end).
    virtual int Read(void* dst, int count) = 0;
    // Copies up to count bytes in; returns how many.
    virtual int Write(const void* src, int count) = 0;
    // Lets go of what the stream holds open.
    virtual void Close() {}
    // Whether the position is at the end (Pos() == Size()).
    virtual bool Eof();

    // Reads until count bytes have arrived; a Read returning 0 first raises TStreamReadError.
    void ReadBytes(void* dst, int count);
    // Writes all count bytes or raises TStreamWriteError.
    void WriteBytes(const void* src, int count);
    // A 32-bit little-endian int.
    int ReadInt();
    // A 16-bit little-endian unsigned value.
    int ReadShort();
    // One unsigned byte.
    int ReadByte();
};
using TStreamPtr = std::shared_ptr<TStream>;

// A stream over bytes it does not own.
struct TRamStream : TStream {
    // A stream at position 0 over size bytes at buf.
    static std::shared_ptr<TRamStream> Create(const void* buf, int size, int readable, int writeable);
    int Pos() override { return pos; }
    int Size() override { return size; }
    // Moves to p, clamped to 0..size.
    int Seek(int p) override;
    // Copies up to count bytes out; fewer near the end, none when not readable.
    int Read(void* dst, int count) override;
    // Copies up to count bytes in; none when not writeable.
    int Write(const void* src, int count) override;

    int pos = 0;
    int size = 0;
    uint8_t* buf = nullptr;
    int readable = 0;
    int writeable = 0;
};
// A memory stream over size bytes at buf (not owned).
TStreamPtr CreateRamStream(const void* buf, int size, int readable, int writeable);

// Opens the streams of one "proto::" prefix; a newer factory is asked first.
struct TStreamFactory {
    // Puts the factory in front of the factory list.
    TStreamFactory();
    // Takes the factory out of the list.
    virtual ~TStreamFactory();
    // A stream for url, or nullptr when this factory does not serve it.
    virtual TStreamPtr CreateStream(const std::string& url, const std::string& proto,
                                    const std::string& path, int readable, int writeable) = 0;
};

// Opens url: a plain path is a disk file, "proto::path" goes to the factories; nullptr on failure.
TStreamPtr OpenStream(const std::string& url, int readable, int writeable);
// Opens url for reading.
TStreamPtr ReadStream(const std::string& url);
// Opens url for writing.
TStreamPtr WriteStream(const std::string& url);

// Embedded files: served in place, never copied.
// Registers data under name for "incbin::name"; 0 when the name is taken or the bytes unusable.
int IncbinAdd(const std::string& name, const void* data, int length);
// The bytes registered under name, or nullptr.
const void* IncbinPtr(const std::string& name);
// The length registered under name, or 0.
int IncbinLen(const std::string& name);
// The bytes an "incbin::name" url names, and their length when asked; nullptr for any other url
// or a name not registered.
const void* IncbinUrlBytes(const std::string& url, int* length = nullptr);

// Starts the stream services (the memory-stream factory); safe to call more than once.
void StartStreams();
