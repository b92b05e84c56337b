#include "PersonalityFile.h"

#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "Conversions.h"
#include "DropDownSelector.h"
#include "Exceptions.h"
#include "LineFile.h"
#include "PersonalityRecords.h"
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

// Lines past the end are no empty values: the failure says where the file
// stops instead.
[[noreturn]] void RaiseEndsEarly(const QStringList& lines, qsizetype start)
{
    const QString end = QStringLiteral("The personality ends early: the file stops after its line ")
                        + IntegerToText(int(lines.size()));
    if (start == 0)
        throw Exception(end + QStringLiteral(", and a personality takes 29 lines"));
    throw Exception(end + QStringLiteral(", inside the personality that begins at its line ")
                    + IntegerToText(int(start + 1)));
}

void ReadRecord(PersonalityPage& page, const QStringList& lines, qsizetype start)
{
    for (qsizetype field = 0; field < FieldLines; ++field) {
        if (start + field >= lines.size())
            RaiseEndsEarly(lines, start);
        ApplyLine(page, Personality[field], lines.at(start + field));
    }
    if (RecordLength(lines, start) == FieldLines)
        page.PreferredTeamComboBox->SetSelectedIndex(AnyTeamIndex);
    else
        SetPreferredTeam(page, TextToInteger(lines.at(start + FieldLines)));
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
    QStringList lines;
    while (!AtEndOfFile(file))
        lines << ReadTextLine(file);
    // A file without values holds no personality. Keeping the one shown
    // before would show its values under this number and save them into
    // this file.
    if (OnlyBlankFrom(lines, 0)) {
        SetDefaultPersonality(page);
        return;
    }
    // A file of more than one record ends up showing the last one.
    qsizetype start = 0;
    do {
        ReadRecord(page, lines, start);
        start += RecordLength(lines, start);
    } while (!OnlyBlankFrom(lines, start));
}

QStringList PersonalityLines(const PersonalityPage& page)
{
    QStringList lines;
    for (const PersonalityField& field : Personality)
        lines << LineOf(page, field);
    return lines << PreferredTeamLine(page);
}

void WritePersonality(LineFile& file, const PersonalityPage& page)
{
    for (const QString& line : PersonalityLines(page))
        WriteTextLine(file, line);
}

void SetDefaultPersonality(PersonalityPage& page)
{
    for (int line = 0; line < PersonalityFieldCount; ++line)
        ApplyLine(page, Personality[line], QString::fromLatin1(NewPersonalityLines[line]));
    page.PreferredTeamComboBox->SetSelectedIndex(AnyTeamIndex);
}
