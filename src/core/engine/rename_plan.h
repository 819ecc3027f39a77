#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
    // are added in list order. The plan keeps the views: the paths stay where they are, unchanged,
    // while it is used.
    void add(std::u16string_view from, std::u16string_view to);
    // Makes room for `count` items.
    void reserve(std::size_t count) { entries_.reserve(count); }
    // Works out roles and order; call once after the last add().
    void plan();

    std::size_t size() const { return entries_.size(); }
    std::u16string_view from(std::size_t entry) const { return entries_[entry].from; }
    std::u16string_view to(std::size_t entry) const { return entries_[entry].to; }
    Role role(std::size_t entry) const { return entries_[entry].role; }
    // Every entry once (twice for a parked one), in the order to rename them.
    const std::vector<Step>& steps() const { return steps_; }
    // Whether an item of the run has `path` before the run (and moves away), or wants it.
    bool isOldPath(std::u16string_view path) const { return held(byFrom_, &Entry::from, path); }
    bool isNewPath(std::u16string_view path) const { return held(byTo_, &Entry::to, path); }

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    struct Entry {
        std::u16string_view from;
        std::u16string_view to;
        Role role = Role::kFree;
        std::size_t waitedBy = kNone;  // the entry that wants this one's old path
    };

    // An entry of a table and the low half of its path's hash, which is compared first.
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t entry = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = static_cast<std::uint32_t>(-1);
    using Table = std::vector<Slot>;
    using Key = std::u16string_view Entry::*;

    // The slot of `path` (whose hash is `hash`) in `table`, a table of entries by their `key`:
    // the slot holding its entry, or the empty one where that entry goes.
    std::size_t slotOf(const Table& table, Key key, std::u16string_view path,
                       std::size_t hash) const;
    bool held(const Table& table, Key key, std::u16string_view path) const;

    std::vector<Entry> entries_;
    std::vector<Step> steps_;
    // The entries by path, with open addressing in a power-of-two table at most two thirds
    // full: two small allocations for a whole run, where a map would make one per item (and a
    // page the process has not touched yet costs more than the search).
    Table byFrom_;  // each old path -> its entry
    Table byTo_;    // each new path -> the first entry that wants it
};

}  // namespace soramine
