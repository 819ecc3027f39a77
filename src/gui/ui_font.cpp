#include "gui/ui_font.h"

#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QFont>
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

// Whether the font fontconfig matches for the family has Japanese characters. The desktop's
// font is often a generic name ("Sans Serif"); the font it is drawn in is this match, which is
// asked here without loading it.
bool matchHasJapanese(const QString& family) {
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          &FcPatternDestroy);
    if (!pattern)
        return false;
    FcPatternAddString(pattern.get(), FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> match(
        FcFontMatch(nullptr, pattern.get(), &result), &FcPatternDestroy);
    FcLangSet* languages = nullptr;
    return match && FcPatternGetLangSet(match.get(), FC_LANG, 0, &languages) == FcResultMatch &&
           FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")) !=
               FcLangDifferentLang;
}

}  // namespace

void useJapaneseUiFont() {
    QFont font = QApplication::font();
    if (matchHasJapanese(font.family()))
        return;
    const std::vector<std::string> japanese = proportionalJapaneseFamilies();
    if (japanese.empty())
        return;
    font.setFamilies({QString::fromStdString(japanese.front())});
    // Unhinted, as in print. Light hinting would only snap heights to pixels, and the Japanese
    // fonts found here mostly carry no hints of their own, so FreeType's auto-hinter would
    // first analyse the font's ten thousand glyphs and more: milliseconds of the window's start.
    font.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(font);
}

}  // namespace soramine::gui
