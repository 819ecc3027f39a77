#include "gui/pages/date_page_widget.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"
#include "gui/qt_text.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

DatePageWidget::DatePageWidget(soramine::DatePage& page, soramine::RenameSession& session,
                               QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode = form_->radioGroup(
        page_.settings.addMode, {QStringLiteral("タイムスタンプからファィル名を変更(&E)"),
                                 QStringLiteral("日時を追加(&H)")});
    QButtonGroup* source = form_->radioGroup(
        page_.settings.source,
        {QStringLiteral("作成日時から作成(&I)"), QStringLiteral("更新日時から作成(&J)"),
         QStringLiteral("Exif情報の撮影日時から作成(&L)")});
    format_ = form_->historyBox(page_.format);
    sample_ = new ElidedLabel(QStringLiteral("2010年01月23日、04時56分00秒"),
                              QStringLiteral("入力項目からのサンプルです"), this);
    sample_->setAccessibleName(QStringLiteral("サンプル"));
    form_->useListFont(format_);
    form_->useListFont(sample_);

    form_->tip(format_, QStringLiteral("変更したい形式を入力してください"));
    form_->tip(source->button(0),
               QStringLiteral("作成日時を使ってファイル名を変更する場合に選択してください"));
    form_->tip(source->button(1),
               QStringLiteral("更新日時を使ってファイル名を変更する場合に選択してください"));
    form_->tip(
        source->button(2),
        QStringLiteral("Exif情報の撮影日時を使ってファイル名を変更する場合に選択してください"));
    form_->tip(sample_, sample_->toolTip());
    form_->tip(mode->button(0),
               QStringLiteral("タイムスタンプをファイル名にする場合に選択してください"));
    form_->tip(mode->button(1),
               QStringLiteral("タイムスタンプを指定の位置に追加する場合に選択してください"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        emit addModeChanged();
    });
    // PageForm repairs what is typed first (its handler was connected first).
    connect(format_, &QComboBox::editTextChanged, this, [this] { updateSample(false); });
    connect(format_, &QComboBox::textActivated, this, [this] { updateSample(true); });

    auto* modeBox = new QGroupBox(QStringLiteral("変更方法"), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->addWidget(mode->button(0));
    modeLayout->addWidget(mode->button(1));
    modeLayout->addStretch();

    auto* sourceBox = new QGroupBox(QStringLiteral("日時選択"), this);
    // Two to a row: the three captions side by side are wider than the page's tab.
    auto* sourceLayout = new QGridLayout(sourceBox);
    const QList<QAbstractButton*> sources = source->buttons();
    for (int i = 0; i < sources.size(); ++i)
        sourceLayout->addWidget(sources[i], i / 2, i % 2);
    sourceLayout->setColumnStretch(2, 1);

    auto* formatRow = new QVBoxLayout;
    formatRow->addWidget(
        form_->caption(QStringLiteral("形式(&M): Y-年 M-月 D-日 h-時 m-分 s-秒"), format_));
    formatRow->addWidget(format_);
    formatRow->addWidget(form_->label(QStringLiteral("例: 2010/01/23、04:56:00 の場合")));
    formatRow->addWidget(sample_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addWidget(sourceBox);
    layout->addLayout(formatRow);
    layout->addStretch();

    showSettings();
}

void DatePageWidget::showSettings() {
    form_->show();
    updateSample(false);
}

void DatePageWidget::takeSettings() {
    form_->take();
}

void DatePageWidget::updateSample(bool picked) {
    sample_->showLine(qs(soramine::dateSample(u16(format_->currentText()), picked)));
}

}  // namespace soramine::gui
