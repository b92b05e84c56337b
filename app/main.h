#pragma once

#include "BotConfigPage.h"
#include "ChatPage.h"
#include "FirstReadings.h"
#include "PersonalityPage.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class DropDownSelector;
class PageBackground;
class QLabel;
class QTabWidget;

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
    void WireEvents();
    void WireRefusalSigns();
    void WireReloadKey();
    void WirePutBackKey();
    void WireOpenKey();
    void WireChangedElsewhereSign();
    void WireSessionEnd();
    // Runs the page's load after a trigger found the file changed elsewhere
    // and nothing pending, keeping the user's place and saying so.
    void ShowChangedElsewhere(const SaveGuard& guard, void (TMainForm::*load)());
    // The file the shown page's load reads; none when no chat kind may be.
    std::optional<QString> ShownPageFile() const;
    SaveGuard& ShownPageGuard();
    bool TellWhyNothingIsPutBack(const QString& path, const std::optional<FirstReading>& first,
                                 bool asFirstRead);
    void ShowPageAfterPutBack(const QString& path, bool removed);
    void ShowRefusalOnTab(QWidget* page, const QString& caption, const QString& refusal);
    void WatchUserEdits();
    void RefreshRosterAndBotConfig();
    // Saves every page's edit that the user made and no trigger has saved
    // yet, each as its own trigger would and under the failure guard,
    // before a load replaces the pages' controls.
    void SavePendingEdits();
    // Each saves its page's pending edit under the failure guard into the
    // file the page holds; false when an edit is left unsaved.
    bool SavePendingPersonality();
    bool SavePendingChat();
    bool SavePendingBotConfig();
    bool MayClose();

    PageBackground* personalityBackground_;
    PageBackground* botConfigBackground_;
    bool placed_ = false;
    QString plainTitle_;
};

extern TMainForm* MainForm;
