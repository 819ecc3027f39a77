#include "gui/prompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

constexpr auto kSettingsFilter = "ソラミネ ファイル(*.qrn)";

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

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

}  // namespace

bool DialogPrompts::askYesNo(QWidget* parent, const Message& question) {
    QMessageBox box(boxIcon(question.icon), qs(question.caption), boxText(question.text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::showMessage(QWidget* parent, const Message& message) {
    QMessageBox box(boxIcon(message.icon), qs(message.caption), boxText(message.text),
                    QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> DialogPrompts::chooseFolder(QWidget* parent, const QString& title,
                                                   const QString& start) {
    return chosen(
        QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly));
}

std::optional<QString> DialogPrompts::openSettingsFile(QWidget* parent) {
    return chosen(QFileDialog::getOpenFileName(parent, {}, {}, QString::fromUtf8(kSettingsFilter)));
}

std::optional<QString> DialogPrompts::saveSettingsFile(QWidget* parent) {
    QFileDialog dialog(parent, {}, {}, QString::fromUtf8(kSettingsFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("qrn"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace soramine::gui
