#include "gui/pages/script_page_widget.h"

#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

// A template whose text is fixed, or that ends in the current local time.
struct Template {
    const char16_t* caption;
    const char16_t* text;
    bool withTime;
};

constexpr Template kTemplates[] = {
    {u"置換: <変更前>→<変更後>", u"<>→<>\n", false},
    {u"先頭に追加: <\\AF>追加文字", u"<\\AF>\n", false},
    {u"拡張子前に追加: <\\AB>追加文字", u"<\\AB>\n", false},
    {u"作成日時変更: <\\TM>変更日時", u"<\\TM>", true},
    {u"更新日時変更: <\\TC>変更日時", u"<\\TC>", true},
};

}  // namespace

ScriptPageWidget::ScriptPageWidget(soramine::ScriptPage& page, soramine::RenameSession& session,
                                   QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    script_ = new QPlainTextEdit(this);
    script_->setAccessibleName(QStringLiteral("スクリプト"));
    script_->setLineWrapMode(QPlainTextEdit::NoWrap);
    form_->useListFont(script_);
    form_->tip(script_, QStringLiteral("スクリプトを入力します(一行に一つの書式)"));

    auto* formats = new QGroupBox(QStringLiteral("書式(クリックで入力)"), this);
    auto* formatsLayout = new QVBoxLayout(formats);
    for (const Template& t : kTemplates) {
        // A flat button reads like a label and still takes the keyboard.
        auto* label = new QPushButton(qs(t.caption), formats);
        label->setFlat(true);
        label->setStyleSheet(QStringLiteral("text-align: left; padding: 1px 4px;"));
        label->setAccessibleName(qs(t.caption));
        form_->tip(label, QStringLiteral("クリックするとカーソルの位置に書式を入力します"));
        const QString text = qs(t.text);
        const bool withTime = t.withTime;
        connect(label, &QPushButton::clicked, this, [this, text, withTime] {
            insertTemplate(withTime ? text + QDateTime::currentDateTime().toString(
                                                 QStringLiteral("yyyy-MM-dd HH:mm:ss\n"))
                                    : text);
        });
        formatsLayout->addWidget(label);
    }
    formatsLayout->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(script_, 1);
    layout->addWidget(formats);

    showSettings();
}

void ScriptPageWidget::showSettings() {
    // The core's lines end in CR LF, the box's in LF.
    QString text = qs(page_.settings.script);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    script_->setPlainText(text);
}

void ScriptPageWidget::takeSettings() {
    QString text = script_->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    page_.settings.script = u16(text);
}

void ScriptPageWidget::insertTemplate(const QString& text) {
    script_->insertPlainText(text);
    script_->setFocus();
    takeSettings();
}

}  // namespace soramine::gui
