// The toolbar's 16 x 15 icons, drawn by code at whatever size and pixel ratio they are shown.
#pragma once

#include <QIcon>

namespace kx {

enum class ToolbarIcon {
    New,
    Open,
    Save,
    TestLevel,
    Check,
    Resize,
    Paint,
    Rectangle,
    FilledRectangle,
    ScrollUp,
    ScrollDown,
    SwitchLayer,
    Objects,
    Items,
    Creatures,
    Switches,
    Blocking,
    Merge,
    Description,
    About,
};

inline constexpr int kToolbarIconWidth = 16;
inline constexpr int kToolbarIconHeight = 15;

// Drawn in a 16 x 15 grid scaled to the device pixels asked for, so the icon stays sharp
// on HiDPI screens instead of being a stretched bitmap.
QIcon MakeToolbarIcon(ToolbarIcon which);

} // namespace kx
