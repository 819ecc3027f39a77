#include "core/text/cp932.h"

#include <gtest/gtest.h>

namespace soramine::text {
namespace {

TEST(Cp932, RoundTripsJapaneseText) {
    std::u16string text = u"メインフォルダ名0\u0007C:\\写真\\２００６\u0008～－①";
    std::string bytes = toCp932(text);
    EXPECT_EQ(bytes.substr(0, 2), "\x83\x81");  // "メ"
    EXPECT_EQ(fromCp932(bytes), text);
}

TEST(Cp932, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(toCp932(u"a\u00E9b\U0001F600c"), "a?b?c");
}

TEST(Cp932, UndefinedBytesDecodeToTheDefaultCharacter) {
    EXPECT_EQ(fromCp932(std::string("a\x85\x40", 3) + "b"), u"a\u30FB@b");
    EXPECT_EQ(fromCp932("\x82"), u"\u30FB");  // a lead byte at the end
}

}  // namespace
}  // namespace soramine::text
