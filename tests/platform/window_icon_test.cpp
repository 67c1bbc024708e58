// The window icon: set once, handed to every window as it opens, until it is taken away.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "support/fake_platform.h"

namespace {

TGLWindow* OpenWindow() { return WindowDriver().Open(640, 480, "t", TGLWindowFormat{}, false, 60, nullptr); }

}  // namespace

TEST(WindowIcon, EveryWindowOpenedAfterwardsGetsACopyOfTheIconUntilItIsTakenAway) {
    TFakeWindow driver;
    InstallPlatform(TPlatform{nullptr, &driver, nullptr});

    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(driver.icons, 0) << "no icon set: windows are opened as they always were";

    std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    SetWindowIcon(pixels.data(), 3, 2);
    std::vector<uint8_t> expected = pixels;
    pixels.assign(pixels.size(), 0);   // the caller's buffer may go: the front kept a copy
    ASSERT_NE(OpenWindow(), nullptr);
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(driver.icons, 2);
    EXPECT_EQ(driver.iconWidth, 3);
    EXPECT_EQ(driver.iconHeight, 2);
    EXPECT_EQ(driver.icon, expected);

    driver.opens = false;   // a window that could not be opened gets nothing
    EXPECT_EQ(OpenWindow(), nullptr);
    EXPECT_EQ(driver.icons, 2);

    driver.opens = true;
    SetWindowIcon(nullptr, 0, 0);
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(driver.icons, 2);

    InstallPlatform(TPlatform{});
}

TEST(WindowIcon, AMakerRunsOnceWhenTheNextWindowOpensAndAnIconSetBeforeReplacesIt) {
    TFakeWindow driver;
    InstallPlatform(TPlatform{nullptr, &driver, nullptr});
    std::vector<uint8_t> pixels(4 * 4, 7);
    int made = 0;
    auto maker = [&] {
        ++made;
        SetWindowIcon(pixels.data(), 2, 2);
    };

    SetWindowIconMaker(maker);
    EXPECT_EQ(made, 0) << "nothing is made before a window needs it";
    driver.opens = false;
    EXPECT_EQ(OpenWindow(), nullptr);
    EXPECT_EQ(made, 0) << "nor for a window that could not open";
    driver.opens = true;
    ASSERT_NE(OpenWindow(), nullptr);
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(driver.icons, 2) << "both windows got the icon made for the first";
    EXPECT_EQ(driver.iconWidth, 2);

    SetWindowIconMaker(maker);
    SetWindowIcon(nullptr, 0, 0);
    ASSERT_NE(OpenWindow(), nullptr);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(driver.icons, 2);
    InstallPlatform(TPlatform{});
}
