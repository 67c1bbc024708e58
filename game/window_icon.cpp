#include "game/window_icon.h"

#include "assets/embedded.h"
#include "draw2d/pixmap.h"
#include "platform/glwindow.h"
#include "platform/stream.h"

namespace {

// The embedded copy of the 256-pixel icon the desktop's menu shows.
const char* const kIconFile = "io.github.kestrava.Kestrava.png";

}  // namespace

bool UseDesktopIconForWindows() {
    const TEmbeddedFile file = EmbeddedFile(kIconFile);
    if (!file.data) return false;
    StartPixmapLoaders();
    TPixmapPtr picture = LoadPixmap(CreateRamStream(file.data, file.length, 1, 0));
    if (!picture) return false;
    // Tightly packed RGBA rows: four bytes a pixel keeps every row aligned, so pitch = width * 4.
    TPixmapPtr rgba = picture->Convert(PIXEL_RGBA8888);
    if (!rgba || rgba->pitch != rgba->width * 4) return false;
    SetWindowIcon(rgba->pixels, rgba->width, rgba->height);
    return true;
}
