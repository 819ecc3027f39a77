#include "gui/qt_text.h"

#include <QFile>

#include "core/text/utf.h"

namespace soramine::gui {

// The core carries bytes of a name that are not UTF-8 as U+DC80 + byte; Qt's file name codec
// makes the same round trip through the local 8-bit encoding, so both meet at the bytes.
std::u16string corePath(const QString& localPath) {
    const QByteArray bytes = QFile::encodeName(localPath);
    return text::fromUtf8(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

QString localPath(std::u16string_view corePath) {
    const std::string bytes = text::toUtf8(corePath);
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace soramine::gui
