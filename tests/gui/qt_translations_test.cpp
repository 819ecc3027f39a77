#include "gui/qt_translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include "core/base/message.h"
#include "gui/message_box.h"
#include "gui/prompts.h"

using namespace soramine;

namespace {

// The texts of the buttons (and labels) of the modal dialog that `open` shows, read once it
// is up; the dialog is then closed with `close`.
QStringList textsOfModal(const std::function<void()>& open,
                         const std::function<void(QWidget&)>& close) {
    QStringList texts;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !texts.isEmpty())
            return;
        for (auto* button : modal->findChildren<QAbstractButton*>()) {
            if (button->isVisible() && !button->text().isEmpty())
                texts << button->text();
        }
        for (auto* label : modal->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        }
        close(*modal);
    });
    timer.start();
    open();
    return texts;
}

}  // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        // The tests run in the C locale: the texts must be Japanese all the same.
        gui::useJapaneseQtTexts();
    }

    void aQuestionBoxAsksWithYesAndNoInJapanese() {
        bool answer = true;
        const QStringList texts = textsOfModal(
            [&] {
                answer = gui::askYesNo(nullptr, Message{u"続けますか？", u"確認", Icon::Question});
            },
            [](QWidget& box) {
                auto* no = static_cast<QMessageBox&>(box).button(QMessageBox::No);
                QTest::mouseClick(no, Qt::LeftButton);
            });
        QVERIFY2(
            texts.contains(QStringLiteral("はい(&Y)")) || texts.contains(QStringLiteral("はい")),
            qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(QStringLiteral("いいえ(&N)")) ||
                     texts.contains(QStringLiteral("いいえ")),
                 qPrintable(texts.join(u'|')));
        QVERIFY(!answer);
    }

    void theFileDialogSpeaksJapanese() {
        gui::DialogPrompts prompts;
        std::optional<QString> chosen;
        const QStringList texts =
            textsOfModal([&] { chosen = prompts.openSettingsFile(nullptr); },
                         [](QWidget& dialog) { static_cast<QDialog&>(dialog).reject(); });
        const QString all = texts.join(u'|');
        for (const char* expected : {"キャンセル", "開く", "ファイル名"})
            QVERIFY2(all.contains(QString::fromUtf8(expected)), qPrintable(all));
        for (const char* english : {"Cancel", "Open", "File name", "Look in"})
            QVERIFY2(!all.contains(QString::fromUtf8(english)), qPrintable(all));
        QVERIFY(!chosen);
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
