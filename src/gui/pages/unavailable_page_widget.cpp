#include "gui/pages/unavailable_page_widget.h"

#include <QLabel>
#include <QVBoxLayout>

namespace soramine::gui {

UnavailablePageWidget::UnavailablePageWidget(QWidget* parent) : MethodPageWidget(parent) {
    auto* text = new QLabel(QStringLiteral("この方式はまだ使用できません"), this);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
}

}  // namespace soramine::gui
