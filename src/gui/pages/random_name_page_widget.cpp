#include "gui/pages/random_name_page_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/pages/page_form.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

RandomNamePageWidget::RandomNamePageWidget(soramine::RandomNamePage& page,
                                           soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode = form_->radioGroup(page_.settings.mode,
                                           {QStringLiteral("ランダム文字からファイル名を作成(&E)"),
                                            QStringLiteral("ランダム文字を追加(&H)")});
    QSpinBox* count = form_->spinBox(page_.settings.count, 1, soramine::kMaxRandomCount);
    classes_[0] = form_->checkBox(QStringLiteral("数字[0～9](&J)"), page_.settings.digits);
    classes_[1] = form_->checkBox(QStringLiteral("小文字[a～z](&L)"), page_.settings.lowerCase);
    classes_[2] = form_->checkBox(QStringLiteral("大文字[A～Z](&M)"), page_.settings.upperCase);
    QCheckBox* useWords = form_->checkBox(QStringLiteral("文字列(&P)"), page_.settings.useWords);
    wordsFile_ = form_->pathBox(page_.wordsFile);
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setAccessibleName(browse_->text());
    browse_->setMaximumWidth(40);
    // The words file box is named after its history.
    wordsFile_->setAccessibleName(QStringLiteral("ファイル名"));
    form_->dropTextFileInto(this, wordsFile_);

    form_->tip(count, QStringLiteral("作成する文字数を1～255の間で設定して下さい"));
    form_->tip(classes_[0], QStringLiteral("作成文字に数字を入れる場合に選択して下さい"));
    form_->tip(classes_[1], QStringLiteral("作成文字に小文字を入れる場合に選択して下さい"));
    form_->tip(classes_[2], QStringLiteral("作成文字に大文字を入れる場合に選択して下さい"));
    form_->tip(mode->button(0), QStringLiteral("ランダム文字でリネームする場合に選択してください"));
    form_->tip(mode->button(1),
               QStringLiteral("ランダム文字を指定の位置に追加する場合に選択してください"));
    form_->tip(useWords,
               QStringLiteral("作成文字にテキストファイルの単語を入れる場合に選択して下さい"));
    form_->tip(wordsFile_,
               QStringLiteral("文字列の書かれているテキストファイルのフルパスを入力して下さい"));
    form_->tip(browse_, QStringLiteral("文字列の書かれているテキストファイルを選択して下さい"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        emit addModeChanged();
    });
    for (QCheckBox* box : classes_) {
        connect(box, &QCheckBox::clicked, this, [this, box](bool checked) {
            if (!checked)
                keepOneClass(box);
        });
    }
    connect(useWords, &QCheckBox::clicked, this, [this] {
        takeSettings();
        applyEnabling();
    });
    connect(browse_, &QPushButton::clicked, this, &RandomNamePageWidget::browse);

    auto* modeBox = new QGroupBox(QStringLiteral("変更方法"), this);
    auto* modeLayout = new QVBoxLayout(modeBox);
    modeLayout->addWidget(mode->button(0));
    modeLayout->addWidget(mode->button(1));

    auto* countRow = new QHBoxLayout;
    countRow->addWidget(form_->caption(QStringLiteral("文字セット数(&I):"), count));
    countRow->addWidget(count);
    countRow->addStretch();

    auto* classRow = new QHBoxLayout;
    for (QCheckBox* box : classes_)
        classRow->addWidget(box);
    classRow->addStretch();

    // The words file box sits beside the check box that enables it, so that the page fits its
    // tab without scrolling.
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(useWords);
    fileRow->addWidget(wordsFile_, 1);
    fileRow->addWidget(browse_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addLayout(countRow);
    layout->addLayout(classRow);
    layout->addLayout(fileRow);
    layout->addStretch();

    showSettings();
}

void RandomNamePageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void RandomNamePageWidget::takeSettings() {
    form_->take();
}

void RandomNamePageWidget::applyEnabling() {
    const bool words = page_.settings.useWords != 0;
    for (QCheckBox* box : classes_)
        box->setEnabled(!words);
    wordsFile_->setEnabled(words);
    browse_->setEnabled(words);
}

void RandomNamePageWidget::keepOneClass(QCheckBox* cleared) {
    for (QCheckBox* box : classes_) {
        if (box->isChecked())
            return;
    }
    cleared->setChecked(true);
    showMessage(this, soramine::errorMessage(u"どれか一つは選択して下さい。"));
}

void RandomNamePageWidget::browse() {
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), QFileInfo(wordsFile_->currentText()).path(),
                                     QStringLiteral("テキスト ファイル(*.txt *.text)"));
    if (!path.isEmpty())
        wordsFile_->setEditText(path);
}

}  // namespace soramine::gui
