// End to end: the scripted runner's pictures (the title screen's trace is pinned by
// runner/music_test.cpp), with either plane driver, and the Windows build's under wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw2d/pixmap.h"
#include "platform/stream.h"
#include "runner/run_program.h"

// The window was cleared once to (0, 128, 255); 600 fades later it has the dawn sky's warm
// colour, red well above blue.
TEST(ScriptedRunner, ThePictureOfPass600HasTheDawnSkysColour) {
    std::string dir = TempDir("first-pass");
    TProgramResult run = RunScript("--frames 600 --shot 600:" + dir + "/s.png");
    ASSERT_EQ(run.status, 0) << run.output;
    StartStreams();
    StartPixmapLoaders();
    TPixmapPtr shot = LoadPixmap(dir + "/s.png");
    ASSERT_TRUE(shot);
    ASSERT_EQ(shot->width * 1000 + shot->height, 640480);
    long red = 0, blue = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            red += (shot->ReadPixel(x, y) >> 16) & 0xff;
            blue += shot->ReadPixel(x, y) & 0xff;
        }
    EXPECT_LT(blue / (640 * 480), 128);
    EXPECT_GT(red, 2 * blue);
}

// How closely two pictures of one size agree, channel by channel (alpha included).
struct TPictureAgreement {
    double identical = 0, within4 = 0;   // shares of the pixels
    int worst = 0;                       // the largest difference of any channel
};

TPictureAgreement ComparePictures(const TPixmap& a, const TPixmap& b) {
    TPictureAgreement agreement;
    long identical = 0, within4 = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            const uint32_t p = a.ReadPixel(x, y), q = b.ReadPixel(x, y);
            int most = 0;
            for (int shift = 0; shift < 32; shift += 8)
                most = std::max(most, std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff)));
            identical += most == 0;
            within4 += most <= 4;
            agreement.worst = std::max(agreement.worst, most);
        }
    agreement.identical = double(identical) / (a.width * a.height);
    agreement.within4 = double(within4) / (a.width * a.height);
    return agreement;
}

// Loads the pictures DIR/A<pass>.png and DIR/B<pass>.png of each pass and expects 99% of their
// pixels within 4 levels, telling how closely they agree.
void ExpectPicturesAgree(const std::string& dir, const std::string& a, const std::string& b,
                         const std::vector<int>& passes) {
    StartStreams();
    StartPixmapLoaders();
    for (int pass : passes) {
        TPixmapPtr first = LoadPixmap(dir + "/" + a + std::to_string(pass) + ".png");
        TPixmapPtr second = LoadPixmap(dir + "/" + b + std::to_string(pass) + ".png");
        ASSERT_TRUE(first && second);
        ASSERT_EQ(first->width * 1000 + first->height, second->width * 1000 + second->height);
        const TPictureAgreement agreement = ComparePictures(*first, *second);
        std::printf("%s against %s, pass %d: %.4f%% of pixels identical, %.4f%% within 4 levels, worst difference %d\n",
                    b.c_str(), a.c_str(), pass, 100 * agreement.identical, 100 * agreement.within4, agreement.worst);
        EXPECT_GE(agreement.within4, 0.99) << "pass " << pass;
    }
}

// The runner's --shot options for these passes, each DIR/NAME<pass>.png.
std::string Shots(const std::string& dir, const std::string& name, const std::vector<int>& passes) {
    std::string shots;
    for (int pass : passes) shots += " --shot " + std::to_string(pass) + ":" + dir + "/" + name + std::to_string(pass) + ".png";
    return shots;
}

// The OpenGL ES 2 driver (the browser's) draws the title screen and a flight as the OpenGL
// driver does. On Mesa the pictures are the same byte for byte; what is asked is what another
// renderer's rounding would still meet. (A game over takes 11,000 drawn passes a driver, too
// long for the suite: tools/golden.sh's pictures compare it by hand.)
TEST(ScriptedRunner, TheES2DriverDrawsTheTitleAndAFlightAsOpenGLDoes) {
    std::string dir = TempDir("es2");
    WriteFile(dir + "/keys.txt", RhythmicTapping(3000));
    const std::vector<int> passes = {1, 1500, 3000};
    for (const std::string driver : {"gl", "es2"}) {
        TProgramResult run = RunScript((driver == "es2" ? "--gles " : "") + std::string("--frames 3000 --keys ") + dir +
                                       "/keys.txt" + Shots(dir, driver, passes));
        ASSERT_EQ(run.status, 0) << run.output;
    }
    ExpectPicturesAgree(dir, "gl", "es2", passes);
}

// The Windows build's runner under wine (KESTRAVA_WINDOWS_BUILD, after tools/windows.sh) draws
// through its Win32 window and WGL on the same display as the desktop's does through SDL.
TEST(ScriptedRunner, TheWindowsRunnerUnderWineDrawsAsTheDesktopDoes) {
    const std::string wine = WineCommand("kestrava-script.exe");
    if (wine.empty()) GTEST_SKIP() << "no Windows build named in KESTRAVA_WINDOWS_BUILD";
    std::string dir = TempDir("wine-shots");
    WriteFile(dir + "/keys.txt", RhythmicTapping(1500));
    const std::vector<int> passes = {100, 1500};
    const std::string arguments = "--frames 1500 --keys " + dir + "/keys.txt";
    TProgramResult run = RunScript(arguments + Shots(dir, "desktop", passes));
    ASSERT_EQ(run.status, 0) << run.output;
    run = RunCommand(wine + arguments + Shots(dir, "windows", passes));
    ASSERT_EQ(run.status, 0) << run.output;
    ExpectPicturesAgree(dir, "desktop", "windows", passes);
}
