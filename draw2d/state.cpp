// The drawing layer's one state record.
#include "draw2d/state.h"

TDrawLayer& DrawLayer() {
    static TDrawLayer layer;
    return layer;
}
