#include "gui/pages/text_lines_page_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/pages/page_form.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {
namespace {

// The one local file of a drop, or an empty text.
QString droppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1 ||
        !data->urls().front().isLocalFile())
        return {};
    return data->urls().front().toLocalFile();
}

}  // namespace

TextLinesPageWidget::TextLinesPageWidget(soramine::TextLinesPage& page,
                                         soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent),
      page_(page),
      session_(session),
      form_(new PageForm(this, page, session)) {
    QButtonGroup* source = form_->radioGroup(
        page_.settings.source,
        {QStringLiteral("クリップボード(&V)"), QStringLiteral("テキストファイル(&H)")});
    path_ = form_->pathBox(page_.path);
    path_->setAccessibleName(QStringLiteral("ファイル名"));
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setAccessibleName(QStringLiteral("テキストファイルを選択"));
    browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    QCheckBox* withExtension =
        form_->checkBox(QStringLiteral("拡張子も含まれている(&I)"), page_.settings.withExtension);
    QCheckBox* add = form_->checkBox(QStringLiteral("テキストを追加(&T)"), page_.settings.add);
    QCheckBox* selected =
        form_->checkBox(QStringLiteral("選択ファイルのみ(&J)"), page_.settings.exportSelected);
    QCheckBox* keepExtension =
        form_->checkBox(QStringLiteral("拡張子も含める(&L)"), page_.settings.exportExtension);
    QCheckBox* fullPath =
        form_->checkBox(QStringLiteral("フルパスを出力(&M)"), page_.settings.exportFullPath);
    QCheckBox* toClipboard =
        form_->checkBox(QStringLiteral("クリップボードへ出力(&P)"), page_.settings.exportClipboard);
    QCheckBox* unicode =
        form_->checkBox(QStringLiteral("Unicode出力(&0)"), page_.settings.exportUnicode);
    // The caption stands vertically, one character per line.
    auto* exportButton = new QPushButton(QStringLiteral("リ\nス\nト\n出\n力\n(&Q)"), this);
    exportButton->setAccessibleName(QStringLiteral("リスト出力(Q)"));
    exportButton->setFixedWidth(
        exportButton->fontMetrics().horizontalAdvance(QStringLiteral("(Q)")) + 16);

    form_->tip(source->button(0),
               QStringLiteral("クリップボードの文字列からファイル名を作成します"));
    form_->tip(source->button(1),
               QStringLiteral("テキストファイルの各行からファイル名を作成します"));
    form_->tip(path_, QStringLiteral("ファイル名を記述したテキストファイルです"));
    form_->tip(browse_, QStringLiteral("テキストファイルを選択します"));
    form_->tip(withExtension,
               QStringLiteral("テキストに拡張子も含まれている場合にチェックしてください"));
    form_->tip(add, QStringLiteral("テキストをファイル名に追加する場合にチェックしてください"));
    form_->tip(selected, QStringLiteral("選択ファイルだけ出力する場合にチェックしてください"));
    form_->tip(keepExtension, QStringLiteral("拡張子も出力する場合にチェックしてください"));
    form_->tip(fullPath, QStringLiteral("フォルダ名も出力する場合にチェックしてください"));
    form_->tip(
        toClipboard,
        QStringLiteral("ファイルではなくクリップボードへ出力する場合にチェックしてください"));
    form_->tip(unicode, QStringLiteral("Unicode(UTF-16)で出力する場合にチェックしてください"));
    form_->tip(exportButton, QStringLiteral("リストのファイル名をテキストに出力します"));

    connect(source, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });
    connect(add, &QCheckBox::clicked, this, [this] {
        takeSettings();
        emit addModeChanged();
    });
    connect(browse_, &QPushButton::clicked, this, &TextLinesPageWidget::browse);
    connect(exportButton, &QPushButton::clicked, this, &TextLinesPageWidget::exportList);
    // Files dropped on the path box: the edit field would take a drop as text.
    path_->setAcceptDrops(true);
    path_->lineEdit()->setAcceptDrops(false);
    path_->installEventFilter(this);

    // Two bands, the lines' source above and the export below, so that the page fits the
    // width the window gives its pages.
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(source->button(0));
    sourceRow->addWidget(source->button(1));
    sourceRow->addStretch();
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse_);

    // "オプション" heads its row rather than framing it: a frame would make the page taller
    // than the others and the method pages share one scroll area.
    auto* options = new QHBoxLayout;
    options->addWidget(form_->label(QStringLiteral("オプション:")));
    options->addWidget(withExtension);
    options->addWidget(add);
    options->addStretch();

    auto* data = new QGroupBox(QStringLiteral("テキストデータ"), this);
    auto* dataLayout = new QVBoxLayout(data);
    dataLayout->addLayout(sourceRow);
    dataLayout->addLayout(pathRow);
    dataLayout->addLayout(options);

    auto* exportBox = new QGroupBox(QStringLiteral("テキスト出力"), this);
    auto* exportLayout = new QGridLayout(exportBox);
    exportLayout->addWidget(selected, 0, 0);
    exportLayout->addWidget(keepExtension, 1, 0);
    exportLayout->addWidget(fullPath, 2, 0);
    exportLayout->addWidget(toClipboard, 0, 1);
    exportLayout->addWidget(unicode, 1, 1);
    exportLayout->addWidget(exportButton, 0, 2, 4, 1);
    exportLayout->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(data);
    layout->addWidget(exportBox);
    layout->addStretch();

    showSettings();
}

void TextLinesPageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void TextLinesPageWidget::takeSettings() {
    form_->take();
}

void TextLinesPageWidget::applyEnabling() {
    const bool fromFile = page_.settings.source == 1;
    path_->setEnabled(fromFile);
    browse_->setEnabled(fromFile);
}

void TextLinesPageWidget::browse() {
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("テキスト ファイル (*.txt *.text)"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    path_->setEditText(qs(corePath(dialog.selectedFiles().front())));
    takeSettings();
}

void TextLinesPageWidget::exportList() {
    takeSettings();
    const std::optional<std::u16string> text = soramine::listExport(session_, page_.settings);
    if (!text)
        return;
    if (page_.settings.exportClipboard) {
        QGuiApplication::clipboard()->setText(qs(*text));
        showMessage(this, soramine::listCopiedMessage());
        return;
    }
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("テキスト ファイル (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString file = dialog.selectedFiles().front();
    if (auto failed =
            soramine::saveListExport(corePath(file), *text, page_.settings.exportUnicode)) {
        showMessage(this, *failed);
        return;
    }
    if (askYesNo(this, soramine::openExportQuestion()))
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool TextLinesPageWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != path_)
        return MethodPageWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            const QString file = droppedFile(drag->mimeData());
            if (!file.isEmpty() && soramine::isDroppableTextFile(corePath(file)))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString file = droppedFile(drop->mimeData());
            if (!file.isEmpty() && soramine::isDroppableTextFile(corePath(file))) {
                path_->setEditText(qs(corePath(file)));
                takeSettings();
                drop->acceptProposedAction();
            }
            return true;
        }
        default:
            return MethodPageWidget::eventFilter(watched, event);
    }
}

}  // namespace soramine::gui
