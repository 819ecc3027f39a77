#include "core/engine/error_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soramine {
namespace {

TEST(ErrorLog, AppendModeKeepsEveryLineAsGiven) {
    ErrorLog log;
    log.appendLog(u"置換後の文字数が多いです - /f/a.txt\r\n");
    log.appendLog(u"元に戻しました。");
    EXPECT_EQ(log.text(), u"置換後の文字数が多いです - /f/a.txt\r\n元に戻しました。");
    EXPECT_EQ(log.takeCaptured(), u"");
    log.clear();
    EXPECT_EQ(log.text(), u"");
}

TEST(ErrorLog, CaptureModeKeepsTheMessageOfTheLastLine) {
    struct Case {
        std::vector<std::u16string> lines;
        std::u16string slot;
    };
    const Case cases[] = {
        {{}, u""},
        {{u"置換後の文字数が多いです - /f/a.txt\r\n"}, u"置換後の文字数が多いです"},
        {{u"A - /f/a - b\r\n"}, u"A"},
        {{u"first - /f/a\r\n", u"second - /f/a\r\n"}, u"second"},
        {{u"first - /f/a\r\n", u"no separator\r\n"}, u""},
        {{u" - /f/a\r\n"}, u""},
        {{u"A-B - /f/a\r\n"}, u"A-B"},
    };
    for (const Case& c : cases) {
        ErrorLog log;
        log.appendLog(u"kept\r\n");
        log.startCapture();
        for (const auto& line : c.lines)
            log.appendLog(line);
        EXPECT_EQ(log.takeCaptured(), c.slot);
        EXPECT_EQ(log.takeCaptured(), u"") << "reading empties the slot";
        log.endCapture();
        EXPECT_EQ(log.text(), u"kept\r\n") << "a capture never reaches the text";
        log.appendLog(u"after\r\n");
        EXPECT_EQ(log.text(), u"kept\r\nafter\r\n");
    }
}

}  // namespace
}  // namespace soramine
