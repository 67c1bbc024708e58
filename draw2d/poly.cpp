// Textured polygons and strips with a colour per vertex, sent through the plane driver's
// textured batch.
#include "draw2d/poly.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "draw2d/plane.h"
#include "draw2d/state.h"

namespace {

const int kVertexSize = 9;

// The frame whose texture the open batch uses (TPoly's one class global), or none.
TImageFramePtr GLFrame;

// The current driver's batch; none while no graphics are current.
TTexturedBatch* Batch() {
    TPlaneDriver* driver = CurrentPlaneDriver();
    return driver ? &driver->TexturedBatch() : nullptr;
}

void CloseBatch() {
    if (TTexturedBatch* batch = Batch()) batch->Close();
}

float ColourElement(int argb) {
    float element;
    std::memcpy(&element, &argb, sizeof element);
    return element;
}

}  // namespace

void TPoly::_Begin() { GLFrame = nullptr; }

void TPoly::_End() {
    GLFrame = nullptr;
    CloseBatch();
}

void TPoly::Initialise() {
    if (TTexturedBatch* batch = Batch()) batch->Initialise();
}

void TPoly::GetFrame(const TImagePtr& image, int frame, int mode, int newBatch) {
    TImageFramePtr tex = image ? image->Frame(frame) : nullptr;
    TTexturedBatch* batch = Batch();
    if (tex != GLFrame) {
        if (batch) batch->Close();
        GLFrame = tex;
        if (!tex || !batch) return;
        batch->Begin(*tex, mode);
    } else if (tex && batch && (newBatch == 1 || !batch->IsOpen())) {
        batch->Open(mode);
    }
}

void TPoly::Draw(const TImagePtr& image, int frame, const float* vertices, int count, int mode, int closeBatch) {
    if (count < 6) return;
    if (count % 2 != 0 && count % kVertexSize != 0) return;
    GetFrame(image, frame, mode, closeBatch);
    TTexturedBatch* batch = Batch();
    if (!GLFrame || !batch) return;   // no texture to draw with: no batch is open
    batch->Vertices(vertices, count / kVertexSize);
    if (closeBatch == 1) batch->Close();
}

// Both ends on one point give no direction, so nothing is drawn.
void TPoly::Line(const TImagePtr& image, int frame, float x1, float y1, int colour1, float x2, float y2,
                 int colour2, float width, unsigned char caps, unsigned char across) {
    double dx = static_cast<double>(x1) - x2, dy = static_cast<double>(y1) - y2;
    double len = std::sqrt(dx * dx + dy * dy);
    if (len == 0) return;
    float ux = static_cast<float>(dx / len * width), uy = static_cast<float>(dy / len * width);
    float c1 = ColourElement(colour1), c2 = ColourElement(colour2);
    auto at = [](double v) { return static_cast<float>(v); };

    std::vector<float> v;
    auto add = [&](double x, double y, float colour, float u, float tv) {
        v.insert(v.end(), {at(x), at(y), 0.0f, 0.0f, 0.0f, 1.0f, colour, u, tv});
    };
    if (!caps) {
        bool a = across != 0;
        add(x1 - uy, y1 + ux, c1, 0, 0);
        add(x1 + uy, y1 - ux, c1, a ? 1 : 0, a ? 0 : 1);
        add(x2 - uy, y2 + ux, c2, a ? 0 : 1, a ? 1 : 0);
        add(x2 + uy, y2 - ux, c2, 1, 1);
    } else {
        add(static_cast<double>(x1) - uy + ux, static_cast<double>(y1) + ux + uy, c1, 1, 0);
        add(static_cast<double>(x1) + uy + ux, static_cast<double>(y1) - ux + uy, c1, 1, 1);
        add(x1 - uy, y1 + ux, c1, 0.4985f, 0);
        add(x1 + uy, y1 - ux, c1, 0.4985f, 1);
        add(x2 - uy, y2 + ux, c2, 0.5015f, 0);
        add(x2 + uy, y2 - ux, c2, 0.5015f, 1);
        add(static_cast<double>(x2) - uy - ux, static_cast<double>(y2) + ux - uy, c2, 1, 0);
        add(static_cast<double>(x2) + uy - ux, static_cast<double>(y2) - ux - uy, c2, 1, 1);
    }
    Draw(image, frame, v.data(), static_cast<int>(v.size()), POLY_LINE_STRIP_MODE, 1);
}
