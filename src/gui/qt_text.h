#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace soramine::gui {

// The core's UTF-16 text and Qt's share one encoding, so these only copy.
inline QString toQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}
inline std::u16string toU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace soramine::gui
