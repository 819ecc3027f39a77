#pragma once

#include "core/engine/session.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

// The page widget of the method at `methodIndex` of session.methods: the replace (置換), numbering
// (連番) and add-text (追加) pages, and for the other twelve a page saying the method is not
// available yet. The add-text page object is shared: `makeMethodPageWidget(2, ...)` may be called
// twice (first tab and, for the add-mode methods, the second tab); both widgets bind the same core
// object.
MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent);

}  // namespace soramine::gui
