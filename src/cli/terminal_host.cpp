#include "cli/terminal_host.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>

#include "cli/terminal.h"
#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/cp932.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

std::atomic<bool> interrupted{false};

// A question or message on one line: its line breaks become spaces.
std::u16string oneLine(std::u16string text) {
    text::replaceAll(text, u"\r\n", u" ");
    text::replaceAll(text, u'\n', u" ");
    return text;
}

}  // namespace

std::optional<std::u16string> TerminalHost::clipboardText() {
    if (!clipboardFile_)
        return std::nullopt;
    std::string bytes;
    if (*clipboardFile_ == "-") {
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
            bytes.append(buffer, got);
        if (std::ferror(stdin))
            return std::nullopt;
    } else {
        auto content = platform::readFile(absolutePath(*clipboardFile_));
        if (!content)
            return std::nullopt;
        bytes = std::move(*content);
    }
    return text::fromCp932(bytes);
}

std::optional<std::u16string> TerminalHost::chooseFolder(std::u16string_view, std::u16string_view) {
    return destination_;
}

bool TerminalHost::askYesNo(const Message& question) {
    printError(u"確認: " + oneLine(question.text) + (overwrite_ ? u" → はい" : u" → いいえ"));
    if (!overwrite_)
        ++problems_;
    return overwrite_;
}

void TerminalHost::showMessage(const Message& message) {
    printMessage(message);
    ++problems_;
}

void printMessage(const Message& message) {
    printError(message.caption + u": " + oneLine(message.text));
}

TerminalProgress::TerminalProgress() : visible_(platform::stderrIsTerminal()) {
    interrupted = false;
    platform::setInterruptFlag(&interrupted);
}

void TerminalProgress::begin(std::size_t steps) {
    total_ = steps;
    done_ = 0;
    draw(true);
}

bool TerminalProgress::cancelled() {
    if (interrupted)
        wasCancelled_ = true;
    return wasCancelled_;
}

void TerminalProgress::advance(std::size_t steps) {
    done_ = std::min(total_, done_ + steps);
    draw(false);
}

void TerminalProgress::end() {
    if (visible_)
        std::fputs("\r\033[K", stderr);
    interrupted = false;
}

void TerminalProgress::beginItemWork(std::u16string_view caption, std::size_t steps) {
    itemCaption_ = caption;
    itemTotal_ = steps;
    itemDone_ = 0;
    draw(true);
}

void TerminalProgress::advanceItemWork(std::size_t steps) {
    itemDone_ = std::min(itemTotal_, itemDone_ + steps);
    draw(false);
}

void TerminalProgress::endItemWork() {
    itemCaption_.clear();
    draw(true);
}

void TerminalProgress::draw(bool force) {
    if (!visible_)
        return;
    const bool inItem = !itemCaption_.empty();
    const std::size_t done = inItem ? itemDone_ : done_;
    const std::size_t total = inItem ? itemTotal_ : total_;
    // A terminal line per item would slow a large run down; ten a second are enough to see.
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDrawn_ < std::chrono::milliseconds(100) && done != total)
        return;
    lastDrawn_ = now;
    const std::string caption = inItem ? text::toUtf8(itemCaption_) : "変更中です";
    std::fprintf(stderr, "\r%s  %zu / %zu\033[K", caption.c_str(), done, total);
    std::fflush(stderr);
}

}  // namespace soramine::cli
