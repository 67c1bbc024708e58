// End to end: the scripted runner's pictures (the title screen's trace is pinned by
// runner/music_test.cpp), with either plane driver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// The OpenGL ES 2 driver (the browser's) draws the title screen and a flight as the OpenGL
// driver does. On Mesa the pictures are the same byte for byte; what is asked is what another
// renderer's rounding would still meet. (A game over takes 11,000 drawn passes a driver, too
// long for the suite: tools/golden.sh's pictures compare it by hand.)
TEST(ScriptedRunner, TheES2DriverDrawsTheTitleAndAFlightAsOpenGLDoes) {
    std::string dir = TempDir("es2");
    WriteFile(dir + "/keys.txt", RhythmicTapping(3000));
    const int passes[] = {1, 1500, 3000};
    for (const std::string driver : {"gl", "es2"}) {
        std::string shots;
        for (int pass : passes) shots += " --shot " + std::to_string(pass) + ":" + dir + "/" + driver + std::to_string(pass) + ".png";
        TProgramResult run = RunScript((driver == "es2" ? "--gles " : "") + std::string("--frames 3000 --keys ") + dir +
                                       "/keys.txt" + shots);
        ASSERT_EQ(run.status, 0) << run.output;
    }
    StartStreams();
    StartPixmapLoaders();
    for (int pass : passes) {
        TPixmapPtr gl = LoadPixmap(dir + "/gl" + std::to_string(pass) + ".png");
        TPixmapPtr es2 = LoadPixmap(dir + "/es2" + std::to_string(pass) + ".png");
        ASSERT_TRUE(gl && es2);
        ASSERT_EQ(gl->width * 1000 + gl->height, es2->width * 1000 + es2->height);
        const TPictureAgreement agreement = ComparePictures(*gl, *es2);
        std::printf("pass %d: %.4f%% of pixels identical, %.4f%% within 4 levels, worst difference %d\n", pass,
                    100 * agreement.identical, 100 * agreement.within4, agreement.worst);
        EXPECT_GE(agreement.within4, 0.99) << "pass " << pass;
    }
}
