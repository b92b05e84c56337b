#include "PersonalityPage.h"

#include "AccessibleNames.h"
#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "ControlNames.h"
#include "DropDownSelector.h"
#include "FocusOrder.h"
#include "Fonts.h"
#include "LineLayout.h"
#include "PersonalityFile.h"
#include "TextField.h"

#include <QLabel>
#include <QPushButton>

#include <vector>

namespace {

using LabelMember = NamedMember<PersonalityPage, QLabel>;
using NumberMember = NamedMember<PersonalityPage, BoundedIntegerField>;
using TextMember = NamedMember<PersonalityPage, TextField>;
using CheckMember = NamedMember<PersonalityPage, CheckBoxControl>;

// A member of the page with its own name, spelled once so that the two
// cannot differ.
#define MEMBER(name) {&PersonalityPage::name, #name}

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
    {MEMBER(Label1), "Current Personality Number", {4, 12}, MEMBER(CurrentPersonalityNumber), {173, 2, 45, 26}, 1, 100, 1, LargeFont},
    {MEMBER(SkillLabel), "Skill (1 = best, 5 = worst)", {4, 82}, MEMBER(Skill), {219, 72, 55, 26}, 1, 5, 3, LargeFont},
    {MEMBER(CampChanceLabel), "Camp Chance", {4, 143}, MEMBER(CampChance), {219, 133, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(HuntChanceLabel), "Hunt Chance", {4, 171}, MEMBER(HuntChance), {219, 161, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(StealthinessLabel), "Stealthiness", {4, 199}, MEMBER(Stealthiness), {219, 189, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(RushChanceLabel), "Rush Chance", {4, 226}, MEMBER(RushChance), {219, 216, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(ChatChanceLabel), "Chat Chance", {4, 254}, MEMBER(ChatChance), {219, 244, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(TeamplayValueLabel), "Teamplay Value", {4, 282}, MEMBER(TeamplayValue), {219, 272, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(ObedienceLabel), "Obedience", {4, 309}, MEMBER(Obedience), {219, 299, 55, 26}, 0, 100, 100, LargeFont},
    {MEMBER(CourageLabel), "Courage", {4, 336}, MEMBER(Courage), {219, 326, 55, 26}, 0, 100, 50, LargeFont},
    {MEMBER(KnifeUsageLabel), "Knife Usage", {311, 41}, MEMBER(KnifeUsage), {530, 35, 55, 22}, 0, 100, 0, 0},
    {MEMBER(PistolUsageLabel), "Pistol Usage", {311, 64}, MEMBER(PistolUsage), {530, 58, 55, 22}, 0, 100, 0, 0},
    {MEMBER(ShotgunUsageLabel), "Shotgun Usage", {311, 87}, MEMBER(ShotgunUsage), {530, 81, 55, 22}, 0, 100, 50, 0},
    {MEMBER(SMGUsageLabel), "SMG Usage", {311, 110}, MEMBER(SMGUsage), {530, 104, 55, 22}, 0, 100, 50, 0},
    {MEMBER(RifleUsageLabel), "Rifle Usage", {311, 133}, MEMBER(RifleUsage), {530, 127, 55, 22}, 0, 100, 50, 0},
    {MEMBER(SniperRifleUsageLabel), "Sniper Rifle Usage", {311, 156}, MEMBER(SniperRifleUsage), {530, 150, 55, 22}, 0, 100, 50, 0},
    {MEMBER(MachinegunUsageLabel), "Machinegun Usage", {311, 179}, MEMBER(MachinegunUsage), {530, 173, 55, 22}, 0, 100, 50, 0},
    {MEMBER(GrenadeUsageLabel), "Grenade Usage", {311, 202}, MEMBER(GrenadeUsage), {530, 196, 55, 22}, 0, 100, 50, 0},
};

// The runs of blanks line the units up under each other.
const std::vector<TextRow> TextRows{
    {MEMBER(ReactionTimeLabel), "Average Reaction Time (seconds)", {4, 109}, MEMBER(ReactionTime), {219, 104, 55, 21}, "0.5"},
    {MEMBER(MinBuyTimeLabel), "Minimum Buy Time         (seconds)", {311, 228}, MEMBER(MinBuyTime), {530, 226, 55, 21}, "1"},
    {MEMBER(MaxBuyTimeLabel), "Maximum Buy Time        (seconds)", {311, 250}, MEMBER(MaxBuyTime), {530, 248, 55, 21}, "5"},
    {MEMBER(MinReloadTimeLabel), "Minimum ReloadTime   (seconds)", {311, 272}, MEMBER(MinReloadTime), {530, 270, 55, 21}, "5"},
    {MEMBER(MaxReloadTimeLabel), "Maximum Reload Time (seconds)", {311, 293}, MEMBER(MaxReloadTime), {530, 291, 55, 21}, "10"},
    {MEMBER(MinPlayingTimeLabel), "Minimum Playing Time  ( minutes )", {311, 315}, MEMBER(MinPlayingTime), {530, 313, 55, 21}, "15"},
    {MEMBER(MaxPlayingTimeLabel), "Maximum Playing Time ( minutes )", {311, 337}, MEMBER(MaxPlayingTime), {530, 335, 55, 21}, "60"},
};

struct CheckRow {
    CheckMember field;
    const char* caption;
    QRect geometry;
    bool checked;
};

const std::vector<CheckRow> CheckRows{
    {MEMBER(BotCanHear), "Bot Can Hear", {4, 363, 99, 17}, true},
    {MEMBER(BotCanLearn), "Bot Can Learn", {172, 363, 102, 17}, true},
    {MEMBER(AutoAdjustSkill), "Auto-Adjust Skill", {311, 363, 115, 17}, false},
};

const char* const NameCaption = "Name";
const char* const PreferredTeamLabelText = "Preferred Team (online)";

// The caption of the row that holds field in one of the tables above.
template <typename Rows, typename Member>
QString CaptionIn(const Rows& rows, Member field)
{
    for (const auto& row : rows) {
        if (row.field.member == field)
            return QString::fromLatin1(row.caption);
    }
    return QString();
}

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
    QLabel* label = row.label.Hold(page, PlaceLabel(tab, row.caption, row.labelAt, LargeFont));
    BoundedIntegerField* field = row.field.Hold(page, new BoundedIntegerField(&tab));
    if (row.fontHeight != 0)
        field->setFont(SansSerifFont(row.fontHeight));
    field->setGeometry(row.geometry);
    field->SetMinValue(row.minValue);
    field->SetMaxValue(row.maxValue);
    field->SetValue(row.startValue);
    LabelControl(*label, *field);
}

void PlaceTextRow(PersonalityPage& page, QWidget& tab, const TextRow& row)
{
    QLabel* label = row.label.Hold(page, PlaceLabel(tab, row.caption, row.labelAt, LargeFont));
    TextField* field = row.field.Hold(page, new TextField(&tab));
    field->setGeometry(row.geometry);
    field->SetText(QString::fromLatin1(row.startText));
    LabelControl(*label, *field);
}

void PlaceCheckBox(PersonalityPage& page, QWidget& tab, const CheckRow& row)
{
    auto* box = row.field.Hold(page, new CheckBoxControl(QString::fromLatin1(row.caption), &tab));
    box->setFont(SansSerifFont(LargeFont));
    box->setGeometry(row.geometry);
    box->SetChecked(row.checked);
}

void PlaceTopRow(PersonalityPage& page, QWidget& tab)
{
    PlaceNumberRow(page, tab, NumberRows.front());
    // A number typed on the way to the one meant would load, or create, a
    // personality nobody asked for.
    page.CurrentPersonalityNumber->ReportTypingWhenDone();
    page.PreferredTeamLabel = Named(PlaceLabel(tab, PreferredTeamLabelText, {230, 8}, LargeFont),
                                    "PreferredTeamLabel");
    page.PreferredTeamComboBox = Named(new DropDownSelector(&tab), "PreferredTeamComboBox");
    page.PreferredTeamComboBox->setGeometry(377, 3, 208, 21);
    page.PreferredTeamComboBox->addItems({QStringLiteral("1 (Terrorists)"),
                                          QStringLiteral("2 (Counter-Terrorists)"),
                                          QStringLiteral("Any")});
    page.PreferredTeamComboBox->SetSelectedIndex(-1);
    LabelControl(*page.PreferredTeamLabel, *page.PreferredTeamComboBox);
}

void PlaceName(PersonalityPage& page, QWidget& tab)
{
    page.NameLabel = Named(PlaceLabel(tab, NameCaption, {4, 45}, NameFont), "NameLabel");
    page.Name = Named(new TextField(&tab), "Name");
    page.Name->setFont(SansSerifFont(NameFont));
    page.Name->setGeometry(58, 37, 216, 28);
    page.Name->SetText(QStringLiteral("default"));
    LabelControl(*page.NameLabel, *page.Name);
}

void PlaceBottomRow(PersonalityPage& page, QWidget& tab)
{
    for (const CheckRow& row : CheckRows)
        PlaceCheckBox(page, tab, row);
    page.PersonalityHelpButton =
        Named(new QPushButton(QStringLiteral("Personality Help"), &tab), "PersonalityHelpButton");
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
    page.PersonalitySaveGuard.PageForm = [&page] { return FormOfLines(PersonalityLines(page)); };
}

QString FieldCaption(TextField* PersonalityPage::*field)
{
    if (field == &PersonalityPage::Name)
        return QString::fromLatin1(NameCaption);
    return CaptionIn(TextRows, field);
}

QString FieldCaption(BoundedIntegerField* PersonalityPage::*field)
{
    return CaptionIn(NumberRows, field);
}

QString FieldCaption(CheckBoxControl* PersonalityPage::*field)
{
    return CaptionIn(CheckRows, field);
}

QString PreferredTeamCaption()
{
    return QString::fromLatin1(PreferredTeamLabelText);
}
