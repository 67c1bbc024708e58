// What the primitives really put on the drawing surface.
#include <gtest/gtest.h>

#include "draw2d/draw.h"
#include "draw2d/plane.h"
#include "support/gl_fixture.h"

TEST(Plot, LightsExactlyOnePixel) {
    ASSERT_TRUE(OpenTestGraphics());
    Plot(10, 20);
    EXPECT_EQ(ReadPixel(10, 20), 0xFFFFFFu);
    EXPECT_EQ(CountLitPixels(0, 0, 40, 40), 1);
}
