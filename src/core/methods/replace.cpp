#include "core/methods/replace.h"

#include <algorithm>
#include <array>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"置換方法", &ReplaceSettings::mode, 0),
    intField(u"区別", &ReplaceSettings::caseSensitive, 1),
    intField(u"拡張子", &ReplaceSettings::ignoreExtension, 1),
    textField(u"位置", &ReplaceSettings::position, u"1"),
};

// The regular-expression flag's key is written only while the flag is on (and deleted when
// it goes off), so that a user who never turns it on keeps the section as it always was.
constexpr std::u16string_view kRegexKey = u"正規表現";

constexpr auto kRecords = std::to_array<RecordField<ReplacePage>>({
    {1234, &ReplaceSettings::ignoreExtension},
    {1049, &ReplaceSettings::mode},
    {1035, &ReplacePage::search},
    {1070, &ReplaceSettings::caseSensitive},
    {1051, &ReplaceSettings::position},
    {1036, &ReplacePage::replacement},
});

// The regular-expression flag is a record of its own after the six above, written only while
// the flag is on: a file without it is the plain six-record block, and a reader that takes
// six records and their texts by offset reads a file with it just the same.
constexpr std::uint32_t kRegexRecordId = 9001;

}  // namespace

void replaceWildcardMatch(std::u16string& work, std::u16string_view search,
                          std::u16string_view replacement, bool caseSensitive, bool folderMode) {
    const std::size_t star = search.find(u'*');
    std::u16string a(search.substr(0, star));
    std::u16string b(search.substr(star + 1));
    std::u16string hay = work;
    if (!caseSensitive) {
        a = text::upperAscii(a);
        b = text::upperAscii(b);
        hay = text::upperAscii(hay);
    }
    const std::size_t start = a.empty() ? 0 : hay.find(a);
    if (start == std::u16string::npos)
        return;
    std::size_t end;
    if (!b.empty()) {
        end = hay.find(b, start + a.size());
        if (end == std::u16string::npos)
            return;
        end += b.size();
    } else {
        const std::size_t dot = hay.rfind(u'.');
        end = (dot == std::u16string::npos || folderMode) ? hay.size() : dot;
    }
    if (end > start)
        work.erase(start, end - start);
    work.insert(start, replacement);
}

namespace {

// Replaces every `search` in `work`, letters a-z matching A-Z; inserted text is not searched.
void replaceIgnoringCase(std::u16string& work, std::u16string_view search,
                         std::u16string_view replacement) {
    const std::u16string upperSearch = text::upperAscii(search);
    const auto matchesAt = [&](std::size_t at) {
        for (std::size_t i = 0; i < upperSearch.size(); ++i) {
            if (text::upperAscii(work[at + i]) != upperSearch[i])
                return false;
        }
        return true;
    };
    std::u16string out;
    std::size_t copied = 0;
    for (std::size_t at = 0; at + search.size() <= work.size();) {
        if (!matchesAt(at)) {
            ++at;
            continue;
        }
        out.append(work, copied, at - copied).append(replacement);
        at += search.size();
        copied = at;
    }
    if (copied == 0)
        return;  // no match
    out.append(work, copied);
    work = std::move(out);
}

// The refusal of a pattern or a reference, with the library's reason and the 1-based position.
Message regexMessage(std::u16string_view what, const text::RegexError& error) {
    return errorMessage(std::u16string(what) + u"\r\n" +
                        text::decimal(static_cast<long long>(error.offset) + 1) + u"文字目: " +
                        error.message);
}

// "$" in a folder's name is a plain character in a regular expression's replacement.
std::u16string escapedDollars(std::u16string name) {
    text::replaceAll(name, u"$", u"$$");
    return name;
}

}  // namespace

std::span<const IniField<ReplaceSettings>> replaceSettingsFields() {
    return kFields;
}

ReplacePage::ReplacePage()
    : search{std::u16string(kReplaceSection), u"変更前", u"new", {}, u"new"},
      replacement{std::u16string(kReplaceSection), u"変更後", u"after", {}, u"after"} {
    applyDefaults(replaceSettingsFields(), settings);
}

void ReplacePage::readIni(const IniFile& ini) {
    readFields(ini, kReplaceSection, replaceSettingsFields(), settings);
    settings.regex = ini.readInt(kReplaceSection, kRegexKey, 0) != 0;
}

void ReplacePage::writeIni(IniFile& ini) const {
    IniFile::Batch batch(ini);
    writeFields(ini, kReplaceSection, replaceSettingsFields(), settings);
    if (settings.regex)
        ini.writeInt(kReplaceSection, kRegexKey, 1);
    else
        ini.deleteKey(kReplaceSection, kRegexKey);
}

std::u16string repairedPosition(std::u16string_view typed) {
    return text::leadingInt(typed) < 1 ? std::u16string(u"1") : std::u16string(typed);
}

std::optional<Message> ReplacePage::validate(RunContext&) {
    if (settings.mode == 1) {
        if (settings.position.empty() || !text::consistsOf(settings.position, u"0123456789") ||
            text::leadingInt(settings.position) < 1)
            return errorMessage(u"変更位置が不正です。");
    } else if (settings.regex) {
        return compilePattern();
    } else if (std::count(search.text.begin(), search.text.end(), u'*') > 1) {
        return errorMessage(u"ワイルドカード\"*\"が二つ以上あります。");
    }
    return std::nullopt;
}

std::optional<Message> ReplacePage::compilePattern() {
    pattern_.reset();
    if (search.text.empty())
        return std::nullopt;  // an empty search text replaces nothing, as without the flag
    auto compiled = text::Regex::compile(search.text, settings.caseSensitive == 0);
    if (!compiled)
        return regexMessage(u"変更前の文字の正規表現が不正です。", compiled.error());
    if (auto refused = compiled->checkReplacement(replacement.text))
        return regexMessage(u"変更後の文字の参照が不正です。", *refused);
    pattern_ = std::move(*compiled);
    return std::nullopt;
}

std::u16string ReplacePage::transform(const ItemArgs& item, RunContext& run) {
    std::u16string work(item.name);
    std::u16string extension;
    if (settings.ignoreExtension) {
        const std::size_t dot = work.rfind(u'.');
        if (dot != std::u16string::npos) {
            extension = work.substr(dot);
            work.resize(dot);
        }
    }
    // The folder's name goes into the replacement text only, so that a "\" that is part of
    // an old name (possible outside Windows) stays as it is.
    std::u16string with = replacement.text;
    const bool regex = settings.mode == 0 && settings.regex;
    if (with.find(u'\\') != std::u16string::npos) {
        const std::u16string folderName = text::folderNameOf(item.folder);
        text::replaceAll(with, u'\\', regex ? escapedDollars(folderName) : folderName);
    }

    if (settings.mode == 1) {
        // Overwrites as many characters as the replacement has before the folder's name
        // is put in; the length check counts those too.
        const long long position = text::leadingInt(settings.position);
        const long long length = static_cast<long long>(replacement.text.size());
        if (position < 1 || static_cast<long long>(work.size()) < position - 1 + length) {
            run.log.appendLog(u"置換後の文字数が多いです - " + std::u16string(item.name) + u"\r\n");
            return std::u16string(item.name);
        }
        work.replace(position - 1, length, with);
    } else if (regex) {
        if (pattern_) {
            auto replaced = pattern_->replaceAll(work, with);
            if (!replaced) {
                run.log.appendLog(u"正規表現で置換できません(" + replaced.error().message +
                                  u") - " + std::u16string(item.name) + u"\r\n");
                return std::u16string(item.name);
            }
            work = std::move(*replaced);
        }
    } else if (search.text.find(u'*') != std::u16string::npos) {
        replaceWildcardMatch(work, search.text, with, settings.caseSensitive != 0,
                             run.env.folderMode);
    } else if (!search.text.empty()) {
        if (settings.caseSensitive)
            text::replaceAll(work, search.text, with);
        else
            replaceIgnoringCase(work, search.text, with);
    }
    work += extension;
    return work;
}

void ReplacePage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
    if (settings.regex)
        out.number(kRegexRecordId, 1);
}

bool ReplacePage::loadBlock(BlockReader& in) {
    auto loaded = readRecords(kRecords, *this, in);
    if (!loaded)
        return false;
    const auto extra = in.records(1);
    loaded->settings.regex =
        extra && extra->front().id == kRegexRecordId && extra->front().number();
    std::move(*loaded).applyTo(*this);
    return true;
}

std::vector<HistoryBox*> ReplacePage::histories() {
    return {&search, &replacement};
}

std::vector<NamedSetting> ReplacePage::namedSettings() {
    std::vector<NamedSetting> named =
        namedSettingsOf(replaceSettingsFields(), settings, {&search, &replacement});
    named.push_back({kRegexKey, &settings.regex});
    return named;
}

std::vector<TextSetting> ReplacePage::textSettings() {
    // "*" is the wildcard of the search text, "\" the folder's name in the replacement. A
    // regular expression needs every character, so its box is not repaired; the names it
    // makes are checked as every new name is.
    if (settings.regex)
        return {textSettingOf(replacement, text::ForbiddenSet::NoBackslash)};
    return {textSettingOf(search, text::ForbiddenSet::NoAsterisk),
            textSettingOf(replacement, text::ForbiddenSet::NoBackslash)};
}

}  // namespace soramine
