// Placeholder until the preview dialog lands: the preview as text.

#include "gui/dialogs/preview_dialog.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/qt_text.h"

PreviewDialog::PreviewDialog(const soramine::PreviewResult& result, QWidget* mainWindow)
    : QDialog(mainWindow) {
    setWindowTitle(QStringLiteral("変更予測"));
    auto* text = new QPlainTextEdit(soramine::gui::qs(soramine::previewClipboardText(result)));
    text->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    if (mainWindow)
        setGeometry(mainWindow->geometry());
}
