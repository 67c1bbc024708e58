// The page's canvas as the game's window: one WebGL 1 context on it. WebGL shares nothing
// between contexts, and the page needs no second one: the hidden context the drawing layer
// loads its textures in is the canvas's own, made on first need by either side.
#include "platform/web/web_platform.h"

#include <emscripten/html5.h>
#include <emscripten/html5_webgl.h>

struct TGLWindow {
    bool contextMade = false;   // CreateContext was called (the context itself may be older)
};

namespace {

constexpr const char* kCanvas = "#canvas";

// The canvas's context, 0 until made; the page has one window at most.
struct TWebWindows {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    TGLWindow* window = nullptr;
};
TWebWindows windows;

EM_JS(int, PageHasCanvas, (), { return document.querySelector('#canvas') ? 1 : 0; });

EM_JS(void, SetPageTitle, (const char* title), { document.title = UTF8ToString(title); });

// An opaque WebGL 1 context: no depth, stencil or multisampling, the picture given to the page
// as drawn (the frame is always whole, so nothing needs preserving between frames).
bool MakeContext() {
    if (windows.context > 0) return true;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(kCanvas, &attributes);
    if (context <= 0) return false;
    windows.context = context;
    return true;
}

bool MakeContextCurrent() {
    return MakeContext() && emscripten_webgl_make_context_current(windows.context) == EMSCRIPTEN_RESULT_SUCCESS;
}

struct TWebWindowDriver : TWindowDriver {
    bool StartVideo(const char** why) override {
        if (PageHasCanvas()) return true;
        if (why) *why = "the page has no canvas (#canvas) to draw in";
        return false;
    }
    bool CreateContext(TGLWindow* window) override {
        if (!window || !MakeContextCurrent()) return false;
        window->contextMade = true;
        return true;
    }
    bool HasContext(const TGLWindow* window) override { return window && window->contextMade; }
    void Close(TGLWindow* window) override {
        if (!window) return;
        if (windows.context > 0) emscripten_webgl_destroy_context(windows.context);
        windows = TWebWindows{};
        delete window;
    }
    bool Size(TGLWindow* window, int* width, int* height) override {
        return window && emscripten_get_canvas_element_size(kCanvas, width, height) == EMSCRIPTEN_RESULT_SUCCESS;
    }
    void MakeCurrent(TGLWindow* window) override {
        if (window && window->contextMade)
            MakeContextCurrent();
        else
            emscripten_webgl_make_context_current(0);
    }
    bool MakeSharedCurrent() override { return MakeContextCurrent(); }
    bool SharedIsCurrent() override {
        return windows.context > 0 && emscripten_webgl_get_current_context() == windows.context;
    }
    // The browser shows a frame per animation frame, and the canvas's picture once the
    // animation frame's work is done: nothing to set or swap.
    void SetSwapInterval(TGLWindow*, int) override {}
    void Swap(TGLWindow*) override {}
    // A page cannot move the pointer.
    void MovePointer(TGLWindow*, int, int) override {}
    void* ProcAddress(const char* name) override { return emscripten_webgl_get_proc_address(name); }

protected:
    // The canvas takes the frame's size in pixels (the page scales it on screen); a page has
    // no display modes, so full screen is the page's own, by key or button.
    TGLWindow* OpenWindow(int width, int height, const char* title, const TGLWindowFormat&, bool, int,
                          const char** why) override {
        if (!StartVideo(why)) return nullptr;
        if (windows.window) {
            if (why) *why = "the page has one canvas, already in use";
            return nullptr;
        }
        emscripten_set_canvas_element_size(kCanvas, width, height);
        SetPageTitle(title);
        windows.window = new TGLWindow;
        return windows.window;
    }
};

}  // namespace

// The one web window driver of the page.
TWindowDriver* WebWindowDriver() {
    static TWebWindowDriver driver;
    return &driver;
}
