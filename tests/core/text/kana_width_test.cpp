#include "core/text/kana_width.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace soramine::text {
namespace {

using testing::utf8;

TEST(KanaWidth, KanaBothWays) {
    struct Case {
        std::u16string_view hiragana;
        std::u16string_view katakana;
    };
    // Pairs that convert into each other exactly.
    const Case pairs[] = {
        {u"ひらがな.txt", u"ヒラガナ.txt"},
        {u"をんわ", u"ヲンワ"},
        {u"がぎぐげござじずぜぞだぢづでどばびぶべぼ", u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ"},
    };
    for (const Case& c : pairs) {
        EXPECT_EQ(utf8(hiraganaToKatakana(c.hiragana)), utf8(c.katakana));
        EXPECT_EQ(utf8(katakanaToHiragana(c.katakana)), utf8(c.hiragana));
    }
    // Small kana, the ぱ row, ゐ, ゑ, ゔ and the long mark stay.
    EXPECT_EQ(utf8(hiraganaToKatakana(u"きゃぱゐゑゔっー")), utf8(u"キゃぱゐゑゔっー"));
    EXPECT_EQ(utf8(katakanaToHiragana(u"キャパヰヱヴッー")), utf8(u"きャパヰヱヴッー"));
}

TEST(KanaWidth, WidthConversions) {
    constexpr WidthClasses kLettersDigits{true, true, false, false};
    constexpr WidthClasses kDigitsOnly{false, true, false, false};
    constexpr WidthClasses kKatakanaOnly{false, false, true, false};
    constexpr WidthClasses kAll{true, true, true, true};
    struct Case {
        WidthClasses classes;
        std::u16string_view full;
        std::u16string_view half;
    };
    // Each row converts both ways.
    const Case cases[] = {
        {kLettersDigits, u"ａｚＡＺ０９", u"azAZ09"},
        {kDigitsOnly, u"ＡＢ１２", u"ＡＢ12"},
        {kKatakanaOnly, u"ガイド", u"ｶﾞｲﾄﾞ"},
        {kKatakanaOnly, u"ヴパピプペポ", u"ｳﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"},
        {kKatakanaOnly, u"「ア」、。・ー", u"｢ｱ｣､｡･ｰ"},
        {kKatakanaOnly, u"ァィゥェォャュョッヲン", u"ｧｨｩｪｫｬｭｮｯｦﾝ"},
        {kAll, u"ＩＭＧ＿０１　（コピー）．ｊｐｇ", u"IMG_01 (ｺﾋﾟｰ).jpg"},
        {kAll, u"！＃＄％＆’＝－＾｛＠｀｝；＋，［］", u"!#$%&'=-^{@`};+,[]"},
        {kAll, u"テスト漢字", u"ﾃｽﾄ漢字"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8(toHalfWidth(c.full, c.classes)), utf8(c.half)) << utf8(c.full);
        EXPECT_EQ(utf8(toFullWidth(c.half, c.classes)), utf8(c.full)) << utf8(c.half);
    }
    // Classes that are off stay; a voicing mark on its own, or after a letter that takes none,
    // stays half width; a pair split across an odd offset is not a pair.
    EXPECT_EQ(utf8(toHalfWidth(u"ガ１ａ", kLettersDigits)), utf8(u"ガ1a"));
    EXPECT_EQ(utf8(toFullWidth(u"ﾞｱﾞｶﾞ", kKatakanaOnly)), utf8(u"ﾞアﾞガ"));
    EXPECT_EQ(utf8(toFullWidth(u"ｶﾞ", kLettersDigits)), utf8(u"ｶﾞ"));
    // Symbols not in the class (the quotation mark, "~") stay.
    EXPECT_EQ(utf8(toFullWidth(u"\"~", kAll)), utf8(u"\"~"));
}

}  // namespace
}  // namespace soramine::text
