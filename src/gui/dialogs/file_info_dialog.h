#pragma once

#include <QDialog>
#include <string>

class QLabel;

namespace soramine::gui {

class PicturePreview;

// "ファイル情報": a preview of the file (an animated GIF, or any other picture the toolkit
// reads), its icon, and its size and times. The animation ends before the window goes.
class FileInfoDialog final : public QDialog {
    Q_OBJECT
  public:
    FileInfoDialog(const std::u16string& path, QWidget* parent = nullptr);

    PicturePreview* preview() const { return preview_; }
    // The information text as shown, lines joined by "\n" and values after a tab.
    QString text() const { return text_; }

  protected:
    void done(int result) override;

  private:
    PicturePreview* preview_;
    QString text_;
};

}  // namespace soramine::gui
