#include "gui/message_box.h"

#include <QMessageBox>

#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

QMessageBox::Icon iconOf(Icon icon) {
    switch (icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showMessage(QWidget* parent, const Message& message) {
    QMessageBox box(iconOf(message.icon), qs(message.caption), qs(message.text), QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace soramine::gui
