// The game's window shows the desktop's icon: the embedded 256-pixel picture of the pale bird
// over the blue sea on a rounded tile, decoded and handed to the window as it opens.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "game/window_icon.h"
#include "platform/platform.h"

namespace {

struct TIconWindow : TWindowDriver {
    bool StartVideo(const char**) override { return true; }
    TGLWindow* Open(int, int, const char*, const TGLWindowFormat&, bool, int, const char**) override {
        return reinterpret_cast<TGLWindow*>(&token);
    }
    bool CreateContext(TGLWindow*) override { return true; }
    bool HasContext(const TGLWindow*) override { return true; }
    void Close(TGLWindow*) override {}
    void MakeCurrent(TGLWindow*) override {}
    bool MakeSharedCurrent() override { return true; }
    bool SharedIsCurrent() override { return true; }
    void SetSwapInterval(TGLWindow*, int) override {}
    void Swap(TGLWindow*) override {}
    void MovePointer(TGLWindow*, int, int) override {}
    void* ProcAddress(const char*) override { return nullptr; }
    void SetIcon(TGLWindow*, const uint8_t* rgba, int w, int h) override {
        icon.assign(rgba, rgba + w * h * 4);
        width = w;
        height = h;
    }
    const uint8_t* At(int x, int y) const { return &icon[(static_cast<size_t>(y) * width + x) * 4]; }
    int token = 0;
    std::vector<uint8_t> icon;
    int width = 0, height = 0;
};

}  // namespace

TEST(WindowIcon, TheWindowGetsThe256PixelBirdOverTheSeaWithClearCorners) {
    TIconWindow driver;
    InstallPlatform(TPlatform{nullptr, &driver, nullptr});
    ASSERT_TRUE(UseDesktopIconForWindows());
    ASSERT_NE(OpenGLWindow(640, 480, "t", TGLWindowFormat{}, false, 60, nullptr), nullptr);
    SetWindowIcon(nullptr, 0, 0);
    InstallPlatform(TPlatform{});

    ASSERT_EQ(driver.width, 256);
    ASSERT_EQ(driver.height, 256);
    EXPECT_EQ(driver.At(0, 0)[3], 0) << "the tile's rounded corner is clear";
    EXPECT_EQ(driver.At(255, 255)[3], 0);
    const uint8_t* body = driver.At(128, 120);
    EXPECT_EQ(body[3], 255);
    EXPECT_GT(body[0], 180) << "the bird's body is pale";
    const uint8_t* sea = driver.At(128, 30);
    EXPECT_EQ(sea[3], 255);
    EXPECT_GT(sea[2], sea[0] + 60) << "the sea above the bird is blue";
}
