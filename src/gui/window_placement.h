#pragma once

#include <string_view>

#include "core/app/ini_file.h"

class QWidget;

namespace soramine::gui {

// Puts a window where the INI key of section "ウインドウ" says; a missing or damaged record
// leaves it where it is.
void restorePlacement(QWidget* window, const IniFile& ini, std::u16string_view key);
// Writes the window's normal rectangle and whether it is maximised to that key.
void savePlacement(const QWidget* window, IniFile& ini, std::u16string_view key);

}  // namespace soramine::gui
