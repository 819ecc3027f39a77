#include "gui/prompts.h"

#include <QFileDialog>

#include "gui/message_box.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

constexpr auto kSettingsFilter = "ソラミネ ファイル(*.qrn)";

std::optional<QString> chosen(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

}  // namespace

bool DialogPrompts::askYesNo(QWidget* parent, const Message& question) {
    return gui::askYesNo(parent, question);
}

void DialogPrompts::showMessage(QWidget* parent, const Message& message) {
    gui::showMessage(parent, message);
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
