#include "core/app/update_check.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace soramine::app {
namespace {

using soramine::testing::utf8;

TEST(UpdateCheck, RepliesAsTheServerSendsThem) {
    // The digits begin at byte 101.
    const std::string cut = "Tokiwa-" + std::string(93, ' ') + "999";
    struct Case {
        const char* label;
        std::string body;
        UpdateAnswer answer;
        const char* shown;
    } cases[] = {
        {"same version", "Tokiwa-360", UpdateAnswer::NotNewer, ""},
        {"newer", "Tokiwa-361", UpdateAnswer::Newer, "3.61"},
        {"much newer", "Tokiwa-400\r\n", UpdateAnswer::Newer, "4.00"},
        {"older", "Tokiwa-359", UpdateAnswer::NotNewer, ""},
        {"spaces around", "Tokiwa- \t 365 \n", UpdateAnswer::Newer, "3.65"},
        {"no dash reads the whole text", "Tokiwa", UpdateAnswer::NotNewer, ""},
        {"digits then text", "Tokiwa-401beta", UpdateAnswer::Newer, "401be.ta"},
        {"cut at 100 bytes", cut, UpdateAnswer::NotNewer, ""},
        {"another product", "Other-999", UpdateAnswer::Ignored, ""},
        {"lower case", "tokiwa-999", UpdateAnswer::Ignored, ""},
        {"empty", "", UpdateAnswer::Ignored, ""},
        {"binary", std::string("\0\xFF\x81Tokiwa-999", 12), UpdateAnswer::Ignored, ""},
        {"an HTML page", "<html><body>Tokiwa-999</body></html>", UpdateAnswer::Ignored, ""},
    };
    for (const auto& c : cases) {
        const UpdateReply reply = parseUpdateReply(c.body);
        EXPECT_EQ(reply.answer, c.answer) << c.label;
        EXPECT_EQ(utf8(reply.shownVersion), c.shown) << c.label;
    }
}

TEST(UpdateCheck, TextsOfTheVersion) {
    EXPECT_EQ(utf8(versionLine()), "ソラミネ　Version 3.60");
    EXPECT_EQ(utf8(newerVersionQuestion(u"4.00").text),
              "\"Version 4.00\" にバージョンアップしています。\r\nwebページを開きますか？");
    EXPECT_EQ(utf8(versionText(u"7")), ".7");
    EXPECT_EQ(utf8(updateRequestUrl(u"http://127.0.0.1:8080/cgi/upcheck.cgi")),
              "http://127.0.0.1:8080/cgi/upcheck.cgi?app=TokiwaD&ver=360");
}

}  // namespace
}  // namespace soramine::app
