// Any bytes as an undo journal: reading never crashes, every entry stays inside its folder, and
// what was read, written again, reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/engine/journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    const auto journal = parseJournal(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!journal)
        return 0;
    std::string again = journalHeader(journal->started, journal->folder);
    for (const JournalEntry& e : journal->entries) {
        if (e.from.rfind(u'/') != e.to.rfind(u'/') ||
            e.from.substr(0, e.from.rfind(u'/')) != e.to.substr(0, e.to.rfind(u'/')))
            __builtin_trap();
        again += journalIntent(e.from, e.to);
        if (e.done)
            again += kJournalDone;
    }
    for (std::size_t i = 0; i < journal->entries.size(); ++i) {
        if (journal->entries[i].undone)
            again += journalUndone(i);
    }
    // Text that is not UTF-8 is carried as U+DC80.. units and written back as its bytes, so a
    // second reading gives the same journal.
    const auto reread = parseJournal(again);
    if (!reread || reread->entries != journal->entries || reread->folder != journal->folder)
        __builtin_trap();
    return 0;
}
