#include "gui/font_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace soramine::gui {

FontConfigPreload::FontConfigPreload() {
    try {
        // The library keeps the configuration it loads as its current one, which the font
        // database then finds loaded.
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
}

}  // namespace soramine::gui
