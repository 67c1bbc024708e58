// Streams by path, the embedded-file registry and the memory stream.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "platform/error.h"
#include "platform/stream.h"

namespace {

const unsigned char kFile[] = {0x89, 'P', 'N', 'G', 0x01, 0x02, 0x03, 0x04, 0xfe, 0xff,
                               10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
const unsigned char kOther[] = {1, 2, 3};

void RegisterTestFiles() {
    StartStreams();
    IncbinAdd("platform_test.bin", kFile, sizeof kFile);
    IncbinAdd("dir::inner.bin", kOther, sizeof kOther);
}

}  // namespace

TEST(Incbin, SecondRegistrationKeepsTheFirst) {
    RegisterTestFiles();
    EXPECT_EQ(IncbinAdd("platform_test.bin", kOther, sizeof kOther), 0);
    EXPECT_EQ(IncbinPtr("platform_test.bin"), kFile);
    EXPECT_EQ(IncbinLen("platform_test.bin"), int(sizeof kFile));
    EXPECT_EQ(IncbinPtr("Platform_test.bin"), nullptr);
    EXPECT_EQ(IncbinLen("missing.bin"), 0);
    EXPECT_EQ(IncbinAdd("negative.bin", kOther, -1), 0);
    EXPECT_EQ(IncbinAdd("null.bin", nullptr, 5), 0);
}

TEST(OpenStream, ProtocolIsCaseBlindAndNamesAreCaseSensitive) {
    RegisterTestFiles();
    TStreamPtr s = ReadStream("InCbIn::platform_test.bin");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Size(), int(sizeof kFile));
    EXPECT_EQ(ReadStream("incbin::Platform_test.bin"), nullptr);
    EXPECT_EQ(ReadStream("incbin::"), nullptr);
    EXPECT_EQ(ReadStream("incbin::missing.bin"), nullptr);
    EXPECT_EQ(ReadStream(""), nullptr);
    EXPECT_EQ(ReadStream("nosuchproto::platform_test.bin"), nullptr);
    // A plain name is a disk path and never reaches the registry.
    EXPECT_EQ(ReadStream("platform_test.bin"), nullptr);
    // The path after the first "::" may hold "::" itself.
    TStreamPtr inner = ReadStream("incbin::dir::inner.bin");
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->Size(), 3);
}

TEST(OpenStream, EmbeddedFilesAreServedInPlaceAndNeverForWriting) {
    RegisterTestFiles();
    auto s = std::dynamic_pointer_cast<TRamStream>(ReadStream("incbin::platform_test.bin"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->buf, kFile);
    EXPECT_EQ(WriteStream("incbin::platform_test.bin"), nullptr);
    EXPECT_EQ(OpenStream("incbin::platform_test.bin", 1, 1), nullptr);
}

TEST(OpenStream, NewestFactoryIsAskedFirst) {
    RegisterTestFiles();
    struct TOverride : TStreamFactory {
        TStreamPtr CreateStream(const std::string&, const std::string& proto, const std::string&, int,
                                int) override {
            return proto == "incbin" ? CreateRamStream(kOther, 1, 1, 0) : nullptr;
        }
    };
    {
        TOverride factory;
        EXPECT_EQ(ReadStream("incbin::platform_test.bin")->Size(), 1);
    }
    EXPECT_EQ(ReadStream("incbin::platform_test.bin")->Size(), int(sizeof kFile));
}

TEST(OpenStream, DiskPathsReadAndWriteThroughFiles) {
    std::string path = testing::TempDir() + "platform_stream_test.bin";
    {
        TStreamPtr out = WriteStream(path);
        ASSERT_TRUE(out);
        out->WriteBytes("\x01\x02\x03\x04\x05\x06", 6);
    }
    TStreamPtr in = ReadStream(path);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->Size(), 6);
    EXPECT_EQ(in->ReadInt(), 0x04030201);
    EXPECT_EQ(in->ReadShort(), 0x0605);
    EXPECT_TRUE(in->Eof());
    std::remove(path.c_str());
}

TEST(RamStream, SeekClampsToTheStream) {
    TStreamPtr s = CreateRamStream(kFile, sizeof kFile, 1, 0);
    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_EQ(s->Seek(1000), int(sizeof kFile));
    EXPECT_TRUE(s->Eof());
    char c;
    EXPECT_EQ(s->Read(&c, 1), 0);
}

TEST(RamStream, ReadNearTheEndReturnsWhatIsLeft) {
    TStreamPtr s = CreateRamStream(kFile, sizeof kFile, 1, 0);
    s->Seek(sizeof kFile - 10);
    unsigned char dst[100];
    EXPECT_EQ(s->Read(dst, 100), 10);
    EXPECT_EQ(dst[0], 10);
    EXPECT_TRUE(s->Eof());

    s->Seek(5);
    EXPECT_EQ(s->Read(dst, INT_MAX), int(sizeof kFile) - 5);   // pos + count must not overflow
    s->Seek(0);
    EXPECT_EQ(s->Read(dst, -1), 0);
    EXPECT_EQ(s->Pos(), 0);
}

TEST(RamStream, ShortReadRaisesTheReadError) {
    TStreamPtr s = CreateRamStream(kFile, sizeof kFile, 1, 0);
    s->Seek(sizeof kFile - 3);
    unsigned char dst[8];
    try {
        s->ReadBytes(dst, 8);
        FAIL() << "no error raised";
    } catch (const TStreamReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    s->Seek(0);
    EXPECT_THROW(s->ReadBytes(dst, -1), TStreamReadError);
}

TEST(RamStream, LittleEndianValuesAndWriteOnlyWhenWriteable) {
    TStreamPtr s = CreateRamStream(kFile, sizeof kFile, 1, 0);
    s->Seek(4);
    EXPECT_EQ(s->ReadInt(), 0x04030201);
    EXPECT_EQ(s->ReadShort(), 0xfffe);
    EXPECT_EQ(s->Write("x", 1), 0);

    unsigned char bytes[4] = {};
    TStreamPtr w = CreateRamStream(bytes, 4, 1, 1);
    EXPECT_EQ(w->Write("abcdef", 6), 4);
    EXPECT_EQ(bytes[3], 'd');
}
