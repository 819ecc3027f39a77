// The main window's commands around the renaming: the detailed settings, the information
// window, the version, the update check, the web page and the user guide.

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontInfo>
#include <QUrl>

#include "core/app/detail_settings.h"
#include "core/app/update_check.h"
#include "core/platform/desktop.h"
#include "core/platform/process.h"
#include "gui/dialogs/about_dialog.h"
#include "gui/dialogs/detail_settings_dialog.h"
#include "gui/dialogs/file_info_dialog.h"
#include "gui/item_list_view.h"
#include "gui/main_window.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/update_checker.h"

namespace soramine::gui {

void MainWindow::showDetailSettings() {
    readControls();
    DetailSettingsDialog dialog(
        detailDialogValues(readDetailSettings(session_.ini), session_.detail),
        session_.settings.allowSwaps != 0, QFontInfo(list_->font()).family(),
        platform::executableFolder() + u"soramine", platform::dataHomeFolder(), prompts_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    writeDetailSettings(session_.ini, dialog.values());
    session_.detail = appliedAtOnce(session_.detail, dialog.values());
    session_.settings.allowSwaps = dialog.allowSwaps() ? 1 : 0;
    showFolderTip();
}

void MainWindow::showSelectedFileInfo() {
    if (session_.selection().size() != 1)
        return;
    readControls();
    FileInfoDialog dialog(session_.items().path(session_.selection().front()), this);
    dialog.exec();
}

void MainWindow::showAbout() {
    AboutDialog dialog(QUrl(qs(app::readUpdateAddresses(session_.ini).webPage)),
                       session_.detail.toolTips != 0, this);
    connect(&dialog, &AboutDialog::updateCheckRequested, this, &MainWindow::checkForUpdate);
    dialog.exec();
}

void MainWindow::checkForUpdate() {
    startUpdateCheck(true, app::readUpdateAddresses(session_.ini), prompts_, this);
}

void MainWindow::openWebPage() {
    QDesktopServices::openUrl(QUrl(qs(app::readUpdateAddresses(session_.ini).webPage)));
}

void MainWindow::openUserGuide() {
    // Where installing puts it, relative to the installed program (the build says where).
    const QString guide = QFileInfo(localPath(platform::executableFolder()) +
                                    QString::fromUtf8(SORAMINE_GUIDE_FROM_PROGRAM))
                              .absoluteFilePath();
    if (!QFileInfo::exists(guide)) {
        showMessage(errorMessage(u"ヘルプが見つかりません。\r\n" + corePath(guide)));
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(guide));
}

}  // namespace soramine::gui
