#include "gui/dialogs/log_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/window_placement.h"

namespace soramine::gui {
namespace {

constexpr std::u16string_view kPlacementKey = u"LogWindow";

}  // namespace

LogDialog::LogDialog(const QString& resultLine, const QString& logText, soramine::IniFile& ini,
                     QWidget* parent)
    : QDialog(parent),
      ini_(ini),
      result_(new QLabel(resultLine, this)),
      log_(new QPlainTextEdit(logText, this)) {
    setWindowTitle(QStringLiteral("リネーム終了"));
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    log_->setAccessibleName(QStringLiteral("ログ"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    ok->setFocus();  // Enter closes the dialog at once, as the log is there to read, not edit
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(13, 11, 13, 11);
    layout->addWidget(result_);
    layout->addWidget(log_);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(450, 300);
    restorePlacement(this, ini_, kPlacementKey);
}

LogDialog::~LogDialog() {
    savePlacement(this, ini_, kPlacementKey);
}

}  // namespace soramine::gui
