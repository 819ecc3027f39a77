#include "core/items/extension_filter.h"

#include <gtest/gtest.h>

namespace soramine {
namespace {

using Names = std::vector<std::u16string>;

TEST(ExtensionFilter, ParsesTokens) {
    struct Case {
        std::u16string text;
        Names include, exclude;
    } cases[] = {
        {u"jpg gif", {u"jpg", u"gif"}, {}},
        {u"*.jpg", {u"jpg"}, {}},
        {u"*", {u"*"}, {}},
        {u"* -txt", {u"*"}, {u"txt"}},
        {u"  .JPG\u3000png  ", {u"JPG", u"png"}, {}},
        {u"jpg  gif", {u"jpg", u"", u"gif"}, {}},  // two spaces: an empty inclusion token
        {u"-txt -log", {}, {u"txt", u"log"}},
        {u"フォルダモード", {}, {}},
        {u"a b c d e f g h i j k l",
         {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"},
         {}},
    };
    for (const auto& c : cases) {
        ExtensionFilter f = parseExtensionFilter(c.text);
        EXPECT_EQ(f.includeExtensions, c.include);
        EXPECT_EQ(f.excludeExtensions, c.exclude);
    }
}

TEST(ExtensionFilter, AcceptsByExtensionIgnoringCase) {
    struct Case {
        std::u16string filter, name;
        bool taken;
    } cases[] = {
        {u"jpg -jpg", u"a.jpg", false},  // exclusion is tested first
        {u".JPG", u"a.jpg", true},      {u"*", u"README", true},
        {u"txt", u"txt", true},  // a name without a dot is its own extension
        {u"txt", u"a.txt.bak", false},  {u"* -txt", u"notes.TXT", false},
        {u"jpg  gif", u"a.", true},  // the empty token matches an empty extension
        {u"jpg", u"jpg.png", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseExtensionFilter(c.filter).accepts(c.name), c.taken);
    }
}

}  // namespace
}  // namespace soramine
