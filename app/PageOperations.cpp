#include "main.h"

// The loads and saves of the three pages. Each page brings its own file
// format; until a page has one, its triggers find nothing to read or write.

void TMainForm::UpdateBotCheckList() {}

void TMainForm::LoadBotConfig() {}

void TMainForm::SaveBotConfig() {}

void TMainForm::LoadPersonality() {}

void TMainForm::SavePersonality() {}

void TMainForm::LoadChat() {}

void TMainForm::SaveChat() {}
