// Images: loading with masking and handles, textures made on first draw, textured quads.
#include "draw2d/image.h"

#include <GL/gl.h>

#include <algorithm>

#include "draw2d/graphics.h"
#include "draw2d/plane.h"
#include "draw2d/state.h"
#include "platform/error.h"

namespace {

// Runs the enclosed work in the hidden context that shares textures with every window.
struct SharedContextScope {
    SharedContextScope() { SwapSharedContext(); }
    ~SharedContextScope() { SwapSharedContext(); }
    SharedContextScope(const SharedContextScope&) = delete;
    SharedContextScope& operator=(const SharedContextScope&) = delete;
};

int NextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

// The largest power-of-two size, from the one that fits the pixmap down, that OpenGL accepts.
void TextureSize(int width, int height, int* texW, int* texH) {
    int w = NextPowerOfTwo(width), h = NextPowerOfTwo(height);
    for (;;) {
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        GLint accepted = 0;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
        if (accepted != 0) break;
        if (w == 1 && h == 1) throw TRuntimeError("Unable to calculate tex size");
        if (w > 1) w /= 2;
        if (h > 1) h /= 2;
    }
    *texW = w;
    *texH = h;
}

// The frame pasted into a texture-sized pixmap, with its last column, row and corner repeated
// once beyond it so filtering at the frame's edge never reaches the padding.
TPixmapPtr PadToTexture(const TPixmap& frame, int texW, int texH) {
    auto padded = TPixmap::Create(texW, texH, PIXEL_RGBA8888);
    padded->Paste(frame, 0, 0);
    int w = frame.width, h = frame.height;
    if (w < texW) padded->Paste(*frame.Window(w - 1, 0, 1, h), w, 0);
    if (h < texH) padded->Paste(*frame.Window(0, h - 1, w, 1), 0, h);
    if (w < texW && h < texH) padded->Paste(*frame.Window(w - 1, h - 1, 1, 1), w, h);
    return padded;
}

void UploadLevel(int level, const TPixmap& pm) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pm.pitch / BytesPerPixel(pm.format));
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pm.width, pm.height, GL_RGBA, GL_UNSIGNED_BYTE, pm.pixels);
}

// A texture name may only be deleted while the graphics it was made under are still open:
// after they close (or at program end) the contexts, and so the name, may be gone.
bool TextureStillAlive(int seq) {
    return seq != 0 && seq == GraphicsSeq() && CurrentGraphics() != nullptr;
}

}  // namespace

// Makes the texture of one frame in the shared context.
std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const TPixmap& src, int flags) {
    SharedContextScope shared;
    int texW = 0, texH = 0;
    TextureSize(src.width, src.height, &texW, &texH);

    int frameW = std::min(src.width, texW), frameH = std::min(src.height, texH);
    TPixmapPtr frame;
    if (frameW < src.width || frameH < src.height) frame = ResizePixmap(src, frameW, frameH);
    const TPixmap& sized = frame ? *frame : src;

    TPixmapPtr upload;
    if (frameW < texW || frameH < texH)
        upload = PadToTexture(sized, texW, texH);
    else if (sized.format != PIXEL_RGBA8888)
        upload = sized.Convert(PIXEL_RGBA8888);
    const TPixmap& pixels = upload ? *upload : sized;

    auto tex = std::make_shared<TGLImageFrame>();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (flags & IMAGE_FILTERED) ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, (flags & IMAGE_MIPMAPPED) ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST);

    bool mipmapped = (flags & IMAGE_MIPMAPPED) != 0;
    for (int level = 0, w = texW, h = texH;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (!mipmapped || (w == 1 && h == 1)) break;
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
    }
    UploadLevel(0, pixels);
    TPixmapPtr smaller;   // each mipmap level is resized from the one before
    for (int level = 1, w = texW, h = texH; mipmapped && (w > 1 || h > 1); ++level) {
        w = std::max(w / 2, 1);
        h = std::max(h / 2, 1);
        smaller = ResizePixmap(smaller ? *smaller : pixels, w, h);
        UploadLevel(level, *smaller);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glFlush();   // so the window's context sees the finished texture

    tex->name = name;
    tex->tex_u0 = tex->tex_v0 = 0;
    tex->tex_u1 = static_cast<float>(frameW) / static_cast<float>(texW);
    tex->tex_v1 = static_cast<float>(frameH) / static_cast<float>(texH);
    tex->seq = GraphicsSeq();
    return tex;
}

// One textured quad: the local rectangle through the drawing matrix, then translated.
void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
    DrawRegion(x0, y0, x1, y1, tx, ty, tex_u0, tex_v0, tex_u1, tex_v1);
}

void TGLImageFrame::DrawRegion(float x0, float y0, float x1, float y1, float tx, float ty,
                               float u0, float v0, float u1, float v1) {
    const TDrawState& s = CurrentDrawState();
    GLBindTexture(name);
    GLEnableTexture(true);
    auto vertex = [&](float u, float v, float px, float py) {
        glTexCoord2f(u, v);
        glVertex2f(static_cast<float>(static_cast<double>(px) * s.tform_ix + static_cast<double>(py) * s.tform_iy + tx),
                   static_cast<float>(static_cast<double>(px) * s.tform_jx + static_cast<double>(py) * s.tform_jy + ty));
    };
    glBegin(GL_QUADS);
    GLRepeatColour();   // lets quads of one texture in a row batch into one draw
    vertex(u0, v0, x0, y0);
    vertex(u1, v0, x1, y0);
    vertex(u1, v1, x1, y1);
    vertex(u0, v1, x0, y1);
    glEnd();
}

TGLImageFrame::~TGLImageFrame() {
    if (!TextureStillAlive(seq)) return;
    SharedContextScope shared;
    GLuint n = name;
    glDeleteTextures(1, &n);
    seq = 0;
}

TImagePtr TImage::Create(int width, int height, int frames, int flags, int r, int g, int b) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->mask_r = r;
    image->mask_g = g;
    image->mask_b = b;
    frames = std::max(frames, 0);
    image->pixmaps.resize(frames);
    image->frames.resize(frames);
    image->seqs.assign(frames, 0);
    return image;
}

TImagePtr TImage::Load(const TPixmapPtr& pixmap, int flags, int r, int g, int b) {
    if (!pixmap) return nullptr;
    TImagePtr image = Create(pixmap->width, pixmap->height, 1, flags, r, g, b);
    image->SetPixmap(0, pixmap);
    return image;
}

TImagePtr TImage::Load(const std::string& url, int flags, int r, int g, int b) {
    return Load(LoadPixmap(url), flags, r, g, b);
}

// The frame's texture: reused while the graphics generation is unchanged, else made anew.
// None for a frame number the image does not have.
TImageFramePtr TImage::Frame(int index) {
    if (index < 0 || index >= static_cast<int>(frames.size())) return nullptr;
    int seq = GraphicsSeq();
    if (seqs[index] == seq && frames[index]) return frames[index];
    seqs[index] = seq;
    const TPixmap& pixmap = *Lock(index, true, false);
    TPlaneDriver* driver = CurrentPlaneDriver();
    frames[index] = driver ? driver->CreateFrameFromPixmap(pixmap, flags) : TGLImageFrame::CreateFromPixmap(pixmap, flags);
    return frames[index];
}

// The frame's pixmap (an empty one of the image size when it has none); writing drops the texture.
TPixmapPtr TImage::Lock(int index, bool /*read*/, bool write) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return nullptr;
    if (!pixmaps[index]) pixmaps[index] = TPixmap::Create(width, height, PIXEL_RGBA8888);
    if (write) {
        seqs[index] = 0;
        frames[index] = nullptr;
    }
    return pixmaps[index];
}

// Stores a frame's pixmap, masked when the image is masked and the pixmap has no alpha.
void TImage::SetPixmap(int index, const TPixmapPtr& pixmap) {
    if (index < 0 || index >= static_cast<int>(pixmaps.size())) return;
    TPixmapPtr pm = pixmap;
    if (pm && (flags & IMAGE_MASKED) && AlphaBits(pm->format) == 0) pm = MaskPixmap(*pm, mask_r, mask_g, mask_b);
    pixmaps[index] = pm;
    seqs[index] = 0;
    frames[index] = nullptr;
}

namespace {

// Loads with the layer's mask colour, then mid-handles when automatic mid-handles are on.
template <class Url>
TImagePtr LoadWithLayerSettings(const Url& url, int flags) {
    TDrawLayerSettings& layer = DrawLayerSettings();
    if (flags == -1) flags = layer.auto_imageflags;
    TImagePtr image = TImage::Load(url, flags, layer.mask_red, layer.mask_green, layer.mask_blue);
    if (image && layer.auto_midhandle) MidHandleImage(image);
    return image;
}

}  // namespace

TImagePtr LoadImage(const std::string& url, int flags) { return LoadWithLayerSettings(url, flags); }
TImagePtr LoadImage(const TPixmapPtr& pixmap, int flags) { return LoadWithLayerSettings(pixmap, flags); }

// Draws a frame with the image's handle at (x, y) under the drawing state.
void DrawImage(const TImagePtr& image, float x, float y, int frame) {
    if (!image) return;
    TImageFramePtr tex = image->Frame(frame);
    if (!tex) return;
    const TDrawState& s = CurrentDrawState();
    float x0 = -image->handle_x, y0 = -image->handle_y;
    float x1 = static_cast<float>(static_cast<double>(x0) + image->width);
    float y1 = static_cast<float>(static_cast<double>(y0) + image->height);
    tex->Draw(x0, y0, x1, y1, static_cast<float>(static_cast<double>(x) + s.origin_x),
              static_cast<float>(static_cast<double>(y) + s.origin_y));
}

int ImageWidth(const TImagePtr& image) { return image->width; }
int ImageHeight(const TImagePtr& image) { return image->height; }

void SetImageHandle(const TImagePtr& image, float x, float y) {
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const TImagePtr& image) {
    SetImageHandle(image, static_cast<float>(image->width * 0.5), static_cast<float>(image->height * 0.5));
}

void AutoMidHandle(int flag) { DrawLayerSettings().auto_midhandle = flag != 0 ? 1 : 0; }

void AutoImageFlags(int flags) {
    if (flags != -1) DrawLayerSettings().auto_imageflags = flags;
}
