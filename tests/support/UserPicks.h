#pragma once

class DropDownSelector;

// Selects an entry as the user does, with the Down key in the selector, so
// that its change event runs the way a pick by the user runs it.
void PickWithKeyboard(DropDownSelector& selector, int index);
