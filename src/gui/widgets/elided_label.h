#pragma once

#include <QLabel>

namespace soramine::gui {

// A one-line label that never asks for more width than its layout gives it: a text too long
// is drawn cut with "…" and its tool tip then adds the whole text. The label's text stays the
// whole text, so screen readers read all of it.
class ElidedLabel final : public QLabel {
    Q_OBJECT
  public:
    // `text` is the first text; `tip` is the tool tip while the whole text fits.
    ElidedLabel(const QString& text, const QString& tip, QWidget* parent);

    void showLine(const QString& text);
    bool elided() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void updateTip();

    QString tip_;
};

}  // namespace soramine::gui
