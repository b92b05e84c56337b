#include "main.h"

// The bot.cfg page's roster, load and save.

void TMainForm::UpdateBotCheckList() {}

void TMainForm::LoadBotConfig() {}

void TMainForm::SaveBotConfig() {}
