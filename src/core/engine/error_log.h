#pragma once

#include <string>
#include <string_view>

namespace soramine {

// The program's one error log: a plain text of lines (message, " - ", path, "\r\n"), shown in
// the main window's log panel and in the result dialog.
//
// A preview puts the log into capture mode: a logged line then does not reach the text; its
// message (the part before the first " - ") goes into the capture slot instead, and the
// preview shows it in place of the item's new name.
class ErrorLog {
  public:
    // Append mode: adds `text` at the end; the caller's text carries its own line end.
    // Capture mode: the slot becomes the part of `text` before its first " - ", or empty when
    // there is none, so a later line of the same item replaces an earlier one.
    void appendLog(std::u16string_view text);

    // Capture mode starts with an empty slot; ending it gives the slot its resting value "1".
    void startCapture();
    void endCapture();
    bool capturing() const { return capturing_; }
    // In capture mode the slot's text, which is then emptied (the preview reads it after each
    // item); empty in append mode.
    std::u16string takeCaptured();

    void clear() { text_.clear(); }
    const std::u16string& text() const { return text_; }

  private:
    std::u16string text_;
    std::u16string slot_ = u"1";
    bool capturing_ = false;
};

}  // namespace soramine
