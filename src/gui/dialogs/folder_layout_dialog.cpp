#include "gui/dialogs/folder_layout_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

// A count box whose arrows stay within 2 to 16, while the keyboard may type any number of up
// to two digits: "OK" then says what is wrong with it instead of the box swallowing keys.
class CountBox final : public QSpinBox {
  public:
    CountBox() { setRange(0, 99); }

    void stepBy(int steps) override {
        setValue(std::clamp(value() + steps, kFewestFolders, kMostFolders));
        selectAll();
    }

  protected:
    StepEnabled stepEnabled() const override {
        StepEnabled enabled = StepNone;
        if (value() < kMostFolders)
            enabled |= StepUpEnabled;
        if (value() > kFewestFolders)
            enabled |= StepDownEnabled;
        return enabled;
    }
};

QRadioButton* radio(const char* caption) {
    auto* button = new QRadioButton(QString::fromUtf8(caption));
    button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    return button;
}

}  // namespace

FolderLayoutDialog::FolderLayoutDialog(const FolderLayout& initial, Prompts& prompts,
                                       QWidget* parent)
    : QDialog(parent), layout_(initial), prompts_(prompts) {
    setWindowTitle(QStringLiteral("フォルダ作成設定"));

    sideBySide_ = radio("同一階層(&B)");
    nested_ = radio("連続階層(&A)");
    (initial.nested ? nested_ : sideBySide_)->setChecked(true);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(sideBySide_);
    kinds->addWidget(nested_);
    auto* kindGroup = new QGroupBox(QStringLiteral("作成の種類"));
    kindGroup->setLayout(kinds);

    count_ = new CountBox;
    count_->setObjectName(QStringLiteral("folderCount"));
    count_->setAccessibleName(QStringLiteral("作成個数"));
    count_->setValue(std::clamp(initial.count, kFewestFolders, kMostFolders));
    auto* counts = new QHBoxLayout;
    counts->addWidget(count_);
    counts->addWidget(new QLabel(QStringLiteral("（2～16）")));
    counts->addStretch();
    // The group's access key moves the focus to the count box, its only control.
    auto* countGroup = new QGroupBox(QStringLiteral("作成個数(&P):"));
    countGroup->setLayout(counts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FolderLayoutDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FolderLayoutDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(kindGroup);
    groups->addWidget(countGroup);
    auto* all = new QVBoxLayout(this);
    all->addLayout(groups);
    all->addWidget(buttons);
    setTabOrder(sideBySide_, nested_);
    setTabOrder(nested_, count_);
    count_->setFocus();
    count_->selectAll();
}

void FolderLayoutDialog::accept() {
    const auto count = folderCount(u16(count_->cleanText()));
    if (!count) {
        prompts_.showMessage(this, count.error());
        count_->setFocus();
        count_->selectAll();
        return;
    }
    layout_.count = *count;
    layout_.nested = nested_->isChecked() ? 1 : 0;
    QDialog::accept();
}

}  // namespace soramine::gui
