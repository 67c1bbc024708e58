// The game's window shows the desktop's icon: the embedded 256-pixel picture of the pale bird
// over the blue sea on a rounded tile, decoded and handed to the window as it opens.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/window_icon.h"
#include "platform/platform.h"
#include "support/fake_platform.h"

TEST(WindowIcon, TheWindowGetsThe256PixelBirdOverTheSeaWithClearCorners) {
    TFakeWindow driver;
    InstallPlatform(TPlatform{nullptr, &driver, nullptr});
    ASSERT_TRUE(UseDesktopIconForWindows());
    ASSERT_NE(WindowDriver().Open(640, 480, "t", TGLWindowFormat{}, false, 60, nullptr), nullptr);
    SetWindowIcon(nullptr, 0, 0);
    InstallPlatform(TPlatform{});

    ASSERT_EQ(driver.iconWidth, 256);
    ASSERT_EQ(driver.iconHeight, 256);
    EXPECT_EQ(driver.IconPixel(0, 0)[3], 0) << "the tile's rounded corner is clear";
    EXPECT_EQ(driver.IconPixel(255, 255)[3], 0);
    const uint8_t* body = driver.IconPixel(128, 120);
    EXPECT_EQ(body[3], 255);
    EXPECT_GT(body[0], 180) << "the bird's body is pale";
    const uint8_t* sea = driver.IconPixel(128, 30);
    EXPECT_EQ(sea[3], 255);
    EXPECT_GT(sea[2], sea[0] + 60) << "the sea above the bird is blue";
}
