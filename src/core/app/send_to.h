#pragma once

// The two "送る" (Send To) entries as file-manager actions: "ソラミネ(取り込み)" starts the
// program with the chosen files (imported into its list) and "ソラミネ(入れ替え)" swaps the
// names of two chosen files. Each is a Dolphin service menu and a Nautilus script under the
// user's data folder, made and removed only by the program's detailed settings.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/message.h"

namespace soramine::app {

enum class SendToAction { Import, Swap };

struct SendToFile {
    std::u16string path;
    std::string content;
    bool executable = false;
};

// The files of an action that runs `program`, under `dataHome` (ending in "/").
std::vector<SendToFile> sendToFiles(SendToAction action, std::u16string_view program,
                                    std::u16string_view dataHome);

// Makes the action's files; a file already there is kept as it is. A message names what
// could not be made, and why.
std::optional<Message> createSendTo(SendToAction action, std::u16string_view program,
                                    std::u16string_view dataHome);
// Removes the action's files that this program made (a file of the same name that is not
// one of ours stays). A message names what could not be removed.
std::optional<Message> deleteSendTo(SendToAction action, std::u16string_view dataHome);

}  // namespace soramine::app
