#pragma once

#include "FirstLineCache.h"
#include "SaveGuard.h"

#include <QString>

class CheckBoxControl;
class CheckList;
class QLabel;
class QWidget;
class TextField;

// The controls of the bot.cfg page. They hold the mod's bot start settings;
// there is no other copy of them. The roster lists the mod's personalities in
// number order, entry n standing for personality n. The main window carries
// the controls as members under these names.
struct BotConfigPage {
    QLabel* WhichBotsLabel = nullptr;
    CheckList* BotCheckList = nullptr;

    CheckBoxControl* BotsDontShootCheckBox = nullptr;
    CheckBoxControl* ObserverModeCheckBox = nullptr;
    CheckBoxControl* BotsCanChatCheckBox = nullptr;
    CheckBoxControl* DiscoModeCheckBox = nullptr;
    CheckBoxControl* KnifeModeCheckBox = nullptr;
    CheckBoxControl* PistolModeCheckBox = nullptr;
    CheckBoxControl* UseGrenadeCheckBox = nullptr;
    CheckBoxControl* AutoTeamBalanceCheckBox = nullptr;
    CheckBoxControl* OnlineModeCheckBox = nullptr;

    QLabel* MinBotsLabel = nullptr;
    TextField* MinBots = nullptr;
    QLabel* MaxBotsLabel = nullptr;
    TextField* MaxBots = nullptr;
    QLabel* HelpLabel1 = nullptr;
    QLabel* HelpLabel2 = nullptr;

    // Refuses saves over a bot.cfg that the page does not hold completely.
    SaveGuard BotConfigSaveGuard;
    // The roster's names, read again only from files that may have changed.
    FirstLineCache RosterFirstLines;
};

// Places the page's controls with their start values and focus order: an
// empty roster, every box unchecked and both fields showing "1".
void BuildBotConfigPage(BotConfigPage& page, QWidget& tab);

// The caption the page shows for a check box, and the label of a number
// field; empty for a control the page does not have.
QString CheckBoxCaption(CheckBoxControl* BotConfigPage::*box);
QString NumberFieldCaption(TextField* BotConfigPage::*field);
