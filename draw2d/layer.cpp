// Starting the drawing layer.
#include "draw2d/layer.h"

#include "assets/embedded.h"
#include "draw2d/font.h"
#include "draw2d/graphics.h"
#include "draw2d/null_plane_driver.h"
#include "draw2d/pixmap.h"
#include "draw2d/state.h"
#include "platform/stream.h"

void StartDrawLayer(TPlaneDriver* driver) {
    TDrawLayer& layer = DrawLayer();
    if (!layer.started) {
        layer.started = true;
        StartFontModule();
        TEmbeddedFile font = EmbeddedFile("gldrawtextfont.bin");
        if (font.data) IncbinAdd("gldrawtextfont.bin", font.data, font.length);
    }
    SetGraphicsDriver(driver ? driver : NullPlaneDriver(), GFX_DOUBLEBUFFER);
    StartPixmapLoaders();
}
