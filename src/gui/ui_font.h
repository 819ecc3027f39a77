#pragma once

namespace soramine::gui {

// Makes the application's font one that has Japanese characters. Where the desktop's font has
// none (a Latin font is common outside Japanese desktops), every caption would be drawn in
// pieces, Latin in the desktop's font and Japanese in a fallback font found and loaded for it;
// the same size and style in an installed Japanese family with proportional Latin letters
// draws each caption in one font, unhinted. Nothing changes where the desktop's font has
// Japanese or no such family is installed.
void useJapaneseUiFont();

}  // namespace soramine::gui
