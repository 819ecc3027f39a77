#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace soramine {

class Host;
class RenameSession;

// What moving or copying after a run did: the problems shown through the host, and the rows
// whose folder changed.
struct TransferResult {
    std::size_t failures = 0;
    std::vector<std::size_t> changedRows;
};

// The move or copy after a run: asks the host for a destination (starting at the last one,
// settings.destination, which the choice replaces), then moveItems or copyItems.
TransferResult chooseDestination(RenameSession& session, Host& host,
                                 const std::vector<std::size_t>& rows);

// Moves the rows' items into `destination`, last row first; a moved row's folder becomes the
// destination. An existing target is replaced only when the host answers Yes, and is kept
// when the move then fails. Problems are shown through the host, captioned with the source,
// with the path concerned and the system's reason.
TransferResult moveItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
                         std::u16string_view destination);

// Copies the rows' items (a folder with everything in it, symbolic links as links) into
// `destination`; the rows do not change. An existing target is overwritten only when the
// host answers Yes (there is no shell here to ask about each conflict). A copy that fails
// stops, removes what it created, and is shown with the path and the system's reason.
TransferResult copyItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
                         std::u16string_view destination);

}  // namespace soramine
