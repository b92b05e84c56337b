#pragma once

class QWidget;

// Moves a top-level window so that it stands in the middle of its screen.
void CentreOnScreen(QWidget& window);
