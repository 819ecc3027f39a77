#include "gui/pages/split_reorder_page_widget.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

namespace {

// A group whose caption's access key focuses its box: a note above the box, a red hint below.
QGroupBox* boxGroup(PageForm& form, QWidget* page, const QString& caption, const QString& note,
                    HistoryComboBox* box, const QString& hint) {
    auto* group = new QGroupBox(caption, page);
    box->setAccessibleName(accessibleCaption(caption));
    form.useListFont(box);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(form.label(note));
    layout->addWidget(box);
    layout->addWidget(form.hint(hint));
    return group;
}

}  // namespace

SplitReorderPageWidget::SplitReorderPageWidget(soramine::SplitReorderPage& page,
                                               soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), form_(new PageForm(this, page, session)) {
    HistoryComboBox* split = form_->historyBox(page.split);
    HistoryComboBox* order = form_->historyBox(page.order);
    form_->tip(split, QStringLiteral("文字の区切り方を文字数で入力して下さい"));
    form_->tip(order, QStringLiteral("区切った文字の並び順を入力して下さい"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(boxGroup(*form_, this, QStringLiteral("区切り設定(&E):"),
                               QStringLiteral("区切り方を文字数で設定して下さい"), split,
                               QStringLiteral("※文字数不定の場合は\"*\"を入力して下さい")));
    layout->addWidget(boxGroup(*form_, this, QStringLiteral("並び替え設定(&H):"),
                               QStringLiteral("区切った文字列の並べ方を設定して下さい"), order,
                               QStringLiteral("※追加文字列は\"< >\"で囲って下さい")));
    layout->addWidget(form_->label(QStringLiteral("入力しなかったブロックは削除されます")));
    layout->addStretch();

    showSettings();
}

void SplitReorderPageWidget::showSettings() {
    form_->show();
}

void SplitReorderPageWidget::takeSettings() {
    form_->take();
}

}  // namespace soramine::gui
