// After start-up the program holds all fifteen embedded files, served in place; the game
// registers its twelve from the build's own list in order, the drawing layer its two fonts,
// and the window's icon is looked up by name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "game/kestrava.h"
#include "platform/headless/script_system.h"
#include "platform/stream.h"
#include "platform/system.h"

TEST(EmbeddedFiles, StartUpServesAllFifteenInPlaceInTheirOwnersOrderAndSparkOpensAsAPngStream) {
    TScriptSystemDriver clock(100000);
    SetSystemDriver(&clock);
    TGameHooks hooks;
    hooks.audioMode = TAudioOutputMode::Manual;
    hooks.beforePass = [&](int pass) { clock.BeginPass(pass); };
    hooks.afterPass = [](int) { return false; };
    ASSERT_EQ(RunKestrava(hooks), 0);
    SetSystemDriver(nullptr);

    std::vector<std::string> game, others;
    for (const TEmbeddedFile& file : GameEmbeddedFiles()) game.push_back(file.name);
    EXPECT_EQ(game, (std::vector<std::string>{"sound1.wav", "sound2.wav", "sound3.wav", "sound4.wav", "sound5.wav",
                                             "sound6.wav", "sound7.wav", "sound8.wav", "wing2.png", "spark.png",
                                             "island.png", "arrow.png"}));
    for (const TEmbeddedFile& file : EmbeddedFiles()) {
        ASSERT_NE(file.data, nullptr) << file.name;
        if (std::find(game.begin(), game.end(), file.name) == game.end()) others.push_back(file.name);
        if (std::strcmp(file.name, "io.github.kestrava.Kestrava.png") == 0) {
            EXPECT_EQ(IncbinPtr(file.name), nullptr) << "the window's icon is no game file";
            continue;
        }
        EXPECT_EQ(IncbinPtr(file.name), file.data) << file.name << " is served in place";
        EXPECT_EQ(IncbinLen(file.name), file.length) << file.name;
        EXPECT_EQ(EmbeddedFile(file.name).data, file.data) << file.name;
    }
    EXPECT_EQ(others, (std::vector<std::string>{"quorbfont.bin", "gldrawtextfont.bin",
                                               "io.github.kestrava.Kestrava.png"}));

    TStreamPtr spark = ReadStream("incbin::spark.png");
    ASSERT_TRUE(spark);
    EXPECT_EQ(spark->Size(), EmbeddedFile("spark.png").length);
    unsigned char signature[8];
    spark->ReadBytes(signature, 8);
    EXPECT_EQ(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8), 0);
}
