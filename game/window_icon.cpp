#include "game/window_icon.h"

#include "assets/embedded.h"
#include "draw2d/pixmap.h"
#include "platform/platform.h"

namespace {

// The embedded copy of the 256-pixel icon the desktop's menu shows.
const char* const kIconFile = "io.github.kestrava.Kestrava.png";

}  // namespace

// The icon is decoded as the window opens, from the pixels decoded ahead when start-up asked.
bool UseDesktopIconForWindows() {
    const TEncodedPicture icon = DesktopIconBytes();
    if (!icon.data) return false;
    StartPixmapLoaders();
    SetWindowIconMaker([icon] {
        TPixmapPtr picture = LoadPixmap(icon.data, icon.length);
        // Tightly packed RGBA rows: four bytes a pixel keeps every row aligned, so pitch = width * 4.
        TPixmapPtr rgba = picture ? picture->Convert(PIXEL_RGBA8888) : nullptr;
        if (rgba && rgba->pitch == rgba->width * 4) SetWindowIcon(rgba->pixels, rgba->width, rgba->height);
    });
    return true;
}

// The icon's bytes, for start-up to decode ahead.
TEncodedPicture DesktopIconBytes() {
    const TEmbeddedFile file = EmbeddedFile(kIconFile);
    return {file.data, file.length};
}
