// The bird seen from above: body, tail, the six bending wing pieces and the tail fan, eyes,
// head and spine, all from the smoothed flight values.
#include "draw2d/draw.h"
#include "game/game.h"
#include "platform/numeric.h"

namespace {

// One textured piece: the corners are worked out in floating point and truncated here.
void wingPiece(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4) {
    drawTextPoly(game.wingimg, TruncInt(x1), TruncInt(y1), TruncInt(x2), TruncInt(y2),
                 TruncInt(x3), TruncInt(y3), TruncInt(x4), TruncInt(y4));
}

}  // namespace

// Draws the bird; it leans toward the wing that works less.
int drawBird() {
    const double cx = game.centerx;
    const double tl = game.targetleft;
    const double tr = game.targetright;
    const double lc = game.leftcountt;
    const double rc = game.rightcountt;
    const double f = game.fatigue / 20.0;   // tired wings droop at the elbow
    const float lean = (lc - rc) / 2.0;

    SetColor(230, 230, 230);
    SetAlpha(1.0f);
    SetBlend(BLEND_ALPHA);
    // The body is never drawn more than 10 pixels below the mean of the two wings.
    const double lowest = (tl + tr) / 2.0 + 10.0;
    // Kept in double from here on: the same values as int arithmetic, and no overflow.
    const double bodyy = game.targetcenter > lowest ? TruncInt(lowest) : TruncInt(game.targetcenter);

    DrawOval(cx - 4, bodyy - 10, 8, 14);
    // Tail edges, in whatever line width is current (1 after the sea was drawn).
    DrawLine(cx + lean, bodyy + 40, cx - 4, bodyy + 4, 1);
    DrawLine(cx + lean, bodyy + 40, cx + 4, bodyy + 4, 1);
    SetLineWidth(3.0f);
    drawFeathers();

    // The inner pieces take their heights from the other side's wing.
    wingPiece(cx + 20, tl - 5 + f, cx + 20 + lean / 3.0, tl + 20,                  // right, middle
              cx + 40, tr + rc, cx + 40, tr + 20 + rc / 2.0);
    wingPiece(cx + 40, tr + rc, cx + 40, tr + 20 + rc / 2.0,                       // right, tip
              cx + 65, tr + rc + 20, cx + 65, tr + rc + 26);
    wingPiece(cx, bodyy, cx + lean / 2.0, tl + 20,                                 // right, root
              cx + 20, tl - 5 + f, cx + 20 + lean / 3.0, tl + 20);
    wingPiece(cx - 20, tr - 5 + f, cx - 20 + lean / 3.0, tr + 20,                  // left, middle
              cx - 40, tl + lc, cx - 40, tl + 20 + lc / 2.0);
    wingPiece(cx - 40, tl + lc, cx - 40, tl + 20 + lc / 2.0,                       // left, tip
              cx - 65, tl + lc + 20, cx - 65, tl + lc + 26);
    wingPiece(cx, bodyy, cx + lean / 2.0, tr + 20,                                 // left, root
              cx - 20, tr - 5 + f, cx - 20 + lean / 3.0, tr + 20);
    wingPiece(cx + lean / 2.0, bodyy + 25, cx + lean + 10, bodyy + 45 + lc / 5.0,  // tail fan:
              cx + lean / 2.0, bodyy + 25, cx + lean - 10, bodyy + 45 + rc / 5.0); // a triangle

    SetColor(0, 0, 0);   // eyes
    Plot(cx, bodyy - 7);
    Plot(cx - 2, bodyy - 7);
    SetColor(128, 128, 128);   // head
    DrawOval(cx - 1 - lean / 4.0, bodyy - 12, 3, 3);
    SetColor(255, 255, 255);   // spine, then shoulders
    DrawLine(cx - lean / 4.0, bodyy - 10, cx + lean, bodyy + 40, 1);
    DrawLine(cx + 4, bodyy + 4, cx - 4, bodyy + 4, 1);
    return 0;
}

// Draws nothing: only leaves the sky's complementary colour current.
int drawFlapStats() {
    SetColor(TruncInt(255.0 - game.curr), TruncInt(255.0 - game.curg), TruncInt(255.0 - game.curb));
    return 0;
}
