#include "gui_test_support.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTest>

#include "core/engine/preview.h"
#include "core/methods/method_list.h"
#include "gui/qt_text.h"
#include "gui/ui_font.h"
#include "gui/window_host.h"
#include "gui_fixture.h"

namespace soramine::testing {
namespace {

// The tests' windows use the font that the program chooses at its start.
void useProgramFont() {
    gui::useJapaneseUiFont();
}
Q_COREAPP_STARTUP_FUNCTION(useProgramFont)

}  // namespace

std::unique_ptr<RenameSession> makeSession(const QTemporaryDir& dir) {
    auto session = std::make_unique<RenameSession>(
        IniFile(gui::u16(dir.filePath(QStringLiteral("ソラミネ.ini")))), makeMethodTable());
    session->readIni();
    return session;
}

QWidget* findNamed(QWidget* root, const QString& name, const char* typeName) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (w->accessibleName() == name && w->inherits(typeName))
            return w;
    }
    qWarning("no %s named %s", typeName, qPrintable(name));
    return nullptr;
}

MessageCatcher::MessageCatcher() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box && box->isVisible()) {
                messages << box->windowTitle() + QStringLiteral(": ") + box->text();
                box->done(QMessageBox::Ok);
            }
        }
    });
    timer_.start();
}

void clickButton(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void typeAtAccessKey(QWidget* window, char key, const QString& text) {
    QTest::keyClick(window, key, Qt::AltModifier);
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClick(focused, Qt::Key_A, Qt::ControlModifier);
    typeText(focused, text);
}

QString previewOneItem(RenameSession& session, int methodIndex, const QString& folder,
                       const QString& name) {
    session.settings.methodIndex = methodIndex;
    const bool changed = session.changeItems([&](ItemTable& table) {
        table.clear();
        Row row;
        row.name = gui::u16(name);
        row.folder = gui::u16(folder) + u"/";
        table.append(std::move(row));
    });
    if (!changed)
        return QStringLiteral("busy");
    ScriptedPrompts prompts;
    gui::WindowHost host(nullptr, prompts);
    QuietObserver quiet;
    const PreviewResult result = previewRun(session, host, quiet);
    if (result.message)
        return gui::qs(result.message->text);
    return result.previewNew.empty() ? QString() : gui::qs(result.previewNew.front());
}

QStringList previewNames(RenameSession& session, int methodIndex, const QStringList& names) {
    session.settings.methodIndex = methodIndex;
    const bool changed = session.changeItems([&](ItemTable& table) {
        table = ItemTable();
        for (const QString& name : names)
            table.append(Row{gui::u16(name), u"/nonexistent-soramine-test/"});
    });
    if (!changed)
        return {QStringLiteral("running")};
    ScriptedPrompts prompts;
    gui::WindowHost host(nullptr, prompts);
    QuietObserver quiet;
    const PreviewResult preview = previewRun(session, host, quiet);
    if (preview.message)
        return {gui::qs(preview.message->text)};
    QStringList out;
    for (const std::u16string& name : preview.previewNew)
        out << gui::qs(name);
    return out;
}

void saveScreenshot(QWidget* widget, const QString& name) {
    QDir().mkpath(QStringLiteral(SORAMINE_SCREENSHOTS));
    const QString path = QStringLiteral(SORAMINE_SCREENSHOTS "/") + name + QStringLiteral(".png");
    QVERIFY2(widget->grab().save(path), qPrintable(path));
}

}  // namespace soramine::testing
