#pragma once

#include "SaveGuard.h"

#include <QString>

class BoundedIntegerField;
class CheckBoxControl;
class DropDownSelector;
class QLabel;
class QPushButton;
class QWidget;
class TextField;

// The controls of the personality page. They hold the personality being
// edited; there is no other copy of it. The main window carries them as
// members under these names.
struct PersonalityPage {
    QLabel* Label1 = nullptr;
    BoundedIntegerField* CurrentPersonalityNumber = nullptr;
    QLabel* PreferredTeamLabel = nullptr;
    DropDownSelector* PreferredTeamComboBox = nullptr;

    QLabel* NameLabel = nullptr;
    TextField* Name = nullptr;
    QLabel* SkillLabel = nullptr;
    BoundedIntegerField* Skill = nullptr;
    QLabel* ReactionTimeLabel = nullptr;
    TextField* ReactionTime = nullptr;
    QLabel* CampChanceLabel = nullptr;
    BoundedIntegerField* CampChance = nullptr;
    QLabel* HuntChanceLabel = nullptr;
    BoundedIntegerField* HuntChance = nullptr;
    QLabel* StealthinessLabel = nullptr;
    BoundedIntegerField* Stealthiness = nullptr;
    QLabel* RushChanceLabel = nullptr;
    BoundedIntegerField* RushChance = nullptr;
    QLabel* ChatChanceLabel = nullptr;
    BoundedIntegerField* ChatChance = nullptr;
    QLabel* TeamplayValueLabel = nullptr;
    BoundedIntegerField* TeamplayValue = nullptr;
    QLabel* ObedienceLabel = nullptr;
    BoundedIntegerField* Obedience = nullptr;
    QLabel* CourageLabel = nullptr;
    BoundedIntegerField* Courage = nullptr;

    QLabel* KnifeUsageLabel = nullptr;
    BoundedIntegerField* KnifeUsage = nullptr;
    QLabel* PistolUsageLabel = nullptr;
    BoundedIntegerField* PistolUsage = nullptr;
    QLabel* ShotgunUsageLabel = nullptr;
    BoundedIntegerField* ShotgunUsage = nullptr;
    QLabel* SMGUsageLabel = nullptr;
    BoundedIntegerField* SMGUsage = nullptr;
    QLabel* RifleUsageLabel = nullptr;
    BoundedIntegerField* RifleUsage = nullptr;
    QLabel* SniperRifleUsageLabel = nullptr;
    BoundedIntegerField* SniperRifleUsage = nullptr;
    QLabel* MachinegunUsageLabel = nullptr;
    BoundedIntegerField* MachinegunUsage = nullptr;
    QLabel* GrenadeUsageLabel = nullptr;
    BoundedIntegerField* GrenadeUsage = nullptr;

    QLabel* MinBuyTimeLabel = nullptr;
    TextField* MinBuyTime = nullptr;
    QLabel* MaxBuyTimeLabel = nullptr;
    TextField* MaxBuyTime = nullptr;
    QLabel* MinReloadTimeLabel = nullptr;
    TextField* MinReloadTime = nullptr;
    QLabel* MaxReloadTimeLabel = nullptr;
    TextField* MaxReloadTime = nullptr;
    QLabel* MinPlayingTimeLabel = nullptr;
    TextField* MinPlayingTime = nullptr;
    QLabel* MaxPlayingTimeLabel = nullptr;
    TextField* MaxPlayingTime = nullptr;

    CheckBoxControl* BotCanHear = nullptr;
    CheckBoxControl* BotCanLearn = nullptr;
    CheckBoxControl* AutoAdjustSkill = nullptr;
    QPushButton* PersonalityHelpButton = nullptr;

    // Refuses saves over a file the page does not hold completely.
    SaveGuard PersonalitySaveGuard;
};

// Places the page's controls on the page with their start values and focus
// order.
void BuildPersonalityPage(PersonalityPage& page, QWidget& tab);

// The caption of the label or check box that names a field on the page, as
// the page shows it; empty for a control that holds no line of the file.
QString FieldCaption(TextField* PersonalityPage::*field);
QString FieldCaption(BoundedIntegerField* PersonalityPage::*field);
QString FieldCaption(CheckBoxControl* PersonalityPage::*field);
// The label of the selector that shows the team line.
QString PreferredTeamCaption();
