#pragma once

class QDialog;

// Keys pressed while a message box is open belong to the box. A box closes at
// the press of Enter or Escape, so the release of that key reaches the
// control that gets the focus back; were it taken as that control's key
// release, closing a box raised by a key-release save would run the save
// again at once and bring the same box back.

// Shows the box modally, noting which keys are still held when it closes.
void ExecuteBoxNotingHeldKeys(QDialog& box);

// True, once, for the release of a key that was pressed in a box that has
// closed since; a later press of that key ends the claim.
bool TakeReleaseOfBoxKey(int key);
