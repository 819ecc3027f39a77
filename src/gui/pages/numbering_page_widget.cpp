#include "gui/pages/numbering_page_widget.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/pages/page_form.h"
#include "gui/qt_text.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

NumberingPageWidget::NumberingPageWidget(soramine::NumberingPage& page,
                                         soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode = form_->radioGroup(
        page_.settings.mode,
        {QStringLiteral("連番からファイル名を作成(&E)"), QStringLiteral("連番を追加(&H)")});
    HistoryComboBox* pattern = form_->historyBox(page_.pattern);
    QComboBox* kind = form_->dropDown(
        page_.settings.kind,
        {QStringLiteral("数字"), QStringLiteral("アルファベット"), QStringLiteral("漢数字")});
    QStringList digitItems;
    for (int d = 1; d <= 9; ++d)
        digitItems << QString::number(d);
    digits_ = form_->dropDown(page_.settings.digits, digitItems);
    start_ = form_->lineEdit(page_.settings.start);
    QLineEdit* step = form_->lineEdit(page_.settings.step);
    sample_ = new ElidedLabel(QStringLiteral("sample"),
                              QStringLiteral("変更されるファイルのサンプルです"), this);
    sample_->setAccessibleName(QStringLiteral("サンプル"));
    form_->useListFont(pattern);
    form_->useListFont(sample_);

    form_->tip(pattern, QStringLiteral("設定するファイル名です"));
    form_->tip(start_, QStringLiteral("連番の開始番号です"));
    form_->tip(digits_, QStringLiteral("番号の桁数です"));
    form_->tip(sample_, sample_->toolTip());
    form_->tip(mode->button(0), QStringLiteral("連番でファイル名を変更します"));
    form_->tip(mode->button(1), QStringLiteral("連番をファイル名に追加します"));
    form_->tip(step, QStringLiteral("連番の増減値を入力します"));
    form_->tip(kind, QStringLiteral("連続文字の種類を選択します"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        updateSample();
        emit addModeChanged();
    });
    connect(pattern, &QComboBox::editTextChanged, this, &NumberingPageWidget::updateSample);
    connect(kind, &QComboBox::currentIndexChanged, this, &NumberingPageWidget::updateSample);
    connect(digits_, &QComboBox::currentIndexChanged, this, &NumberingPageWidget::updateSample);
    connect(start_, &QLineEdit::textEdited, this, &NumberingPageWidget::updateSample);

    auto* modeBox = new QGroupBox(QStringLiteral("変更方法"), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->addWidget(mode->button(0));
    modeLayout->addWidget(mode->button(1));

    auto* kindBox = new QGroupBox(QStringLiteral("連続文字"), this);
    auto* kindLayout = new QGridLayout(kindBox);
    kindLayout->addWidget(form_->caption(QStringLiteral("文字の種類(&I):"), kind), 0, 0);
    kindLayout->addWidget(kind, 0, 1);
    kindLayout->addWidget(form_->caption(QStringLiteral("桁数(&P):"), digits_), 1, 0);
    kindLayout->addWidget(digits_, 1, 1);

    auto* startBox = new QGroupBox(QStringLiteral("番号設定"), this);
    auto* startLayout = new QHBoxLayout(startBox);
    startLayout->addWidget(form_->caption(QStringLiteral("開始番号(&M):"), start_));
    startLayout->addWidget(start_);

    // The group's access key focuses its only control, the increment box.
    auto* stepBox = new QGroupBox(QStringLiteral("増減値(&Q)"), this);
    step->setAccessibleName(accessibleCaption(stepBox->title()));
    auto* stepLayout = new QHBoxLayout(stepBox);
    stepLayout->addWidget(step);

    auto* numbers = new QHBoxLayout;
    numbers->addWidget(kindBox);
    auto* right = new QVBoxLayout;
    right->addWidget(startBox);
    right->addWidget(stepBox);
    numbers->addLayout(right);

    auto* patternRow = new QGridLayout;
    patternRow->addWidget(form_->caption(QStringLiteral("変更名(&L):"), pattern), 0, 0);
    patternRow->addWidget(pattern, 0, 1);
    patternRow->addWidget(form_->hint(QStringLiteral("※ * → 番号　\\ → フォルダ名")), 1, 1);
    patternRow->addWidget(sample_, 2, 1);
    patternRow->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addLayout(patternRow);
    layout->addLayout(numbers);
    layout->addStretch();

    showSettings();
}

void NumberingPageWidget::showSettings() {
    form_->show();
    shownStart_ = page_.settings.start;
    updateSample();
}

void NumberingPageWidget::takeSettings() {
    form_->take();
}

void NumberingPageWidget::updateSample() {
    form_->take();
    const soramine::NumberingSample sample =
        soramine::numberingSample(page_.pattern.text, page_.settings, shownStart_);
    page_.settings.digits = sample.digits;
    page_.settings.start = sample.start;
    shownStart_ = sample.start;
    {
        const QSignalBlocker quietDigits(digits_);
        digits_->setCurrentIndex(sample.digits);
    }
    if (start_->text() != qs(sample.start))
        start_->setText(qs(sample.start));
    sample_->showLine(qs(sample.sample));
    if (sample.message)
        showMessage(this, *sample.message);
}

}  // namespace soramine::gui
