#pragma once

// From now on the end of the desktop session, of the terminal or Ctrl+C
// saves the pending edits of the main window of the moment, once.
void InstallSessionEnd();
