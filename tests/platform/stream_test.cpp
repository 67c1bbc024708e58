// Streams by path, the embedded-file registry and the memory stream.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "platform/error.h"
#include "platform/stream.h"

namespace {

const unsigned char kFile[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 0xfe, 0xff, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const unsigned char kOther[] = {1, 2, 3};
const int kSize = sizeof kFile;

void RegisterTestFiles() {
    StartStreams();
    IncbinAdd("platform_test.bin", kFile, kSize);
    IncbinAdd("dir::inner.bin", kOther, sizeof kOther);
}

}  // namespace

TEST(Incbin, SecondRegistrationKeepsTheFirst) {
    RegisterTestFiles();
    EXPECT_EQ(IncbinAdd("platform_test.bin", kOther, sizeof kOther), 0);
    EXPECT_EQ(IncbinPtr("platform_test.bin"), kFile);
    EXPECT_EQ(IncbinLen("platform_test.bin"), kSize);
    EXPECT_EQ(IncbinAdd("negative.bin", kOther, -1) + IncbinAdd("null.bin", nullptr, 5), 0);
}

TEST(OpenStream, ProtocolIsCaseBlindAndNamesAreCaseSensitive) {
    RegisterTestFiles();
    TStreamPtr s = ReadStream("InCbIn::platform_test.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Size(), kSize);
    EXPECT_EQ(std::dynamic_pointer_cast<TRamStream>(s)->buf, kFile);   // served in place
    for (const char* none : {"incbin::Platform_test.bin", "incbin::", "incbin::missing.bin", "",
                             "other::platform_test.bin", "platform_test.bin" /* a disk path */})
        EXPECT_EQ(ReadStream(none), nullptr) << none;
    TStreamPtr inner = ReadStream("incbin::dir::inner.bin");   // the path may hold "::"
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->Size(), 3);
    EXPECT_EQ(WriteStream("incbin::platform_test.bin"), nullptr);
    EXPECT_EQ(OpenStream("incbin::platform_test.bin", 1, 1), nullptr);
}

TEST(OpenStream, NewestFactoryIsAskedFirst) {
    RegisterTestFiles();
    struct TOverride : TStreamFactory {
        TStreamPtr CreateStream(const std::string&, const std::string&, const std::string&, int, int) override {
            return CreateRamStream(kOther, 1, 1, 0);
        }
    };
    {
        TOverride factory;
        EXPECT_EQ(ReadStream("incbin::platform_test.bin")->Size(), 1);
    }
    EXPECT_EQ(ReadStream("incbin::platform_test.bin")->Size(), kSize);
}

TEST(OpenStream, DiskPathsReadAndWriteThroughFiles) {
    std::string path = testing::TempDir() + "platform_stream_test.bin";
    WriteStream(path)->WriteBytes("\x01\x02\x03\x04\x05\x06", 6);
    TStreamPtr in = ReadStream(path);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->ReadInt(), 0x04030201);
    EXPECT_EQ(in->ReadShort(), 0x0605);
    EXPECT_TRUE(in->Eof());
    std::remove(path.c_str());
}

TEST(RamStream, SeekClampsAndReadsStopAtTheEnd) {
    TStreamPtr s = CreateRamStream(kFile, kSize, 1, 0);
    unsigned char dst[100];
    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_EQ(s->Seek(1000), kSize);
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->Read(dst, 1), 0);

    s->Seek(kSize - 10);
    EXPECT_EQ(s->Read(dst, 100), 10);
    EXPECT_EQ(dst[0], 10);
    EXPECT_TRUE(s->Eof());
    s->Seek(5);
    EXPECT_EQ(s->Read(dst, INT_MAX), kSize - 5);   // pos + count must not overflow
    s->Seek(0);
    EXPECT_EQ(s->Read(dst, -1), 0);
    EXPECT_EQ(s->Write("x", 1), 0);                // not writeable
}

TEST(RamStream, ShortReadRaisesTheReadError) {
    TStreamPtr s = CreateRamStream(kFile, kSize, 1, 0);
    s->Seek(4);
    EXPECT_EQ(s->ReadInt(), 0x04030201);
    EXPECT_EQ(s->ReadShort(), 0xfffe);
    s->Seek(kSize - 3);
    unsigned char dst[8];
    try {
        s->ReadBytes(dst, 8);
        FAIL() << "no error raised";
    } catch (const TStreamReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    EXPECT_THROW(s->ReadBytes(dst, -1), TStreamReadError);
}
