// Placeholder until the result dialog lands: the line and the log.

#include "gui/dialogs/log_dialog.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

LogDialog::LogDialog(const QString& resultLine, const QString& logText, soramine::IniFile&,
                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("リネーム終了"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(resultLine));
    auto* log = new QPlainTextEdit(logText);
    log->setReadOnly(true);
    layout->addWidget(log);
}
