#include "core/engine/rename_plan.h"

#include <bit>
#include <cstring>
#include <functional>

namespace soramine {
namespace {

// Whether two paths are the same, compared as bytes: quicker than comparing them as text,
// which goes unit by unit.
bool samePath(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

}  // namespace

void RenamePlan::add(std::u16string_view from, std::u16string_view to) {
    entries_.push_back(Entry{from, to});
}

std::size_t RenamePlan::slotOf(const Table& table, Key key, std::u16string_view path,
                               std::size_t hash) const {
    const std::size_t mask = table.size() - 1;
    const auto half = static_cast<std::uint32_t>(hash);
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = table[i];
        if (slot.entry == kEmpty ||
            (slot.hash == half && samePath(entries_[slot.entry].*key, path)))
            return i;
    }
}

bool RenamePlan::held(const Table& table, Key key, std::u16string_view path) const {
    return !table.empty() &&
           table[slotOf(table, key, path, std::hash<std::u16string_view>{}(path))].entry != kEmpty;
}

void RenamePlan::plan() {
    const std::size_t n = entries_.size();
    const std::hash<std::u16string_view> hash;
    // Always an empty slot, where a search ends.
    byFrom_.assign(std::bit_ceil(n + n / 2 + 1), Slot{});
    byTo_.assign(byFrom_.size(), Slot{});
    for (std::size_t i = 0; i < n; ++i) {
        const std::u16string_view from = entries_[i].from;
        const std::size_t fromHash = hash(from);
        Slot& slot = byFrom_[slotOf(byFrom_, &Entry::from, from, fromHash)];
        if (slot.entry == kEmpty)
            slot = {static_cast<std::uint32_t>(fromHash), static_cast<std::uint32_t>(i)};
    }
    for (std::size_t i = 0; i < n; ++i) {
        Entry& e = entries_[i];
        const std::size_t toHash = hash(e.to);
        Slot& winner = byTo_[slotOf(byTo_, &Entry::to, e.to, toHash)];
        if (winner.entry != kEmpty) {
            e.role = Role::kCollides;
            continue;
        }
        winner = {static_cast<std::uint32_t>(toHash), static_cast<std::uint32_t>(i)};
        // Each old path is wanted by one winner at most, so that waits form simple chains and
        // cycles.
        if (const std::uint32_t owner = byFrom_[slotOf(byFrom_, &Entry::from, e.to, toHash)].entry;
            owner != kEmpty) {
            e.role = Role::kFreed;
            entries_[owner].waitedBy = i;
        }
    }

    std::vector<bool> placed(n, false);
    // An entry, then the one waiting for it, and so on along the chain.
    const auto chainFrom = [&](std::size_t first, std::vector<Step>& out) {
        for (std::size_t i = first; i != kNone && !placed[i]; i = entries_[i].waitedBy) {
            placed[i] = true;
            out.push_back({i, StepKind::kRename});
        }
    };
    steps_.clear();
    steps_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (entries_[i].role == Role::kFree)
            chainFrom(i, steps_);
    }
    // Colliding entries, and the chains waiting for them, come after every other rename.
    std::vector<Step> last;
    for (std::size_t i = 0; i < n; ++i) {
        if (entries_[i].role == Role::kCollides)
            chainFrom(i, last);
    }
    // What is left lies on cycles.
    for (std::size_t i = 0; i < n; ++i) {
        if (placed[i])
            continue;
        placed[i] = true;
        steps_.push_back({i, StepKind::kPark});
        chainFrom(entries_[i].waitedBy, steps_);
        steps_.push_back({i, StepKind::kUnpark});
    }
    steps_.insert(steps_.end(), last.begin(), last.end());
}

}  // namespace soramine
