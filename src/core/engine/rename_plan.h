#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace soramine {

// The order in which a run that allows swaps ("入れ替え") renames its items, worked out from
// every item's old and new path before the first rename. An item whose new name is the old
// name of another item of the run waits until that item has moved away, so that a chain needs
// no temporary name (file100→file101 before file099→file100); a cycle (a→b, b→a) is broken by
// parking its first item under a temporary name, renaming the others, and then giving the
// parked item its new name. When several items want one name, the first in list order gets
// it; the others come last and meet the name as taken ("[n]" or a failure).
class RenamePlan {
  public:
    // What an item's new name is to the rest of the run.
    enum class Role {
        kFree,      // no other item of the run has it or wants it first
        kFreed,     // another item of the run has it and moves away first
        kCollides,  // an earlier item of the run wants it too
    };
    enum class StepKind {
        kRename,  // the item gets its new name
        kPark,    // the item of a cycle gets a temporary name
        kUnpark,  // the parked item gets its new name, once the rest of its cycle is done
    };
    struct Step {
        std::size_t entry;  // the index of the entry, in the order of add()
        StepKind kind;
    };

    // Adds an item that changes its name, `from` and `to` being full paths in one folder. Items
    // are added in list order.
    void add(std::u16string from, std::u16string to);
    // Works out roles and order; call once after the last add().
    void plan();

    std::size_t size() const { return entries_.size(); }
    const std::u16string& from(std::size_t entry) const { return entries_[entry].from; }
    const std::u16string& to(std::size_t entry) const { return entries_[entry].to; }
    Role role(std::size_t entry) const { return entries_[entry].role; }
    // Every entry once (twice for a parked one), in the order to rename them.
    const std::vector<Step>& steps() const { return steps_; }
    // Whether an item of the run has `path` before the run (and moves away), or wants it.
    bool isOldPath(std::u16string_view path) const { return owner_.contains(path); }
    bool isNewPath(std::u16string_view path) const { return winner_.contains(path); }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Entry {
        std::u16string from;
        std::u16string to;
        Role role = Role::kFree;
        std::size_t waitsFor = kNone;  // the entry whose old path this one wants
        std::size_t waitedBy = kNone;  // the entry that wants this one's old path
    };

    std::vector<Entry> entries_;
    std::vector<Step> steps_;
    std::unordered_map<std::u16string_view, std::size_t> owner_;   // old path -> entry
    std::unordered_map<std::u16string_view, std::size_t> winner_;  // new path -> first entry
};

}  // namespace soramine
