#include "gui/pages/hash_name_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"

namespace soramine::gui {

HashNamePageWidget::HashNamePageWidget(soramine::HashNamePage& page,
                                       soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode =
        form_->radioGroup(page.settings.mode, {QStringLiteral("ハッシュ値からファイル名を作成(&E)"),
                                               QStringLiteral("ハッシュ値を追加(&I)")});
    QButtonGroup* kind = form_->radioGroup(
        page.settings.kind,
        {QStringLiteral("&CRC32"), QStringLiteral("&MD5"), QStringLiteral("S&HA-1")});
    QButtonGroup* letters = form_->radioGroup(
        page.settings.lowercase, {QStringLiteral("大文字(&J)"), QStringLiteral("小文字(&L)")});
    QStringList enclosures;
    enclosures << QStringLiteral("なし") << QStringLiteral("[ ]で囲む")
               << QStringLiteral("( )で囲む") << QStringLiteral("「」で囲む")
               << QStringLiteral("【】で囲む");
    QComboBox* enclosure = form_->dropDown(page.settings.enclosure, enclosures);

    form_->tip(mode->button(0), QStringLiteral("ハッシュ値でファイル名を変更します"));
    form_->tip(mode->button(1), QStringLiteral("ハッシュ値をファイル名に追加します"));
    form_->tip(enclosure, QStringLiteral("ハッシュ値を囲む文字を選択します"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        emit addModeChanged();
    });

    auto* modeBox = new QGroupBox(QStringLiteral("変更方法"), this);
    auto* modeLayout = new QVBoxLayout(modeBox);
    for (QAbstractButton* button : mode->buttons())
        modeLayout->addWidget(button);

    auto* kindBox = new QGroupBox(QStringLiteral("ハッシュの種類"), this);
    auto* kindLayout = new QHBoxLayout(kindBox);
    for (QAbstractButton* button : kind->buttons())
        kindLayout->addWidget(button);

    auto* lettersBox = new QGroupBox(QStringLiteral("アルファベット"), this);
    auto* lettersLayout = new QHBoxLayout(lettersBox);
    for (QAbstractButton* button : letters->buttons())
        lettersLayout->addWidget(button);

    auto* groups = new QHBoxLayout;
    groups->addWidget(kindBox);
    groups->addWidget(lettersBox);

    auto* enclosureRow = new QHBoxLayout;
    enclosureRow->addWidget(form_->caption(QStringLiteral("囲み(&P):"), enclosure));
    enclosureRow->addWidget(enclosure);
    enclosureRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addLayout(groups);
    layout->addLayout(enclosureRow);
    layout->addStretch();

    showSettings();
}

void HashNamePageWidget::showSettings() {
    form_->show();
}

void HashNamePageWidget::takeSettings() {
    form_->take();
}

}  // namespace soramine::gui
