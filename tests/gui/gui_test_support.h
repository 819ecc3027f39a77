#pragma once

// Shared pieces of the GUI tests: a session with its INI in a temporary folder, widgets found
// by their accessible names, message boxes answered and recorded, screenshots.

#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "core/engine/session.h"

namespace soramine::testing {

// A session of the product's methods whose INI file lies in `dir`.
std::unique_ptr<RenameSession> makeSession(const QTemporaryDir& dir);

// A page widget on its core page (the method at `methodIndex`) of a fresh session, shown at
// about the width the main window gives its pages.
template <class CorePage, class PageWidget>
struct PageUnderTest {
    explicit PageUnderTest(int methodIndex)
        : session(makeSession(dir)),
          core(dynamic_cast<CorePage*>(session->methods.page(methodIndex))),
          page(*core, *session, nullptr) {
        page.resize(page.sizeHint().expandedTo(QSize(420, 0)));
        page.show();
    }

    QTemporaryDir dir;
    std::unique_ptr<RenameSession> session;
    CorePage* core;
    PageWidget page;
};

// The child of `root` of type W whose accessible name is `name`; fails the test when there is
// none.
QWidget* findNamed(QWidget* root, const QString& name, const char* typeName);
template <class W>
W* named(QWidget* root, const QString& name) {
    return qobject_cast<W*>(findNamed(root, name, W::staticMetaObject.className()));
}

// Answers every message box that opens while it lives (also inside another modal loop) and
// keeps "caption: text" of each.
class MessageCatcher : public QObject {
  public:
    MessageCatcher();
    QStringList messages;

  private:
    QTimer timer_;
};

// Clicks a check box or radio button on its indicator (a wide button's centre may lie past its
// caption, where a click does nothing).
void clickButton(QWidget* button);

// Types `text` into `widget` key by key, also characters that have no key of their own.
void typeText(QWidget* widget, const QString& text);

// Presses Alt + `key` on `window` and types `text` over everything in the control that the
// access key focused, as a person would.
void typeAtAccessKey(QWidget* window, char key, const QString& text);

// The preview of a single item `name` in `folder` with the session's method `methodIndex`:
// its new name, the message logged for it, or the message that stopped the run.
QString previewOneItem(RenameSession& session, int methodIndex, const QString& folder,
                       const QString& name);

// The preview's new names of the session's current method for items of these names in a
// folder that does not exist (so that no name is taken); the method's message, if it stops.
QStringList previewNames(RenameSession& session, int methodIndex, const QStringList& names);

// Saves `widget` as screenshots/<name>.png in the build folder.
void saveScreenshot(QWidget* widget, const QString& name);

}  // namespace soramine::testing
