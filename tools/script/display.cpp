#include "tools/script/display.h"

#include <vector>

#include "draw2d/gl/gl_plane_driver.h"
#include "platform/desktop.h"
#include "platform/output_file.h"
#include "tools/script/png_encoder.h"

bool ScriptDisplay(TWindowDriver** window, TPlaneDriver** planeDriver) {
    *window = DesktopPlatform().window;
    *planeDriver = GLPlaneDriver();
    return true;
}

bool WritePng(const std::string& path, const std::string& what, const uint8_t* rgba, int width, int height,
              std::string* error) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
        rgb[i * 3 + 0] = rgba[i * 4 + 0];
        rgb[i * 3 + 1] = rgba[i * 4 + 1];
        rgb[i * 3 + 2] = rgba[i * 4 + 2];
    }
    TOutputFile file;
    if (!file.Open(path, what, TOutputFile::TMode::Whole, error)) return false;
    if (!EncodePng(&file, rgb.data(), width, height) && file.Error().empty()) {
        *error = "cannot write " + what + " " + path + ": the picture could not be encoded";
        return false;
    }
    return file.Close(error);
}
