// Any text as a script: parsing never fails, every line is either a code or a numbered invalid
// line, time codes hold exactly 19 units, and running the codes over a name never fails.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/methods/script.h"
#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    const std::u16string script =
        text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const ParsedScript parsed = parseScript(script);

    std::u16string_view trimmed = script;
    while (!trimmed.empty() && (trimmed.back() == u'\r' || trimmed.back() == u'\n'))
        trimmed.remove_suffix(1);
    std::size_t lines = 1;
    for (char16_t c : trimmed)
        lines += c == u'\n';
    if (parsed.codes.size() + parsed.invalidLines.size() != lines)
        __builtin_trap();
    int previous = 0;
    for (int line : parsed.invalidLines) {
        if (line <= previous || static_cast<std::size_t>(line) > lines)
            __builtin_trap();
        previous = line;
    }
    for (const ScriptCode& code : parsed.codes) {
        if (code.kind == ScriptCode::Kind::kTime) {
            if (code.second.size() != 19 || (code.first != u"M" && code.first != u"C"))
                __builtin_trap();
            (void)scriptTime(code.second);
        }
        if (code.kind == ScriptCode::Kind::kAdd && code.first != u"F" && code.first != u"B")
            __builtin_trap();
    }

    ScriptPage page;
    page.settings.script = script;
    RunContext run;
    if (page.validate(run).has_value() != parsed.codes.empty())
        __builtin_trap();
    for (bool folderMode : {false, true}) {
        run.env.folderMode = folderMode;
        (void)page.transform({.name = u"photo.tar.gz"}, run);
        (void)page.transform({.name = u""}, run);
    }
    return 0;
}
