#include "core/engine/rename_plan.h"

namespace soramine {

void RenamePlan::add(std::u16string from, std::u16string to) {
    entries_.push_back(Entry{std::move(from), std::move(to)});
}

void RenamePlan::plan() {
    const std::size_t n = entries_.size();
    owner_.clear();
    winner_.clear();
    owner_.reserve(n);
    winner_.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        owner_.emplace(entries_[i].from, i);
    for (std::size_t i = 0; i < n; ++i) {
        Entry& e = entries_[i];
        if (!winner_.emplace(e.to, i).second) {
            e.role = Role::kCollides;
            continue;
        }
        // Each old path is wanted by one winner at most, so that waits form simple chains and
        // cycles.
        if (const auto it = owner_.find(e.to); it != owner_.end()) {
            e.role = Role::kFreed;
            e.waitsFor = it->second;
            entries_[it->second].waitedBy = i;
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
