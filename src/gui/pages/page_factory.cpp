#include "gui/pages/page_factory.h"

#include "gui/pages/add_text_page_widget.h"
#include "gui/pages/numbering_page_widget.h"
#include "gui/pages/replace_page_widget.h"
#include "gui/pages/unavailable_page_widget.h"

namespace soramine::gui {

MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent) {
    // The widget follows the core page's type, so a method table in another order still gets
    // the right page.
    soramine::MethodPage* page = session.methods.page(methodIndex);
    if (auto* replace = dynamic_cast<soramine::ReplacePage*>(page))
        return new ReplacePageWidget(*replace, session, parent);
    if (auto* numbering = dynamic_cast<soramine::NumberingPage*>(page))
        return new NumberingPageWidget(*numbering, session, parent);
    if (auto* addText = dynamic_cast<soramine::AddTextPage*>(page))
        return new AddTextPageWidget(*addText, session, parent);
    return new UnavailablePageWidget(parent);
}

}  // namespace soramine::gui
