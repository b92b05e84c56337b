#pragma once

#include <QString>

// How wide a window must be for the window manager's title bar to show this
// caption whole beside its buttons. The title bar is drawn by the window
// manager, so this is an estimate: the application's title-bar font in bold,
// and a square as high as the bar for each button a window manager may put
// there (window menu, minimise, maximise, close) and one more for the gaps.
int TitleBarWidthFor(const QString& caption);
