#include "core/app/update_check.h"

#include "core/text/cp932.h"
#include "core/text/strings.h"

namespace soramine::app {
namespace {

constexpr std::u16string_view kProductWord = u"Tokiwa";
constexpr std::u16string_view kCaption = u"ソラミネ";

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

}  // namespace

std::u16string versionText(std::u16string_view digits) {
    std::u16string text(digits);
    text.insert(text.size() >= 2 ? text.size() - 2 : 0, u".");
    return text;
}

std::u16string versionLine() {
    return u"ソラミネ　Version " + versionText(text::decimal(kProgramVersion));
}

UpdateAddresses readUpdateAddresses(const IniFile& ini) {
    return {ini.readString(u"詳細設定", u"アップデートURL", kDefaultCheckUrl),
            ini.readString(u"詳細設定", u"WEBサイト", kDefaultWebPage)};
}

std::u16string updateRequestUrl(std::u16string_view checkUrl) {
    return std::u16string(checkUrl) + u"?app=TokiwaD&ver=" + text::decimal(kProgramVersion);
}

UpdateReply parseUpdateReply(std::string_view body) {
    const std::u16string reply = text::fromCp932(body.substr(0, kMaxReplyBytes));
    if (!reply.starts_with(kProductWord))
        return {};
    std::u16string_view rest = reply;
    if (const auto dash = rest.find(u'-'); dash != std::u16string_view::npos)
        rest.remove_prefix(dash + 1);
    while (!rest.empty() && isSpace(rest.front()))
        rest.remove_prefix(1);
    while (!rest.empty() && isSpace(rest.back()))
        rest.remove_suffix(1);
    if (text::leadingInt(rest) > kProgramVersion)
        return {UpdateAnswer::Newer, versionText(rest)};
    return {UpdateAnswer::NotNewer, {}};
}

Message newerVersionQuestion(std::u16string_view shownVersion) {
    return {u"\"Version " + std::u16string(shownVersion) +
                u"\" にバージョンアップしています。\r\nwebページを開きますか？",
            std::u16string(kCaption), Icon::Question};
}

Message noNewerVersionMessage() {
    return {u"バージョンアップはありません。", std::u16string(kCaption), Icon::Information};
}

}  // namespace soramine::app
