#include "PersonalityFile.h"

#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "Conversions.h"
#include "DropDownSelector.h"
#include "LineFile.h"
#include "TextField.h"

namespace {

constexpr int AnyTeamIndex = 2;

template <class... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// Spelled out for compilers that do not deduce an aggregate's arguments.
template <class... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

void ApplyLine(PersonalityPage& page, const PersonalityField& field, const QString& line)
{
    std::visit(Overloaded{
                   [&](TextField* PersonalityPage::*text) { (page.*text)->SetText(line); },
                   [&](BoundedIntegerField* PersonalityPage::*number) {
                       (page.*number)->SetValue(TextToInteger(line));
                   },
                   [&](CheckBoxControl* PersonalityPage::*flag) {
                       (page.*flag)->SetChecked(TextToInteger(line) != 0);
                   },
               },
               field);
}

QString LineOf(const PersonalityPage& page, const PersonalityField& field)
{
    return std::visit(Overloaded{
                          [&](TextField* PersonalityPage::*text) { return (page.*text)->Text(); },
                          [&](BoundedIntegerField* PersonalityPage::*number) {
                              return IntegerToText((page.*number)->Value());
                          },
                          [&](CheckBoxControl* PersonalityPage::*flag) {
                              return QString::fromLatin1((page.*flag)->Checked() ? "1" : "0");
                          },
                      },
                      field);
}


// The preferred team by the value of line 29: 1 and 2 select their teams,
// 3 and above "Any", 0 and below nothing.
void SetPreferredTeam(PersonalityPage& page, int value)
{
    page.PreferredTeamComboBox->SetSelectedIndex(value >= 3 ? AnyTeamIndex : value <= 0 ? -1 : value - 1);
}

QString PreferredTeamLine(const PersonalityPage& page)
{
    const int index = page.PreferredTeamComboBox->SelectedIndex();
    return index >= AnyTeamIndex ? QStringLiteral("5") : IntegerToText(index + 1);
}

} // namespace

const std::array<PersonalityField, PersonalityFieldCount> Personality{
    &PersonalityPage::Name,
    &PersonalityPage::Skill,
    &PersonalityPage::ReactionTime,
    &PersonalityPage::CampChance,
    &PersonalityPage::HuntChance,
    &PersonalityPage::Stealthiness,
    &PersonalityPage::RushChance,
    &PersonalityPage::ChatChance,
    &PersonalityPage::TeamplayValue,
    &PersonalityPage::Obedience,
    &PersonalityPage::Courage,
    &PersonalityPage::KnifeUsage,
    &PersonalityPage::PistolUsage,
    &PersonalityPage::ShotgunUsage,
    &PersonalityPage::SMGUsage,
    &PersonalityPage::RifleUsage,
    &PersonalityPage::SniperRifleUsage,
    &PersonalityPage::MachinegunUsage,
    &PersonalityPage::GrenadeUsage,
    &PersonalityPage::MinBuyTime,
    &PersonalityPage::MaxBuyTime,
    &PersonalityPage::MinReloadTime,
    &PersonalityPage::MaxReloadTime,
    &PersonalityPage::MinPlayingTime,
    &PersonalityPage::MaxPlayingTime,
    &PersonalityPage::BotCanHear,
    &PersonalityPage::BotCanLearn,
    &PersonalityPage::AutoAdjustSkill,
};

const std::array<const char*, PersonalityFieldCount + 1> NewPersonalityLines{
    "Bot", "3",  "0.5", "50", "50", "50", "50", "50", "100", "50",
    "50",  "0",  "0",   "50", "50", "50", "50", "50", "50",  "1",
    "5",   "4",  "7",   "15", "60", "1",  "1",  "0",  "5",
};

void ReadPersonality(LineFile& file, PersonalityPage& page)
{
    // An empty file holds no personality. Keeping the one shown before would
    // show its values under this number and save them into this file.
    if (AtEndOfFile(file)) {
        SetDefaultPersonality(page);
        return;
    }
    // A file of more than one record ends up showing the last one.
    while (!AtEndOfFile(file)) {
        for (const PersonalityField& field : Personality)
            ApplyLine(page, field, ReadTextLine(file));
        if (AtEndOfFile(file))
            page.PreferredTeamComboBox->SetSelectedIndex(AnyTeamIndex);
        else
            SetPreferredTeam(page, TextToInteger(ReadTextLine(file)));
    }
}

void WritePersonality(LineFile& file, const PersonalityPage& page)
{
    for (const PersonalityField& field : Personality)
        WriteTextLine(file, LineOf(page, field));
    WriteTextLine(file, PreferredTeamLine(page));
}

void SetDefaultPersonality(PersonalityPage& page)
{
    for (int line = 0; line < PersonalityFieldCount; ++line)
        ApplyLine(page, Personality[line], QString::fromLatin1(NewPersonalityLines[line]));
    page.PreferredTeamComboBox->SetSelectedIndex(AnyTeamIndex);
}
