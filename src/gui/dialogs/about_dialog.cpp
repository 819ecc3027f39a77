#include "gui/dialogs/about_dialog.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/app/update_check.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

constexpr int kTipDelayMs = 900;
const char* const kTipProperty = "soramineTip";

}  // namespace

AboutDialog::AboutDialog(const QUrl& webPage, bool tips, QWidget* parent)
    : QDialog(parent), webPage_(webPage), tips_(tips) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(QStringLiteral(":/soramine.png"))
                        .scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setFixedSize(48, 48);
    version_ = new QLabel(qs(app::versionLine()));
    link_ = new QLabel(webPage.toString());
    link_->setAccessibleName(QStringLiteral("WEBサイト"));
    QFont linkFont(QStringLiteral("ＭＳ Ｐゴシック"));
    linkFont.setPixelSize(12);
    linkFont.setUnderline(true);
    link_->setFont(linkFont);
    QPalette blue = link_->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    link_->setPalette(blue);
    link_->setCursor(Qt::PointingHandCursor);
    link_->setProperty(kTipProperty, QStringLiteral("クリックするとWebサイトを開きます。"));
    link_->installEventFilter(this);
    update_ = new QPushButton(QStringLiteral("アップデートチェック(&U)"));
    update_->setAccessibleName(QStringLiteral("アップデートチェック(U)"));
    update_->setProperty(kTipProperty,
                         QStringLiteral("アップデートチェックダイアログを表示します。"));
    update_->installEventFilter(this);
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(version_);
    texts->addWidget(link_);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(update_);
    buttons->addWidget(ok);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(20, 18, 12, 12);
    all->addLayout(top);
    all->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(update_, &QPushButton::clicked, this, &AboutDialog::updateCheckRequested);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget)
        return false;
    switch (event->type()) {
        case QEvent::MouseButtonRelease:
            if (widget == link_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                QDesktopServices::openUrl(webPage_);
            break;
        case QEvent::Enter:
            if (tips_) {
                QTimer::singleShot(kTipDelayMs, widget, [widget] {
                    if (widget->underMouse())
                        QToolTip::showText(QCursor::pos(),
                                           widget->property(kTipProperty).toString(), widget);
                });
            }
            break;
        case QEvent::Leave:
            QToolTip::hideText();
            break;
        case QEvent::ToolTip:
            return true;  // the tips above, not the toolkit's own
        default:
            break;
    }
    return false;
}

}  // namespace soramine::gui
