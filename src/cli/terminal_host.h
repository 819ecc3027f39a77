#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "core/engine/run.h"

namespace soramine::cli {

// What a run asks outside the core, answered from the command line: the destination folder
// of a move or copy after the run is --dest, the overwrite question is answered by
// --overwrite, messages go to stderr, and the clipboard's text is the content of
// --clipboard-file (standard input for "-"), read as code page 932 bytes when a method asks.
class TerminalHost final : public Host {
  public:
    TerminalHost(std::optional<std::u16string> destination, bool overwrite,
                 std::optional<std::string> clipboardFile = std::nullopt)
        : destination_(std::move(destination)),
          overwrite_(overwrite),
          clipboardFile_(std::move(clipboardFile)) {}

    // Nothing (the clipboard "cannot be opened") without --clipboard-file or when the file
    // cannot be read.
    std::optional<std::u16string> clipboardText() override;
    std::optional<std::u16string> chooseFolder(std::u16string_view title,
                                               std::u16string_view start) override;
    bool askYesNo(const Message& question) override;
    void showMessage(const Message& message) override;

    // How many items a message or a No answer left undone.
    int problems() const { return problems_; }

  private:
    std::optional<std::u16string> destination_;
    bool overwrite_;
    std::optional<std::string> clipboardFile_;
    int problems_ = 0;
};

// The progress of a run: one updating line "変更中です  k / n" on stderr when it is a
// terminal, nothing otherwise. Ctrl-C asks the run to stop after the current item, as
// "中止(&A)" does; a second Ctrl-C ends the program.
class TerminalProgress : public RunObserver {
  public:
    TerminalProgress();

    void begin(std::size_t steps) override;
    void step() override {}
    bool cancelled() override;
    void advance(std::size_t steps) override;
    void end() override;
    // Work inside one item (hashing a large file) takes the line over under its own caption.
    void beginItemWork(std::u16string_view caption, std::size_t steps) override;
    void advanceItemWork(std::size_t steps) override;
    void endItemWork() override;

    // Whether the run stopped because of Ctrl-C.
    bool wasCancelled() const { return wasCancelled_; }

  private:
    void draw(bool force);

    bool visible_;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    std::u16string itemCaption_;  // empty while no item work is shown
    std::size_t itemTotal_ = 0;
    std::size_t itemDone_ = 0;
    bool wasCancelled_ = false;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

// A message as one line on stderr: its caption, then its text.
void printMessage(const Message& message);

}  // namespace soramine::cli
