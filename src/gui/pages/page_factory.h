#pragma once

#include "core/engine/session.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

// The page widget of the method at `methodIndex` of session.methods, found by the method's
// name in the table of page widgets; a method without a widget gets a page saying it is not
// available yet. The add-text page object is shared: `makeMethodPageWidget(2, ...)` may be called
// twice (first tab and, for the add-mode methods, the second tab); both widgets bind the same core
// object.
MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent);

}  // namespace soramine::gui
