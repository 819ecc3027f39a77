#include "gui/widgets/elided_label.h"

#include <algorithm>

#include <QPainter>
#include <QStyle>

namespace soramine::gui {

ElidedLabel::ElidedLabel(const QString& text, const QString& tip, QWidget* parent)
    : QLabel(parent), tip_(tip) {
    setTextFormat(Qt::PlainText);
    showLine(text);
}

void ElidedLabel::showLine(const QString& text) {
    setText(text);
    updateTip();
}

bool ElidedLabel::elided() const {
    return fontMetrics().horizontalAdvance(text()) > contentsRect().width();
}

QSize ElidedLabel::minimumSizeHint() const {
    // As narrow as "…": the page never widens (nor scrolls) for a long name.
    const QSize whole = QLabel::minimumSizeHint();
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) + margins.left() + margins.right(),
            whole.height()};
}

QSize ElidedLabel::sizeHint() const {
    // The whole text up to about forty characters: a long name does not widen the first window.
    QSize whole = QLabel::sizeHint();
    whole.setWidth(std::min(whole.width(), 40 * fontMetrics().averageCharWidth()));
    return whole;
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateTip();
}

void ElidedLabel::updateTip() {
    setToolTip(elided() ? tip_ + QLatin1Char('\n') + text() : tip_);
}

}  // namespace soramine::gui
