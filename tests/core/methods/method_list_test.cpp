#include "core/methods/method_list.h"

#include <gtest/gtest.h>

#include "core/engine/error_log.h"
#include "core/methods/date_in_name.h"
#include "core/methods/numbering.h"

namespace soramine {
namespace {

TEST(MethodList, HoldsTheFifteenMethodsInBoxOrder) {
    const std::u16string_view texts[] = {
        u"連番",     u"置換",           u"追加", u"削除 / 抽出", u"MP3",
        u"拡張子",   u"タイムスタンプ", u"日時", u"テキスト",    u"ハッシュ",
        u"ランダム", u"並べ替え",       u"属性", u"スクリプト",  u"その他",
    };
    MethodTable table = makeMethodTable();
    ASSERT_EQ(table.size(), 15u);
    RunContext run;
    for (int i = 0; i < 15; ++i) {
        MethodPage* page = table.page(i);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->comboText(), texts[i]);
        EXPECT_EQ(table.indexOf(texts[i]), i);
        EXPECT_EQ(table.undoable(i), i != 12) << "attributes change files, not names";
    }
    // Only numbering and date in their add modes offer the add-text page as a second step.
    auto* numbering = dynamic_cast<NumberingPage*>(table.page(0));
    ASSERT_NE(numbering, nullptr);
    numbering->settings.mode = 0;
    EXPECT_FALSE(numbering->usesAddText());
    numbering->settings.mode = 1;
    EXPECT_TRUE(numbering->usesAddText());
    for (int i = 1; i < 15; ++i)
        EXPECT_FALSE(table.page(i)->usesAddText()) << i;
    auto* date = dynamic_cast<DatePage*>(table.page(7));
    ASSERT_NE(date, nullptr);
    date->settings.addMode = 1;
    EXPECT_TRUE(date->usesAddText());

    EXPECT_EQ(table.page(-1), nullptr);
    EXPECT_EQ(table.page(15), nullptr);
    EXPECT_FALSE(table.undoable(15));
    EXPECT_EQ(table.indexOf(u"置き換え"), std::nullopt);
}

}  // namespace
}  // namespace soramine
