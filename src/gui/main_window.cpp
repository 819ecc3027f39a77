#include "gui/main_window.h"

#include "gui/window_placement.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/app/main_settings.h"
#include "core/engine/folder_maker.h"
#include "gui/item_list_model.h"
#include "gui/item_list_view.h"
#include "gui/list_columns.h"
#include "gui/pages/page_factory.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {
namespace {

constexpr int kAddTextIndex = 2;

QLabel* captionFor(const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return label;
}

QCheckBox* checkBox(const char* caption, const char* name) {
    auto* box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromUtf8(name));
    return box;
}

QPushButton* button(const char* caption, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

void setFlag(QAbstractButton* box, std::int32_t value) {
    const QSignalBlocker block(box);
    box->setChecked(value != 0);
}

std::int32_t flag(const QAbstractButton* box) {
    return box->isChecked() ? 1 : 0;
}

// The folder box takes a dropped folder: it forwards the drop to the window.
class FolderDropFilter final : public QObject {
  public:
    FolderDropFilter(QObject* parent, std::function<void(const std::vector<std::u16string>&)> drop)
        : QObject(parent), drop_(std::move(drop)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* e = static_cast<QDropEvent*>(event);
            if (e->mimeData()->hasUrls()) {
                e->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* e = static_cast<QDropEvent*>(event);
            std::vector<std::u16string> paths;
            for (const QUrl& url : e->mimeData()->urls()) {
                if (url.isLocalFile())
                    paths.push_back(corePath(url.toLocalFile()));
            }
            e->acceptProposedAction();
            drop_(paths);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void(const std::vector<std::u16string>&)> drop_;
};

// The window's status bar draws its panel only: its panes draw their own frames, so it draws
// none around its item, and the window shows no messages there.
class PaneStatusBar final : public QStatusBar {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QStyleOption option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    }
};

// The status button's caption: a down arrow and a question mark, drawn as the style's symbols.
QIcon menuSymbol(const QWidget* button) {
    constexpr int kSide = 16;
    QPixmap pixmap(2 * kSide, kSide);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOption option;
    option.initFrom(button);
    option.rect = QRect(0, 0, kSide, kSide);
    button->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, button);
    button->style()
        ->standardIcon(QStyle::SP_TitleBarContextHelpButton, nullptr, button)
        .paint(&painter, QRect(kSide, 0, kSide, kSide));
    return QIcon(pixmap);
}

}  // namespace

MainWindow::MainWindow(RenameSession& session, HistoryMap& histories, Prompts& prompts,
                       QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      histories_(histories),
      prompts_(prompts),
      host_(this, prompts) {
    setWindowTitle(QStringLiteral("ソラミネ"));
    setMinimumSize(705, 552);
    session_.loadHistories(histories_);
    buildControls();
    buildStatusBar();
    showControls();
    selectMethod(session_.settings.methodIndex);
    setToolTips();
    connectControls();
    setUpNewNames();
    if (session_.settings.folderMode)
        showFolderMode();
    updateTabOrder();
    restorePlacement();
    deleteObsoleteWindowKeys(session_.ini);
    updateCounts();
}

MainWindow::~MainWindow() {
    // Everything the window keeps goes to the INI file in one write.
    const IniFile::Batch oneWrite(session_.ini);
    readControls();
    session_.writeIni();
    session_.saveHistories(histories_);
    const auto& columns = model_->columns();
    for (size_t c = 0; c < columns.size(); ++c)
        writeColumnWidth(session_.ini, columns[c], list_->columnWidth(static_cast<int>(c)));
    savePlacement();
}

namespace {

// A page in a frameless scroll area: a window made small scrolls the page instead of
// squeezing its controls over each other.
QScrollArea* scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);  // no Tab stop of its own between the tabs and the page
    area->setWidgetResizable(true);
    if (page)
        area->setWidget(page);
    return area;
}

}  // namespace

void MainWindow::buildControls() {
    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    // The list keeps 13 pixels to the right edge and 7 above the status bar.
    columns->setContentsMargins(7, 7, 13, 7);
    // The controls keep their width; the list takes what the window gains.
    auto* controls = new QWidget;
    controls->setFixedWidth(480);
    auto* left = new QVBoxLayout(controls);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(buildImportGroup());
    left->addWidget(buildRenameGroup(), 1);
    left->addWidget(buildExecutionGroup());
    columns->addWidget(controls);

    model_ = new ItemListModel(
        session_, shownColumns(session_.detail, readNewNamesShown(session_.ini)), this);
    list_ = new ItemListView;
    list_->setObjectName(QStringLiteral("itemList"));
    list_->setAccessibleName(QStringLiteral("アイテム一覧"));
    // The font before the model: the header measures its captions once, in this font.
    QFont listFont = inListFontFamily(font(), session_.detail);
    listFont.setPointSizeF(9.5);
    list_->setFont(listFont);
    list_->setModel(model_);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setTabKeyNavigation(false);  // Tab leaves the list instead of moving cell to cell
    list_->horizontalHeader()->setSortIndicatorShown(true);
    list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    list_->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    for (size_t c = 0; c < model_->columns().size(); ++c)
        list_->setColumnWidth(static_cast<int>(c),
                              readColumnWidth(session_.ini, model_->columns()[c]));
    auto* right = new QVBoxLayout;
    right->addWidget(list_, 1);
    listColumn_ = right;
    columns->addLayout(right, 1);
    setCentralWidget(central);
}

QWidget* MainWindow::buildImportGroup() {
    auto* group = new QGroupBox(QStringLiteral("取り込み設定"));
    auto* grid = new QGridLayout(group);
    folderBox_ = new HistoryComboBox;
    folderBox_->setObjectName(QStringLiteral("folderBox"));
    folderBox_->bind(&session_.folderBox);
    folderBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    folderBox_->setAcceptDrops(true);
    folderBox_->lineEdit()->setAcceptDrops(false);
    folderBox_->installEventFilter(new FolderDropFilter(
        this, [this](const std::vector<std::u16string>& paths) { dropOnFolderBox(paths); }));
    browseButton_ = button("...", "browseButton");
    browseButton_->setAccessibleName(QStringLiteral("フォルダの選択"));
    browseButton_->setFixedWidth(30);
    extensionBox_ = new HistoryComboBox;
    extensionBox_->setObjectName(QStringLiteral("extensionBox"));
    extensionBox_->bind(&session_.extensionBox);
    extensionBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    folderModeCheck_ = checkBox("フォルダモード(&W)", "folderModeCheck");
    newRadio_ = new QRadioButton(QStringLiteral("新規(&N)"));
    newRadio_->setObjectName(QStringLiteral("newRadio"));
    addRadio_ = new QRadioButton(QStringLiteral("追加(&A)"));
    addRadio_->setObjectName(QStringLiteral("addRadio"));
    subfoldersCheck_ = checkBox("サブフォルダも含める(&S)", "subfoldersCheck");
    importButton_ = button("取り込み(&G)", "importButton");

    grid->addWidget(captionFor(QStringLiteral("フォルダ名(&F):"), folderBox_), 0, 0);
    grid->addWidget(folderBox_, 0, 1, 1, 3);
    grid->addWidget(browseButton_, 0, 4);
    grid->addWidget(captionFor(QStringLiteral("拡張子(&K):"), extensionBox_), 1, 0);
    grid->addWidget(extensionBox_, 1, 1, 1, 2);
    grid->addWidget(folderModeCheck_, 1, 3, 1, 2);
    auto* modes = new QHBoxLayout;
    modes->addWidget(newRadio_);
    modes->addWidget(addRadio_);
    modes->addWidget(subfoldersCheck_);
    modes->addStretch();
    grid->addLayout(modes, 2, 0, 1, 5);
    grid->addWidget(importButton_, 3, 3, 1, 2);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* MainWindow::buildRenameGroup() {
    auto* group = new QGroupBox(QStringLiteral("リネーム設定"));
    auto* layout = new QVBoxLayout(group);
    methodBox_ = new QComboBox;
    methodBox_->setObjectName(QStringLiteral("methodBox"));
    for (size_t i = 0; i < session_.methods.size(); ++i)
        methodBox_->addItem(qs(session_.methods.page(static_cast<int>(i))->comboText()));
    methodBox_->setMaxVisibleItems(static_cast<int>(session_.methods.size()));
    auto* row = new QHBoxLayout;
    row->addWidget(captionFor(QStringLiteral("リネーム方式(&Y):"), methodBox_));
    row->addWidget(methodBox_, 1);
    layout->addLayout(row);

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("pageTabs"));
    // The pages are built when first shown (see methodPage); until then their values stay in
    // the core's page objects, which read and write the INI file without them.
    mainPages_ = new QStackedWidget;
    pages_.assign(session_.methods.size(), nullptr);
    addPageArea_ = scrolled(nullptr);
    tabs_->addTab(scrolled(mainPages_), QStringLiteral("　メイン設定　"));
    tabs_->addTab(addPageArea_, QStringLiteral("　追加設定　"));
    tabs_->setAccessibleName(QStringLiteral("メイン設定 / 追加設定"));
    tabs_->tabBar()->setAccessibleName(tabs_->accessibleName());
    // The tab bar is the Tab stop; the tab widget would be a second one leading to it.
    tabs_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(tabs_, 1);
    return group;
}

QWidget* MainWindow::buildExecutionGroup() {
    auto* group = new QGroupBox(QStringLiteral("実行設定"));
    auto* grid = new QGridLayout(group);
    selectedOnlyCheck_ = checkBox("選択ファイルのみリネーム(&O)", "selectedOnlyCheck");
    backupCheck_ = checkBox("バックアップを作成する(&B)", "backupCheck");
    autoAvoidCheck_ = checkBox("自動で重複回避(&Z)", "autoAvoidCheck");
    folderCreationCheck_ = checkBox("フォルダ作成(&9)", "folderCreationCheck");
    moveCheck_ = checkBox("リネーム後移動(&8)", "moveCheck");
    copyCheck_ = checkBox("リネーム後コピー(&7)", "copyCheck");
    executeButton_ = button("実　行(&D)", "executeButton");
    undoButton_ = button("元に戻す(&U)", "undoButton");
    undoButton_->setEnabled(false);
    previewButton_ = button("予\n測\n(&X)", "previewButton");
    previewButton_->setAccessibleName(QStringLiteral("予測"));
    previewButton_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    previewButton_->setFixedWidth(36);

    grid->addWidget(selectedOnlyCheck_, 0, 0);
    grid->addWidget(backupCheck_, 1, 0);
    grid->addWidget(autoAvoidCheck_, 2, 0);
    grid->addWidget(folderCreationCheck_, 0, 1);
    grid->addWidget(moveCheck_, 1, 1);
    grid->addWidget(copyCheck_, 2, 1);
    grid->addWidget(executeButton_, 3, 0);
    grid->addWidget(undoButton_, 3, 1);
    grid->addWidget(previewButton_, 0, 2, 4, 1);
    return group;
}

void MainWindow::buildStatusBar() {
    // The panes share one item of the bar (it lays its items out anew at every item added).
    auto* bar = new PaneStatusBar;
    setStatusBar(bar);
    auto* panes = new QWidget;
    auto* row = new QHBoxLayout(panes);
    row->setContentsMargins(0, 0, 0, 0);
    readyPane_ = new QLabel(QStringLiteral("レディ"));
    readyPane_->setObjectName(QStringLiteral("readyPane"));
    readyPane_->setMinimumWidth(100);
    countPane_ = new QLabel(QStringLiteral("総アイテム数:    0"));
    countPane_->setObjectName(QStringLiteral("countPane"));
    countPane_->setFixedWidth(150);
    countPane_->setFrameShape(QFrame::Panel);
    countPane_->setFrameShadow(QFrame::Sunken);
    selectedPane_ = new QLabel(QStringLiteral("選択アイテム数:     0"));
    selectedPane_->setObjectName(QStringLiteral("selectedPane"));
    selectedPane_->setFixedWidth(150);
    readyPane_->setFrameShape(QFrame::Panel);
    readyPane_->setFrameShadow(QFrame::Sunken);
    menuButton_ = new QToolButton;
    menuButton_->setObjectName(QStringLiteral("menuButton"));
    menuButton_->setIcon(menuSymbol(menuButton_));
    menuButton_->setIconSize(QSize(32, 16));
    menuButton_->setAccessibleName(QStringLiteral("メニュー"));
    menuButton_->setFixedWidth(50);
    row->addWidget(readyPane_, 1);
    row->addWidget(countPane_);
    row->addWidget(selectedPane_);
    row->addWidget(menuButton_);
    bar->addWidget(panes, 1);
    bar->setSizeGripEnabled(true);
}

void MainWindow::setToolTips() {
    const struct {
        QWidget* widget;
        const char* tip;
    } tips[] = {
        {browseButton_, "フォルダを選択します"},
        {folderBox_, "取り込むフォルダ名です"},
        {extensionBox_, "取り込む拡張子です"},
        {methodBox_, "リネーム方式を選択します"},
        {newRadio_, "新規に作成します"},
        {addRadio_, "現在のリストに追加します"},
        {subfoldersCheck_, "サブフォルダを含める場合はチェック"},
        {selectedOnlyCheck_, "選択ファイルだけ実行する場合はチェック"},
        {backupCheck_, "バックアップを作成する場合はチェック"},
        {autoAvoidCheck_, "同名ファイルが存在したとき、自動でファイル名を変更します"},
        {importButton_, "現在の設定で取り込みます(右クリックで詳細設定)"},
        {executeButton_, "現在の設定で実行します"},
        {undoButton_, "直前の変更を元に戻します"},
        {tabs_, "各リネーム方式から追加設定できます"},
        {previewButton_, "リネーム前後のファイル名を確認することが出来ます"},
        {folderModeCheck_, "フォルダモードにする場合にチェックします"},
        {folderCreationCheck_, "リネーム方式で設定したフォルダ名でフォルダを作成します"},
        {moveCheck_, "リネーム後ファイルを移動したい場合に選択してください"},
        {copyCheck_, "リネーム後ファイルをコピーしたい場合に選択してください"},
    };
    for (const auto& t : tips)
        t.widget->setToolTip(QString::fromUtf8(t.tip));
    // Every tip that shows is also put into the status bar's first pane (see eventFilter).
    qApp->installEventFilter(this);
    showFolderTip();
    connect(folderBox_, &QComboBox::editTextChanged, this, &MainWindow::showFolderTip);
}

void MainWindow::showFolderTip() {
    // While "チップ" is on, the folder box's tip is the folder text itself (long paths do
    // not fit the box).
    folderBox_->setToolTip(session_.detail.toolTips ? folderBox_->currentText()
                                                    : QStringLiteral("取り込むフォルダ名です"));
}

void MainWindow::connectControls() {
    connect(importButton_, &QPushButton::clicked, this, &MainWindow::importFolder);
    importButton_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(importButton_, &QWidget::customContextMenuRequested, this,
            &MainWindow::showDetailSettings);
    connect(browseButton_, &QPushButton::clicked, this, &MainWindow::browseFolder);
    connect(folderModeCheck_, &QCheckBox::clicked, this, [this](bool on) {
        readControls();
        switchFolderMode(on);
    });
    connect(methodBox_, &QComboBox::activated, this, [this](int index) {
        readControls();
        selectMethod(index);
    });
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::showPages);
    connect(folderCreationCheck_, &QCheckBox::clicked, this, &MainWindow::folderCreationClicked);
    connect(moveCheck_, &QCheckBox::clicked, this,
            [this] { transferClicked(moveCheck_, copyCheck_); });
    connect(copyCheck_, &QCheckBox::clicked, this,
            [this] { transferClicked(copyCheck_, moveCheck_); });
    connect(executeButton_, &QPushButton::clicked, this, &MainWindow::execute);
    connect(undoButton_, &QPushButton::clicked, this, &MainWindow::undo);
    connect(previewButton_, &QPushButton::clicked, this, &MainWindow::preview);
    connect(menuButton_, &QToolButton::clicked, this, &MainWindow::showHelpMenu);

    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainWindow::selectionChanged);
    connect(list_, &ItemListView::deletePressed, this, &MainWindow::clearSelected);
    connect(list_, &ItemListView::rowsDragged, this, &MainWindow::moveDraggedRows);
    connect(list_, &ItemListView::pathsDropped, this, [this](const QStringList& paths) {
        std::vector<std::u16string> dropped;
        for (const QString& p : paths)
            dropped.push_back(corePath(p));
        importPaths(dropped, PathSource::Drop);
    });
    connect(list_, &QWidget::customContextMenuRequested, this, &MainWindow::showContextMenu);
    connect(list_, &QAbstractItemView::doubleClicked, this, &MainWindow::showSelectedFileInfo);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &MainWindow::sortByHeader);
    connect(
        list_->horizontalHeader(), &QWidget::customContextMenuRequested, this,
        [this](const QPoint& pos) { showHeaderMenu(list_->horizontalHeader()->mapToGlobal(pos)); });
    connect(model_, &ItemListModel::nameEdited, this, &MainWindow::renameEdited);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, this, &MainWindow::editSelected);
}

std::vector<std::pair<QCheckBox*, std::int32_t MainSettings::*>> MainWindow::flagBoxes() const {
    return {
        {folderModeCheck_, &MainSettings::folderMode},
        {subfoldersCheck_, &MainSettings::subfolders},
        {selectedOnlyCheck_, &MainSettings::selectedOnly},
        {backupCheck_, &MainSettings::backup},
        {autoAvoidCheck_, &MainSettings::autoAvoid},
        {folderCreationCheck_, &MainSettings::folderCreation},
        {moveCheck_, &MainSettings::moveAfter},
        {copyCheck_, &MainSettings::copyAfter},
    };
}

void MainWindow::readControls() {
    MainSettings& s = session_.settings;
    for (const auto& [box, field] : flagBoxes())
        s.*field = flag(box);
    s.importMode = addRadio_->isChecked() ? 1 : 0;
    folderBox_->takeText();
    extensionBox_->takeText();
    shownPage()->takeSettings();
    if (tabs_->currentIndex() == 1)
        addPage()->takeSettings();
}

void MainWindow::showControls() {
    const MainSettings& s = session_.settings;
    for (const auto& [box, field] : flagBoxes())
        setFlag(box, s.*field);
    setFlag(newRadio_, s.importMode == 0);
    setFlag(addRadio_, s.importMode != 0);
    extensionBox_->setEnabled(s.folderMode == 0);
    showBoxes();
}

void MainWindow::showBoxes() {
    folderBox_->showBox();
    extensionBox_->showBox();
    for (MethodPageWidget* page : pages_) {
        if (page)
            page->showSettings();
    }
    if (addPage_)
        addPage_->showSettings();
}

MethodPageWidget* MainWindow::methodPage(int index) {
    MethodPageWidget*& page = pages_.at(static_cast<size_t>(index));
    if (!page) {
        page = makeMethodPageWidget(index, session_, mainPages_);
        page->setObjectName(QStringLiteral("page%1").arg(index));
        // A page that starts or stops adding text offers or withdraws the add tab.
        connect(page, &MethodPageWidget::addModeChanged, this, &MainWindow::updateAddTab);
        if (liveNames_)
            watchSettings(page);
        mainPages_->addWidget(page);
        updateTabOrder();
    }
    return page;
}

MethodPageWidget* MainWindow::shownPage() {
    const int index = methodBox_->currentIndex();
    return methodPage(index >= 0 && static_cast<size_t>(index) < pages_.size() ? index : 0);
}

MethodPageWidget* MainWindow::addPage() {
    if (!addPage_) {
        addPage_ = makeMethodPageWidget(kAddTextIndex, session_, nullptr);
        addPage_->setObjectName(QStringLiteral("addTextStepPage"));
        if (liveNames_)
            watchSettings(addPage_);
        addPageArea_->setWidget(addPage_);
        updateTabOrder();
    }
    return addPage_;
}

void MainWindow::selectMethod(int index) {
    if (index < 0 || static_cast<size_t>(index) >= pages_.size())
        index = 0;
    const auto refuse = [&](const Message& message) {
        showMessage(message);
        session_.settings.methodIndex = previousMethod_;
        const QSignalBlocker block(methodBox_);
        methodBox_->setCurrentIndex(previousMethod_);
    };
    if (session_.settings.folderMode && (index == 4 || index == 5 || index == 9))
        return refuse(errorMessage(u"フォルダモードでこの項目は選択できません"));
    if (session_.settings.folderCreation && !namesFolders(session_.methods, index))
        return refuse(methodRefusedInFolderCreation());
    previousMethod_ = index;
    session_.settings.methodIndex = index;
    {
        const QSignalBlocker block(methodBox_);
        methodBox_->setCurrentIndex(index);
    }
    if (tabs_->currentIndex() != 0)
        tabs_->setCurrentIndex(0);
    // Only the shown page sizes the stack: a hidden page that is wider or taller must not make
    // the shown one scroll.
    MethodPageWidget* shown = methodPage(index);
    for (MethodPageWidget* page : pages_) {
        if (page)
            page->setSizePolicy(page == shown ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                                page == shown ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    mainPages_->setCurrentWidget(shown);
    updateAddTab();
}

void MainWindow::updateAddTab() {
    shownPage()->takeSettings();
    const MethodPage* page = session_.currentPage();
    tabs_->setTabEnabled(1, page && page->usesAddText());
}

void MainWindow::showPages(int tab) {
    // On the add tab the method stays fixed until the first tab is chosen again.
    methodBox_->setEnabled(tab == 0);
    if (tab == 1) {
        shownPage()->takeSettings();
        addPage()->showSettings();
    } else {
        if (addPage_)
            addPage_->takeSettings();
        shownPage()->showSettings();
    }
}

bool MainWindow::switchFolderMode(bool on) {
    if (!session_.items().empty()) {
        const Message question{u"現在リストにあるアイテムはクリアされますがこのまま続けますか？",
                               u"確認", Icon::Question};
        if (!prompts_.askYesNo(this, question) || !changeList([](ItemTable& t) { t.clear(); })) {
            setFlag(folderModeCheck_, !on);
            session_.settings.folderMode = on ? 0 : 1;
            return false;
        }
    }
    session_.settings.folderMode = on ? 1 : 0;
    if (on)
        commitBoxText(session_.extensionBox, session_.detail.historyLimit);
    else
        session_.extensionBox.text = session_.extensionBox.entries.empty()
                                         ? session_.extensionBox.defaultText
                                         : session_.extensionBox.entries.front();
    showFolderMode();
    return true;
}

void MainWindow::showFolderMode() {
    const bool on = session_.settings.folderMode != 0;
    setFlag(folderModeCheck_, on);
    extensionBox_->setEnabled(!on);
    if (on)
        session_.extensionBox.text = std::u16string(kFolderModeText);
    extensionBox_->showBox();
    const int index = session_.settings.methodIndex;
    if (on && (index == 4 || index == 5 || index == 9))
        selectMethod(0);
}

void MainWindow::folderCreationClicked() {
    readControls();
    if (session_.settings.folderCreation &&
        !namesFolders(session_.methods, session_.settings.methodIndex)) {
        showMessage(methodCannotNameFolders());
        setFlag(folderCreationCheck_, 0);
        session_.settings.folderCreation = 0;
    }
}

void MainWindow::transferClicked(QCheckBox* clicked, QCheckBox* other) {
    if (clicked->isChecked() && other->isChecked()) {
        showMessage(errorMessage(u"移動とコピーは同時に選択出来ません"));
        setFlag(clicked, 0);
    }
    readControls();
}

void MainWindow::updateTabOrder() {
    // Tab follows the controls as they are read: the import group, the method box with the
    // tabs and the shown page, the execution group, the list (and its log), the menu button.
    // The pages and the log panel are made later than the rest, so the order is set anew
    // whenever one of them joins the window.
    std::vector<QWidget*> order{folderBox_, browseButton_,  extensionBox_,    folderModeCheck_,
                                newRadio_,  addRadio_,      subfoldersCheck_, importButton_,
                                methodBox_, tabs_->tabBar()};
    std::vector<QWidget*> pages(pages_.begin(), pages_.end());
    pages.push_back(addPage_);
    for (QWidget* page : pages) {
        if (!page)
            continue;
        // In the order they were made, which is each page's own reading order.
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy())
                order.push_back(w);
        }
    }
    order.insert(order.end(),
                 {selectedOnlyCheck_, folderCreationCheck_, backupCheck_, moveCheck_,
                  autoAvoidCheck_, copyCheck_, executeButton_, undoButton_, previewButton_, list_});
    if (logPanel_)
        order.push_back(logPanel_);
    order.push_back(menuButton_);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void MainWindow::showStatus(const QString& text) {
    readyPane_->setText(text);
    tipInPane_ = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !widget->toolTip().isEmpty()) {
            readyPane_->setText(widget->toolTip());
            tipInPane_ = true;
        }
    } else if (event->type() == QEvent::Hide && tipInPane_ && watched->inherits("QTipLabel")) {
        readyPane_->setText(QStringLiteral("レディ"));
        tipInPane_ = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showMessage(const Message& message) {
    prompts_.showMessage(this, message);
}

void MainWindow::restorePlacement() {
    // Without a placement of its own the window opens as large as its controls ask, with the
    // list wide enough for its columns, as far as the screen has room.
    int columns = 0;
    for (int c = 0; c < model_->columnCount(); ++c)
        columns += list_->columnWidth(c);
    const int listWidth =
        columns + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    QSize size = sizeHint();
    size.rwidth() += std::max(0, listWidth - list_->sizeHint().width());
    // The screen's free area must hold the window with its frame. The window manager's borders
    // and title bar are unknown before the window is shown, so room for a typical frame is kept.
    const QSize frame(16, 48);
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() - frame);
    resize(minimumSize().expandedTo(size));
    gui::restorePlacement(this, session_.ini, u"WindowSize");
}

void MainWindow::savePlacement() {
    gui::savePlacement(this, session_.ini, u"WindowSize");
}

}  // namespace soramine::gui
