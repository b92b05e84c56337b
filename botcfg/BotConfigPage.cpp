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

TextField* PlaceNumberField(QWidget& tab, const QRect& geometry)
{
    auto* field = new TextField(&tab);
    field->setFont(SansSerifFont(LargeFont));
    field->setGeometry(geometry);
    field->SetText(QStringLiteral("1"));
    return field;
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
    page.MinBotsLabel = Named(
        PlaceLabel(tab, "Minimum Bots  (non-online mode)", {217, 177, 197, 16}), "MinBotsLabel");
    page.MinBots = Named(PlaceNumberField(tab, {424, 169, 36, 24}), "MinBots");
    page.MaxBotsLabel =
        Named(PlaceLabel(tab, "Maximum Bots (any mode)", {217, 201, 158, 16}), "MaxBotsLabel");
    page.MaxBots = Named(PlaceNumberField(tab, {424, 193, 36, 24}), "MaxBots");
    LabelControl(*page.MinBotsLabel, *page.MinBots);
    LabelControl(*page.MaxBotsLabel, *page.MaxBots);
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
