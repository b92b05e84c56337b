#pragma once

#include <QPalette>

// A dark palette, as a desktop with a dark colour scheme gives the editor:
// the dark-palette preview shows the pages under it.
QPalette DarkPalette();
