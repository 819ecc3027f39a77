#pragma once

#include <QDialog>
#include <QUrl>

class QLabel;
class QPushButton;

namespace soramine::gui {

// "バージョン情報": the program's icon, its version line, the web page's address (a click
// opens it in the desktop's browser) and "アップデートチェック(&U)", which emits
// updateCheckRequested(). Its two tips show after 900 ms while `tips` ("チップ") is on.
class AboutDialog final : public QDialog {
    Q_OBJECT
  public:
    AboutDialog(const QUrl& webPage, bool tips, QWidget* parent = nullptr);

    QLabel* versionLabel() const { return version_; }
    QLabel* linkLabel() const { return link_; }
    QPushButton* updateButton() const { return update_; }

  signals:
    void updateCheckRequested();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QUrl webPage_;
    bool tips_;
    QLabel* version_;
    QLabel* link_;
    QPushButton* update_;
};

}  // namespace soramine::gui
