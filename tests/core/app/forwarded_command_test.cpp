#include "core/app/forwarded_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace soramine::app {
namespace {

using soramine::testing::utf8;

std::vector<std::string> utf8All(const std::vector<std::u16string>& tokens) {
    std::vector<std::string> out;
    for (const auto& t : tokens)
        out.push_back(utf8(t));
    return out;
}

TEST(SplitCommandLine, TokensAsTheRunningInstanceReadsThem) {
    struct Case {
        const char* label;
        std::u16string text;
        std::int64_t count;
        std::vector<std::string> tokens;
    } cases[] = {
        {"program only", u"\"/usr/bin/soramine\"", 1, {"/usr/bin/soramine"}},
        {"quoted paths", u"\"/p\" \"/a b/c\" \"/d\"", 3, {"/p", "/a b/c", "/d"}},
        {"plain tokens end at a space", u"\"/p\" /a /b", 3, {"/p", "/a", "/b"}},
        {"last token takes the rest", u"\"/p\" /a b c ", 2, {"/p", "/a b c"}},
        {"last token loses its quotes", u"\"/p\"  \"/a b\"  ", 2, {"/p", "/a b"}},
        {"spaces between tokens skipped", u"\"/p\"   /a    /b", 3, {"/p", "/a", "/b"}},
        {"count larger than the tokens", u"\"/p\" /a", 9, {"/p", "/a"}},
        {"count zero", u"\"/p\" /a", 0, {}},
        {"negative count", u"\"/p\" /a", -5, {}},
        {"unclosed quote takes the rest", u"\"/p\" \"/a b /c", 3, {"/p", "/a b /c"}},
        {"unclosed last quote", u"\"/p\" \"/a b", 2, {"/p", "/a b"}},
        {"lone quote", u"\"", 2, {""}},
        {"empty text", u"", 3, {}},
        {"a lower-case c is a token", u"\"/p\" c /x", 3, {"/p", "c", "/x"}},
        {"quote inside a plain token", u"\"/p\" a\"b /x", 3, {"/p", "a\"b", "/x"}},
        {"japanese", u"\"/p\" \"/写真 2024/ア.jpg\"", 2, {"/p", "/写真 2024/ア.jpg"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8All(splitCommandLine(c.text, c.count)), c.tokens) << c.label;
}

TEST(ForwardedCommand, PathsSurviveTheTripWhole) {
    const std::u16string longPath = u"/" + std::u16string(4000, u'x') + u"/a b.jpg";
    using Paths = std::vector<std::u16string>;
    struct Case {
        const char* label;
        Paths args;
        Paths received;
    } cases[] = {
        {"no arguments", {}, {}},
        {"spaces", {u"/a b/c d", u"/e"}, {u"/a b/c d", u"/e"}},
        {"longer than 260", {longPath, u"/short"}, {longPath, u"/short"}},
        {"long last path", {u"/short", longPath}, {u"/short", longPath}},
        {"lower-case c", {u"c", u"/x y"}, {u"c", u"/x y"}},
        {"surrounding spaces", {u" /a ", u" /b "}, {u" /a ", u" /b "}},
        {"empty argument", {u"", u"/b"}, {u"/b"}},
    };
    for (const auto& c : cases) {
        const auto command = forwardedCommand(u"/usr/bin/soramine", c.args);
        ASSERT_TRUE(command) << c.label;
        EXPECT_EQ(command->count, static_cast<std::int32_t>(c.args.size() + 1)) << c.label;
        const auto decoded = decodeForwarded(encodeForwarded(*command));
        ASSERT_TRUE(decoded) << c.label;
        EXPECT_EQ(forwardedPaths(*decoded), c.received) << c.label;
    }
    EXPECT_FALSE(forwardedCommand(u"/p", Paths{u"/a\"b"}))
        << "a quote cannot be carried inside quotes";
}

TEST(ForwardedCommand, MessagesOfOtherShapesAreRefused) {
    const std::string good = encodeForwarded(ForwardedCommand{2, u"\"/p\" /a"});
    std::string oddSize = good;
    oddSize[4] = 3;
    std::string huge = good;
    huge[7] = 0x7F;
    std::string early = good;
    early[8 + 8] = '\0';
    early[8 + 9] = '\0';
    struct Case {
        const char* label;
        std::string bytes;
        bool ok;
    } cases[] = {
        {"well formed", good, true},
        {"empty", "", false},
        {"header only", good.substr(0, 8), false},
        {"truncated text", good.substr(0, good.size() - 1), false},
        {"trailing bytes", good + "x", false},
        {"odd text size", oddSize, false},
        {"announces more than the limit", huge, false},
        {"zero inside the text ends it", early, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeForwarded(c.bytes).has_value(), c.ok) << c.label;
    EXPECT_EQ(decodeForwarded(early)->commandLine, u"\"/p\"");
}

TEST(ForwardedCommand, HostileLinesEndWithoutHarm) {
    // A mebibyte of unbalanced quotes and spaces, with a count far beyond its tokens.
    std::u16string line;
    for (int i = 0; i < (1 << 19); ++i)
        line += (i % 3 == 0) ? u'"' : u' ';
    const auto tokens = splitCommandLine(line, 0x7FFFFFFF);
    EXPECT_LE(tokens.size(), line.size());
    const std::u16string many(1 << 20, u'a');
    EXPECT_EQ(forwardedPaths(ForwardedCommand{2, u"\"/p\" " + many}), std::vector{many});
}

}  // namespace
}  // namespace soramine::app
