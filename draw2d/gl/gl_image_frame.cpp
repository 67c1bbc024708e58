// Image frames as OpenGL textures: the upload (padded to powers of two, mipmapped when
// asked) in the shared context, textured quads, and deleting the texture with the frame.
#include "draw2d/gl/gl_image_frame.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>

#include "draw2d/gl/gl_cache.h"
#include "draw2d/gl/gl_graphics.h"
#include "draw2d/graphics.h"
#include "draw2d/image.h"
#include "draw2d/state.h"
#include "platform/error.h"

namespace {

// Runs the enclosed work in the hidden context that shares textures with every window.
struct TSharedContextScope {
    TSharedContextScope() { GLGraphicsDriver()->SwapSharedContext(); }
    ~TSharedContextScope() { GLGraphicsDriver()->SwapSharedContext(); }
    TSharedContextScope(const TSharedContextScope&) = delete;
    TSharedContextScope& operator=(const TSharedContextScope&) = delete;
};

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

void UploadLevel(int level, const TPixmap& pm) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pm.pitch / BytesPerPixel(pm.format));
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pm.width, pm.height, GL_RGBA, GL_UNSIGNED_BYTE, pm.pixels);
}

// Every context shares its textures with the hidden one, which outlives each graphics, so a
// texture made under earlier graphics is still there to delete. Only while graphics are open,
// though: at program end the contexts may already be gone.
bool TextureMayBeDeleted(int seq) { return seq != 0 && CurrentGraphics() != nullptr; }

}  // namespace

std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateFromPixmap(const TPixmap& src, int flags) {
    TSharedContextScope shared;
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

void TGLImageFrame::SelectWithoutDrawing() {
    GLBindTexture(name);
    GLEnableTexture(true);
    GLRepeatColour();
}

TGLImageFrame::~TGLImageFrame() {
    if (!TextureMayBeDeleted(seq)) return;
    TSharedContextScope shared;
    if (!GLGraphicsDriver()->TexturesReachable()) return;
    GLuint n = name;
    glDeleteTextures(1, &n);
    GLForgetTexture(n);
    seq = 0;
}
