#include "gui/pages/page_form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "gui/list_columns.h"
#include "gui/message_box.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

QString accessibleCaption(QString text) {
    return text.remove(QLatin1Char('&'));
}

PageForm::PageForm(QWidget* page, MethodPage& core, RenameSession& session)
    : QObject(page), page_(page), core_(core), session_(session) {}

void PageForm::show() {
    for (const auto& f : shows_)
        f();
}

void PageForm::take() {
    for (const auto& f : takes_)
        f();
}

QLabel* PageForm::caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text, page_);
    label->setBuddy(buddy);
    buddy->setAccessibleName(accessibleCaption(text));
    return label;
}

QLabel* PageForm::label(const QString& text) {
    return new QLabel(text, page_);
}

QLabel* PageForm::hint(const QString& text) {
    auto* label = new QLabel(text, page_);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
    return label;
}

QCheckBox* PageForm::checkBox(const QString& text, std::int32_t& field) {
    auto* box = new QCheckBox(text, page_);
    box->setAccessibleName(accessibleCaption(text));
    shows_.push_back([box, &field] { box->setChecked(field != 0); });
    takes_.push_back([box, &field] { field = box->isChecked() ? 1 : 0; });
    return box;
}

QButtonGroup* PageForm::radioGroup(std::int32_t& field, std::initializer_list<QString> texts) {
    auto* group = new QButtonGroup(page_);
    int id = 0;
    for (const QString& text : texts) {
        auto* button = new QRadioButton(text, page_);
        button->setAccessibleName(accessibleCaption(text));
        group->addButton(button, id++);
    }
    shows_.push_back([group, &field] {
        if (QAbstractButton* button = group->button(field))
            button->setChecked(true);
    });
    // A value no button stands for (from a damaged INI) stays until the user picks one.
    takes_.push_back([group, &field] {
        if (group->checkedId() >= 0)
            field = group->checkedId();
    });
    return group;
}

QComboBox* PageForm::dropDown(std::int32_t& field, const QStringList& items) {
    auto* box = new QComboBox(page_);
    box->addItems(items);
    shows_.push_back([box, &field] {
        const QSignalBlocker quiet(box);
        box->setCurrentIndex(field >= 0 && field < box->count() ? field : -1);
    });
    takes_.push_back([box, &field] {
        if (box->currentIndex() >= 0)
            field = box->currentIndex();
    });
    return box;
}

QLineEdit* PageForm::lineEdit(std::u16string& field) {
    auto* edit = new QLineEdit(page_);
    shows_.push_back([edit, &field] {
        const QSignalBlocker quiet(edit);
        edit->setText(qs(field));
    });
    takes_.push_back([edit, &field] { field = u16(edit->text()); });
    return edit;
}

QSpinBox* PageForm::spinBox(std::int32_t& field, int minimum, int maximum) {
    auto* box = new QSpinBox(page_);
    box->setRange(minimum, maximum);
    shows_.push_back([box, &field] {
        const QSignalBlocker quiet(box);
        box->setValue(field);
    });
    takes_.push_back([box, &field] { field = box->value(); });
    return box;
}

QDateTimeEdit* PageForm::momentEdit(std::int64_t& field, bool timeOfDay) {
    QDateTimeEdit* edit =
        timeOfDay ? static_cast<QDateTimeEdit*>(new QTimeEdit(page_)) : new QDateEdit(page_);
    edit->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    edit->setDisplayFormat(timeOfDay ? QStringLiteral("H:mm:ss") : QStringLiteral("yyyy/MM/dd"));
    edit->setCalendarPopup(!timeOfDay);
    shows_.push_back([edit, &field] {
        const QSignalBlocker quiet(edit);
        edit->setDateTime(QDateTime::fromSecsSinceEpoch(field));
    });
    takes_.push_back([edit, &field, timeOfDay] {
        QDateTime moment = QDateTime::fromSecsSinceEpoch(field);
        if (timeOfDay)
            moment.setTime(edit->time());
        else
            moment.setDate(edit->date());
        field = moment.toSecsSinceEpoch();
    });
    return edit;
}

HistoryComboBox* PageForm::historyBox(HistoryBox& box) {
    auto* combo = new HistoryComboBox(page_);
    combo->bind(&box);
    // The box's set is looked up at each edit: a page may change it with its settings (a
    // regular expression needs every character).
    QLineEdit* edit = combo->lineEdit();
    connect(edit, &QLineEdit::textEdited, this, [this, edit, &box] {
        for (const TextSetting& setting : core_.textSettings()) {
            if (setting.text == &box.text)
                repairForbidden(edit, setting.forbidden);
        }
    });
    shows_.push_back([combo] { combo->showBox(); });
    takes_.push_back([combo] { combo->takeText(); });
    return combo;
}

HistoryComboBox* PageForm::pathBox(HistoryBox& box) {
    HistoryComboBox* combo = historyBox(box);
    useListFont(combo);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(8);
    return combo;
}

void PageForm::repairForbidden(QLineEdit* edit, text::ForbiddenSet set) {
    const int selectionEnd =
        edit->hasSelectedText() ? edit->selectionEnd() : edit->cursorPosition();
    const std::u16string typed = u16(edit->text());
    text::TypingRepair repair =
        text::repairWhileTyping(typed, set, session_.detail.fullWidthForbidden != 0, selectionEnd);
    if (repair.text != typed) {
        edit->setText(qs(repair.text));
        edit->setCursorPosition(repair.caret);
    }
    if (repair.message)
        showMessage(page_, *repair.message);
}

void PageForm::dropTextFileInto(QWidget* target, HistoryComboBox* box) {
    dropTarget_ = target;
    dropBox_ = box;
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

namespace {

// The path of a drop that is exactly one existing .txt or .text file, or an empty text.
QString droppedTextFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile())
        return {};
    const QFileInfo file(data->urls().front().toLocalFile());
    const QString extension = file.suffix().toLower();
    if (!file.isFile() || (extension != QLatin1String("txt") && extension != QLatin1String("text")))
        return {};
    return file.filePath();
}

}  // namespace

void PageForm::tabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void PageForm::tip(QWidget* widget, const QString& text) {
    widget->setToolTip(text);
    widget->installEventFilter(this);
}

void PageForm::useListFont(QWidget* widget) const {
    widget->setFont(inListFontFamily(widget->font(), session_.detail));
}

bool PageForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dropTarget_ && event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (enter->mimeData()->hasUrls())
            enter->acceptProposedAction();
        return true;
    }
    if (watched == dropTarget_ && event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedTextFile(drop->mimeData());
        if (!path.isEmpty()) {
            dropBox_->setEditText(path);
            drop->acceptProposedAction();
        }
        return true;
    }
    if (event->type() == QEvent::ToolTip && session_.detail.toolTips != 1)
        return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace soramine::gui
