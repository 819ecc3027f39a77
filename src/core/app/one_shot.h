#pragma once

// The one-shot command lines that rename one or two files and end the program without a
// window: "C A B" swaps two names, "/h /c|/m|/s PATH" names a file after its digest and
// "/r N PATH" gives it N random characters. Both front ends call runOneShot().

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/expected.h"
#include "core/base/message.h"
#include "core/hash/file_digest.h"
#include "core/platform/fs.h"

namespace soramine::app {

// Why a one-shot rename did not happen.
struct RenameFailure {
    std::u16string path;  // the file whose rename (or reading) failed
    platform::OsError error;
    bool reading = false;   // the file could not be read for its digest
    bool sameFile = false;  // swap only: both paths name one file; nothing was renamed
    // Swap only: files that a roll-back could not give their old names back, where they are
    // now. Nothing is ever lost: at worst a file keeps its temporary name.
    std::vector<std::u16string> notRestored;
};

// Swaps the names of two files: B takes A's name within B's folder and A takes B's name
// within A's folder, through a temporary name (A + "_____.____"). A rename never replaces an
// existing file; when one fails, the renames already done are undone in reverse order. A
// failure names A or B, never the temporary name (only a file that a roll-back left there).
// Two paths of one file (also spelled differently, or hard links) are refused at once.
Expected<void, RenameFailure> swapNames(std::u16string_view a, std::u16string_view b);

using hash::DigestKind;

// Renames the file within its folder to its digest in upper-case hexadecimal followed by
// its extension (from the last "." of its name on; none without a "."). A file that cannot
// be read keeps its name. Returns the new path.
Expected<std::u16string, RenameFailure> renameToDigest(std::u16string_view path, DigestKind kind);

// `length` (1-255) characters drawn from "0-9a-z" and "A-Z" (62) by a generator seeded with
// `seed`.
std::u16string randomText(int length, std::uint32_t seed);
// Renames the file within its folder to randomText(length, seed) followed by its extension.
// Returns the new path.
Expected<std::u16string, RenameFailure> renameToRandom(std::u16string_view path, int length,
                                                       std::uint32_t seed);

// Whether a command line (the arguments after the program path) is a one-shot form: its
// first argument is exactly "C", "/h" or "/r" (a lower-case "c" is a path to import).
bool isOneShot(std::span<const std::u16string> args);

enum class OneShotStatus { Done, RenameFailed, BadArguments };

struct OneShotOutcome {
    OneShotStatus status = OneShotStatus::Done;
    std::optional<Message> message;  // what to show the user, if anything
};

// Carries out a one-shot command line. A "/h" with an unknown digest letter, an "/r" length
// outside 1-255, a missing path, or a line that is no one-shot form does nothing
// (BadArguments, no message). "C" with other than two paths, "C" with two paths of one file,
// and "/h" or "/r" with more than one path do nothing either, with a message (BadArguments).
// Random names are seeded with the tick count.
OneShotOutcome runOneShot(std::span<const std::u16string> args);

}  // namespace soramine::app
