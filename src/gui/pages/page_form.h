#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/engine/session.h"
#include "core/text/forbidden_chars.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

namespace soramine::gui {

class HistoryComboBox;

// The chores every method page shares: it makes the page's controls, ties each to a field of
// the core page object, and moves all of them at once (show: core -> widgets, take: widgets ->
// core). Captions carry their access keys; a control's accessible name is its caption without
// the "&". The tips of a page show only while the detailed setting "チップ" is 1.
class PageForm : public QObject {
    Q_OBJECT
  public:
    PageForm(QWidget* page, MethodPage& core, RenameSession& session);

    void show();
    void take();

    // A caption whose access key moves the focus to `buddy`, which is named after it.
    QLabel* caption(const QString& text, QWidget* buddy);
    QLabel* label(const QString& text);
    // A hint line, drawn in red.
    QLabel* hint(const QString& text);
    QCheckBox* checkBox(const QString& text, std::int32_t& field);
    // Radio buttons for the values 0, 1, ... of `field`, in the order of `texts`.
    QButtonGroup* radioGroup(std::int32_t& field, std::initializer_list<QString> texts);
    // A drop-down list whose index is `field`.
    QComboBox* dropDown(std::int32_t& field, const QStringList& items);
    QLineEdit* lineEdit(std::u16string& field);
    // A number box with up and down arrows, limited to `minimum`..`maximum`.
    QSpinBox* spinBox(std::int32_t& field, int minimum, int maximum);
    // A picker of the date (a drop-down calendar) or, with `timeOfDay`, of the time of day
    // (spin buttons) of a moment in seconds since 1970, shown in local time; the other part of
    // the moment stays as it is.
    QDateTimeEdit* momentEdit(std::int64_t& field, bool timeOfDay);
    // A history box of the core page. When the page lists its text among its text settings,
    // typed characters of that setting's forbidden set are deleted (or widened).
    HistoryComboBox* historyBox(HistoryBox& box);
    // A history box of file paths, in the list's font, as wide as the page gives it rather
    // than as its longest path.
    HistoryComboBox* pathBox(HistoryBox& box);
    // Repairs the text just typed into `edit` (see text::repairWhileTyping) and shows the
    // message when characters were deleted.
    void repairForbidden(QLineEdit* edit, text::ForbiddenSet set);

    // Lets a drop of exactly one existing file whose extension is "txt" or "text" (in any
    // letter case) on `target` put that file's path into `box`; other drops are ignored
    // without a message.
    void dropTextFileInto(QWidget* target, HistoryComboBox* box);

    // Tab order for a page whose controls are not made in the order they are shown.
    static void tabOrder(std::initializer_list<QWidget*> widgets);

    void tip(QWidget* widget, const QString& text);
    // The font of the detailed setting "フォント名", for the boxes that show names.
    void useListFont(QWidget* widget) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* page_;
    MethodPage& core_;
    RenameSession& session_;
    std::vector<std::function<void()>> shows_;
    std::vector<std::function<void()>> takes_;
    QWidget* dropTarget_ = nullptr;
    HistoryComboBox* dropBox_ = nullptr;
};

// A caption as a screen reader reads it: without the "&" of its access key.
QString accessibleCaption(QString text);

}  // namespace soramine::gui
