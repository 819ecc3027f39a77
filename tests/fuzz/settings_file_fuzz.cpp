// Feeds arbitrary bytes to the saved-settings file parser and loads the page block into each
// page built so far, then runs the pages on a name with whatever settings were loaded. A page
// that loaded must save a file that loads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/engine/error_log.h"
#include "core/methods/add_text.h"
#include "core/methods/numbering.h"
#include "core/methods/replace.h"
#include "core/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    auto saved = parseSettingsFile(std::string(reinterpret_cast<const char*>(data), size), 15);
    if (!saved)
        return 0;
    AddTextPage add;
    NumberingPage numbering(add);
    ReplacePage replace;
    RunContext run;
    for (MethodPage* page : {static_cast<MethodPage*>(&numbering),
                             static_cast<MethodPage*>(&replace), static_cast<MethodPage*>(&add)}) {
        // Every page reads the block, whatever method the file names.
        auto thisPage = [&](int) { return page; };
        if (loadSavedPage(*saved, thisPage))
            continue;
        const std::string again =
            buildSettingsFile(saved->options, saved->folderText, saved->extensionText, *page);
        auto reread = parseSettingsFile(again, 15);
        if (!reread || loadSavedPage(*reread, thisPage) ||
            buildSettingsFile(saved->options, saved->folderText, saved->extensionText, *page) !=
                again)
            std::abort();
        if (!page->validate(run))
            page->transform({.name = u"name.ext", .folder = u"/a/b/", .k = 3}, run);
    }
    numberingSample(numbering.pattern.text, numbering.settings, u"1");
    return 0;
}
