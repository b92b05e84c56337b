#pragma once

class QWidget;

// Moves a top-level window so that it stands in the middle of its screen.
void CentreOnScreen(QWidget& window);

// The program's boxes belong to its main window: each is its child, centred
// over it and kept above it, and over no other program's window (a second
// copy of this one beside it).
void OwnBoxesBy(QWidget& mainWindow);

// The window a box is the child of: the main window while it is shown;
// none before (a failure at start-up, whose box stands in the middle of
// the screen, where the window will appear) and after it ends.
QWidget* BoxOwner();
