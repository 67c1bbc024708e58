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

}  // namespace

TEST(OpenStream, ProtocolIsCaseBlindNamesAreCaseSensitiveAndEmbeddedFilesAreReadOnly) {
    StartStreams();
    IncbinAdd("platform_test.bin", kFile, kSize);
    IncbinAdd("dir::inner.bin", kOther, sizeof kOther);
    EXPECT_EQ(IncbinAdd("platform_test.bin", kOther, sizeof kOther), 0);   // the first one stays
    EXPECT_EQ(IncbinAdd("negative.bin", kOther, -1) + IncbinAdd("null.bin", nullptr, 5), 0);

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

TEST(RamStream, SeekClampsReadsStopAtTheEndAndShortReadsRaiseTheError) {
    TStreamPtr s = CreateRamStream(kFile, kSize, 1, 0);
    unsigned char dst[100];
    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_EQ(s->Seek(1000), kSize);
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->Read(dst, 1), 0);
    s->Seek(kSize - 10);
    EXPECT_EQ(s->Read(dst, 100), 10);
    EXPECT_EQ(dst[0], 10);
    s->Seek(5);
    EXPECT_EQ(s->Read(dst, INT_MAX), kSize - 5);   // pos + count must not overflow
    s->Seek(0);
    EXPECT_EQ(s->Read(dst, -1), 0);
    EXPECT_EQ(s->Write("x", 1), 0);                // not writeable

    s->Seek(4);
    EXPECT_EQ(s->ReadInt(), 0x04030201);
    EXPECT_EQ(s->ReadShort(), 0xfffe);
    s->Seek(kSize - 3);
    try {
        s->ReadBytes(dst, 8);
        FAIL() << "no error raised";
    } catch (const TStreamReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    EXPECT_THROW(s->ReadBytes(dst, -1), TStreamReadError);
}
