#include "main.h"

#include "AccessibleNames.h"
#include "BoundedIntegerField.h"
#include "ChatHelp.h"
#include "ControlNames.h"
#include "DropDownSelector.h"
#include "Failures.h"
#include "Fonts.h"
#include "ModFolders.h"
#include "PageBackground.h"
#include "PageLoads.h"
#include "PageSigns.h"
#include "PendingEdits.h"
#include "PersonalityHelp.h"
#include "PersonalityStore.h"
#include "TextArea.h"
#include "TextField.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <utility>

TMainForm* MainForm = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& caption, int pixelHeight, const QRect& geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setFont(SansSerifFont(pixelHeight));
    label->setGeometry(geometry);
    return label;
}

// Shows a help window beside the main window, or brings it to the front.
// Window managers offer to minimise any window, so a help window may have
// been minimised; it comes back where it was.
void ShowHelpWindow(QWidget& window)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

// The mod the user chose: the entry picked, or the one whose name was typed
// in full; -1 for none.
int ChosenModIndex(const DropDownSelector& selector)
{
    const int selected = selector.SelectedIndex();
    if (selected >= 0)
        return selected;
    return selector.findText(selector.Text(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

QString ModCaption(const QString& modFolder)
{
    const int index = ModIndexOfFolder(modFolder);
    return index < 0 ? modFolder : QString::fromLatin1(ModTable[std::size_t(index)].Caption);
}

QString MissingModFolder(const QString& modFolder, const QString& shownFolder)
{
    return QStringLiteral("There is no folder ") + modFolder + QStringLiteral(" for ")
           + ModCaption(modFolder) + QStringLiteral(" in the game folder ") + QDir::currentPath()
           + QStringLiteral("; the pages still show ") + ModCaption(shownFolder);
}

} // namespace

TMainForm::TMainForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    BuildFrame();
    BuildPages();
    WireEvents();
    // Start-up runs before the window is shown; a failure is reported and the
    // window still opens with what the completed steps put into it.
    RunHandler([this] { FormCreate(); });
}

void TMainForm::BuildFrame()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tavrik Control Centre v1.0"));
    setFixedSize(607, 448);
    OwnBoxesBy(*this);
    setFont(SansSerifFont(11));

    Label2 = Named(MakeLabel(this, QStringLiteral("Tavrik Control Centre"), 16, {6, 7, 281, 20}),
                   "Label2");
    // Which game folder the pages edit, where two may look alike; a window
    // is made anew for each game folder entered.
    const QString gameFolder = QStringLiteral("Game folder: ") + QDir::currentPath();
    Label2->setToolTip(gameFolder);
    Label2->setAccessibleDescription(gameFolder);
    ModToEditLabel = Named(MakeLabel(this, QStringLiteral("Which Mod?"), 13, {340, 9, 74, 16}),
                           "ModToEditLabel");

    ModToEditComboBox = Named(new DropDownSelector(this), "ModToEditComboBox");
    ModToEditComboBox->setGeometry(425, 4, 176, 21);
    for (const ModEntry& mod : ModTable)
        ModToEditComboBox->addItem(QString::fromLatin1(mod.Caption));
    LabelControl(*ModToEditLabel, *ModToEditComboBox);

    PageControl = Named(new QTabWidget(this), "PageControl");
    PageControl->setGeometry(3, 34, 604, 414);
    PageControl->setAccessibleName(QStringLiteral("Pages"));
    setTabOrder(ModToEditComboBox, PageControl);
    ModToEditComboBox->setFocus();
}

void TMainForm::BuildPages()
{
    PersonalityTab = Named(new QWidget, "PersonalityTab");
    ChatTab = Named(new QWidget, "ChatTab");
    BotConfigEditor = Named(new QWidget, "BotConfigEditor");
    PageControl->addTab(PersonalityTab, QStringLiteral("Personality Editor"));
    PageControl->addTab(ChatTab, QStringLiteral("Chat Editor"));
    PageControl->addTab(BotConfigEditor, QStringLiteral("Bot.cfg Editor"));
    PageControl->setCurrentWidget(PersonalityTab);

    BuildPersonalityPage(*this, *PersonalityTab);
    BuildChatPage(*this, *ChatTab);
    BuildBotConfigPage(*this, *BotConfigEditor);
    BuildPageTable();

    personalityBackground_ = new PageBackground(*PersonalityTab);
    botConfigBackground_ = new PageBackground(*BotConfigEditor);
}

void TMainForm::WireEvents()
{
    ModToEditComboBox->OnChange = [this] { ModToEditButtonClick(); };
    CurrentPersonalityNumber->OnChange = [this] { CurrentPersonalityNumberChange(); };
    ChatTypeComboBox->OnChange = [this] { ChatTypeComboBoxChange(); };
    ChatEditMemo->OnKeyUp = [this] { ChatEditMemoKeyUp(); };
    MinBots->OnKeyUp = [this] { MinBotsKeyUp(); };
    MaxBots->OnKeyUp = [this] { MaxBotsKeyUp(); };
    connect(PersonalityHelpButton, &QPushButton::clicked, this,
            [this] { RunHandler([this] { PersonalityHelpButtonClick(); }); });
    connect(ChatHelpButton, &QPushButton::clicked, this,
            [this] { RunHandler([this] { ChatHelpButtonClick(); }); });
    personalityBackground_->OnMouseMove = [this] { PersonalityTabMouseMove(); };
    botConfigBackground_->OnMouseMove = [this] { BotConfigEditorMouseMove(); };
    WirePageSigns(pages_, *PageControl);
    WireOpenKey();
    WirePageKeys();
    WatchUserEdits(pages_);
    WireChangedElsewhereSign();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    event->setAccepted(MayClose(pages_));
}

void TMainForm::showEvent(QShowEvent* event)
{
    // A window put in place before its first showing stays there.
    if (!placed_ && !testAttribute(Qt::WA_Moved)) {
        CentreOnScreen(*this);
        placed_ = true;
    }
    QWidget::showEvent(event);
}

void TMainForm::FormCreate()
{
    // Counter-Strike, unless the game folder holds another mod and not it.
    const int mod = std::max(FirstModIn(QStringLiteral(".")), 0);
    ModToEditComboBox->SetSelectedIndex(mod);
    ModFolder = ModFolderOfIndex(mod);
    PageLoads loads;
    // Creates personality 1 when it is missing; the roster follows below.
    const bool personalityLoaded =
        loads.Run([this] { LoadPersonalityAlone(NewPersonality::Announced); });
    ChatTypeComboBox->SetSelectedIndex(0);
    CurrentPersonalityNumber->SetValue(1);
    PreferredTeamComboBox->SetSelectedIndex(2);
    LoadEachPage(loads, personalityLoaded);
}

// A mod whose folder is missing would be created nowhere and leave the
// pages showing the previous mod under its name: the change is refused.
void TMainForm::ModToEditButtonClick()
{
    const int chosen = ChosenModIndex(*ModToEditComboBox);
    // With no mod named (the user typed other text into the selector) the mod stays.
    const QString folder = chosen < 0 ? ModFolder : ModFolderOfIndex(chosen);
    if (!ModFolderIsPresent(folder)) {
        PutModSelectorBack();
        throw Exception(MissingModFolder(folder, ModFolder));
    }
    if (!MayReplaceEveryPage(pages_)) {
        PutChoosersBack();
        return;
    }
    ModFolder = folder;
    if (chosen >= 0)
        PutModSelectorBack();
    ChatTypeComboBox->SetSelectedIndex(0);
    PageLoads loads;
    // A number that was not 1 loads personality 1 by its own handler here.
    const bool numberSet = loads.Run([this] { CurrentPersonalityNumber->SetValue(1); });
    LoadEachPage(loads, numberSet);
}

// A personality load that has just failed is not tried again: it would only
// show its box twice.
void TMainForm::LoadEachPage(PageLoads& loads, bool personalityToLoad)
{
    if (personalityToLoad)
        loads.Run([this] { LoadPersonalityAlone(NewPersonality::Announced); });
    loads.Run([this] {
        UpdateBotCheckList();
        LoadBotConfig();
    });
    // What these loads have shown, the roster's reading after the next
    // personality save does not show again.
    rosterRefreshes_ = loads;
    loads.Run([this] { LoadChat(); });
}

void TMainForm::PutModSelectorBack()
{
    ModToEditComboBox->SetSelectedIndex(ModIndexOfFolder(ModFolder));
}

// The program's own sets: the selectors raise nothing, and the number field
// is set without its handler, so that no load runs.
void TMainForm::PutChoosersBack()
{
    PutModSelectorBack();
    ChatTypeComboBox->SetSelectedIndex(loadedChatKind_);
    const ControlEvent numberChange = std::exchange(CurrentPersonalityNumber->OnChange, nullptr);
    CurrentPersonalityNumber->SetValue(loadedNumber_);
    CurrentPersonalityNumber->OnChange = numberChange;
}

void TMainForm::ChatHelpButtonClick()
{
    ShowHelpWindow(*ChatHelpForm);
}

void TMainForm::PersonalityHelpButtonClick()
{
    ShowHelpWindow(*PersonalityHelpForm);
}

void TMainForm::CurrentPersonalityNumberChange()
{
    const std::optional<NewPersonality> creation = CreationOfChosenPersonality();
    if (!creation)
        return;
    if (!MayReplacePages(pages_, {PersonalityTab, BotConfigEditor})) {
        PutChoosersBack();
        return;
    }
    LoadPersonalityAs(*creation);
}

void TMainForm::ChatTypeComboBoxChange()
{
    if (!MayReplacePages(pages_, {ChatTab})) {
        PutChoosersBack();
        return;
    }
    LoadChat();
}

void TMainForm::ChatEditMemoKeyUp()
{
    SaveChat();
}

void TMainForm::MinBotsKeyUp()
{
    SaveBotConfig();
}

void TMainForm::MaxBotsKeyUp()
{
    SaveBotConfig();
}

void TMainForm::BotConfigEditorMouseMove()
{
    SaveBotConfig();
}

void TMainForm::PersonalityTabMouseMove()
{
    SavePersonality();
}
