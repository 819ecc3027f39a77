#include "gui/ui_font.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace soramine::gui {
namespace {

// The installed families with Japanese characters whose Latin letters are proportional, in
// name order. Fontconfig marks the others monospaced or dual-width (every Latin letter of one
// width), which would make captions look like a terminal's.
std::vector<std::string> proportionalJapaneseFamilies() {
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(
        FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja")), &FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, FC_SPACING, nullptr), &FcObjectSetDestroy);
    if (!pattern || !objects)
        return {};
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), &FcFontSetDestroy);
    std::vector<std::string> families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing);
        FcChar8* family = nullptr;
        if (spacing == FC_PROPORTIONAL &&
            FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            families.emplace_back(reinterpret_cast<const char*>(family));
    }
    std::sort(families.begin(), families.end());
    return families;
}

}  // namespace

void useJapaneseUiFont() {
    QFont font = QApplication::font();
    // The family the font resolves to: the desktop's font is often a generic name.
    if (QFontDatabase::writingSystems(QFontInfo(font).family()).contains(QFontDatabase::Japanese))
        return;
    const std::vector<std::string> japanese = proportionalJapaneseFamilies();
    if (japanese.empty())
        return;
    font.setFamilies({QString::fromStdString(japanese.front())});
    QApplication::setFont(font);
}

}  // namespace soramine::gui
