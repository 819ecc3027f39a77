#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/journal.h"
#include "core/engine/session.h"
#include "core/engine/undo.h"
#include "core/items/import.h"
#include "gui/window_host.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QTabWidget;
class QToolButton;
class QVBoxLayout;

namespace soramine::gui {

class HistoryComboBox;
class MethodPageWidget;

class ItemListModel;
class ItemListView;
class LiveNames;
class Prompts;

// The main window "ソラミネ": the import controls, the method box with the tab control that
// shows the method's page, the execution options and buttons, the item list, the log panel
// and the status bar. It binds its widgets to the session's settings and boxes, turns clicks
// into the core's operations and shows the core's messages; it decides no name itself.
//
// Construction reads what the session read from the INI file (options, widths, placement)
// and fills the history boxes from `histories`; destruction writes them all back.
class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(RenameSession& session, HistoryMap& histories, Prompts& prompts,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The program's own command line (the arguments after the program path), or one that a
    // later start forwarded: one ".qrn" path is loaded as settings, anything else is
    // imported. During a run it waits until the run ends.
    void handleCommandLine(const std::vector<std::u16string>& args,
                           PathSource source = PathSource::CommandLine);
    // A later start's paths: the window comes to the front and handles them.
    void receiveForwarded(const std::vector<std::u16string>& paths);

    // The commands, as the buttons and menus call them.
    void importFolder();
    void importPaths(const std::vector<std::u16string>& paths, PathSource source);
    void preview();
    void execute();
    void undo();
    // Offers to undo each run whose journal shows that it did not finish (its program was
    // killed, the power went), newest first.
    void offerUnfinishedUndo();
    // "実行履歴": the journalled runs; the one chosen there is undone.
    void showRunHistory();
    // Executions keep an undo journal; only a benchmark turns that off, to measure its cost.
    void setJournalling(bool on) { journalling_ = on; }
    bool loadSettingsFile(const std::u16string& path);
    void saveSettingsFileAs(const std::u16string& path);

    void clearAll();
    void clearSelected();
    void selectAll();
    void invertSelection();
    void editSelected();
    void swapSelected();
    void trashSelected();
    void openSelectedFolder();
    // The information window of the one selected row.
    void showSelectedFileInfo();
    // Sorts by the list's display column as a header click does.
    void sortByHeader(int section);
    void sortByText(ItemTable::Column column, bool descending);
    // The sort menu's time sorts; the sort's report goes to the log panel.
    void sortByTime(SortTime time, bool newestFirst);

  private:
    void buildControls();
    QWidget* buildImportGroup();
    QWidget* buildRenameGroup();
    QWidget* buildExecutionGroup();
    void buildStatusBar();
    // The menus, made when first opened.
    QMenu* contextMenu();
    QMenu* sortMenu();
    QMenu* helpMenu();
    void setToolTips();
    void connectControls();
    void updateTabOrder();
    void restorePlacement();
    void savePlacement();

    // The check boxes of the main options and the settings they show.
    std::vector<std::pair<QCheckBox*, std::int32_t MainSettings::*>> flagBoxes() const;
    // Controls -> session (every command starts with it), and session -> controls.
    void readControls();
    void showControls();
    void showBoxes();

    // The page of a method, and the add-text page of the second tab, built on first use.
    MethodPageWidget* methodPage(int index);
    MethodPageWidget* shownPage();
    MethodPageWidget* addPage();
    void selectMethod(int index);
    void showPages(int tab);
    void updateAddTab();
    bool switchFolderMode(bool on);
    void showFolderMode();
    void folderCreationClicked();
    void transferClicked(QCheckBox* clicked, QCheckBox* other);
    void browseFolder();
    void dropOnFolderBox(const std::vector<std::u16string>& paths);

    // Every change of the items: one model reset (a repaint when the change only reorders
    // the rows), the selection put back, the counts and the undo button updated. False (and
    // the message) while a run is under way.
    bool changeList(const std::function<void(ItemTable&)>& change, bool reorderOnly = false);
    // The same for a change that the session makes itself (`change` returns its result).
    bool updateList(const std::function<bool()>& change, bool reorderOnly);
    void selectionChanged();
    void clearSelectionQuietly();
    void updateCounts();
    void updateUndoButton();
    void showLog();
    // The execute button in folder-creation mode: folders instead of renames.
    void makeFolders();
    QPlainTextEdit* logPanel();  // made at its first use
    void showUnreadableFolders(const std::vector<UnreadableFolder>& folders);
    void afterRun();
    // The loop and the end of an undo (the last run's, or a journalled run's).
    void runUndo(UndoJob job);
    void undoJournalRun(const std::u16string& path);
    // Waits until the last run's journal is on the disk and closed, so that an undo, the run
    // history or the next run may take it; says so when part of it could not be written.
    void closeJournal();
    QString methodName(int index) const;
    void renameEdited(int row, const QString& text);
    void moveDraggedRows(int at);
    // The header's sort mark on the column of the item field last sorted by (none after any
    // other change of the list).
    void showSortIndicator(std::optional<ItemTable::Column> field, bool descending);
    void showMessage(const Message& message);
    // The status bar's first pane: what the last command did, until the next tool tip.
    void showStatus(const QString& text);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The column of new names: its worker, the controls whose changes recompute it, the
    // short wait after a change, the computation, and switching the column on and off.
    void setUpNewNames();
    void watchSettings(QWidget* root);
    void scheduleNewNames();
    void computeNewNames();
    void showNewNames(bool on);
    // The header's menu: the sort menu's entries and the column of new names.
    void showHeaderMenu(const QPoint& globalPos);

    void showContextMenu(const QPoint& pos);
    void showSortMenu(const QPoint& globalPos);
    void showHelpMenu();
    void showFolderTip();
    // The detailed settings dialog; what it confirms is written and applied.
    void showDetailSettings();
    void showAbout();
    // A manual update check (its answer comes later, in a message box).
    void checkForUpdate();
    void openWebPage();
    // The user guide installed with the program, in the desktop's viewer.
    void openUserGuide();
    void openSettingsFileFromMenu();
    void saveSettingsFileFromMenu();

    RenameSession& session_;
    HistoryMap& histories_;
    Prompts& prompts_;
    WindowHost host_;

    HistoryComboBox* folderBox_ = nullptr;
    HistoryComboBox* extensionBox_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QCheckBox* folderModeCheck_ = nullptr;
    QRadioButton* newRadio_ = nullptr;
    QRadioButton* addRadio_ = nullptr;
    QCheckBox* subfoldersCheck_ = nullptr;
    QPushButton* importButton_ = nullptr;
    QComboBox* methodBox_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QStackedWidget* mainPages_ = nullptr;
    std::vector<MethodPageWidget*> pages_;  // by method index; null until first shown
    MethodPageWidget* addPage_ = nullptr;   // the add-text page in "　追加設定　"
    QScrollArea* addPageArea_ = nullptr;
    QCheckBox* selectedOnlyCheck_ = nullptr;
    QCheckBox* backupCheck_ = nullptr;
    QCheckBox* autoAvoidCheck_ = nullptr;
    QCheckBox* folderCreationCheck_ = nullptr;
    QCheckBox* moveCheck_ = nullptr;
    QCheckBox* copyCheck_ = nullptr;
    QPushButton* executeButton_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QPushButton* previewButton_ = nullptr;
    ItemListView* list_ = nullptr;
    ItemListModel* model_ = nullptr;
    QVBoxLayout* listColumn_ = nullptr;  // the list, and the log panel under it
    QPlainTextEdit* logPanel_ = nullptr;
    QLabel* readyPane_ = nullptr;
    QLabel* countPane_ = nullptr;
    QLabel* selectedPane_ = nullptr;
    QToolButton* menuButton_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QMenu* sortMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* headerMenu_ = nullptr;
    QAction* newNamesAction_ = nullptr;
    LiveNames* liveNames_ = nullptr;
    QTimer newNamesTimer_;
    std::shared_ptr<const ItemTable> itemsSnapshot_;  // the items the column was computed for
    QAction* clearSelectedAction_ = nullptr;
    QAction* swapAction_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* trashAction_ = nullptr;
    QAction* openFolderAction_ = nullptr;
    QAction* infoAction_ = nullptr;

    int previousMethod_ = 0;
    // One direction flag per item field for header clicks; set = the next click descends.
    std::array<bool, 5> descending_{};
    bool journalling_ = true;
    // The last run's journal: its own thread finishes it while the window shows the result.
    JournalWriter journal_;
    std::optional<ItemTable::Column> sortedBy_;  // what the header's sort mark shows
    bool sortedDescending_ = false;
    bool applyingSelection_ = false;  // the window itself is changing the view's selection
    bool tipInPane_ = false;          // the first pane shows the tool tip that is up
    std::vector<std::pair<std::vector<std::u16string>, PathSource>> queuedPaths_;
};

}  // namespace soramine::gui
