#include "gui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "core/app/window_placement.h"

namespace soramine::gui {

void restorePlacement(QWidget* window, const IniFile& ini, std::u16string_view key) {
    const auto placement = readPlacement(ini, key);
    if (!placement)
        return;
    const QRect rect(QPoint(placement->left, placement->top),
                     QPoint(placement->right - 1, placement->bottom - 1));
    // A place no screen shows any more (a screen was removed) would hide the window.
    if (!QGuiApplication::screenAt(rect.center()))
        return;
    window->setGeometry(rect);
    if (placement->showCommand == WindowPlacement::kMaximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void savePlacement(const QWidget* window, IniFile& ini, std::u16string_view key) {
    const QRect rect =
        window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    if (rect.isEmpty())
        return;
    WindowPlacement placement;
    placement.showCommand =
        window->isMaximized() ? WindowPlacement::kMaximized : WindowPlacement::kNormal;
    placement.left = rect.left();
    placement.top = rect.top();
    placement.right = rect.right() + 1;
    placement.bottom = rect.bottom() + 1;
    writePlacement(ini, key, placement);
}

}  // namespace soramine::gui
