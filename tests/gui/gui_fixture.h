#pragma once

// Shared pieces of the window tests: prompts answered from a script, a closer for the modal
// dialogs a command opens, and screenshots saved as test artifacts.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "core/base/message.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::testing {

// Answers every question from a queue (Yes when it is empty) and records what was asked.
class ScriptedPrompts final : public gui::Prompts {
  public:
    std::deque<bool> answers;
    std::optional<QString> folder;        // what a folder picker returns
    std::optional<QString> settingsFile;  // what the open and save dialogs return
    std::vector<Message> questions;
    std::vector<Message> messages;
    QString folderTitle, folderStart;
    std::function<void(const Message&)> onMessage;  // called while a message is "up"

    bool askYesNo(QWidget*, const Message& question) override {
        questions.push_back(question);
        if (answers.empty())
            return true;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void showMessage(QWidget*, const Message& message) override {
        messages.push_back(message);
        if (onMessage)
            onMessage(message);
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title,
                                        const QString& start) override {
        folderTitle = title;
        folderStart = start;
        return folder;
    }
    std::optional<QString> openSettingsFile(QWidget*) override { return settingsFile; }
    std::optional<QString> saveSettingsFile(QWidget*) override { return settingsFile; }
    QString lastMessage() const {
        return messages.empty() ? QString() : gui::qs(messages.back().text);
    }
};

// Closes the modal dialogs that open while a command runs, after `onOpen` has looked at
// each; records their titles.
class ModalCloser {
  public:
    explicit ModalCloser(std::function<void(QDialog&)> onOpen = {}) : onOpen_(std::move(onOpen)) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog == last_)
                return;
            last_ = dialog;
            titles.push_back(dialog->windowTitle());
            if (onOpen_)
                onOpen_(*dialog);
            dialog->reject();
        });
        timer_.start();
    }
    QStringList titles;

  private:
    std::function<void(QDialog&)> onOpen_;
    QTimer timer_;
    QPointer<QDialog> last_;
};

// Saves a picture of the widget as <build>/screenshots/<name>.png.
inline void saveScreenshot(QWidget& widget, const QString& name) {
    QDir().mkpath(QStringLiteral(SORAMINE_SCREENSHOTS));
    widget.grab().save(QStringLiteral(SORAMINE_SCREENSHOTS "/") + name + QStringLiteral(".png"));
}

}  // namespace soramine::testing
