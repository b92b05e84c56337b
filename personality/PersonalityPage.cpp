#include "PersonalityPage.h"

#include "AccessibleNames.h"
#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "DropDownSelector.h"
#include "FocusOrder.h"
#include "Fonts.h"
#include "TextField.h"

#include <QLabel>
#include <QPushButton>

#include <vector>

namespace {

using LabelMember = QLabel* PersonalityPage::*;
using NumberMember = BoundedIntegerField* PersonalityPage::*;
using TextMember = TextField* PersonalityPage::*;
using CheckMember = CheckBoxControl* PersonalityPage::*;

constexpr int LargeFont = 13;
constexpr int NameFont = 16;

struct NumberRow {
    LabelMember label;
    const char* caption;
    QPoint labelAt;
    NumberMember field;
    QRect geometry;
    int minValue;
    int maxValue;
    int startValue;
    int fontHeight; // 0: the window's font
};

struct TextRow {
    LabelMember label;
    const char* caption;
    QPoint labelAt;
    TextMember field;
    QRect geometry;
    const char* startText;
};

// The left column's numbers use the large font, the right column's the
// window's own.
const std::vector<NumberRow> NumberRows{
    {&PersonalityPage::Label1, "Current Personality Number", {4, 12}, &PersonalityPage::CurrentPersonalityNumber, {173, 2, 45, 26}, 1, 100, 1, LargeFont},
    {&PersonalityPage::SkillLabel, "Skill (1 = best, 5 = worst)", {4, 82}, &PersonalityPage::Skill, {219, 72, 55, 26}, 1, 5, 3, LargeFont},
    {&PersonalityPage::CampChanceLabel, "Camp Chance", {4, 143}, &PersonalityPage::CampChance, {219, 133, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::HuntChanceLabel, "Hunt Chance", {4, 171}, &PersonalityPage::HuntChance, {219, 161, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::StealthinessLabel, "Stealthiness", {4, 199}, &PersonalityPage::Stealthiness, {219, 189, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::RushChanceLabel, "Rush Chance", {4, 226}, &PersonalityPage::RushChance, {219, 216, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::ChatChanceLabel, "Chat Chance", {4, 254}, &PersonalityPage::ChatChance, {219, 244, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::TeamplayValueLabel, "Teamplay Value", {4, 282}, &PersonalityPage::TeamplayValue, {219, 272, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::ObedienceLabel, "Obedience", {4, 309}, &PersonalityPage::Obedience, {219, 299, 55, 26}, 0, 100, 100, LargeFont},
    {&PersonalityPage::CourageLabel, "Courage", {4, 336}, &PersonalityPage::Courage, {219, 326, 55, 26}, 0, 100, 50, LargeFont},
    {&PersonalityPage::KnifeUsageLabel, "Knife Usage", {311, 41}, &PersonalityPage::KnifeUsage, {530, 35, 55, 22}, 0, 100, 0, 0},
    {&PersonalityPage::PistolUsageLabel, "Pistol Usage", {311, 64}, &PersonalityPage::PistolUsage, {530, 58, 55, 22}, 0, 100, 0, 0},
    {&PersonalityPage::ShotgunUsageLabel, "Shotgun Usage", {311, 87}, &PersonalityPage::ShotgunUsage, {530, 81, 55, 22}, 0, 100, 50, 0},
    {&PersonalityPage::SMGUsageLabel, "SMG Usage", {311, 110}, &PersonalityPage::SMGUsage, {530, 104, 55, 22}, 0, 100, 50, 0},
    {&PersonalityPage::RifleUsageLabel, "Rifle Usage", {311, 133}, &PersonalityPage::RifleUsage, {530, 127, 55, 22}, 0, 100, 50, 0},
    {&PersonalityPage::SniperRifleUsageLabel, "Sniper Rifle Usage", {311, 156}, &PersonalityPage::SniperRifleUsage, {530, 150, 55, 22}, 0, 100, 50, 0},
    {&PersonalityPage::MachinegunUsageLabel, "Machinegun Usage", {311, 179}, &PersonalityPage::MachinegunUsage, {530, 173, 55, 22}, 0, 100, 50, 0},
    {&PersonalityPage::GrenadeUsageLabel, "Grenade Usage", {311, 202}, &PersonalityPage::GrenadeUsage, {530, 196, 55, 22}, 0, 100, 50, 0},
};

// The runs of blanks line the units up under each other.
const std::vector<TextRow> TextRows{
    {&PersonalityPage::ReactionTimeLabel, "Average Reaction Time (seconds)", {4, 109}, &PersonalityPage::ReactionTime, {219, 104, 55, 21}, "0.5"},
    {&PersonalityPage::MinBuyTimeLabel, "Minimum Buy Time         (seconds)", {311, 228}, &PersonalityPage::MinBuyTime, {530, 226, 55, 21}, "1"},
    {&PersonalityPage::MaxBuyTimeLabel, "Maximum Buy Time        (seconds)", {311, 250}, &PersonalityPage::MaxBuyTime, {530, 248, 55, 21}, "5"},
    {&PersonalityPage::MinReloadTimeLabel, "Minimum ReloadTime   (seconds)", {311, 272}, &PersonalityPage::MinReloadTime, {530, 270, 55, 21}, "5"},
    {&PersonalityPage::MaxReloadTimeLabel, "Maximum Reload Time (seconds)", {311, 293}, &PersonalityPage::MaxReloadTime, {530, 291, 55, 21}, "10"},
    {&PersonalityPage::MinPlayingTimeLabel, "Minimum Playing Time  ( minutes )", {311, 315}, &PersonalityPage::MinPlayingTime, {530, 313, 55, 21}, "15"},
    {&PersonalityPage::MaxPlayingTimeLabel, "Maximum Playing Time ( minutes )", {311, 337}, &PersonalityPage::MaxPlayingTime, {530, 335, 55, 21}, "60"},
};

QLabel* PlaceLabel(QWidget& tab, const char* caption, QPoint at, int fontHeight)
{
    auto* label = new QLabel(QString::fromLatin1(caption), &tab);
    label->setFont(SansSerifFont(fontHeight));
    label->adjustSize();
    label->move(at);
    return label;
}

void PlaceNumberRow(PersonalityPage& page, QWidget& tab, const NumberRow& row)
{
    page.*row.label = PlaceLabel(tab, row.caption, row.labelAt, LargeFont);
    auto* field = new BoundedIntegerField(&tab);
    if (row.fontHeight != 0)
        field->setFont(SansSerifFont(row.fontHeight));
    field->setGeometry(row.geometry);
    field->SetMinValue(row.minValue);
    field->SetMaxValue(row.maxValue);
    field->SetValue(row.startValue);
    LabelControl(*(page.*row.label), *field);
    page.*row.field = field;
}

void PlaceTextRow(PersonalityPage& page, QWidget& tab, const TextRow& row)
{
    page.*row.label = PlaceLabel(tab, row.caption, row.labelAt, LargeFont);
    auto* field = new TextField(&tab);
    field->setGeometry(row.geometry);
    field->SetText(QString::fromLatin1(row.startText));
    LabelControl(*(page.*row.label), *field);
    page.*row.field = field;
}

CheckBoxControl* PlaceCheckBox(QWidget& tab, const char* caption, const QRect& geometry, bool checked)
{
    auto* box = new CheckBoxControl(QString::fromLatin1(caption), &tab);
    box->setFont(SansSerifFont(LargeFont));
    box->setGeometry(geometry);
    box->SetChecked(checked);
    return box;
}

void PlaceTopRow(PersonalityPage& page, QWidget& tab)
{
    PlaceNumberRow(page, tab, NumberRows.front());
    // A number typed on the way to the one meant would load, or create, a
    // personality nobody asked for.
    page.CurrentPersonalityNumber->ReportTypingWhenDone();
    page.PreferredTeamLabel = PlaceLabel(tab, "Preferred Team (online)", {230, 8}, LargeFont);
    page.PreferredTeamComboBox = new DropDownSelector(&tab);
    page.PreferredTeamComboBox->setGeometry(377, 3, 208, 21);
    page.PreferredTeamComboBox->addItems({QStringLiteral("1 (Terrorists)"),
                                          QStringLiteral("2 (Counter-Terrorists)"),
                                          QStringLiteral("Any")});
    page.PreferredTeamComboBox->SetSelectedIndex(-1);
    LabelControl(*page.PreferredTeamLabel, *page.PreferredTeamComboBox);
}

void PlaceName(PersonalityPage& page, QWidget& tab)
{
    page.NameLabel = PlaceLabel(tab, "Name", {4, 45}, NameFont);
    page.Name = new TextField(&tab);
    page.Name->setFont(SansSerifFont(NameFont));
    page.Name->setGeometry(58, 37, 216, 28);
    page.Name->SetText(QStringLiteral("default"));
    LabelControl(*page.NameLabel, *page.Name);
}

void PlaceBottomRow(PersonalityPage& page, QWidget& tab)
{
    page.BotCanHear = PlaceCheckBox(tab, "Bot Can Hear", {4, 363, 99, 17}, true);
    page.BotCanLearn = PlaceCheckBox(tab, "Bot Can Learn", {172, 363, 102, 17}, true);
    page.AutoAdjustSkill = PlaceCheckBox(tab, "Auto-Adjust Skill", {311, 363, 115, 17}, false);
    page.PersonalityHelpButton = new QPushButton(QStringLiteral("Personality Help"), &tab);
    page.PersonalityHelpButton->setFont(SansSerifFont(LargeFont, true));
    page.PersonalityHelpButton->setGeometry(449, 360, 136, 23);
}

// Neither the user nor a click can change these; loads and saves still do.
void DisableUnusedFields(PersonalityPage& page)
{
    page.TeamplayValue->setEnabled(false);
    page.TeamplayValueLabel->setEnabled(false);
    page.AutoAdjustSkill->setEnabled(false);
}

// The order of the file's lines, with the number first and the team last.
void SetFocusOrder(PersonalityPage& page)
{
    ChainFocusOrder({
        page.CurrentPersonalityNumber, page.Name, page.Skill, page.ReactionTime,
        page.CampChance, page.HuntChance, page.Stealthiness, page.RushChance,
        page.ChatChance, page.TeamplayValue, page.Obedience, page.Courage,
        page.KnifeUsage, page.PistolUsage, page.ShotgunUsage, page.SMGUsage,
        page.RifleUsage, page.SniperRifleUsage, page.MachinegunUsage, page.GrenadeUsage,
        page.MinBuyTime, page.MaxBuyTime, page.MinReloadTime, page.MaxReloadTime,
        page.MinPlayingTime, page.MaxPlayingTime, page.BotCanHear, page.BotCanLearn,
        page.AutoAdjustSkill, page.PersonalityHelpButton, page.PreferredTeamComboBox});
}

} // namespace

void BuildPersonalityPage(PersonalityPage& page, QWidget& tab)
{
    PlaceTopRow(page, tab);
    PlaceName(page, tab);
    for (std::size_t i = 1; i < NumberRows.size(); ++i)
        PlaceNumberRow(page, tab, NumberRows[i]);
    for (const TextRow& row : TextRows)
        PlaceTextRow(page, tab, row);
    PlaceBottomRow(page, tab);
    DisableUnusedFields(page);
    SetFocusOrder(page);
}
