#include "gui/dialogs/file_info_dialog.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "core/items/file_information.h"
#include "core/items/gif_frames.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"
#include "gui/qt_text.h"
#include "gui/widgets/picture_preview.h"

namespace soramine::gui {

FileInfoDialog::FileInfoDialog(const std::u16string& path, QWidget* parent)
    : QDialog(parent), preview_(new PicturePreview) {
    setWindowTitle(QStringLiteral("ファイル情報"));
    preview_->setMinimumSize(360, 270);
    preview_->setAccessibleName(QStringLiteral("プレビュー"));

    const auto entry = platform::lookUp(path);
    if (entry)
        text_ = qs(fileInformationText(*entry));
    if (entry && !entry->isFolder) {
        // A picture that cannot be read shows nothing.
        const std::u16string_view name =
            std::u16string_view(path).substr(path.find_last_of(platform::kSeparator) + 1);
        if (text::equalsIgnoreAsciiCase(text::extensionOf(name), u".gif")) {
            // Read as it is drawn: the file stays open while the window shows it.
            if (auto file = platform::ReadableFile::open(path)) {
                auto shared = std::make_shared<platform::ReadableFile>(std::move(*file));
                preview_->showGif([shared](std::uint64_t offset, char* buffer, std::size_t size) {
                    const auto got = shared->readAt(offset, buffer, size);
                    return got ? *got : std::size_t{0};
                });
            }
        } else if (const auto bytes = platform::readFile(path)) {
            preview_->showStill(QImage::fromData(reinterpret_cast<const uchar*>(bytes->data()),
                                                 static_cast<int>(bytes->size())));
        }
    }

    // Each line a label and its value, in two columns (the text's tab).
    auto* lines = new QGridLayout;
    int row = 0;
    for (const QString& line : text_.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char('\t'));
        lines->addWidget(new QLabel(parts.value(0)), row, 0);
        if (parts.size() > 1)
            lines->addWidget(new QLabel(parts.value(1)), row, 1);
        ++row;
    }
    auto* icon = new QLabel;
    icon->setPixmap(QFileIconProvider().icon(QFileInfo(localPath(path))).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    auto* ok = new QPushButton(QStringLiteral("&OK"));
    ok->setAccessibleName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* information = new QHBoxLayout;
    information->addWidget(icon);
    information->addLayout(lines, 1);
    information->addWidget(ok, 0, Qt::AlignBottom);
    auto* all = new QVBoxLayout(this);
    all->addWidget(preview_, 1);
    all->addLayout(information);
}

void FileInfoDialog::done(int result) {
    preview_->stop();
    QDialog::done(result);
}

}  // namespace soramine::gui
