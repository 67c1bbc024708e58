// After start-up the program holds all fourteen embedded files, served in place.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/embedded.h"
#include "game/kestrava.h"
#include "platform/headless/script_system.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/stream.h"
#include "platform/system.h"

TEST(EmbeddedFiles, StartUpRegistersAllFourteenAndSparkOpensAsAPngStream) {
    InstallPlatform(SDLPlatform());
    TScriptSystemDriver clock(100000);
    SetSystemDriver(&clock);
    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.beforePass = [&](int pass) { clock.BeginPass(pass); };
    hooks.afterPass = [](int) { return false; };
    ASSERT_EQ(RunKestrava(hooks), 0);
    SetSystemDriver(nullptr);

    for (const char* name : {"quorbfont.bin", "gldrawtextfont.bin", "sound1.wav", "sound2.wav", "sound3.wav",
                             "sound4.wav", "sound5.wav", "sound6.wav", "sound7.wav", "sound8.wav", "wing2.png",
                             "spark.png", "island.png", "arrow.png"}) {
        TEmbeddedFile file = EmbeddedFile(name);
        ASSERT_NE(file.data, nullptr) << name;
        EXPECT_EQ(IncbinPtr(name), file.data) << name << " is served in place";
        EXPECT_EQ(IncbinLen(name), file.length) << name;
    }
    EXPECT_EQ(IncbinLen("quorbfont.bin"), 1536);
    EXPECT_EQ(IncbinLen("gldrawtextfont.bin"), 1536);

    TStreamPtr spark = ReadStream("incbin::spark.png");
    ASSERT_TRUE(spark);
    EXPECT_EQ(spark->Size(), EmbeddedFile("spark.png").length);
    unsigned char signature[8];
    spark->ReadBytes(signature, 8);
    EXPECT_EQ(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8), 0);
}
