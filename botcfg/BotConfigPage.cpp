#include "BotConfigPage.h"

#include "AccessibleNames.h"
#include "BotConfigFile.h"
#include "CheckBoxControl.h"
#include "CheckList.h"
#include "ControlNames.h"
#include "FocusOrder.h"
#include "Fonts.h"
#include "LineLayout.h"
#include "TextField.h"
#include "WrappedLabel.h"

#include <QLabel>

#include <vector>

namespace {

using NamedCheckBoxMember = NamedMember<BotConfigPage, CheckBoxControl>;
using NamedLabelMember = NamedMember<BotConfigPage, QLabel>;
using NamedTextMember = NamedMember<BotConfigPage, TextField>;

// A member of the page with its own name, spelled once so that the two
// cannot differ.
#define MEMBER(name) {&BotConfigPage::name, #name}

constexpr int LargeFont = 13;
constexpr int WindowFont = 11;
constexpr int RosterEntryHeight = 13;

struct CheckBoxPlace {
    NamedCheckBoxMember box;
    const char* caption;
    QPoint at;
};

const std::vector<CheckBoxPlace> CheckBoxPlaces{
    {MEMBER(BotsDontShootCheckBox), "Bots Can't Shoot", {217, 36}},
    {MEMBER(ObserverModeCheckBox), "Enable Observer Mode", {425, 36}},
    {MEMBER(BotsCanChatCheckBox), "Bots Can Chat", {217, 64}},
    {MEMBER(DiscoModeCheckBox), "Enable Disco Mode", {425, 64}},
    {MEMBER(KnifeModeCheckBox), "Enable KnifeMode", {425, 91}},
    {MEMBER(PistolModeCheckBox), "Enable Pistol Mode", {425, 119}},
    {MEMBER(UseGrenadeCheckBox), "Bots Can Use Grenades", {217, 91}},
    {MEMBER(AutoTeamBalanceCheckBox), "Auto Team Balance", {217, 119}},
    {MEMBER(OnlineModeCheckBox), "Online Mode", {217, 146}},
};

const QSize CheckBoxSize{169, 20};

struct NumberFieldPlace {
    NamedLabelMember label;
    const char* caption;
    QRect labelGeometry;
    NamedTextMember field;
    QRect fieldGeometry;
};

const std::vector<NumberFieldPlace> NumberFieldPlaces{
    {MEMBER(MinBotsLabel), "Minimum Bots  (non-online mode)", {217, 177, 197, 16}, MEMBER(MinBots), {424, 169, 36, 24}},
    {MEMBER(MaxBotsLabel), "Maximum Bots (any mode)", {217, 201, 158, 16}, MEMBER(MaxBots), {424, 193, 36, 24}},
};

const char* const HelpText1 =
    "In online mode, bots will leave according to their personalities Max/Min playing times, "
    "but bots wil join randomly if there are less that the Maximum amount of bots playing. "
    "In Offline mode bots will be added at 5 second intervals";
const char* const HelpText2 =
    "      If you don't want bots to be added/removed at all then just use -1 for both min "
    "and max bots.";

QLabel* PlaceLabel(QWidget& tab, const char* caption, const QRect& geometry)
{
    auto* label = new QLabel(QString::fromLatin1(caption), &tab);
    label->setFont(SansSerifFont(LargeFont));
    label->setGeometry(geometry);
    return label;
}

QLabel* PlaceWrappedLabel(QWidget& tab, const char* caption, const QRect& geometry, int fontHeight)
{
    return new WrappedLabel(QString::fromLatin1(caption), SansSerifFont(fontHeight), geometry, &tab);
}

void PlaceNumberField(BotConfigPage& page, QWidget& tab, const NumberFieldPlace& place)
{
    QLabel* label = place.label.Hold(page, PlaceLabel(tab, place.caption, place.labelGeometry));
    TextField* field = place.field.Hold(page, new TextField(&tab));
    field->setFont(SansSerifFont(LargeFont));
    field->setGeometry(place.fieldGeometry);
    field->SetText(QStringLiteral("1"));
    LabelControl(*label, *field);
}

void PlaceRoster(BotConfigPage& page, QWidget& tab)
{
    page.WhichBotsLabel = Named(
        PlaceWrappedLabel(tab, "Which bots should be added the next time you play this mod?",
                          {3, 2, 195, 32}, LargeFont),
        "WhichBotsLabel");
    page.BotCheckList = Named(new CheckList(&tab), "BotCheckList");
    page.BotCheckList->setGeometry(3, 36, 198, 347);
    page.BotCheckList->SetEntryHeight(RosterEntryHeight);
    LabelControl(*page.WhichBotsLabel, *page.BotCheckList);
}

void PlaceCheckBoxes(BotConfigPage& page, QWidget& tab)
{
    for (const CheckBoxPlace& place : CheckBoxPlaces) {
        auto* box =
            place.box.Hold(page, new CheckBoxControl(QString::fromLatin1(place.caption), &tab));
        box->setFont(SansSerifFont(LargeFont));
        box->setGeometry(QRect(place.at, CheckBoxSize));
    }
}

void PlaceNumbersAndHelp(BotConfigPage& page, QWidget& tab)
{
    for (const NumberFieldPlace& place : NumberFieldPlaces)
        PlaceNumberField(page, tab, place);
    page.HelpLabel1 =
        Named(PlaceWrappedLabel(tab, HelpText1, {217, 223, 371, 39}, WindowFont), "HelpLabel1");
    page.HelpLabel2 =
        Named(PlaceWrappedLabel(tab, HelpText2, {217, 263, 343, 26}, WindowFont), "HelpLabel2");
}

void SetFocusOrder(BotConfigPage& page)
{
    ChainFocusOrder({page.BotCheckList, page.BotsDontShootCheckBox, page.ObserverModeCheckBox,
                     page.BotsCanChatCheckBox, page.DiscoModeCheckBox, page.KnifeModeCheckBox,
                     page.PistolModeCheckBox, page.UseGrenadeCheckBox,
                     page.AutoTeamBalanceCheckBox, page.OnlineModeCheckBox, page.MinBots,
                     page.MaxBots});
}

} // namespace

void BuildBotConfigPage(BotConfigPage& page, QWidget& tab)
{
    PlaceRoster(page, tab);
    PlaceCheckBoxes(page, tab);
    PlaceNumbersAndHelp(page, tab);
    SetFocusOrder(page);
    page.BotConfigSaveGuard.PageForm = [&page] { return FormOfLines(BotConfigLines(page)); };
}

QString CheckBoxCaption(CheckBoxControl* BotConfigPage::*box)
{
    for (const CheckBoxPlace& place : CheckBoxPlaces) {
        if (place.box.member == box)
            return QString::fromLatin1(place.caption);
    }
    return QString();
}

QString NumberFieldCaption(TextField* BotConfigPage::*field)
{
    for (const NumberFieldPlace& place : NumberFieldPlaces) {
        if (place.field.member == field)
            return QString::fromLatin1(place.caption);
    }
    return QString();
}
