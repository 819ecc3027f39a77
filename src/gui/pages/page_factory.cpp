// Placeholder until the method pages land: every page names its method and nothing more.

#include "gui/pages/page_factory.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace {

class NamePage final : public MethodPageWidget {
  public:
    NamePage(const QString& name, QWidget* parent) : MethodPageWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(name));
        layout->addStretch();
    }
    void showSettings() override {}
    void takeSettings() override {}
};

}  // namespace

MethodPageWidget* makeMethodPageWidget(int methodIndex, soramine::RenameSession& session,
                                       QWidget* parent) {
    return new NamePage(soramine::gui::qs(session.methods.page(methodIndex)->comboText()), parent);
}
