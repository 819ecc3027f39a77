#include "gui/pages/mp3_tag_page_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/methods/id3.h"
#include "gui/pages/page_form.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

Mp3TagPageWidget::Mp3TagPageWidget(soramine::Mp3TagPage& page, soramine::RenameSession& session,
                                   QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    direction_ = form_->radioGroup(page_.settings.direction,
                                   {QStringLiteral("タグからファイル名を変更(&E)"),
                                    QStringLiteral("ファイル名からタグを変更(&H)")});
    format_ = form_->historyBox(page_.format);
    form_->useListFont(format_);
    fixedArtist_ =
        form_->checkBox(QStringLiteral("アーティスト名(&I)"), page_.settings.fixedArtist);
    artist_ = form_->lineEdit(page_.settings.artistText);
    fixedAlbum_ = form_->checkBox(QStringLiteral("アルバム名(&J)"), page_.settings.fixedAlbum);
    album_ = form_->lineEdit(page_.settings.albumText);
    fixedGenre_ = form_->checkBox(QStringLiteral("ジャンル(&L)"), page_.settings.fixedGenre);
    QStringList genres;
    for (const std::u16string_view name : soramine::id3::genreNames())
        genres << qs(std::u16string(name));
    genre_ = form_->dropDown(page_.settings.genre, genres);
    artist_->setAccessibleName(QStringLiteral("アーティスト名"));
    album_->setAccessibleName(QStringLiteral("アルバム名"));
    genre_->setAccessibleName(QStringLiteral("ジャンル"));

    form_->tip(direction_->button(0), QStringLiteral("MP3タグの情報からファイル名を変更します"));
    form_->tip(direction_->button(1), QStringLiteral("ファイル名からMP3タグを変更します"));
    form_->tip(format_, QStringLiteral("変更する形式です"));
    form_->tip(artist_, QStringLiteral("タグに書き込むアーティスト名です"));
    form_->tip(album_, QStringLiteral("タグに書き込むアルバム名です"));
    form_->tip(genre_, QStringLiteral("タグに書き込むジャンルです"));

    for (QAbstractButton* box :
         {static_cast<QAbstractButton*>(fixedArtist_), static_cast<QAbstractButton*>(fixedAlbum_),
          static_cast<QAbstractButton*>(fixedGenre_)}) {
        connect(box, &QAbstractButton::toggled, this, &Mp3TagPageWidget::applyEnabling);
    }
    connect(direction_, &QButtonGroup::idClicked, this, &Mp3TagPageWidget::applyEnabling);

    auto* directionBox = new QGroupBox(QStringLiteral("変更方法"), this);
    auto* directionLayout = new QVBoxLayout(directionBox);
    directionLayout->addWidget(direction_->button(0));
    directionLayout->addWidget(direction_->button(1));

    // Each label puts its token into the format.
    auto* tokens = new QGridLayout;
    const std::pair<const char*, const char*> kTokens[] = {
        {"トラック番号 = $N", "$N"},
        {"トラック名 = $T", "$T"},
        {"アーティスト名 = $A", "$A"},
        {"アルバム名 = $L", "$L"},
    };
    int i = 0;
    for (const auto& [caption, token] : kTokens) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        const QString tokenText = QString::fromUtf8(token);
        connect(button, &QPushButton::clicked, this, [this, tokenText] { insertToken(tokenText); });
        tokens->addWidget(button, i / 2, i % 2, Qt::AlignLeft);
        ++i;
    }

    auto* formatRow = new QGridLayout;
    formatRow->addWidget(form_->caption(QStringLiteral("形式(&M):"), format_), 0, 0);
    formatRow->addWidget(format_, 0, 1);
    formatRow->addLayout(tokens, 1, 1);
    formatRow->setColumnStretch(1, 1);

    auto* fixedBox = new QGroupBox(QStringLiteral("タグに書き込む値"), this);
    auto* fixedLayout = new QGridLayout(fixedBox);
    fixedLayout->addWidget(fixedArtist_, 0, 0);
    fixedLayout->addWidget(artist_, 0, 1);
    fixedLayout->addWidget(fixedAlbum_, 1, 0);
    fixedLayout->addWidget(album_, 1, 1);
    fixedLayout->addWidget(fixedGenre_, 2, 0);
    fixedLayout->addWidget(genre_, 2, 1);
    fixedLayout->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(directionBox);
    layout->addLayout(formatRow);
    layout->addWidget(fixedBox);
    layout->addStretch();

    showSettings();
}

void Mp3TagPageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void Mp3TagPageWidget::takeSettings() {
    form_->take();
}

void Mp3TagPageWidget::applyEnabling() {
    const bool toTags = direction_->checkedId() == 1;
    fixedArtist_->setEnabled(toTags);
    fixedAlbum_->setEnabled(toTags);
    fixedGenre_->setEnabled(toTags);
    artist_->setEnabled(toTags && fixedArtist_->isChecked());
    album_->setEnabled(toTags && fixedAlbum_->isChecked());
    genre_->setEnabled(toTags && fixedGenre_->isChecked());
}

void Mp3TagPageWidget::insertToken(const QString& token) {
    QLineEdit* edit = format_->lineEdit();
    edit->insert(token);
    format_->setFocus();
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

}  // namespace soramine::gui
