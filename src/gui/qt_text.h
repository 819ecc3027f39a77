#pragma once

// Text at the border between the core (std::u16string) and Qt (QString): both are UTF-16, so
// the conversion copies code units and changes nothing.

#include <QString>
#include <string>
#include <string_view>

namespace soramine::gui {

inline QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

// A path from a Qt file API (a folder picker, a drop) as the core's platform layer names it.
std::u16string corePath(const QString& localPath);
// A core path for Qt's file APIs.
QString localPath(std::u16string_view corePath);

}  // namespace soramine::gui
