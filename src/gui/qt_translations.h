#pragma once

namespace soramine::gui {

// Qt's own texts (the buttons of message boxes, the file dialogs, the context menus of text
// boxes) in Japanese, whatever the user's locale: the program's interface is Japanese
// throughout. Needs the QApplication; does nothing where Qt's Japanese translation is not
// installed.
void useJapaneseQtTexts();

}  // namespace soramine::gui
