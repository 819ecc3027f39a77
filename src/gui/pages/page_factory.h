#pragma once

#include "core/engine/session.h"
#include "gui/pages/method_page_widget.h"

// The page widget of the method at `methodIndex` of session.methods. The add-text page object
// is shared: makeMethodPageWidget(2, ...) may be called twice; both widgets bind it.
MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent);
