#include "gui/qt_translations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace soramine::gui {

void useJapaneseQtTexts() {
    // Only the widgets' catalogue: "qt_ja" would merely name it and the others it lists, which
    // a window of Qt Widgets does not use. The file is mapped, not read.
    auto* translator = new QTranslator(qApp);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
    // Dates and sizes in Qt's dialogs follow the same language.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

}  // namespace soramine::gui
