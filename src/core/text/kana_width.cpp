#include "core/text/kana_width.h"

#include <array>

namespace soramine::text {
namespace {

constexpr std::u16string_view kHiragana =
    u"あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわんを"
    u"がぎぐげござじずぜぞだぢづでどばびぶべぼ";
constexpr std::u16string_view kKatakana =
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワンヲ"
    u"ガギグゲゴザジズゼゾダヂヅデドバビブベボ";
static_assert(kHiragana.size() == 66 && kKatakana.size() == 66);

// One width class: its full-width characters against their half-width partners.
struct WidthClass {
    std::u16string_view full;
    std::u16string_view half;
};

constexpr WidthClass kAlphabet{
    u"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴ"
    u"ＵＶＷＸＹＺ",
    u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"};
constexpr WidthClass kDigits{u"１２３４５６７８９０", u"1234567890"};
constexpr WidthClass kKatakanaClass{
    u"。「」、・ァィゥェォーャュョッアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
    u"ミムメモ"
    u"ヤユヨラリルレロワンヲ",
    u"｡｢｣､･ｧｨｩｪｫｰｬｭｮｯｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝｦ"};
constexpr WidthClass kSymbols{u"！＃＄％＆’（）＝－＾｛＠｀｝；＋＿，．　［］",
                              u"!#$%&'()=-^{@`};+_,. []"};
static_assert(kAlphabet.full.size() == 52 && kAlphabet.half.size() == 52);
static_assert(kDigits.full.size() == 10 && kDigits.half.size() == 10);
static_assert(kKatakanaClass.full.size() == 61 && kKatakanaClass.half.size() == 61);
static_assert(kSymbols.full.size() == 23 && kSymbols.half.size() == 23);

// Voiced katakana: entry i is full[i] against the half-width pair half[2i], half[2i + 1].
constexpr std::u16string_view kVoicedFull = u"ヴガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ";
constexpr std::u16string_view kVoicedHalf = u"ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";
static_assert(kVoicedFull.size() == 26 && kVoicedHalf.size() == 52);

// Each character of `s` found in `from` becomes the character at the same place in `to`.
// The two lists share no character, so one pass gives what replacing list entry by list entry
// in turn gives.
std::u16string mapped(std::u16string_view s, std::u16string_view from, std::u16string_view to) {
    std::u16string out(s);
    for (char16_t& c : out) {
        if (const auto at = from.find(c); at != std::u16string_view::npos)
            c = to[at];
    }
    return out;
}

// The enabled classes, in the order アルファベット, 数字, カタカナ, 記号.
std::array<const WidthClass*, 4> classesOf(WidthClasses classes) {
    return {classes.alphabet ? &kAlphabet : nullptr, classes.digits ? &kDigits : nullptr,
            classes.katakana ? &kKatakanaClass : nullptr, classes.symbols ? &kSymbols : nullptr};
}

// The partner of `c` in the enabled classes, or `c` itself.
char16_t partner(char16_t c, WidthClasses classes, bool toHalf) {
    for (const WidthClass* cls : classesOf(classes)) {
        if (!cls)
            continue;
        const std::u16string_view from = toHalf ? cls->full : cls->half;
        if (const auto at = from.find(c); at != std::u16string_view::npos)
            return (toHalf ? cls->half : cls->full)[at];
    }
    return c;
}

}  // namespace

std::u16string hiraganaToKatakana(std::u16string_view s) {
    return mapped(s, kHiragana, kKatakana);
}

std::u16string katakanaToHiragana(std::u16string_view s) {
    return mapped(s, kKatakana, kHiragana);
}

std::u16string toHalfWidth(std::u16string_view s, WidthClasses classes) {
    std::u16string out;
    out.reserve(s.size());
    for (const char16_t c : s) {
        const auto voiced = classes.katakana ? kVoicedFull.find(c) : std::u16string_view::npos;
        if (voiced != std::u16string_view::npos)
            out.append(kVoicedHalf.substr(2 * voiced, 2));
        else
            out += partner(c, classes, true);
    }
    return out;
}

std::u16string toFullWidth(std::u16string_view s, WidthClasses classes) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (classes.katakana && i + 1 < s.size()) {
            // Pairs lie at even offsets of the half-width list.
            std::size_t at = kVoicedHalf.find(s.substr(i, 2));
            while (at != std::u16string_view::npos && at % 2 != 0)
                at = kVoicedHalf.find(s.substr(i, 2), at + 1);
            if (at != std::u16string_view::npos) {
                out += kVoicedFull[at / 2];
                ++i;
                continue;
            }
        }
        out += partner(s[i], classes, false);
    }
    return out;
}

}  // namespace soramine::text
