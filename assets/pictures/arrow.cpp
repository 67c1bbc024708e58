// The sky road's texture: two pale chevron outlines pointing up on a transparent background.
// Edges are anti-aliased through the alpha channel; every pixel keeps a light colour so the
// filtered texture shows no dark fringe.
#include "noise.h"
#include "picture.h"

#include <cmath>

namespace {

struct Point {
    double x, y;
};

// Signed distance from p to a closed polygon: negative inside.
double PolygonDistance(const Point* v, int n, Point p) {
    double best = 1e30;
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        double ex = v[i].x - v[j].x, ey = v[i].y - v[j].y;
        double wx = p.x - v[j].x, wy = p.y - v[j].y;
        double t = ClampTo((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.0, 1.0);
        double qx = wx - ex * t, qy = wy - ey * t;
        double d = qx * qx + qy * qy;
        if (d < best) best = d;
        if ((v[i].y > p.y) != (v[j].y > p.y) && p.x < v[j].x + (p.y - v[j].y) * ex / ey) inside = !inside;
    }
    double d = std::sqrt(best);
    return inside ? -d : d;
}

// The six corners of a chevron with its apex at (mid, top): arms of half-width w, drop s per
// pixel sideways, band thickness t.
void Chevron(Point* v, double mid, double top, double w, double s, double t) {
    v[0] = {mid, top};
    v[1] = {mid + w, top + s * w};
    v[2] = {mid + w, top + s * w + t};
    v[3] = {mid, top + t};
    v[4] = {mid - w, top + s * w + t};
    v[5] = {mid - w, top + s * w};
}

}  // namespace

Picture PaintArrow() {
    const int size = 128;
    Picture picture = BlankPicture(size, size, 4);
    Point upper[6], lower[6];
    Chevron(upper, 64.0, 6.0, 54.0, 0.7, 18.0);
    Chevron(lower, 64.0, 62.0, 54.0, 0.7, 18.0);
    const double stroke = 1.75;  // half the outline's thickness
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Point p{x + 0.5, y + 0.5};
            double d = std::fmin(PolygonDistance(upper, 6, p), PolygonDistance(lower, 6, p));
            double line = ClampTo(stroke + 0.5 - std::fabs(d), 0.0, 1.0);
            double fill = 0.22 * ClampTo(0.5 - d, 0.0, 1.0);
            double a = std::fmax(line, fill);
            if (a > 0.0) {
                SetPixel(picture, x, y, 240.0, 246.0, 255.0, 255.0 * a);
            } else {
                SetPixel(picture, x, y, 255.0, 255.0, 255.0, 0.0);
            }
        }
    }
    return picture;
}
