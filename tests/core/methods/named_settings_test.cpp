#include "core/methods/named_settings.h"

#include <gtest/gtest.h>

#include "core/methods/method_list.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::utf8;
using text::ForbiddenSet;

TEST(NamedSettings, EachTextBoxDeclaresItsForbiddenCharacters) {
    struct Case {
        std::u16string_view method;
        std::u16string_view setting;
        ForbiddenSet forbidden;
    };
    const Case cases[] = {
        {u"置換", u"変更前", ForbiddenSet::NoAsterisk},
        {u"置換", u"変更後", ForbiddenSet::NoBackslash},
        {u"連番", u"変更名", ForbiddenSet::NoAsteriskNoBackslash},
        {u"追加", u"文字", ForbiddenSet::NoBackslash},
        {u"MP3", u"設定値", ForbiddenSet::NoBackslash},
        {u"拡張子", u"変更後", ForbiddenSet::All},
        {u"日時", u"形式", ForbiddenSet::NoBackslash},
        {u"並べ替え", u"並び順", ForbiddenSet::NoAngleBrackets},
    };
    MethodTable table = makeMethodTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        MethodPage* page = table.page(static_cast<int>(i));
        const std::vector<TextSetting> boxes = page->textSettings();
        const auto listed = std::count_if(std::begin(cases), std::end(cases), [&](const Case& c) {
            return c.method == page->comboText();
        });
        EXPECT_EQ(boxes.size(), static_cast<std::size_t>(listed)) << utf8(page->comboText());
        for (const TextSetting& box : boxes) {
            const auto c = std::find_if(std::begin(cases), std::end(cases), [&](const Case& c) {
                return c.method == page->comboText() && c.setting == box.name;
            });
            ASSERT_NE(c, std::end(cases)) << utf8(box.name);
            EXPECT_EQ(box.forbidden, c->forbidden) << utf8(box.name);
            // The box a front end repairs is the setting that runs and jobs use.
            const std::vector<NamedSetting> named = page->namedSettings();
            const auto same = std::find_if(named.begin(), named.end(), [&](const NamedSetting& n) {
                return n.name == box.name;
            });
            ASSERT_NE(same, named.end()) << utf8(box.name);
            EXPECT_EQ(same->text, box.text) << utf8(box.name);
        }
    }
}

}  // namespace
}  // namespace soramine
