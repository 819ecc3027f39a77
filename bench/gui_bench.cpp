// Benchmarks of the window, offscreen. Each mode prints one number (seconds, or a ratio);
// bench/gui.sh compares them with their references.
//   import DIR     seconds from the import click to the rows painted
//   sort N         a header-click sort of N rows divided by a std::sort of the name column
//   window         shows the empty main window once painted and ends (start-up, peak memory)
//   dialog         the same for a minimal program with an empty dialog
//   execute DIR [unjournalled]
//                  seconds of a click on "実　行" that renames every file of DIR (imported
//                  first, with the default method) until the result dialog is closed; with
//                  "unjournalled" the window keeps no undo journal (the reference of its cost)
//   live DIR       the column of new names over the files of DIR ("file_000001.txt"...) with
//                  the replace page set to "file" -> "item": a key typed into the search box
//                  ("_", so that "item000001.txt"...), then the milliseconds until the
//                  visible rows are painted with their new names, the seconds until the whole
//                  column has them, and the longest event of the window's thread meanwhile
//                  in milliseconds; fails when the rows were never painted so

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/methods/replace.h"
#include "gui/font_preload.h"
#include "gui/item_list_view.h"
#include "gui/list_columns.h"
#include "gui/live_names.h"
#include "gui/main_window.h"
#include "gui/program_start.h"
#include "gui/prompts.h"
#include "gui/widgets/history_combo_box.h"

using namespace soramine;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notices the first paint event that reaches one widget.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget& widget) : widget_(widget) { widget.installEventFilter(this); }
    ~PaintWatch() override { widget_.removeEventFilter(this); }
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &widget_ && event->type() == QEvent::Paint)
            painted = true;
        return false;
    }

  private:
    QWidget& widget_;
};

// Delivers the pending events, which paint a window just shown or changed; a window that
// they left unpainted is painted at once. Either way it is painted once, as a user sees it.
void paint(QWidget& w) {
    PaintWatch watch(w);
    QCoreApplication::processEvents();
    if (!watch.painted)
        w.repaint();
}

// The program's own start (see main.cpp): settings, histories and fonts as ProgramStart reads
// them, the window shown; at the end the window writes its settings and the histories are kept.
int window(gui::FontConfigPreload& fonts, const char* importFolder) {
    gui::ProgramStart start(fonts);
    RenameSession& session = start.session;
    int status = 0;
    {
        gui::DialogPrompts prompts;
        gui::MainWindow window(session, start.histories, prompts);
        window.show();
        paint(window);
        if (importFolder) {
            window.findChild<QComboBox*>(QStringLiteral("folderBox"))
                ->setEditText(QString::fromUtf8(importFolder));
            const auto start = Clock::now();
            window.importFolder();
            paint(window);
            std::printf("%.6f\n", since(start));
            status = session.items().count() > 0 ? 0 : 1;
        }
    }
    return status;
}

int execution(gui::FontConfigPreload& fonts, const char* folder, bool journal) {
    gui::ProgramStart start(fonts);
    gui::DialogPrompts prompts;
    gui::MainWindow window(start.session, start.histories, prompts);
    window.setJournalling(journal);
    window.show();
    window.findChild<QComboBox*>(QStringLiteral("folderBox"))
        ->setEditText(QString::fromUtf8(folder));
    window.importFolder();
    paint(window);
    // The result dialog ("リネーム終了") is closed as soon as it is up.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->windowTitle() == QStringLiteral("リネーム終了"))
            dialog->accept();
    });
    closer.start(1);
    const auto begin = Clock::now();
    window.execute();
    paint(window);
    std::printf("%.6f\n", since(begin));
    return start.session.canUndo() ? 0 : 1;
}

// Times the events the window's thread handles (the outermost ones) while `measuring`, and
// calls `painted` after each paint event of `watched` (at any depth: the widgets of a window
// are painted inside the window's update request).
class TimedApplication final : public QApplication {
  public:
    using QApplication::QApplication;
    bool measuring = false;
    double longest = 0;  // seconds
    QObject* watched = nullptr;
    std::function<void()> painted;

    bool notify(QObject* receiver, QEvent* event) override {
        const bool paint = receiver == watched && event->type() == QEvent::Paint;
        if (!measuring || depth_ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            if (paint && painted)
                painted();
            return handled;
        }
        ++depth_;
        const auto start = Clock::now();
        const bool handled = QApplication::notify(receiver, event);
        longest = std::max(longest, since(start));
        --depth_;
        if (paint && painted)
            painted();
        return handled;
    }

  private:
    int depth_ = 0;
};

int liveColumn(TimedApplication& app, gui::FontConfigPreload& fonts, const char* folder) {
    gui::ProgramStart start(fonts);
    RenameSession& session = start.session;
    gui::writeNewNamesShown(session.ini, true);
    session.settings.methodIndex = 1;
    auto* replace = dynamic_cast<ReplacePage*>(session.methods.page(1));
    gui::DialogPrompts prompts;
    gui::MainWindow window(session, start.histories, prompts);
    window.show();
    window.findChild<QComboBox*>(QStringLiteral("folderBox"))
        ->setEditText(QString::fromUtf8(folder));
    window.importFolder();
    paint(window);
    QLineEdit* search = nullptr;
    for (auto* box : window.findChildren<gui::HistoryComboBox*>()) {
        if (box->box() == &replace->search)
            search = box->lineEdit();
        if (box->box() == &replace->replacement)
            box->setEditText(QStringLiteral("item"));
    }
    if (!search)
        return 1;
    search->setText(QStringLiteral("file"));
    auto* live = window.findChild<gui::LiveNames*>();
    auto* list = window.findChild<gui::ItemListView*>(QStringLiteral("itemList"));
    QEventLoop loop;
    bool complete = false;
    QObject::connect(live, &gui::LiveNames::namesReady,
                     [&](const std::shared_ptr<const gui::LiveNamesBatch>& batch) {
                         if (batch->complete) {
                             complete = true;
                             loop.quit();
                         }
                     });
    loop.exec();  // the column for the imported list
    // The visible rows show names once the last of them has one.
    const int column = 1;
    const int lastVisible = list->rowAt(list->viewport()->height() - 1);
    if (lastVisible < 0)
        return 1;
    double visible = 0;
    complete = false;
    search->setFocus();
    search->end(false);
    const auto begin = Clock::now();
    // The names are seen once the list's rows are painted after the last of them came.
    bool namesIn = false;
    QObject::connect(list->model(), &QAbstractItemModel::dataChanged, [&] {
        const QString last = list->model()->index(lastVisible, column).data().toString();
        namesIn = namesIn || last.startsWith(QStringLiteral("item0"));
    });
    app.watched = list->viewport();
    app.painted = [&] {
        if (namesIn && visible == 0)
            visible = since(begin);
    };
    app.measuring = true;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Underscore, Qt::NoModifier, QStringLiteral("_"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Underscore, Qt::NoModifier, QStringLiteral("_"));
    QApplication::sendEvent(search, &press);
    QApplication::sendEvent(search, &release);
    loop.exec();
    const double whole = since(begin);
    app.measuring = false;
    app.watched = nullptr;
    app.painted = nullptr;
    std::printf("%.3f %.6f %.3f\n", visible * 1000, whole, app.longest * 1000);
    return complete && visible > 0 ? 0 : 1;
}

int sortRows(size_t count) {
    RenameSession session(IniFile(u"/nonexistent/ソラミネ.ini"), makeMethodTable());
    std::mt19937 random(7);
    (void)session.changeItems([&](ItemTable& t) {
        for (size_t i = 0; i < count; ++i) {
            std::u16string name = u"IMG_";
            for (char c : std::to_string(random() % 1000000))
                name += static_cast<char16_t>(c);
            t.append(Row{name + u".jpg", u"/photos/2006/"});
        }
    });
    std::vector<std::u16string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back(session.items().name(i));
    auto start = Clock::now();
    std::sort(names.begin(), names.end());
    const double reference = since(start);

    HistoryMap histories;
    gui::DialogPrompts prompts;
    gui::MainWindow window(session, histories, prompts);
    window.show();
    paint(window);
    start = Clock::now();
    window.sortByHeader(0);
    paint(window);
    std::printf("%.3f\n", since(start) / reference);
    return 0;
}

int dialog() {
    QDialog dialog;
    dialog.show();
    paint(dialog);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    // The window starts as the program does, the minimal dialog as a minimal program does.
    std::optional<gui::FontConfigPreload> fonts;
    if (mode == "import" || mode == "window" || mode == "execute" || mode == "live")
        fonts.emplace();
    TimedApplication app(argc, argv);
    if (mode == "live" && argc > 2)
        return liveColumn(app, *fonts, argv[2]);
    if (mode == "import" && argc > 2)
        return window(*fonts, argv[2]);
    if (mode == "sort" && argc > 2)
        return sortRows(std::stoul(argv[2]));
    if (mode == "window")
        return window(*fonts, nullptr);
    if (mode == "dialog")
        return dialog();
    if (mode == "execute" && argc > 2)
        return execution(*fonts, argv[2], !(argc > 3 && std::strcmp(argv[3], "unjournalled") == 0));
    std::fputs(
        "usage: soramine-gui-bench import DIR | sort N | window | dialog | execute DIR "
        "[unjournalled] | live DIR\n",
        stderr);
    return 2;
}
