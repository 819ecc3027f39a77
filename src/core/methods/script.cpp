#include "core/methods/script.h"

#include <array>

#include "core/engine/error_log.h"
#include "core/methods/replace.h"
#include "core/platform/clock.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr auto kRecords = std::to_array<RecordField<ScriptPage>>({
    {1218, &ScriptSettings::script},
});

constexpr std::size_t kTimeLength = 19;

// The code of one line, or nothing when the line is invalid.
std::optional<ScriptCode> parseLine(std::u16string_view line) {
    using Kind = ScriptCode::Kind;
    if (line.empty() || line.front() != u'<')
        return std::nullopt;
    const std::size_t close = line.find(u'>');
    if (close == std::u16string_view::npos)
        return std::nullopt;
    const char16_t fourth = line.size() > 3 ? line[3] : u'\0';
    if (line.find(u'→') != std::u16string_view::npos) {
        const std::size_t open = line.find(u'<', close + 1);
        if (open == std::u16string_view::npos)
            return std::nullopt;
        const std::size_t end = line.find(u'>', open + 1);
        if (end == std::u16string_view::npos)
            return std::nullopt;
        return ScriptCode{Kind::kReplace, std::u16string(line.substr(1, close - 1)),
                          std::u16string(line.substr(open + 1, end - open - 1))};
    }
    const std::u16string_view rest = line.substr(close + 1);
    if (line.find(u"<\\A") != std::u16string_view::npos)
        return ScriptCode{Kind::kAdd, fourth == u'F' ? u"F" : u"B", std::u16string(rest)};
    if (line.find(u"<\\T") != std::u16string_view::npos && rest.size() == kTimeLength)
        return ScriptCode{Kind::kTime, fourth == u'M' ? u"M" : u"C", std::u16string(rest)};
    return std::nullopt;
}

void addText(std::u16string& work, const ScriptCode& code) {
    const std::size_t dot = code.first == u"F" ? std::u16string::npos : work.rfind(u'.');
    work.insert(dot == std::u16string::npos ? 0 : dot, code.second);
}

}  // namespace

ParsedScript parseScript(std::u16string_view script) {
    while (!script.empty() && (script.back() == u'\r' || script.back() == u'\n'))
        script.remove_suffix(1);
    ParsedScript parsed;
    int number = 0;
    // A line ends at "\r\n"; a lone "\n" (a script typed on another system) ends it too.
    for (std::size_t start = 0; start <= script.size();) {
        std::size_t end = script.find(u'\n', start);
        if (end == std::u16string_view::npos)
            end = script.size();
        std::u16string_view line = script.substr(start, end - start);
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        ++number;
        if (auto code = parseLine(line))
            parsed.codes.push_back(std::move(*code));
        else
            parsed.invalidLines.push_back(number);
        start = end + 1;
    }
    return parsed;
}

std::optional<platform::FileTime> scriptTime(std::u16string_view value) {
    if (value.size() != kTimeLength)
        return std::nullopt;
    const auto field = [&](std::size_t at, std::size_t length) {
        return text::leadingInt(value.substr(at, length));
    };
    const platform::LocalTime wanted{field(0, 4),  field(5, 2),  field(8, 2),
                                     field(11, 2), field(14, 2), field(17, 2)};
    if (wanted.year < 1900 || wanted.month < 1 || wanted.month > 12 || wanted.day < 1 ||
        wanted.day > 31 || wanted.hour < 0 || wanted.hour > 23 || wanted.minute < 0 ||
        wanted.minute > 59 || wanted.second < 0 || wanted.second > 59)
        return std::nullopt;
    const auto moment = platform::fromLocalTime(wanted);
    // The system moves a day the month lacks, or a time that a clock change skips, to
    // another moment: such a value names no time of its own.
    if (!moment || platform::toLocalTime(*moment) != wanted)
        return std::nullopt;
    return moment;
}

ScriptPage::ScriptPage() : settings{std::u16string(kDefaultScript)} {}

std::optional<Message> ScriptPage::validate(RunContext& run) {
    ParsedScript parsed = parseScript(settings.script);
    for (const int line : parsed.invalidLines)
        run.log.appendLog(text::decimal(line) + u"行目の書式が不正です\r\n");
    codes_ = std::move(parsed.codes);
    if (codes_.empty())
        return errorMessage(u"書式が不正です。");
    return std::nullopt;
}

std::u16string ScriptPage::transform(const ItemArgs& item, RunContext& run) {
    std::u16string work(item.name);
    for (const ScriptCode& code : codes_) {
        switch (code.kind) {
            case ScriptCode::Kind::kReplace:
                if (code.first.find(u'*') != std::u16string::npos)
                    replaceWildcardMatch(work, code.first, code.second, true, run.env.folderMode);
                else if (!code.first.empty())
                    text::replaceAll(work, code.first, code.second);
                break;
            case ScriptCode::Kind::kAdd:
                addText(work, code);
                break;
            case ScriptCode::Kind::kTime:
                break;  // apply() sets the time, and only when the script is executed
        }
    }
    return work;
}

void ScriptPage::apply(const ItemArgs& item, RunContext& run) {
    const std::u16string path = std::u16string(item.folder) + std::u16string(item.name);
    const auto logLine = [&](std::u16string_view message) {
        run.log.appendLog(std::u16string(message) + u" - " + path + u"\r\n");
    };
    for (const ScriptCode& code : codes_) {
        if (code.kind != ScriptCode::Kind::kTime)
            continue;
        const auto moment = scriptTime(code.second);
        if (!moment) {
            logLine(u"日時が不正です(" + code.second + u")");
            continue;
        }
        const bool creation = code.first == u"M";
        if (creation && !platform::canSetCreationTime()) {
            logLine(u"このシステムでは作成日時を変更できません");
            continue;
        }
        const platform::Status set =
            creation ? platform::setTimes(path, moment, std::nullopt, std::nullopt)
                     : platform::setTimes(path, std::nullopt, moment, std::nullopt);
        if (!set)
            logLine(platform::isAccessDenied(set.error()) ? u"書き換え禁止で変更できません"
                                                          : u"書き換えエラー");
    }
}

void ScriptPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool ScriptPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<StoredText> ScriptPage::storedTexts() {
    return {{kScriptKey, &settings.script}};
}

std::vector<NamedSetting> ScriptPage::namedSettings() {
    return {{kScriptKey, nullptr, &settings.script}};
}

}  // namespace soramine
