// Image frames drawn only where their texels have alpha, a run of window cells at a time.
#include "draw2d/visible_cells.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "draw2d/graphics.h"
#include "draw2d/state.h"

namespace {

// Cells are counted from the window's bottom-left corner, as OpenGL counts rows: Mesa's
// software renderer works in tiles of 64 pixels from there too.
const int kCellSize = 64;

// Window pixels x0..x1 - 1 by y0..y1 - 1, rows counted from the top.
struct TPixelRect {
    int x0, y0, x1, y1;
};

// The quad's edges in the window, as the frame's Draw places them, and how many of the
// frame's texels one pixel spans across and down (negative where the quad is mirrored).
struct TPlacedQuad {
    double left, right, top, bottom;
    double columnsPerPixel, rowsPerPixel;
};

TPlacedQuad PlaceQuad(const TDrawState& s, const TAlphaCoverage& visible, float x0, float y0, float x1, float y1,
                      float tx, float ty) {
    TPlacedQuad quad;
    quad.left = static_cast<double>(x0) * s.tform_ix + tx;
    quad.right = static_cast<double>(x1) * s.tform_ix + tx;
    quad.top = static_cast<double>(y0) * s.tform_jy + ty;
    quad.bottom = static_cast<double>(y1) * s.tform_jy + ty;
    quad.columnsPerPixel = visible.width / (quad.right - quad.left);
    quad.rowsPerPixel = visible.height / (quad.bottom - quad.top);
    return quad;
}

// The texels filtering may read for pixels p0..p1 - 1 along one axis: their centres, half a
// texel either side for the linear filter, and one texel more for rounding.
void TexelSpan(double origin, double perPixel, int p0, int p1, int* t0, int* t1) {
    double a = (p0 + 0.5 - origin) * perPixel, b = (p1 - 0.5 - origin) * perPixel;
    if (a > b) std::swap(a, b);
    a = std::max(std::min(a, 1e9), -1e9);
    b = std::max(std::min(b, 1e9), -1e9);
    *t0 = static_cast<int>(std::floor(a - 0.5)) - 1;
    *t1 = static_cast<int>(std::floor(b - 0.5)) + 2;
}

// Where drawing may land: the viewport, within the window, within the quad and a pixel round it.
TPixelRect DrawableArea(const TDrawState& s, const TPlacedQuad& quad) {
    const double qx0 = std::min(quad.left, quad.right), qx1 = std::max(quad.left, quad.right);
    const double qy0 = std::min(quad.top, quad.bottom), qy1 = std::max(quad.top, quad.bottom);
    return {std::max({s.viewport_x, 0, static_cast<int>(std::max(std::floor(qx0) - 1, -1e9))}),
            std::max({s.viewport_y, 0, static_cast<int>(std::max(std::floor(qy0) - 1, -1e9))}),
            std::min({s.viewport_x + s.viewport_w, GraphicsWidth(), static_cast<int>(std::min(std::ceil(qx1) + 1, 1e9))}),
            std::min({s.viewport_y + s.viewport_h, GraphicsHeight(), static_cast<int>(std::min(std::ceil(qy1) + 1, 1e9))})};
}

// The pixels py0..py1 - 1 of one row of cells from the first to the last of its cells where
// a visible texel may land; x0 is -1 when there is none.
TPixelRect VisibleRunInRow(const TPlacedQuad& quad, const TAlphaCoverage& visible, const TPixelRect& area, int py0,
                           int py1) {
    TPixelRect run{-1, py0, -1, py1};
    int r0, r1;
    TexelSpan(quad.top, quad.rowsPerPixel, py0, py1, &r0, &r1);
    if (r1 < 0 || r0 > visible.height - 1) return run;
    for (int column = area.x0 / kCellSize; column * kCellSize < area.x1; ++column) {
        const int px0 = std::max(column * kCellSize, area.x0), px1 = std::min((column + 1) * kCellSize, area.x1);
        int c0, c1;
        TexelSpan(quad.left, quad.columnsPerPixel, px0, px1, &c0, &c1);
        if (c1 < 0 || c0 > visible.width - 1 || !visible.Any(c0, r0, c1, r1)) continue;
        if (run.x0 < 0) run.x0 = px0;
        run.x1 = px1;
    }
    return run;
}

// The runs of cells to draw, top row first; rows below one another with the same run become
// one rectangle, drawn at once.
std::vector<TPixelRect> VisibleRuns(const TPlacedQuad& quad, const TAlphaCoverage& visible, const TPixelRect& area) {
    std::vector<TPixelRect> runs;
    if (area.x0 >= area.x1 || area.y0 >= area.y1) return runs;
    const int windowH = GraphicsHeight();
    const int firstRow = (windowH - area.y1) / kCellSize, lastRow = (windowH - area.y0 - 1) / kCellSize;
    for (int row = lastRow; row >= firstRow; --row) {
        const int py0 = std::max(windowH - (row + 1) * kCellSize, area.y0);
        const int py1 = std::min(windowH - row * kCellSize, area.y1);
        const TPixelRect run = VisibleRunInRow(quad, visible, area, py0, py1);
        if (run.x0 < 0) continue;
        if (!runs.empty() && runs.back().x0 == run.x0 && runs.back().x1 == run.x1 && runs.back().y1 == py0)
            runs.back().y1 = py1;
        else
            runs.push_back(run);
    }
    return runs;
}

}  // namespace

bool DrawVisibleCells(TPlaneDriver& driver, TImageFrame& frame, const TAlphaCoverage& visible, float x0,
                      float y0, float x1, float y1, float tx, float ty) {
    const TDrawState& s = CurrentDrawState();
    if (s.tform_iy != 0 || s.tform_jx != 0 || s.tform_ix == 0 || s.tform_jy == 0) return false;
    if (visible.width <= 0 || visible.height <= 0 || x0 == x1 || y0 == y1) return false;
    const TPlacedQuad quad = PlaceQuad(s, visible, x0, y0, x1, y1, tx, ty);
    const std::vector<TPixelRect> runs = VisibleRuns(quad, visible, DrawableArea(s, quad));
    for (const TPixelRect& run : runs) {
        driver.SetViewport(run.x0, run.y0, run.x1 - run.x0, run.y1 - run.y0);
        frame.Draw(x0, y0, x1, y1, tx, ty);
    }
    if (runs.empty())
        frame.SelectWithoutDrawing();
    else
        driver.SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
    return true;
}
