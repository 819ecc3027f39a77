#pragma once

// The update check: the request the program sends to its update server and what it makes of
// the reply. The request goes to the URL of the INI key "アップデートURL" (section "詳細設定")
// with the query "app=TokiwaD&ver=360"; the reply is a short text such as "Tokiwa-361", of
// which at most the first 100 bytes are read.

#include <string>
#include <string_view>

#include "core/app/ini_file.h"
#include "core/base/message.h"

namespace soramine::app {

// The program's version, shown as "3.60".
inline constexpr int kProgramVersion = 360;
inline constexpr std::size_t kMaxReplyBytes = 100;

// A version number's text with a "." before its last two characters ("361" -> "3.61").
std::u16string versionText(std::u16string_view digits);
// "ソラミネ　Version 3.60".
std::u16string versionLine();

// Where the program asks and what it opens. Both are INI keys of "詳細設定" that the program
// only reads; their defaults are the project's own addresses.
struct UpdateAddresses {
    std::u16string checkUrl;  // "アップデートURL"
    std::u16string webPage;   // "WEBサイト"
};
inline constexpr std::u16string_view kDefaultCheckUrl =
    u"http://soramine.example.org/cgi/upcheck.cgi";
inline constexpr std::u16string_view kDefaultWebPage = u"https://soramine.example.org/";
UpdateAddresses readUpdateAddresses(const IniFile& ini);

// The check URL with the query of this version.
std::u16string updateRequestUrl(std::u16string_view checkUrl);

enum class UpdateAnswer { Ignored, Newer, NotNewer };
struct UpdateReply {
    UpdateAnswer answer = UpdateAnswer::Ignored;
    std::u16string shownVersion;  // "3.61", for Newer
};

// The reply's body (only its first kMaxReplyBytes count), in the system's ANSI code page.
// Ignored unless it begins with the product word "Tokiwa"; the version is the leading digits
// after the first "-" (the whole text without one), white space trimmed.
UpdateReply parseUpdateReply(std::string_view body);

// What the user sees: the offer to open the web page for a newer version, and, for a check
// the user asked for, that there is none.
Message newerVersionQuestion(std::u16string_view shownVersion);
Message noNewerVersionMessage();

}  // namespace soramine::app
