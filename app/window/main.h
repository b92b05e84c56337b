#pragma once

#include "BotConfigPage.h"
#include "ChatPage.h"
#include "PageLoads.h"
#include "PageTable.h"
#include "PersonalityPage.h"

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class DropDownSelector;
class HistoryRecorder;
enum class NewPersonality;
class PageBackground;
class QLabel;
class QTabWidget;
class THistoryForm;

// The main window: the mod selector above the three pages. Its controls are
// its members by name, those of each page by way of the page's control set;
// the pages save by themselves on the triggers that WireEvents connects.
class TMainForm : public QWidget,
                  public PersonalityPage,
                  public ChatPage,
                  public BotConfigPage {
    Q_OBJECT

public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The current mod's folder: empty until start-up, then one of the mods.
    QString ModFolder;

    QLabel* Label2;
    QLabel* ModToEditLabel;
    DropDownSelector* ModToEditComboBox;
    QTabWidget* PageControl;
    QWidget* PersonalityTab;
    QWidget* ChatTab;
    QWidget* BotConfigEditor;

    void UpdateBotCheckList();
    void LoadBotConfig();
    void SaveBotConfig();
    void LoadPersonality();
    void SavePersonality();
    void LoadChat();
    void SaveChat();
    void ModToEditButtonClick();
    void FormCreate();
    void ChatHelpButtonClick();
    void PersonalityHelpButtonClick();
    void CurrentPersonalityNumberChange();
    void ChatTypeComboBoxChange();
    void ChatEditMemoKeyUp();
    void MinBotsKeyUp();
    void MaxBotsKeyUp();
    void BotConfigEditorMouseMove();
    void PersonalityTabMouseMove();
    void ReloadShownPage();
    // Puts the shown page's file back as this run first read it, once the
    // user agrees, and loads the page from it.
    void PutBackShownPage();
    // Leaves the game folder as closing would, once the pending edits are
    // saved, for the one the user chooses; OnGameFolderEntered then goes on
    // there.
    void ChooseAnotherGameFolder();
    std::function<void()> OnGameFolderEntered;
    // Sets the mod selector to the mod the pages show, raising no handler.
    void PutModSelectorBack();
    // Ctrl+H shows the history of the shown page's file, kept by history
    // (none: the window says that no history is kept).
    void KeepHistoryWith(HistoryRecorder* history) { history_ = history; }
    void ShowFileHistory();
    // Records in the history, at once, the versions that wait for the
    // running handler to return.
    void RecordWaitingHistory();
    // Saves every pending edit as closing does, without a box: what is not
    // saved is said on standard error. For the end of the session.
    void SaveAtSessionEnd();

protected:
    void showEvent(QShowEvent* event) override;
    // The window closes once the user's edits are saved, or the user has
    // chosen to close without one that could not be saved.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFrame();
    void BuildPages();
    void BuildPageTable();
    void WireEvents();
    void WirePageKeys();
    void WireOpenKey();
    void WireChangedElsewhereSign();
    // Runs load, which replaces the page's controls, keeping the user's place.
    void LoadKeepingPlace(const std::function<void()>& load);
    // Runs the page's load after a trigger found the file changed elsewhere
    // and nothing pending, keeping the user's place and saying so.
    void ShowChangedElsewhere(const SaveGuard& guard, void (TMainForm::*load)());
    // What a trigger's save met on the page, the same on every page: another
    // program's change is shown with load, or put to the user under an edit,
    // after whose answer load shows the file as it now is.
    void FollowOtherProgramsChange(QWidget* page, SaveOutcome outcome, void (TMainForm::*load)());
    void RefreshRosterAndBotConfig();
    void LoadPersonalityAs(NewPersonality creation);
    // The personality shown, without the roster and bot.cfg that follow it.
    void LoadPersonalityAlone(NewPersonality creation);
    // How a missing personality of the number just chosen is created; none
    // when the user chose not to create it, and the number is put back.
    std::optional<NewPersonality> CreationOfChosenPersonality();
    std::optional<int> NumberAfterRemoving(const QString& path, int removed) const;
    void ShowPersonalityAfterRemoval(const QString& path);
    QString WhyCreatedPersonalityStays() const;
    // The loads that end the start-up and a mod change, each page on its
    // own: the personality shown, when asked, then the roster and bot.cfg,
    // then the chat list.
    void LoadEachPage(PageLoads& loads, bool personalityToLoad);
    // Each saves its page's pending edit into the file the page holds.
    SaveOutcome SavePendingPersonality();
    SaveOutcome SavePendingChat();
    SaveOutcome SavePendingBotConfig();
    // A load the user kept an edit from: the number, mod and chat kind shown
    // go back to those of the pages, and no load runs.
    void PutChoosersBack();

    PageTable pages_;
    // The personality number and chat kind the pages last loaded.
    int loadedNumber_ = 0;
    int loadedChatKind_ = 0;
    // For each personality this run created, the number shown before it.
    QHash<QString, int> numberBeforeCreating_;
    PageBackground* personalityBackground_;
    PageBackground* botConfigBackground_;
    bool placed_ = false;
    QString plainTitle_;
    // The roster and bot.cfg read again after each personality load and save.
    PageLoads rosterRefreshes_;
    HistoryRecorder* history_ = nullptr;
    THistoryForm* historyForm_ = nullptr;
};

extern TMainForm* MainForm;
