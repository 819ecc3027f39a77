#include "gui/message_box.h"

#include <QMessageBox>

#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
        case Icon::Error:
            return QMessageBox::Critical;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Warning:
            break;
    }
    return QMessageBox::Warning;
}

// Core texts break lines with CR LF and pad with tabs for the wide boxes of another system.
QString boxText(const std::u16string& text) {
    QString s = qs(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return s.trimmed();
}

}  // namespace

void showMessage(QWidget* parent, const Message& message) {
    QMessageBox box(boxIcon(message.icon), qs(message.caption), boxText(message.text),
                    QMessageBox::Ok, parent);
    box.exec();
}

bool askYesNo(QWidget* parent, const Message& question) {
    QMessageBox box(boxIcon(question.icon), qs(question.caption), boxText(question.text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace soramine::gui
