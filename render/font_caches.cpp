#include "render/font_caches.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

CFontCacheRelease::~CFontCacheRelease() {
    cairo_debug_reset_static_data();
    FcFini();
}
