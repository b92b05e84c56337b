#include "main.h"

// The chat page's load and save of the chosen chat list.

void TMainForm::LoadChat() {}

void TMainForm::SaveChat() {}
